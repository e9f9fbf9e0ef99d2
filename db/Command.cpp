// Commands.
#include "db/Command.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "toolkit/core/PropertyTable.h"

#include <cstdlib>

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
    std::vector<Cell> values = params_.boundValues();
    connection_->resultCache().written();
    rowsAffected_ = engine.execute(parsed_, values);
}

int64_t TADOCommand::executeReturningInteger()
{
    if (!connection_) throw EDatabaseError(name() + ": Missing Connection");
    Engine& engine = connection_->engine();
    std::vector<Cell> values = params_.boundValues();
    connection_->resultCache().written();
    std::vector<Cell> cells;
    ResultRows rows;
    rows.cells = &cells;
    engine.query(parsed_, values, rows);
    rowsAffected_ = rows.rowCount;
    if (rows.rowCount < 1 || cells.empty()) throw EDatabaseError("The statement returned no row");
    const Cell& c = cells.front();
    if (c.type == Cell::Type::Integer) return c.i;
    if (c.type == Cell::Type::Text) return std::strtoll(c.s.c_str(), nullptr, 10);
    throw EDatabaseError("The statement returned no number");
}

void TADOCommand::executeScript()
{
    if (!connection_) throw EDatabaseError(name() + ": Missing Connection");
    Engine& engine = connection_->engine();
    connection_->resultCache().written();
    engine.executeScript(text_);
}

}  // namespace db
