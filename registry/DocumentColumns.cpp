// Reading Document's columns from the catalogue.
#include "registry/DocumentColumns.h"

#include "db/Query.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/StoredDate.h"
#include "toolkit/text/Text.h"

#include <cstdio>

namespace velmora {

DocumentColumns DocumentColumns::read(db::TADOQuery& query)
{
    query.close();
    query.setSqlText(sql::documentColumns);
    query.open();
    DocumentColumns result;
    for (int i = 0; i < query.fieldCount(); ++i) {
        db::TField* f = query.field(i);
        result.columns_.push_back({f->fieldName(), f->kind(), f->size()});
    }
    query.close();
    return result;
}

DocumentColumns DocumentColumns::read(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    q.setConnection(&connection);
    return read(q);
}

bool isIntegerColumn(const DocumentColumn& c)
{
    return db::isKindOf(c.kind, db::FieldKind::Integer) || c.kind == db::FieldKind::LargeInt ||
           c.kind == db::FieldKind::Boolean;
}

bool isFloatColumn(const DocumentColumn& c)
{
    return c.kind == db::FieldKind::Float || c.kind == db::FieldKind::BCD;
}

bool isTextColumn(const DocumentColumn& c)
{
    return db::isKindOf(c.kind, db::FieldKind::String) || c.kind == db::FieldKind::Memo;
}

bool isDateColumn(const DocumentColumn& c)
{
    return db::isKindOf(c.kind, db::FieldKind::DateTime);
}

bool isBytesColumn(const DocumentColumn& c)
{
    return db::isKindOf(c.kind, db::FieldKind::Bytes) || c.kind == db::FieldKind::Blob;
}

bool isYesNoColumn(const DocumentColumn& c)
{
    return db::isKindOf(c.kind, db::FieldKind::Bytes) || c.kind == db::FieldKind::Boolean;
}

db::Cell yesNoCell(bool yes, const DocumentColumn& c)
{
    return isBytesColumn(c) ? db::Cell::bytes(std::string(1, yes ? '\x01' : '\x00')) : db::Cell::integer(yes ? 1 : 0);
}

std::string storedDay(double day)
{
    int y = 0, m = 0, d = 0;
    tk::decodeDate(day, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d 00:00:00", y, m, d);
    return buf;
}

std::optional<double> dayOfStored(const std::string& stored)
{
    // The day of a stored date and time, whatever follows the day (a
    // server may add fractions of a second).
    std::optional<tk::StoredDateTime> d = tk::parseStoredDateTime(std::string_view(stored).substr(0, 10));
    if (!d) return std::nullopt;
    return tk::encodeDate(d->year, d->month, d->day);
}

const DocumentColumn* DocumentColumns::find(std::string_view name) const
{
    for (const DocumentColumn& c : columns_)
        if (tk::sameName(c.name, name)) return &c;
    return nullptr;
}

}  // namespace velmora
