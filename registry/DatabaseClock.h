// The moment of a statement by the database's clock, as SQL: the server's
// on PostgreSQL, the local time of the program on SQLite's file.
#pragma once

#include "db/Connection.h"

namespace velmora {

inline const char* databaseNow(db::TADOConnection& connection)
{
    return connection.isPostgres() ? "localtimestamp(0)" : "datetime('now', 'localtime')";
}

}  // namespace velmora
