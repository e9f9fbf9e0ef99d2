// Running a statement with its values.
#include "db/Statement.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "db/Parameters.h"
#include "db/Query.h"

namespace db {

namespace {

void bindAll(TParameters& parameters, const NamedValues& values)
{
    for (const NamedValue& v : values) bindCell(parameters.paramByName(v.name), v.value);
}

}  // namespace

void bindCell(TParameter& p, const Cell& c)
{
    switch (c.type) {
    case Cell::Type::Null: p.setValue(tk::Value::null()); break;
    case Cell::Type::Integer: p.setValue(tk::Value(c.i)); break;
    case Cell::Type::Float: p.setValue(tk::Value(c.d)); break;
    case Cell::Type::Text: p.setValue(tk::Value(c.s)); break;
    case Cell::Type::Bytes: p.setBytes(c.s); break;
    }
}

int64_t execute(TADOConnection& connection, const std::string& sql, const NamedValues& values)
{
    TADOCommand command(nullptr);
    command.setConnection(&connection);
    command.setCommandText(sql);
    bindAll(command.parameters(), values);
    command.execute();
    return command.rowsAffected();
}

int64_t executeReturningInteger(TADOConnection& connection, const std::string& sql, const NamedValues& values)
{
    TADOCommand command(nullptr);
    command.setConnection(&connection);
    command.setCommandText(sql);
    bindAll(command.parameters(), values);
    return command.executeReturningInteger();
}

void open(TADOQuery& query, TADOConnection& connection, const std::string& sql, const NamedValues& values)
{
    query.close();
    query.setConnection(&connection);
    query.setSqlText(sql);
    bindAll(query.parameters(), values);
    query.open();
}

}  // namespace db
