// Making and reading the folded text kept for searches.
#include "registry/SearchText.h"

#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/CreateUnlessThere.h"
#include "registry/DocumentColumns.h"
#include "toolkit/text/Text.h"

#include <algorithm>
#include <limits>
#include <map>

namespace velmora {

namespace {

using db::quoteIdentifier;
using db::quoteText;

// The text columns of Document whose names a trigger can spell.
std::vector<std::string> textColumns(db::TADOConnection& connection)
{
    std::vector<std::string> names;
    DocumentColumns columns = DocumentColumns::read(connection);
    for (const DocumentColumn& c : columns.all())
        if (isTextColumn(c) && db::fitsBrackets(c.name)) names.push_back(c.name);
    return names;
}

// Joins `each(column)` for every column with `separator`.
template <class Each>
std::string joined(const std::vector<std::string>& columns, const char* separator, Each each)
{
    std::string out;
    for (size_t i = 0; i < columns.size(); ++i) out += (i ? separator : "") + each(columns[i]);
    return out;
}

std::string sqliteDropping()
{
    return "DROP TRIGGER IF EXISTS VelmoraSearchText_Insert;\n"
           "DROP TRIGGER IF EXISTS VelmoraSearchText_Update;\n"
           "DROP TRIGGER IF EXISTS VelmoraSearchText_Delete;\n"
           "DROP TABLE IF EXISTS DocumentSearchIndex;\n"
           "DROP TABLE IF EXISTS DocumentSearchText;\n"
           "DROP TABLE IF EXISTS DocumentSearchFold;\n";
}

// The statements that make the folded text, in the order they run: the
// tables, the fill (a range of DocumentID at a time), the index, then the
// triggers that keep them in step.
struct Making {
    std::string tables;
    // SQLite: with ?1 and ?2, the range's ends (from, to]; PostgreSQL: the
    // whole table made at once.
    std::string fill;
    std::string index;
    std::string triggers;
};

// SQLite's parser takes some 25 nested calls in a trigger, and the fold is
// some 300 replace()s: the triggers fold the new row's text in steps, the
// first written with the row and each later one over the step before,
// then give the result to the index. The index is kept from Document's
// triggers, the folded text it was given read back for a 'delete'.
Making sqliteMaking(const std::vector<std::string>& columns)
{
    auto name = [](const std::string& c) { return quoteIdentifier(c); };
    std::string names = joined(columns, ", ", name);
    const std::string text = "DocumentSearchText", index = "DocumentSearchIndex";
    // Folding the new row's columns into its row of the folded text.
    std::string folding;
    std::map<std::string, std::vector<std::string>> stepsOf;  // each column's steps over itself
    for (const std::string& c : columns) stepsOf[c] = sqliteFoldSteps(quoteIdentifier(c));
    size_t steps = sqliteFoldSteps("x").size();
    for (size_t step = 1; step < steps; ++step)
        folding +=
            " UPDATE " + text + " SET " +
            joined(columns, ", ", [&](const std::string& c) { return quoteIdentifier(c) + " = " + stepsOf[c][step]; }) +
            " WHERE DocumentID = new.DocumentID;";
    auto firstStep = [](const std::string& c) { return sqliteFoldSteps("new." + quoteIdentifier(c))[0]; };
    std::string indexing = " INSERT INTO " + index + " (rowid, " + names + ") SELECT DocumentID, " + names + " FROM " +
                           text + " WHERE DocumentID = new.DocumentID;";
    auto unindexing = [&](const char* row) {
        return " INSERT INTO " + index + " (" + index + ", rowid, " + names + ") SELECT 'delete', DocumentID, " +
               names + " FROM " + text + " WHERE DocumentID = " + row + ".DocumentID;";
    };
    Making m;
    m.tables =
        "CREATE TABLE DocumentSearchFold (Version int NOT NULL);\n"
        "INSERT INTO DocumentSearchFold (Version) VALUES (" +
        std::to_string(searchFoldVersion) +
        ");\n"
        "CREATE TABLE DocumentSearchText (DocumentID INTEGER PRIMARY KEY, " +
        joined(columns, ", ", [](const std::string& c) { return quoteIdentifier(c) + " text"; }) + ");\n";
    // The fill folds with the program's vplain, which gives what the
    // triggers' built-ins give and is many times quicker.
    m.fill = "INSERT INTO DocumentSearchText (DocumentID, " + names + ") SELECT DocumentID, " +
             joined(columns, ", ", [](const std::string& c) { return "vplain(" + quoteIdentifier(c) + ")"; }) +
             " FROM Document WHERE DocumentID > ?1 AND DocumentID <= ?2";
    m.index = "CREATE VIRTUAL TABLE DocumentSearchIndex USING fts5(" + names +
              ", content='DocumentSearchText', content_rowid='DocumentID', tokenize='trigram');\n"
              "INSERT INTO DocumentSearchIndex (DocumentSearchIndex) VALUES ('rebuild');\n";
    m.triggers =
        "CREATE TRIGGER VelmoraSearchText_Insert AFTER INSERT ON Document BEGIN INSERT INTO " + text +
        " (DocumentID, " + names + ") VALUES (new.DocumentID, " + joined(columns, ", ", firstStep) + ");" + folding +
        indexing +
        " END;\n"
        "CREATE TRIGGER VelmoraSearchText_Update AFTER UPDATE OF " +
        names + " ON Document BEGIN" + unindexing("new") + " UPDATE " + text + " SET " +
        joined(columns, ", ", [&](const std::string& c) { return quoteIdentifier(c) + " = " + firstStep(c); }) +
        " WHERE DocumentID = new.DocumentID;" + folding + indexing +
        " END;\n"
        "CREATE TRIGGER VelmoraSearchText_Delete AFTER DELETE ON Document BEGIN" +
        unindexing("old") + " DELETE FROM " + text + " WHERE DocumentID = old.DocumentID; END;\n";
    return m;
}

std::string postgresDropping(const std::string& schema)
{
    std::string s = quoteIdentifier(schema) + ".";
    return "DROP TRIGGER IF EXISTS \"VelmoraSearchText\" ON " + s + "\"Document\";\n" + "DROP FUNCTION IF EXISTS " + s +
           "\"VelmoraSearchText\"();\n" + "DROP TABLE IF EXISTS " + s + "\"DocumentSearchText\";\n" +
           "DROP TABLE IF EXISTS " + s + "\"DocumentSearchFold\";\n";
}

Making postgresMaking(const std::string& schema, const std::vector<std::string>& columns, const std::string& trigrams)
{
    std::string s = quoteIdentifier(schema) + ".";
    std::string fold = s + "velmora_fold";
    std::string names = joined(columns, ", ", [](const std::string& c) { return quoteIdentifier(c); });
    auto folded = [&](const char* row) {
        return [row, fold](const std::string& c) { return fold + "(" + row + quoteIdentifier(c) + ")"; };
    };
    Making m;
    m.tables = "CREATE OR REPLACE FUNCTION " + fold +
               "(text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $fold$ " + postgresFoldFunctionBody() +
               " $fold$;\n"
               "CREATE TABLE " +
               s + "\"DocumentSearchFold\" (\"Version\" int NOT NULL);\n" + "INSERT INTO " + s +
               "\"DocumentSearchFold\" (\"Version\") VALUES (" + std::to_string(searchFoldVersion) + ");\n";
    // Made by one statement, whose reading and folding the server shares
    // among its workers; the key is added after.
    m.fill = "CREATE TABLE " + s + "\"DocumentSearchText\" AS SELECT \"DocumentID\", " +
             joined(columns, ", ", [&](const std::string& c) {
                 return fold + "(" + quoteIdentifier(c) + ")::text AS " + quoteIdentifier(c);
             }) +
             " FROM " + s + "\"Document\";\nALTER TABLE " + s +
             "\"DocumentSearchText\" ADD PRIMARY KEY (\"DocumentID\");\n";
    if (!trigrams.empty())
        for (const std::string& c : columns)
            m.index += "CREATE INDEX " + quoteIdentifier("DocumentSearch_" + c) + " ON " + s +
                       "\"DocumentSearchText\" USING gin (" + quoteIdentifier(c) + " " + quoteIdentifier(trigrams) +
                       ".gin_trgm_ops);\n";
    m.index += "ANALYZE " + s + "\"DocumentSearchText\";\n";
    m.triggers = "CREATE FUNCTION " + s +
                 "\"VelmoraSearchText\"() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, " +
                 quoteIdentifier(schema) +
                 ", pg_temp AS $velmora$\n"
                 "BEGIN\n"
                 "  IF TG_OP = 'DELETE' THEN\n"
                 "    DELETE FROM " +
                 s +
                 "\"DocumentSearchText\" WHERE \"DocumentID\" = OLD.\"DocumentID\";\n"
                 "    RETURN NULL;\n"
                 "  END IF;\n"
                 "  INSERT INTO " +
                 s + "\"DocumentSearchText\" (\"DocumentID\", " + names + ") VALUES (NEW.\"DocumentID\", " +
                 joined(columns, ", ", folded("NEW.")) + ")\n    ON CONFLICT (\"DocumentID\") DO UPDATE SET " +
                 joined(columns, ", ",
                        [](const std::string& c) { return quoteIdentifier(c) + " = EXCLUDED." + quoteIdentifier(c); }) +
                 ";\n"
                 "  RETURN NULL;\n"
                 "END $velmora$;\n"
                 "CREATE TRIGGER \"VelmoraSearchText\" AFTER INSERT OR DELETE OR UPDATE OF " +
                 names + " ON " + s + "\"Document\" FOR EACH ROW EXECUTE FUNCTION " + s + "\"VelmoraSearchText\"();\n";
    return m;
}

int storedFoldVersion(db::TADOConnection& connection)
{
    if (!hasTable(connection, "DocumentSearchFold") || !hasTable(connection, "DocumentSearchText")) return 0;
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select max(Version) from DocumentSearchFold");
    return q.eof() || q.field(0)->isNull() ? 0 : static_cast<int>(q.field(0)->asInteger());
}

std::vector<std::string> storedColumns(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select * from DocumentSearchText where 1 = 0");
    std::vector<std::string> names;
    for (int i = 1; i < q.fieldCount(); ++i) names.push_back(q.field(i)->fieldName());
    return names;
}

}  // namespace

// The schema of pg_trgm, made in public where it is missing, else in
// Document's schema; empty when it cannot be made. Without it the folded
// text is kept unindexed, a scan of it still quicker than folding.
std::string trigramSchema(db::TADOConnection& connection)
{
    auto schema = [&] {
        db::TADOQuery q(nullptr);
        db::open(q, connection,
                 "Select n.nspname from pg_extension e join pg_namespace n on n.oid = e.extnamespace where "
                 "e.extname = 'pg_trgm'");
        return q.eof() ? std::string() : q.field(0)->asString();
    };
    std::string found = schema();
    if (!found.empty()) return found;
    for (const char* making :
         {"CREATE EXTENSION IF NOT EXISTS pg_trgm WITH SCHEMA public", "CREATE EXTENSION IF NOT EXISTS pg_trgm"})
        try {
            connection.executeNative(making);
            break;
        } catch (const db::EDatabaseError&) {
        }
    return schema();
}

std::vector<std::string> sqliteFoldSteps(const std::string& argument)
{
    constexpr size_t perStep = 20;
    auto [changed, plain] = db::plainingPairs();
    std::u32string from = tk::toU32(changed), to = tk::toU32(plain);
    std::vector<std::string> steps;
    std::string expression = "lower(" + argument + ")";
    size_t inStep = 0;
    for (size_t i = 0; i < from.size(); ++i) {
        if (from[i] < 0x80) continue;  // lower() folds A-Z
        std::u32string target = i < to.size() ? std::u32string(1, to[i]) : std::u32string();
        expression = "replace(" + expression + ", " + quoteText(tk::toUtf8(std::u32string(1, from[i]))) + ", " +
                     quoteText(tk::toUtf8(target)) + ")";
        if (++inStep == perStep) {
            steps.push_back(expression);
            expression = argument;
            inStep = 0;
        }
    }
    if (inStep) steps.push_back(expression);
    return steps;
}

std::string postgresFoldFunctionBody()
{
    // translate() looks each character up in its list from the front, and
    // a character it does not change is sought through the whole list: the
    // characters of registry text come first, most of them mapped to
    // themselves, which folds a million subjects four times as fast. The
    // marks that are dropped stay last, beyond the replacements' end.
    auto [changedText, plainText] = db::plainingPairs();
    std::u32string changed = tk::toU32(changedText), plain = tk::toU32(plainText);
    const std::u32string common = U" eatlnskomrizgydbhv0123456789jufpcáéíóöőúüűBKSTVMNFHDEAGLPRZÁÉÍÓÖŐÚÜŰCIJOUYWXQ.,-/()";
    std::u32string from, to;
    auto place = [&](char32_t c) {
        if (from.find(c) != std::u32string::npos) return;
        size_t at = changed.find(c);
        if (at != std::u32string::npos && at >= plain.size()) return;  // dropped: last
        from += c;
        to += at == std::u32string::npos ? c : plain[at];
    };
    for (char32_t c : common) place(c);
    for (char32_t c : changed) place(c);
    for (size_t i = plain.size(); i < changed.size(); ++i) from += changed[i];
    return "SELECT translate($1, " + quoteText(tk::toUtf8(from)) + ", " + quoteText(tk::toUtf8(to)) + ")";
}

bool hasTrigram(std::string_view pattern)
{
    int run = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (c == '%' || c == '_') {
            run = 0;
            continue;
        }
        if (c == '!' && i + 1 < pattern.size()) c = static_cast<unsigned char>(pattern[++i]);
        // Continuation bytes belong to the character before them.
        if ((c & 0xC0) != 0x80) {
            // An escaped character may start a multi-byte one.
            if (++run >= 3) return true;
        }
        while (i + 1 < pattern.size() && (static_cast<unsigned char>(pattern[i + 1]) & 0xC0) == 0x80) ++i;
    }
    return false;
}

