// The DocumentHistory and DocumentChange tables.
#include "entry/History.h"

#include "db/Connection.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "startup/CreateUnlessThere.h"
#include "toolkit/text/Text.h"

namespace velmora {

namespace {

// No value is stored as null, not as an empty text.
db::Cell textOrNull(const std::string& text)
{
    return text.empty() ? db::Cell{} : db::Cell::text(text);
}

}  // namespace

const char* databaseNow(db::TADOConnection& connection)
{
    return connection.isPostgres() ? "localtimestamp(0)" : "datetime('now', 'localtime')";
}

namespace {

const char* const historyIndexes =
    "CREATE INDEX IF NOT EXISTS DocumentHistories ON DocumentHistory (DocumentID);\n"
    "CREATE INDEX IF NOT EXISTS DocumentChanges ON DocumentChange (HistoryID);\n"
    "CREATE UNIQUE INDEX IF NOT EXISTS DocumentVoids ON DocumentVoid (DocumentID)";

}  // namespace

void makeHistoryIndexes(db::TADOConnection& connection)
{
    ensureHistoryTable(connection);
    createUnlessThere(connection, historyIndexes);
}

void ensureHistoryTable(db::TADOConnection& connection)
{
    createTableUnlessThere(connection, "DocumentHistory",
                           "CREATE TABLE IF NOT EXISTS DocumentHistory (HistoryID INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "DocumentID int NOT NULL, UserID int NOT NULL, ChangedAt datetime NOT NULL, Action "
                           "varchar(20) NOT NULL, UserLogin varchar(50));\n"
                           "CREATE INDEX IF NOT EXISTS DocumentHistories ON DocumentHistory (DocumentID)");
    if (!hasColumn(connection, "DocumentHistory", "UserLogin")) {
        try {
            db::execute(connection, "Alter Table DocumentHistory Add UserLogin varchar(50)");
        } catch (const std::exception&) {
            // Another program starting at the same moment added it first.
            if (!hasColumn(connection, "DocumentHistory", "UserLogin")) throw;
        }
    }
    createTableUnlessThere(connection, "DocumentChange",
                           "CREATE TABLE IF NOT EXISTS DocumentChange (HistoryID int NOT NULL, ColumnName "
                           "varchar(64) NOT NULL, OldValue text, NewValue text);\n"
                           "CREATE INDEX IF NOT EXISTS DocumentChanges ON DocumentChange (HistoryID)");
    createTableUnlessThere(connection, "DocumentVoid",
                           "CREATE TABLE IF NOT EXISTS DocumentVoid (DocumentID int NOT NULL, HistoryID int NOT NULL, "
                           "Reason text NOT NULL);\n"
                           "CREATE UNIQUE INDEX IF NOT EXISTS DocumentVoids ON DocumentVoid (DocumentID)");
}

int64_t recordHistory(db::TADOConnection& connection, int64_t documentID, int32_t userID, const std::string& login,
                      const char* what, const std::vector<ValueChange>& changes)
{
    db::pausePoint("document-written");
    int64_t historyID = db::executeReturningInteger(
        connection,
        std::string("Insert into DocumentHistory (DocumentID, UserID, ChangedAt, Action, UserLogin) "
                    "Values (:DocumentID, :UserID, ") +
            databaseNow(connection) + ", :Action, :UserLogin) Returning HistoryID",
        {{"DocumentID", documentID}, {"UserID", userID}, {"Action", what}, {"UserLogin", login}});
    // The values in one statement: a save of a large form stays one round trip.
    if (!changes.empty()) {
        std::string rows;
        db::NamedValues values = {{"HistoryID", historyID}};
        for (size_t i = 0; i < changes.size(); ++i) {
            std::string n = std::to_string(i);
            rows += (i ? ", (:HistoryID, :c" : "(:HistoryID, :c") + n + ", :o" + n + ", :n" + n + ")";
            values.push_back({"c" + n, changes[i].column});
            values.push_back({"o" + n, textOrNull(changes[i].before)});
            values.push_back({"n" + n, textOrNull(changes[i].after)});
        }
        db::execute(connection, "Insert into DocumentChange (HistoryID, ColumnName, OldValue, NewValue) Values " + rows,
                    std::move(values));
    }
    db::pausePoint("history-written");
    return historyID;
}

}  // namespace velmora
