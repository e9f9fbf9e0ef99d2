// Making the programs' own tables when two programs may make them at once.
#include "registry/CreateUnlessThere.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "toolkit/text/Text.h"

namespace velmora {

bool hasTable(db::TADOConnection& connection, const char* table)
{
    for (const std::string& name : connection.tableNames())
        if (tk::sameName(name, table)) return true;
    return false;
}

bool hasColumn(db::TADOConnection& connection, const char* table, const char* column)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, std::string("Select * from ") + table + " where 1 = 0");
    for (int i = 0; i < q.fieldCount(); ++i)
        if (tk::sameName(q.field(i)->fieldName(), column)) return true;
    return false;
}

std::string schemaOf(db::TADOConnection& connection)
{
    if (!connection.isPostgres()) return {};
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select current_schema()");
    return q.field(0)->asString();
}

void createTableUnlessThere(db::TADOConnection& connection, const char* table, const char* script)
{
    if (!hasTable(connection, table)) createUnlessThere(connection, script);
}

void createUnlessThere(db::TADOConnection& connection, const std::string& script)
{
    db::TADOCommand create(nullptr);
    create.setConnection(&connection);
    create.setCommandText(script);
    try {
        create.executeScript();
    } catch (const db::EDatabaseError&) {
        create.executeScript();
    }
}

}  // namespace velmora