SearchText SearchText::read(db::TADOConnection& connection)
{
    SearchText text;
    text.connection_ = &connection;
    text.postgres_ = connection.isPostgres();
    if (storedFoldVersion(connection) != searchFoldVersion) return text;
    text.columns_ = storedColumns(connection);
    text.trigramTable_ = !connection.isPostgres() && hasTable(connection, "DocumentSearchIndex");
    return text;
}

bool SearchText::covers(std::string_view column) const
{
    for (const std::string& c : columns_)
        if (tk::sameName(c, column)) return true;
    return false;
}

std::string SearchText::likeCondition(const std::string& column, const std::string& foldedPattern,
                                      const std::function<std::string(db::Cell)>& bind) const
{
    if (postgres_) return "Document.DocumentID in (" + matchingDocuments(column, foldedPattern, bind) + ")";
    std::string c = "[" + column + "]";
    return "exists (Select 1 from DocumentSearchText s where s.DocumentID = Document.DocumentID and s." + c + " glob " +
           bind(db::Cell::text(globPattern(foldedPattern))) + ")";
}

bool SearchText::canDrive(const std::string& column, const std::string& foldedPattern) const
{
    // In a third of the newest thousand documents or more, the walk fills
    // the page and the capped count sooner than the index reads its lists
    // (at a tenth the index is still quicker: measured at 1,000,000).
    return trigramTable_ && hasTrigram(foldedPattern) && !heldByNewest(column, foldedPattern, 1.0 / 3);
}

