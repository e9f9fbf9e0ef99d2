// Setting and taking off numbering.
#include "registry/Numbering.h"

#include "db/Connection.h"
#include "db/Field.h"
#include "db/FieldKind.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/CreateUnlessThere.h"
#include "registry/DocumentColumns.h"
#include "registry/NumberingRules.h"
#include "toolkit/text/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace velmora {

namespace {

const char* const numberingTables = R"sql(
CREATE TABLE IF NOT EXISTS DocumentNumbering (
    ColumnName varchar(64) NOT NULL,
    Yearly int NOT NULL,
    Pattern varchar(64) NOT NULL,
    TimeZone varchar(64)
);
CREATE UNIQUE INDEX IF NOT EXISTS DocumentNumberingColumns ON DocumentNumbering (ColumnName);
CREATE TABLE IF NOT EXISTS DocumentNumberCounter (
    ColumnName varchar(64) NOT NULL,
    Period int NOT NULL,
    LastNumber bigint NOT NULL,
    LastDocumentID bigint NOT NULL
);
CREATE UNIQUE INDEX IF NOT EXISTS DocumentNumberCounters ON DocumentNumberCounter (ColumnName, Period);
)sql";

// The longest column name that leaves the rule's names within
// PostgreSQL's 63 bytes.
constexpr size_t longestColumnName = 40;

[[noreturn]] void refuse(const std::string& why)
{
    throw ENumberingRefused(why);
}

DocumentColumn findColumn(db::TADOConnection& connection, const std::string& column)
{
    DocumentColumns columns = DocumentColumns::read(connection);
    const DocumentColumn* found = columns.find(column);
    if (!found) refuse("Document has no column " + column);
    if (found == &columns.all().front()) refuse("DocumentID is the document's key; it cannot be numbered");
    return *found;
}

// Letters, digits and "_": a name that goes into the rule's own names and
// texts as it stands.
bool isPlainName(const std::string& name)
{
    if (name.empty() || name.size() > longestColumnName || (name[0] >= '0' && name[0] <= '9')) return false;
    for (unsigned char c : name)
        if (!(std::isalnum(c) || c == '_' || c >= 0x80)) return false;
    return true;
}

std::string textAt(db::TADOConnection& connection, const std::string& sql, db::NamedValues values = {})
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, sql, std::move(values));
    return q.eof() || q.field(0)->isNull() ? std::string() : q.field(0)->asString();
}

int currentYear(db::TADOConnection& connection, const std::string& timeZone)
{
    return std::atoi(textAt(connection, "Select " + yearSql(connection.isPostgres(), timeZone)).c_str());
}

void refuseDuplicates(db::TADOConnection& connection, const std::string& column)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             "Select [" + column + "], count(*) from Document where [" + column + "] is not null group by [" + column +
                 "] having count(*) > 1 order by [" + column + "]");
    if (q.eof()) return;
    std::string named;
    int shown = 0;
    for (; !q.eof(); q.next(), ++shown) {
        if (shown == 10) {
            named += ", ...";
            break;
        }
        named += (shown ? ", " : "") + q.field(0)->asString() + " (" + q.field(1)->asString() + " documents)";
    }
    refuse(column + " holds the same value in more than one document: " + named +
           "; numbers must be unique, so correct these first");
}

// The highest number stored in the column: in this year's spelling when
// the numbers start again each year.
int64_t highestNumber(db::TADOConnection& connection, const NumberingRule& rule, int year)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select [" + rule.column + "] from Document where [" + rule.column + "] is not null");
    int64_t highest = 0;
    for (; !q.eof(); q.next()) {
        std::optional<int64_t> n =
            rule.pattern.numberIn(q.field(0)->asString(), rule.yearly ? std::optional<int>(year) : std::nullopt);
        if (n) highest = std::max(highest, *n);
    }
    return highest;
}

bool isNumbered(db::TADOConnection& connection, const std::string& column)
{
    return !textAt(connection, "Select ColumnName from DocumentNumbering where ColumnName = :C", {{"C", column}})
                .empty();
}

}  // namespace

void ensureNumberingTables(db::TADOConnection& connection)
{
    createUnlessThere(connection, numberingTables);
}

