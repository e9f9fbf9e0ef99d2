// Statements and bound values.
#include "db/Statement.h"

#include <sqlite3.h>

namespace db {

Statement::~Statement()
{
    sqlite3_finalize(s);
}

void bindValue(sqlite3_stmt* st, int index, const tk::Value& v)
{
    switch (v.type()) {
    case tk::Value::Type::Integer: sqlite3_bind_int64(st, index, v.toInt()); break;
    case tk::Value::Type::Float: sqlite3_bind_double(st, index, v.toFloat()); break;
    case tk::Value::Type::Bool: sqlite3_bind_int(st, index, v.toBool() ? 1 : 0); break;
    case tk::Value::Type::String: {
        std::string s = v.toString();
        sqlite3_bind_text(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        break;
    }
    default: sqlite3_bind_null(st, index); break;
    }
}

}  // namespace db