bool SearchText::heldByNewest(const std::string& column, const std::string& foldedPattern, double share) const
{
    std::string c = "[" + column + "]";
    std::string matches = postgres_ ? "case when " + c + " like :Pattern escape '!' then 1 else 0 end"
                                    : c + " glob :Pattern";
    db::TADOQuery q(nullptr);
    db::open(q, *connection_,
             "Select count(*), coalesce(sum(" + matches + "), 0) from DocumentSearchText where DocumentID > (Select "
             "max(DocumentID) - 1000 from DocumentSearchText)",
             {{"Pattern", postgres_ ? foldedPattern : globPattern(foldedPattern)}});
    return static_cast<double>(q.field(1)->asInteger()) >= share * static_cast<double>(q.field(0)->asInteger());
}

std::string SearchText::drivingCondition(const std::string& column, const std::string& foldedPattern,
                                         const std::function<std::string(db::Cell)>& bind) const
{
    return "DocumentSearchIndex.[" + column + "] glob " + bind(db::Cell::text(globPattern(foldedPattern)));
}

std::string SearchText::matchingDocuments(const std::string& column, const std::string& foldedPattern,
                                          const std::function<std::string(db::Cell)>& bind) const
{
    std::string c = "[" + column + "]";
    if (postgres_)
        return "Select DocumentID from DocumentSearchText where " + c + " like " +
               bind(db::Cell::text(foldedPattern)) + " escape '!'";
    if (!trigramTable_ || !hasTrigram(foldedPattern)) return "";
    return "Select rowid from DocumentSearchIndex where " + c + " glob " +
           bind(db::Cell::text(globPattern(foldedPattern)));
}