std::string setNumbering(db::TADOConnection& connection, const NumberingRequest& request)
{
    ensureNumberingTables(connection);
    DocumentColumn column = findColumn(connection, request.column);
    const std::string& name = column.name;
    if (!isPlainName(name))
        refuse("Only a column named with letters, digits and \"_\" (at most " + std::to_string(longestColumnName) +
               " bytes) can be numbered: " + name);
    // A yes/no column holds no numbers.
    bool integer = isIntegerColumn(column) && column.kind != db::FieldKind::Boolean;
    if (!integer && !isTextColumn(column))
        refuse(name + " is neither an integer nor a text column; only those can be numbered");
    std::string why;
    std::optional<NumberPattern> pattern =
        NumberPattern::parse(request.pattern.empty() ? "{n}" : request.pattern, &why);
    if (!pattern) refuse("The pattern " + request.pattern + " is refused: " + why);
    if (integer && !pattern->isPlainNumber())
        refuse(name +
               " is an integer column, whose only pattern is {n}; a pattern with other parts needs a text column");
    if (integer && request.yearly)
        refuse(name +
               " is an integer column, which cannot show the year: numbers starting again each year would "
               "repeat there. Number a text column with a pattern holding {yyyy}");
    if (request.yearly && !pattern->hasYear())
        refuse("Numbers starting again each year would repeat: the pattern must hold {yyyy} or {yy}");
    if (request.start < 1) refuse("The first number must be 1 or more");
    if (isNumbered(connection, name))
        refuse(name + " is numbered already; take it off first (numbering off " + name + ") to set it anew");

    NumberingRule rule{name, request.yearly, *pattern, request.timeZone, schemaOf(connection)};
    bool postgres = connection.isPostgres();
    if (postgres && rule.timeZone.empty()) rule.timeZone = textAt(connection, "Select current_setting('TimeZone')");
    if (!postgres && !rule.timeZone.empty())
        refuse(
            "A time zone is for a PostgreSQL server; SQLite reads the year in the local time of the program that "
            "inserts");
    int year = 0;
    try {
        year = currentYear(connection, rule.timeZone);
    } catch (const std::exception& e) {
        refuse("The time zone " + rule.timeZone + " is refused by the server: " + e.what());
    }
    int64_t next = 0;
    db::inTransaction(connection, [&] {
        // No document may slip in between the highest number read and the
        // rule taking over.
        if (postgres)
            connection.executeNative("LOCK TABLE " + db::quoteIdentifier(rule.schema) +
                                     ".\"Document\" IN SHARE ROW EXCLUSIVE MODE");
        refuseDuplicates(connection, name);
        int64_t last = std::max(request.start - 1, highestNumber(connection, rule, year));
        db::execute(
            connection,
            "Insert into DocumentNumbering (ColumnName, Yearly, Pattern, TimeZone) "
            "Values (:C, :Yearly, :Pattern, :Zone)",
            {{"C", name}, {"Yearly", rule.yearly ? 1 : 0}, {"Pattern", pattern->text()}, {"Zone", rule.timeZone}});
        db::execute(connection,
                    "Insert into DocumentNumberCounter (ColumnName, Period, LastNumber, LastDocumentID) "
                    "Values (:C, :Period, :Last, 0)",
                    {{"C", name}, {"Period", rule.yearly ? year : 0}, {"Last", last}});
        connection.executeNative(makingRuleScript(postgres, rule));
        next = last + 1;
    });
    return name + " is numbered by the database from now on; the next document gets " + pattern->spell(next, year);
}

void stopNumbering(db::TADOConnection& connection, const std::string& column)
{
    std::string name;
    for (const std::string& numbered : numberedColumns(connection))
        if (tk::sameName(numbered, column)) name = numbered;
    if (name.empty()) refuse(column + " is not numbered");
    db::inTransaction(connection, [&] {
        connection.executeNative(droppingRuleScript(connection.isPostgres(), name, schemaOf(connection)));
        db::execute(connection, "Delete from DocumentNumberCounter where ColumnName = :C", {{"C", name}});
        db::execute(connection, "Delete from DocumentNumbering where ColumnName = :C", {{"C", name}});
    });
}

std::vector<NumberingSetting> numberingSettings(db::TADOConnection& connection)
{
    std::vector<NumberingSetting> settings;
    if (!hasTable(connection, "DocumentNumbering")) return settings;
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select ColumnName, Yearly, Pattern, TimeZone from DocumentNumbering order by ColumnName");
    for (; !q.eof(); q.next()) {
        NumberingSetting s{q.field(0)->asString(),
                           q.field(1)->asInteger() != 0,
                           q.field(2)->asString(),
                           q.field(3)->isNull() ? std::string() : q.field(3)->asString(),
                           {}};
        int year = currentYear(connection, s.timeZone);
        std::string last =
            textAt(connection, "Select LastNumber from DocumentNumberCounter where ColumnName = :C and Period = :P",
                   {{"C", s.column}, {"P", s.yearly ? year : 0}});
        if (std::optional<NumberPattern> pattern = NumberPattern::parse(s.pattern, nullptr))
            s.next = pattern->spell(std::atoll(last.c_str()) + 1, year);
        settings.push_back(std::move(s));
    }
    return settings;
}

std::vector<std::string> numberedColumns(db::TADOConnection& connection)
{
    std::vector<std::string> columns;
    if (!hasTable(connection, "DocumentNumbering")) return columns;
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select ColumnName from DocumentNumbering");
    for (; !q.eof(); q.next()) columns.push_back(q.field(0)->asString());
    return columns;
}

}  // namespace velmora
