// The DocumentHistory table.
#include "entry/History.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "toolkit/text/Text.h"

#include <ctime>

namespace velmora {

void ensureHistoryTable(db::TADOConnection& connection)
{
    for (const std::string& table : connection.tableNames())
        if (tk::sameName(table, "DocumentHistory")) return;
    db::TADOCommand create(nullptr);
    create.setConnection(&connection);
    // Two programs starting at once may both get here: IF NOT EXISTS.
    create.setCommandText(
        "CREATE TABLE IF NOT EXISTS DocumentHistory (HistoryID INTEGER PRIMARY KEY AUTOINCREMENT, "
        "DocumentID int NOT NULL, UserID int NOT NULL, ChangedAt datetime NOT NULL, Action varchar(20) NOT NULL)");
    create.executeScript();
}

void recordHistory(db::TADOConnection& connection, int64_t documentID, int32_t userID, const char* what)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    db::TADOCommand insert(nullptr);
    insert.setConnection(&connection);
    insert.setCommandText(
        "Insert into DocumentHistory (DocumentID, UserID, ChangedAt, Action) "
        "Values (:DocumentID, :UserID, :ChangedAt, :Action)");
    insert.parameters().paramByName("DocumentID").setValue(tk::Value(documentID));
    insert.parameters().paramByName("UserID").setValue(tk::Value(static_cast<int64_t>(userID)));
    insert.parameters().paramByName("ChangedAt").setValue(tk::Value(std::string(stamp)));
    insert.parameters().paramByName("Action").setValue(tk::Value(std::string(what)));
    insert.execute();
}

}  // namespace velmora