std::string globPattern(std::string_view like)
{
    std::string glob;
    for (size_t i = 0; i < like.size(); ++i) {
        char c = like[i];
        if (c == '%') {
            glob += '*';
        } else if (c == '_') {
            glob += '?';
        } else {
            if (c == '!' && i + 1 < like.size()) c = like[++i];
            if (c == '*' || c == '?' || c == '[') glob += std::string("[") + c + "]";
            else glob += c;
        }
    }
    return glob;
}

void insertWithFoldAfterwards(db::TADOConnection& connection, const std::function<void()>& insert)
{
    std::string trigger;
    if (!connection.isPostgres() && storedFoldVersion(connection) == searchFoldVersion) {
        db::TADOQuery q(nullptr);
        db::open(q, connection, "Select sql from sqlite_master where type = 'trigger' and name = :Name",
                 {{"Name", "VelmoraSearchText_Insert"}});
        if (!q.eof()) trigger = q.field(0)->asString();
    }
    if (trigger.empty()) {
        insert();
        return;
    }
    int64_t last = 0;
    {
        db::TADOQuery q(nullptr);
        db::open(q, connection, "Select coalesce(max(DocumentID), 0) from Document");
        last = q.field(0)->asInteger();
    }
    std::vector<std::string> columns = storedColumns(connection);
    std::string names = joined(columns, ", ", [](const std::string& c) { return quoteIdentifier(c); });
    connection.executeNative("DROP TRIGGER VelmoraSearchText_Insert");
    insert();
    // The fill that makes the folded text, over the keys the insert gave.
    connection.engine().execute(sqliteMaking(columns).fill,
                                {db::Cell::integer(last), db::Cell::integer(std::numeric_limits<int64_t>::max())});
    connection.engine().execute("INSERT INTO DocumentSearchIndex (rowid, " + names + ") SELECT DocumentID, " + names +
                                    " FROM DocumentSearchText WHERE DocumentID > ?1",
                                {db::Cell::integer(last)});
    connection.executeNative(trigger);
}

