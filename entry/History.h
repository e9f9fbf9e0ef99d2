// The history of documents: every insert and update the clerk's program
// makes is recorded in DocumentHistory (document, user, time, what), in the
// same transaction as the change. Document's own columns are form fields,
// so the history keeps a table of its own.
#pragma once

#include <cstdint>
#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// Creates DocumentHistory when the database has none (a database made
// before the clerk's program, or by the designer alone).
void ensureHistoryTable(db::TADOConnection& connection);

// Runs a script of CREATE ... IF NOT EXISTS statements. Two programs that
// start at once may both find the object missing; on PostgreSQL the later
// one's CREATE then fails on the catalogue's unique key, so a failed script
// runs once more, when the other program's object is there to be found.
void createUnlessThere(db::TADOConnection& connection, const std::string& script);

// Runs `script` (through createUnlessThere) unless the database has a
// table named `table`.
void createTableUnlessThere(db::TADOConnection& connection, const char* table, const char* script);

// What a history row records.
inline constexpr const char* historyInsert = "felvitel";
inline constexpr const char* historyUpdate = "módosítás";

// Records one change; runs inside the caller's transaction.
void recordHistory(db::TADOConnection& connection, int64_t documentID, int32_t userID, const char* what);

}  // namespace velmora
