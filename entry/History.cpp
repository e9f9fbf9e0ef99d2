// The DocumentHistory table.
#include "entry/History.h"

#include "db/Connection.h"
#include "db/PausePoint.h"
#include "db/Statement.h"
#include "startup/CreateUnlessThere.h"

#include <ctime>

namespace velmora {

void ensureHistoryTable(db::TADOConnection& connection)
{
    createTableUnlessThere(
        connection, "DocumentHistory",
        "CREATE TABLE IF NOT EXISTS DocumentHistory (HistoryID INTEGER PRIMARY KEY AUTOINCREMENT, "
        "DocumentID int NOT NULL, UserID int NOT NULL, ChangedAt datetime NOT NULL, Action varchar(20) NOT NULL)");
}

void recordHistory(db::TADOConnection& connection, int64_t documentID, int32_t userID, const char* what)
{
    db::pausePoint("document-written");
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    db::execute(connection,
                "Insert into DocumentHistory (DocumentID, UserID, ChangedAt, Action) "
                "Values (:DocumentID, :UserID, :ChangedAt, :Action)",
                {{"DocumentID", documentID}, {"UserID", userID}, {"ChangedAt", stamp}, {"Action", what}});
    db::pausePoint("history-written");
}

}  // namespace velmora
