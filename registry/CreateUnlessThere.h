// The tables and indexes the programs add to a database of their own
// accord (DocumentHistory, DictionaryItem, FoldedName), made so that
// programs doing it at the same moment do not fail on each other.
#pragma once

#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// Runs a script of CREATE ... IF NOT EXISTS statements. Two programs that
// start at once may both find the object missing; on PostgreSQL the later
// one's CREATE then fails on the catalogue's unique key, so a failed script
// runs once more, when the other program's object is there to be found.
void createUnlessThere(db::TADOConnection& connection, const std::string& script);

// Whether the database has a table named `table` (letter case aside).
bool hasTable(db::TADOConnection& connection, const char* table);

// Whether table `table` has a column named `column` (letter case aside).
bool hasColumn(db::TADOConnection& connection, const char* table, const char* column);

// The schema the program's tables are in on PostgreSQL (the connection's
// current schema); "" on SQLite.
std::string schemaOf(db::TADOConnection& connection);

// Runs `script` (through createUnlessThere) unless the database has a
// table named `table`.
void createTableUnlessThere(db::TADOConnection& connection, const char* table, const char* script);

}  // namespace velmora
