// The history of documents: every insert and update the clerk's program
// makes is recorded in DocumentHistory (document, user and login name,
// time, what), and each value it gave or changed in DocumentChange (the
// column, the old and the new value as the form showed them), in the same
// transaction as the change. Document's own columns are form fields, so
// the history keeps tables of its own. The time is the database's clock,
// not the clerk's; the login name is kept as text, since a user's row may
// be removed later. Nothing ever updates or deletes a history row.
#pragma once

#include "registry/DatabaseClock.h"

#include "registry/HistoryActions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace db {
class TADOConnection;
class TADOQuery;
}

namespace velmora {

// Why document `documentID` was voided; none when it is not.
std::optional<std::string> voidReasonOf(db::TADOConnection& connection, int64_t documentID);



// One value given or changed, as the form shows it ("" for none).
struct ValueChange {
    std::string column;
    std::string before, after;
};

// Whether the database writes the history itself, whoever changes a
// document (users are roles of the server): recordHistory then writes
// nothing, and a change is announced before it is made.
bool serverKeepsHistory(db::TADOConnection& connection);
// Tells the server, for the transaction's next document written, what it
// records (an import, or else an entry or a change) and each value as the
// form showed it; the server records the stored values beside them.
// Nothing where the program writes the history itself.
void announceChanges(db::TADOConnection& connection, const char* what, const std::vector<ValueChange>& changes);

// Records one change of a document with its values; runs inside the
// caller's transaction, after the change itself (the pause points
// "document-written" and "history-written" stand before and after it).
// Gives the history row's HistoryID.
int64_t recordHistory(db::TADOConnection& connection, int64_t documentID, int32_t userID, const std::string& login,
                      const char* what, const std::vector<ValueChange>& changes);
// The same for many documents at once, the same change of each, each with
// its own values (`changes[i]` of `documentIDs[i]`), in three statements
// however many they are; gives each one's HistoryID in their order.
std::vector<int64_t> recordHistories(db::TADOConnection& connection, const std::vector<int64_t>& documentIDs,
                                     int32_t userID, const std::string& login, const char* what,
                                     const std::vector<std::vector<ValueChange>>& changes);

// A column of Document and the caption the form shows for it.
using ColumnCaption = std::pair<std::string, std::string>;

// Opens document `id`'s history into `query`, one row a value, newest
// first: Idő, Iktatószám, Felhasználó, Művelet, Mező, Régi érték, Új érték;
// with `chainHash`, also "Lánc": the start of the row's hash in the
// history's chain, as a printout shows it.
void openHistory(db::TADOQuery& query, db::TADOConnection& connection, int64_t id,
                 const std::vector<ColumnCaption>& captions, bool chainHash = false);

}  // namespace velmora
