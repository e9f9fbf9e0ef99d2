// Commands.
#include "db/Command.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "toolkit/core/PropertyTable.h"

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
    Engine& engine = connection_->engine();
    std::vector<Cell> values;
    for (int i = 0; i < params_.count(); ++i) values.push_back(cellOf(params_.item(i).value));
    connection_->resultCache().written();
    engine.execute(parsed_, values);
}

void TADOCommand::executeScript()
{
    if (!connection_) throw EDatabaseError(name() + ": Missing Connection");
    Engine& engine = connection_->engine();
    connection_->resultCache().written();
    engine.executeScript(text_);
}

}  // namespace db
