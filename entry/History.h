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

// What a history row records.
inline constexpr const char* historyInsert = "felvitel";
inline constexpr const char* historyUpdate = "módosítás";

// Records one change; runs inside the caller's transaction, after the
// change itself (the pause points "document-written" and "history-written"
// stand before and after the row).
void recordHistory(db::TADOConnection& connection, int64_t documentID, int32_t userID, const char* what);

}  // namespace velmora
