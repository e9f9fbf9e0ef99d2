// Converting between field controls and stored values.
#include "entry/FieldValues.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/DateReading.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

namespace velmora {

namespace {

db::Cell nullCell()
{
    return {};
}

StoredValue refuse(const char* what, tk::TControl& field)
{
    return {nullCell(), std::string(what) + fieldLabel(field)};
}

// The numbers an integer column of this kind holds.
std::pair<int64_t, int64_t> integerRange(db::FieldKind kind)
{
    switch (kind) {
    case db::FieldKind::Smallint: return {INT16_MIN, INT16_MAX};
    case db::FieldKind::Word: return {0, UINT16_MAX};
    case db::FieldKind::LargeInt: return {INT64_MIN, INT64_MAX};
    default: return {INT32_MIN, INT32_MAX};
    }
}

// Text typed into an edit, for a column of the given kind.
StoredValue fromText(const std::string& typed, const DocumentColumn& column, tk::TControl& field,
                     bool checkLength = true)
{
    std::string text = tk::trimmed(typed);
    const tk::Locale& locale = tk::currentLocale();
    if (isIntegerColumn(column)) {
        int64_t v = 0;
        const char* begin = text.data() + (text.size() > 1 && text[0] == '+' ? 1 : 0);
        auto [end, ec] = std::from_chars(begin, text.data() + text.size(), v);
        if (ec == std::errc() && end == text.data() + text.size()) {
            // The column's own width: PostgreSQL refuses a wider number with
            // a message of its own, SQLite would store what no int column holds.
            auto [low, high] = integerRange(column.kind);
            if (v < low || v > high) return refuse("Túl nagy vagy túl kicsi szám: ", field);
            return {db::Cell::integer(v), {}};
        }
        if (ec == std::errc::result_out_of_range) return refuse("Túl nagy vagy túl kicsi szám: ", field);
        if (locale.parseFloat(text)) return refuse("Csak egész szám adható meg: ", field);
        return refuse("Érvénytelen szám: ", field);
    }
    if (isFloatColumn(column)) {
        if (auto v = locale.parseFloat(text)) return {db::Cell::real(*v), {}};
        return refuse("Érvénytelen szám: ", field);
    }
    if (isDateColumn(column)) {
        auto ymd = tk::readTypedDate(text);
        if (!ymd) return refuse("Érvénytelen dátum: ", field);
        return {db::Cell::text(storedDay(tk::encodeDate(ymd->year, ymd->month, ymd->day))), {}};
    }
    if (checkLength && column.size > 0 && static_cast<int>(tk::toU32(typed).size()) > column.size)
        return {nullCell(),
                "Túl hosszú szöveg (legfeljebb " + std::to_string(column.size) + " karakter): " + fieldLabel(field)};
    if (isBytesColumn(column)) return {db::Cell::bytes(typed), {}};
    return {db::Cell::text(typed), {}};
}

}  // namespace

StoredValue searchValue(const std::string& typed, const DocumentColumn& column, tk::TControl& field)
{
    return fromText(typed, column, field, false);
}

std::string fieldLabel(tk::TControl& field)
{
    std::string caption;
    if (tk::as<TZEDChxBox>(&field)) {
        caption = field.caption();
    } else if (tk::TWinControl* parent = field.parent()) {
        for (tk::TControl* c : parent->controls())
            if (auto* label = tk::as<TZEDText>(c); label && label->focusControl() == &field) {
                caption = label->caption();
                break;
            }
    }
    caption = tk::trimmed(caption);
    if (!caption.empty() && caption.back() == ':') caption = tk::trimmed(caption.substr(0, caption.size() - 1));
    if (caption.empty() || caption == "Mezőnév") return tk::getPropTextOr(field, "KeyField");
    return caption;
}

StoredValue storedValue(tk::TControl& field, const DocumentColumn& column)
{
    bool required = tk::getPropTextOr(field, "Required", "False") == "True";
    if (auto* edit = tk::as<TZEDit>(&field)) {
        // Blanks alone are no value: a required field refuses them, and
        // any other stores them as empty.
        bool blank = edit->Empty() || (edit->Dictionary().empty() && tk::trimmed(edit->text()).empty());
        if (blank) return required ? refuse("Kötelező mező: ", field) : StoredValue{nullCell(), {}};
        if (!edit->Dictionary().empty()) {
            // The chosen entry's key, as the column keeps it; the number
            // rule of the field's type reads the shown text, an entry's.
            tk::Value v = edit->FieldValue();
            return fromText(v.toString(), column, field);
        }
        if (!edit->Validate()) return refuse("Érvénytelen szám: ", field);
        return fromText(edit->text(), column, field);
    }
    if (auto* picker = tk::as<TZEDPicker>(&field)) {
        if (!picker->checked()) return required ? refuse("Kötelező mező: ", field) : StoredValue{nullCell(), {}};
        if (isDateColumn(column)) return {db::Cell::text(storedDay(picker->date())), {}};
        return fromText(variantText(picker->FieldValue()), column, field);
    }
    if (auto* box = tk::as<TZEDChxBox>(&field)) {
        bool on = box->checked();
        if (isTextColumn(column)) return {db::Cell::text(on ? "1" : "0"), {}};
        if (isBytesColumn(column) || isIntegerColumn(column) || isFloatColumn(column))
            return {yesNoCell(on, column), {}};
        return refuse("Ez a mező nem tárolható a Document tábla oszlopában: ", field);
    }
    return refuse("Ez a mező nem tárolható a Document tábla oszlopában: ", field);
}

void showStoredValue(tk::TControl& field, const DocumentColumn& column, const db::Cell& cell)
{
    const tk::Locale& locale = tk::currentLocale();
    bool isNull = cell.type == db::Cell::Type::Null;
    if (auto* picker = tk::as<TZEDPicker>(&field)) {
        std::optional<double> day = isNull ? std::nullopt : dayOfStored(db::cellText(cell));
        if (day) picker->setDate(*day);
        picker->setChecked(day.has_value());
        return;
    }
    if (auto* box = tk::as<TZEDChxBox>(&field)) {
        bool on = false;
        if (cell.type == db::Cell::Type::Integer) on = cell.i != 0;
        else if (cell.type == db::Cell::Type::Float) on = cell.d != 0;
        else if (cell.type == db::Cell::Type::Bytes) on = !cell.s.empty() && cell.s[0] != 0;
        else if (cell.type == db::Cell::Type::Text) on = cell.s == "1" || cell.s == "True";
        box->setChecked(on);
        return;
    }
    auto* edit = tk::as<TZEDit>(&field);
    if (!edit) return;
    if (!edit->Dictionary().empty()) {
        // The entry's key; its shown text is the dictionary's to give.
        edit->setFieldValue(isNull                                 ? tk::Value()
                            : cell.type == db::Cell::Type::Integer ? tk::Value(cell.i)
                                                                   : tk::Value(db::cellText(cell)));
        return;
    }
    std::string text;
    if (!isNull) {
        if (isDateColumn(column)) {
            if (auto day = dayOfStored(db::cellText(cell))) {
                int y = 0, m = 0, d = 0;
                tk::decodeDate(*day, y, m, d);
                text = locale.formatDate(y, m, d);
            } else {
                text = db::cellText(cell);
            }
        } else if (cell.type == db::Cell::Type::Float) {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%.15g", cell.d);
            text = buf;
            for (char& c : text)
                if (c == '.') c = locale.decimalSeparator;
        } else {
            text = db::cellText(cell);
        }
    }
    edit->setText(text);
}

std::string fieldSnapshot(tk::TControl& field)
{
    if (auto* picker = tk::as<TZEDPicker>(&field))
        return picker->checked() ? variantText(picker->FieldValue()) : std::string();
    if (auto* box = tk::as<TZEDChxBox>(&field)) return box->checked() ? "1" : "0";
    if (auto* edit = tk::as<TZEDit>(&field)) return edit->text() + '\n' + variantText(edit->FieldValue());
    return {};
}

std::string shownText(tk::TControl& field)
{
    if (auto* picker = tk::as<TZEDPicker>(&field)) return picker->checked() ? picker->displayText() : std::string();
    if (auto* box = tk::as<TZEDChxBox>(&field)) return box->checked() ? "Igen" : "Nem";
    if (auto* edit = tk::as<TZEDit>(&field)) return edit->text();
    return {};
}

}  // namespace velmora
