// Commands.
#include "db/Command.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Statement.h"
#include "toolkit/PropertyTable.h"

#include <sqlite3.h>

#include <cctype>

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

void TADOCommand::setCommandText(const std::string& t)
{
    text_ = t;
    parsed_ = params_.parse(t);
}

void TADOCommand::execute()
{
    if (!connection_) throw EDatabaseError(name() + ": Missing Connection");
    sqlite3* db = connection_->handle();
    Statement st;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, parsed_.c_str(), static_cast<int>(parsed_.size()), &st.s, &tail) != SQLITE_OK)
        throw EDatabaseError(sqlite3_errmsg(db));
    if (!st.s) throw EDatabaseError(name() + ": The command text is empty");
    // Only blanks and semicolons may follow the one statement.
    for (const char* p = tail; p && *p; ++p)
        if (*p != ';' && !std::isspace(static_cast<unsigned char>(*p)))
            throw EDatabaseError(name() + ": The command text holds more than one statement");
    for (int i = 0; i < params_.count(); ++i) bindValue(st.s, i + 1, params_.item(i).value);
    connection_->resultCache().written();
    int rc = sqlite3_step(st.s);
    while (rc == SQLITE_ROW) rc = sqlite3_step(st.s);  // what a statement returns is discarded
    if (rc != SQLITE_DONE) throw EDatabaseError(sqlite3_errmsg(db));
}

void TADOCommand::executeScript()
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
