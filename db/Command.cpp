// Commands.
#include "db/Command.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "toolkit/PropertyTable.h"

#include <sqlite3.h>

namespace db {

TK_DEFINE_CLASS(TADOCommand, tk::TComponent)
{
    t.component<TADOConnection>("Connection", &TADOCommand::connection, &TADOCommand::setConnection);
    t.string("CommandText", &TADOCommand::commandText, &TADOCommand::setCommandText);
}

TADOCommand::TADOCommand(tk::TComponent* owner) : tk::TComponent(owner) {}

TADOConnection* TADOCommand::connection() const
{
    return connection_.get();
}

void TADOCommand::execute()
{
    if (!connection_) throw EDatabaseError(name() + ": Missing Connection");
    sqlite3* db = connection_->handle();
    connection_->resultCache().written();
    char* error = nullptr;
    if (sqlite3_exec(db, text_.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        throw EDatabaseError(message);
    }
}

}  // namespace db
