// The numbering triggers of SQLite and PostgreSQL.
#include "startup/NumberingRules.h"

#include "db/Engine.h"

namespace velmora {

namespace {

std::string text(const std::string& s)
{
    std::string quoted = "'";
    for (char c : s) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

std::string name(const std::string& s)
{
    return db::quoteIdentifier(s);
}

// A name in Document's schema (PostgreSQL), or unqualified (SQLite).
std::string inSchema(const std::string& schema, const std::string& object)
{
    return schema.empty() ? name(object) : name(schema) + "." + name(object);
}

std::string periodSql(bool postgres, const NumberingRule& rule)
{
    if (!rule.yearly) return "0";
    std::string year = yearSql(postgres, rule.timeZone);
    return postgres ? "(" + year + ")::int" : "CAST(" + year + " AS INTEGER)";
}

std::string message(const std::string& column)
{
    return text(std::string(numberGivenByDatabase) + ": " + column + ".");
}

std::string sqliteRule(const NumberingRule& rule)
{
    const std::string column = name(rule.column), period = periodSql(false, rule);
    const std::string counter = "FROM \"DocumentNumberCounter\" WHERE \"ColumnName\" = " + text(rule.column) +
                                " AND \"Period\" = " + period;
    const std::string value = rule.pattern.sqlExpression(false, "\"LastNumber\"", yearSql(false, rule.timeZone));
    // SQLite's triggers cannot change the row being inserted, so the insert
    // trigger writes the number with an update of its own; the update
    // trigger lets that one write through: the column was empty, and the
    // counter has just given this document this value.
    return "CREATE TRIGGER " + name("VelmoraNumber_" + rule.column + "_Insert") +
           " AFTER INSERT ON \"Document\"\nBEGIN\n"
           "  SELECT RAISE(ABORT, " + message(rule.column) + ") WHERE NEW." + column + " IS NOT NULL;\n"
           "  INSERT OR IGNORE INTO \"DocumentNumberCounter\" (\"ColumnName\", \"Period\", \"LastNumber\", "
           "\"LastDocumentID\") VALUES (" + text(rule.column) + ", " + period + ", 0, 0);\n"
           "  UPDATE \"DocumentNumberCounter\" SET \"LastNumber\" = \"LastNumber\" + 1, \"LastDocumentID\" = "
           "NEW.\"DocumentID\" WHERE \"ColumnName\" = " + text(rule.column) + " AND \"Period\" = " + period + ";\n"
           "  UPDATE \"Document\" SET " + column + " = (SELECT " + value + " " + counter +
           ") WHERE \"DocumentID\" = NEW.\"DocumentID\";\n"
           "END;\n"
           "CREATE TRIGGER " + name("VelmoraNumber_" + rule.column + "_Update") + " BEFORE UPDATE OF " + column +
           " ON \"Document\"\nWHEN NEW." + column + " IS NOT OLD." + column + " AND NOT (OLD." + column +
           " IS NULL AND EXISTS (SELECT 1 " + counter + " AND \"LastDocumentID\" = NEW.\"DocumentID\" AND " + value +
           " IS NEW." + column + "))\n"
           "BEGIN\n  SELECT RAISE(ABORT, " + message(rule.column) + ");\nEND;\n"
           "CREATE UNIQUE INDEX " + name("VelmoraNumbered_" + rule.column) + " ON \"Document\" (" + column + ");\n";
}

std::string postgresRule(const NumberingRule& rule)
{
    const std::string column = name(rule.column);
    const std::string function = inSchema(rule.schema, "VelmoraNumber_" + rule.column);
    const std::string counter = inSchema(rule.schema, "DocumentNumberCounter");
    const std::string value = rule.pattern.sqlExpression(true, "given", yearSql(true, rule.timeZone));
    return "CREATE FUNCTION " + function + "() RETURNS trigger LANGUAGE plpgsql AS $velmora$\n"
           "DECLARE\n"
           "  period int := " + periodSql(true, rule) + ";\n"
           "  given bigint;\n"
           "BEGIN\n"
           "  IF TG_OP = 'UPDATE' THEN\n"
           "    IF NEW." + column + " IS DISTINCT FROM OLD." + column + " THEN\n"
           "      RAISE EXCEPTION USING MESSAGE = " + message(rule.column) + ";\n"
           "    END IF;\n"
           "    RETURN NEW;\n"
           "  END IF;\n"
           "  IF NEW." + column + " IS NOT NULL THEN\n"
           "    RAISE EXCEPTION USING MESSAGE = " + message(rule.column) + ";\n"
           "  END IF;\n"
           "  INSERT INTO " + counter + " (\"ColumnName\", \"Period\", \"LastNumber\", \"LastDocumentID\") VALUES (" +
           text(rule.column) + ", period, 0, 0) ON CONFLICT DO NOTHING;\n"
           "  UPDATE " + counter + " SET \"LastNumber\" = \"LastNumber\" + 1 WHERE \"ColumnName\" = " +
           text(rule.column) + " AND \"Period\" = period RETURNING \"LastNumber\" INTO given;\n"
           "  NEW." + column + " := " + value + ";\n"
           "  RETURN NEW;\n"
           "END\n"
           "$velmora$;\n"
           "CREATE TRIGGER " + name("VelmoraNumber_" + rule.column) + " BEFORE INSERT OR UPDATE OF " + column +
           " ON " + inSchema(rule.schema, "Document") + " FOR EACH ROW EXECUTE FUNCTION " + function + "();\n"
           "CREATE UNIQUE INDEX " + name("VelmoraNumbered_" + rule.column) + " ON " +
           inSchema(rule.schema, "Document") + " (" + column + ");\n";
}

}  // namespace

std::string yearSql(bool postgres, const std::string& timeZone)
{
    // The statement's own moment: one year for everything one insert does.
    return postgres ? "to_char(timezone(" + text(timeZone) + ", statement_timestamp()), 'YYYY')"
                    : "strftime('%Y', 'now', 'localtime')";
}

std::string makingRuleScript(bool postgres, const NumberingRule& rule)
{
    return postgres ? postgresRule(rule) : sqliteRule(rule);
}

std::string droppingRuleScript(bool postgres, const std::string& column, const std::string& schema)
{
    if (!postgres)
        return "DROP TRIGGER IF EXISTS " + name("VelmoraNumber_" + column + "_Insert") + ";\n" +
               "DROP TRIGGER IF EXISTS " + name("VelmoraNumber_" + column + "_Update") + ";\n" +
               "DROP INDEX IF EXISTS " + name("VelmoraNumbered_" + column) + ";\n";
    return "DROP TRIGGER IF EXISTS " + name("VelmoraNumber_" + column) + " ON " + inSchema(schema, "Document") +
           ";\n" + "DROP FUNCTION IF EXISTS " + inSchema(schema, "VelmoraNumber_" + column) + "();\n" +
           "DROP INDEX IF EXISTS " + inSchema(schema, "VelmoraNumbered_" + column) + ";\n";
}

}  // namespace velmora