bool searchTextIsStale(db::TADOConnection& connection)
{
    if (!hasTable(connection, "DocumentSearchFold") || !hasTable(connection, "DocumentSearchText")) return false;
    if (storedFoldVersion(connection) != searchFoldVersion) return true;
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select (Select count(*) from Document) - (Select count(*) from DocumentSearchText)");
    return q.field(0)->asInteger() != 0;
}

SearchTextResult makeSearchText(db::TADOConnection& connection, bool refresh,
                                const std::function<void(const std::string&)>& progress)
{
    SearchTextResult result;
    auto say = [&](const std::string& step) {
        if (progress) progress(step);
    };
    std::vector<std::string> columns = textColumns(connection);
    if (columns.empty()) return result;
    if (!refresh && !searchTextIsStale(connection)) {
        SearchText kept = SearchText::read(connection);
        if (std::all_of(columns.begin(), columns.end(), [&](const std::string& c) { return kept.covers(c); }))
            return result;
    }
    bool postgres = connection.isPostgres();
    std::string schema = postgres ? schemaOf(connection) : std::string();
    std::string trigrams = postgres ? trigramSchema(connection) : std::string();
    if (postgres && trigrams.empty())
        result.notes.push_back("pg_trgm cannot be made here: the folded text is kept without an index");
    Making making = postgres ? postgresMaking(schema, columns, trigrams) : sqliteMaking(columns);
    int64_t last = 0;
    {
        db::TADOQuery q(nullptr);
        db::open(q, connection, "Select max(DocumentID) from Document");
        last = q.eof() || q.field(0)->isNull() ? 0 : q.field(0)->asInteger();
    }
    db::inTransaction(connection, [&] {
        connection.executeNative(postgres ? postgresDropping(schema) : sqliteDropping());
        connection.executeNative(making.tables);
        if (postgres) {
            // The server plans a parallel read only where it deems the
            // workers worth starting; for this fold they always are.
            say("Folding text: documents 1 to " + std::to_string(last));
            connection.executeNative("SET LOCAL parallel_setup_cost = 0; SET LOCAL parallel_tuple_cost = 0;\n" +
                                     making.fill);
        } else {
            // A range of keys at a time, each step said.
            constexpr int64_t step = 50000;
            for (int64_t from = 0; from < last; from += step) {
                say("Folding text: documents " + std::to_string(from + 1) + " to " +
                    std::to_string(std::min(last, from + step)) + " of " + std::to_string(last));
                connection.engine().execute(making.fill, {db::Cell::integer(from), db::Cell::integer(from + step)});
            }
        }
        say("Indexing the folded text of " + std::to_string(columns.size()) + " columns");
        connection.executeNative(making.index);
        connection.executeNative(making.triggers);
        // Where users are roles of the server, the remade tables are
        // read by every clerk; their trigger writes them as its owner.
        if (postgres && !connection.loginRolePrefix().empty())
            connection.executeNative("GRANT SELECT ON " + db::quoteIdentifier(schema) + ".\"DocumentSearchText\", " +
                                     db::quoteIdentifier(schema) + ".\"DocumentSearchFold\" TO " +
                                     db::quoteIdentifier(db::groupRoleName(connection.loginRolePrefix(), "clerk")));
    });
    result.made = true;
    return result;
}

}  // namespace velmora
