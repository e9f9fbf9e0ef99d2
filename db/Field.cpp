// Result columns and their values.
#include "db/Field.h"

#include "db/DatabaseError.h"
#include "db/Query.h"
#include "toolkit/core/Errors.h"
#include "toolkit/text/Locale.h"

namespace db {

std::string cellText(const Cell& c)
{
    switch (c.type) {
    case Cell::Type::Null: return {};
    case Cell::Type::Integer: return std::to_string(c.i);
    case Cell::Type::Float: {
        std::string s = tk::floatToText(c.d);
        for (char& ch : s)
            if (ch == '.') ch = tk::currentLocale().decimalSeparator;
        return s;
    }
    default: return c.s;
    }
}

Cell cellOf(const tk::Value& v)
{
    Cell c;
    switch (v.type()) {
    case tk::Value::Type::Integer:
        c.type = Cell::Type::Integer;
        c.i = v.toInt();
        break;
    case tk::Value::Type::Float:
        c.type = Cell::Type::Float;
        c.d = v.toFloat();
        break;
    case tk::Value::Type::Bool:
        c.type = Cell::Type::Integer;
        c.i = v.toBool() ? 1 : 0;
        break;
    case tk::Value::Type::String:
        c.type = Cell::Type::Text;
        c.s = v.toString();
        break;
    default: break;
    }
    return c;
}

TField::TField(TADOQuery& query, int index, std::string name, FieldKind kind, std::string table, std::string origin)
    : query_(query),
      index_(index),
      name_(std::move(name)),
      kind_(kind),
      table_(std::move(table)),
      origin_(std::move(origin))
{
}

void TField::setVisible(bool v)
{
    if (v == visible_) return;
    visible_ = v;
    query_.dataChanged();
}

int TField::size() const
{
    // A field kept past its query's closing has no declared length left.
    const ResultColumns* columns = query_.shape_.get();
    auto at = static_cast<size_t>(index_);
    return columns && at < columns->size() ? (*columns)[at].declaredLength : 0;
}

int TField::displayWidth() const
{
    int declared = size();
    switch (kind_) {
    case FieldKind::String:
    case FieldKind::WideString: return declared > 0 ? std::min(declared, 40) : 20;
    case FieldKind::Guid: return 38;
    case FieldKind::DateTime: return 18;
    case FieldKind::Date:
    case FieldKind::Time: return 10;
    default: return 10;
    }
}

const Cell& TField::cell() const
{
    static const Cell none;
    const Cell* c = query_.currentCell(index_);
    return c ? *c : none;
}

bool TField::isNull() const
{
    return cell().type == Cell::Type::Null;
}

std::string TField::asString() const
{
    if (isNull()) throw tk::EConvertError("Could not convert variant of type (Null) into type (String)");
    return cellText(cell());
}

int64_t TField::asInteger() const
{
    const Cell& c = cell();
    switch (c.type) {
    case Cell::Type::Null: return 0;
    case Cell::Type::Integer: return c.i;
    case Cell::Type::Float: return static_cast<int64_t>(c.d);
    default: return tk::textToInt(c.s);
    }
}

tk::Value TField::value() const
{
    const Cell& c = cell();
    switch (c.type) {
    case Cell::Type::Null: return tk::Value::null();
    case Cell::Type::Integer: return tk::Value(c.i);
    case Cell::Type::Float: return tk::Value(c.d);
    default: return tk::Value(c.s);
    }
}

std::string TField::displayText(int row) const
{
    return query_.displayText(row, index_);
}

void TField::clear()
{
    query_.editCell(index_) = Cell{};
}

void TField::setAsString(const std::string& s)
{
    Cell& c = query_.editCell(index_);
    c = Cell{};
    c.type = Cell::Type::Text;
    c.s = s;
}

void TField::setAsInteger(int64_t v)
{
    Cell& c = query_.editCell(index_);
    c = Cell{};
    c.type = Cell::Type::Integer;
    c.i = v;
}

void TField::setBytes(std::string bytes)
{
    Cell& c = query_.editCell(index_);
    c = Cell{};
    c.type = Cell::Type::Bytes;
    c.s = std::move(bytes);
}

}  // namespace db
