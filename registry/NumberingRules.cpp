// The numbering triggers of SQLite and PostgreSQL.
#include "registry/NumberingRules.h"

#include "db/Engine.h"
#include "toolkit/text/Text.h"

#include <utility>
#include <vector>

namespace velmora {

namespace {

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
    return db::quoteText(std::string(numberGivenByDatabase) + ": " + column + ".");
}

// SQLite's triggers cannot change the row being inserted, so the insert
// trigger writes the number with an update of its own; the update trigger
// lets that one write through: the column was empty, and the counter has
// just given this document this value.
const char* const sqliteTemplate = R"sql(
CREATE TRIGGER {INSERT_TRIGGER} AFTER INSERT ON "Document"
BEGIN
  SELECT RAISE(ABORT, {MESSAGE}) WHERE NEW.{COLUMN} IS NOT NULL;
  INSERT OR IGNORE INTO "DocumentNumberCounter" ("ColumnName", "Period", "LastNumber", "LastDocumentID")
    VALUES ({COLUMN_TEXT}, {PERIOD}, 0, 0);
  UPDATE "DocumentNumberCounter" SET "LastNumber" = "LastNumber" + 1, "LastDocumentID" = NEW."DocumentID"
    WHERE "ColumnName" = {COLUMN_TEXT} AND "Period" = {PERIOD};
  UPDATE "Document" SET {COLUMN} = (SELECT {VALUE} {COUNTER}) WHERE "DocumentID" = NEW."DocumentID";
END;
CREATE TRIGGER {UPDATE_TRIGGER} BEFORE UPDATE OF {COLUMN} ON "Document"
WHEN NEW.{COLUMN} IS NOT OLD.{COLUMN} AND NOT (OLD.{COLUMN} IS NULL AND EXISTS (
  SELECT 1 {COUNTER} AND "LastDocumentID" = NEW."DocumentID" AND {VALUE} IS NEW.{COLUMN}))
BEGIN
  SELECT RAISE(ABORT, {MESSAGE});
END;
CREATE UNIQUE INDEX {INDEX} ON "Document" ({COLUMN});
)sql";

const char* const postgresTemplate = R"sql(
CREATE FUNCTION {FUNCTION}() RETURNS trigger LANGUAGE plpgsql {DEFINER} AS $velmora$
DECLARE
  period int := {PERIOD};
  given bigint;
BEGIN
  IF TG_OP = 'UPDATE' THEN
    IF NEW.{COLUMN} IS DISTINCT FROM OLD.{COLUMN} THEN
      RAISE EXCEPTION USING MESSAGE = {MESSAGE};
    END IF;
    RETURN NEW;
  END IF;
  IF NEW.{COLUMN} IS NOT NULL THEN
    RAISE EXCEPTION USING MESSAGE = {MESSAGE};
  END IF;
  INSERT INTO {COUNTER_TABLE} ("ColumnName", "Period", "LastNumber", "LastDocumentID")
    VALUES ({COLUMN_TEXT}, period, 0, 0) ON CONFLICT DO NOTHING;
  UPDATE {COUNTER_TABLE} SET "LastNumber" = "LastNumber" + 1
    WHERE "ColumnName" = {COLUMN_TEXT} AND "Period" = period RETURNING "LastNumber" INTO given;
  NEW.{COLUMN} := {VALUE};
  RETURN NEW;
END
$velmora$;
CREATE TRIGGER {TRIGGER} BEFORE INSERT OR UPDATE OF {COLUMN} ON {DOCUMENT}
  FOR EACH ROW EXECUTE FUNCTION {FUNCTION}();
CREATE UNIQUE INDEX {INDEX} ON {DOCUMENT} ({COLUMN});
)sql";

std::string sqliteRule(const NumberingRule& rule)
{
    std::string period = periodSql(false, rule);
    return tk::filled(sqliteTemplate,
                      {{"{INSERT_TRIGGER}", name("VelmoraNumber_" + rule.column + "_Insert")},
                       {"{UPDATE_TRIGGER}", name("VelmoraNumber_" + rule.column + "_Update")},
                       {"{INDEX}", name("VelmoraNumbered_" + rule.column)},
                       {"{COUNTER}", "FROM \"DocumentNumberCounter\" WHERE \"ColumnName\" = " +
                                         db::quoteText(rule.column) + " AND \"Period\" = " + period},
                       {"{VALUE}", rule.pattern.sqlExpression(false, "\"LastNumber\"", yearSql(false, rule.timeZone))},
                       {"{MESSAGE}", message(rule.column)},
                       {"{PERIOD}", period},
                       {"{COLUMN_TEXT}", db::quoteText(rule.column)},
                       {"{COLUMN}", name(rule.column)}});
}

std::string postgresRule(const NumberingRule& rule)
{
    return tk::filled(
        postgresTemplate,
        {{"{FUNCTION}", inSchema(rule.schema, "VelmoraNumber_" + rule.column)},
         // The counters are written as the function's owner, whoever
         // inserts the document.
         {"{DEFINER}", rule.schema.empty() ? std::string()
                                           : "SECURITY DEFINER SET search_path = pg_catalog, " + name(rule.schema) + ", pg_temp"},
         {"{TRIGGER}", name("VelmoraNumber_" + rule.column)},
         {"{INDEX}", name("VelmoraNumbered_" + rule.column)},
         {"{DOCUMENT}", inSchema(rule.schema, "Document")},
         {"{COUNTER_TABLE}", inSchema(rule.schema, "DocumentNumberCounter")},
         {"{VALUE}", rule.pattern.sqlExpression(true, "given", yearSql(true, rule.timeZone))},
         {"{MESSAGE}", message(rule.column)},
         {"{PERIOD}", periodSql(true, rule)},
         {"{COLUMN_TEXT}", db::quoteText(rule.column)},
         {"{COLUMN}", name(rule.column)}});
}

}  // namespace

std::string yearSql(bool postgres, const std::string& timeZone)
{
    // The statement's own moment: one year for everything one insert does.
    return postgres ? "to_char(timezone(" + db::quoteText(timeZone) + ", statement_timestamp()), 'YYYY')"
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
    return "DROP TRIGGER IF EXISTS " + name("VelmoraNumber_" + column) + " ON " + inSchema(schema, "Document") + ";\n" +
           "DROP FUNCTION IF EXISTS " + inSchema(schema, "VelmoraNumber_" + column) + "();\n" +
           "DROP INDEX IF EXISTS " + inSchema(schema, "VelmoraNumbered_" + column) + ";\n";
}

}  // namespace velmora
