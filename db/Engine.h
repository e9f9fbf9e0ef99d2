// The database engine behind a connection. Queries, commands and posts are
// written once against this interface; each engine runs the program's
// statements (written with "?N" placeholders for bound values) its own way.
#pragma once

#include "db/Field.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace db {

struct ResultColumn {
    std::string name;
    FieldKind kind;
    std::string table, origin;  // the table and column read, when one is
    int declaredLength;         // the length in the declared type, or 0
};

using ResultColumns = std::vector<ResultColumn>;

// The whole result of a statement that returns rows.
struct ResultRows {
    // One list for every run of a statement whose columns have not changed
    // since (SQLite keeps it with the prepared statement): a result of the
    // same shape as the last one is told by the list's address.
    std::shared_ptr<const ResultColumns> columns;
    std::vector<Cell>* cells = nullptr;  // filled row by row; the caller's block
    int rowCount = 0;
    bool readOnly = false;  // the statement changed nothing
};

// One row to update: the new values of the changed columns, and the
// columns and old values that find the row (its key, or every column).
struct RowUpdate {
    std::string table;
    std::vector<std::string> setColumns;
    std::vector<const Cell*> values;
    std::vector<std::string> whereColumns;
    std::vector<const Cell*> oldValues;
    bool byKey = false;  // else the first row with all the old values
};

// A name as a quoted identifier ("a""b"), which both engines take.
std::string quoteIdentifier(std::string_view name);

// Whether a name can stand bracketed ([name]) in a statement: it cannot
// close the brackets, open a text or a quoted identifier of either
// engine's dialect, or read as a parameter (:name).
bool fitsBrackets(std::string_view name);

// A text as an SQL string literal ('it''s'), for statements that take no
// parameters (trigger bodies, a session's functions). A backslash stands
// for itself, as the server's standard_conforming_strings has it.
std::string quoteText(std::string_view text);

// The text with letter case folded as the program folds names and searches
// (tk::foldCase: A-Z, Latin-1 and Latin Extended-A): what the SQL function
// vfold(text) gives on every engine.
std::string foldedText(std::string_view text);
// The folding as the two arguments of SQL's translate(): the upper-case
// letters beyond ASCII, and their lower-case letters in the same order.
std::pair<std::string, std::string> foldingPairs();
// The text folded and without accents (tk::plainText): what the SQL
// function vplain(text) gives on every engine, for searches by pattern,
// and what the stored folded text of Document's text columns holds.
std::string plainedText(std::string_view text);
// vplain as the two arguments of SQL's translate(): every letter that
// vplain changes (A-Z, then Latin-1 and Latin Extended-A) and its plain
// letter in the same order, then the combining accents, which have no
// counterpart and so are left out.
std::pair<std::string, std::string> plainingPairs();

class Engine {
public:
    virtual ~Engine() = default;
    // Runs a statement and reads its whole result into `rows`.
    virtual void query(const std::string& sql, const std::vector<Cell>& params, ResultRows& rows) = 0;
    // Runs exactly one statement; a text holding a second is refused
    // before anything runs. Returns the number of rows it changed.
    virtual int64_t execute(const std::string& sql, const std::vector<Cell>& params) = 0;
    // One transaction around several statements: nothing of them stays
    // unless commit() is reached. SQLite takes the write lock at begin(), so
    // a transaction never waits half-way for another writer.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    // Runs a script of the program's own statements, all or nothing where
    // the engine allows.
    virtual void executeScript(const std::string& script) = 0;
    // Runs a script written in this engine's own SQL, as it stands: for
    // what the program's dialect cannot say (triggers, server functions).
    virtual void executeNative(const std::string& script) = 0;
    // PostgreSQL, else SQLite: which of the two a native script is for.
    virtual bool isPostgres() const = 0;
    // The columns of the table's primary key, in key order.
    virtual std::vector<std::string> primaryKey(const std::string& table) = 0;
    // Returns the number of rows changed (0 or 1).
    virtual int64_t updateRow(const RowUpdate& update) = 0;
    // Makes what the program's CREATE statements rely on.
    virtual void prepareNewDatabase() {}
    // The verifier of a server role's password (PostgreSQL); an engine
    // without roles of its own refuses.
    virtual std::string passwordVerifier(const std::string& role, const std::string& password);
    // A consistent copy of the whole database in the new file `path`, made
    // while others may be writing, and checked (SQLite); `progress` is told
    // the share copied as the copy goes on. A server's engine refuses: the
    // server's own tools copy it.
    virtual void backupTo(const std::string& path, const std::function<void(double)>& progress);
    // Puts the content of the copy at `path`, checked first, in place of the
    // database's, all or nothing; refused while another program has the
    // database open (SQLite).
    virtual void restoreFrom(const std::string& path);
    // The names of the tables the database holds.
    virtual std::vector<std::string> tableNames() = 0;
    // Lets a text column hold at least `length` characters, where the
    // engine holds to declared lengths (SQLite does not).
    virtual void widenTextColumn(const std::string& /*table*/, const std::string& /*column*/, int /*length*/) {}
    // A number that moves whenever anyone commits a change, or none when
    // the engine cannot tell cheaply; results are then never kept.
    virtual std::optional<uint64_t> dataVersion() = 0;

    // The statements query() runs while `into` is given, with their values,
    // so that their plans can be shown (bench_search writes a search's);
    // none while it is null.
    using RanQueries = std::vector<std::pair<std::string, std::vector<Cell>>>;
    void recordQueries(RanQueries* into) { recorded_ = into; }
    // How the engine runs one statement, a line a step: SQLite's EXPLAIN
    // QUERY PLAN, PostgreSQL's EXPLAIN ANALYZE (which runs it, and says
    // the rows and the time of each step).
    std::string queryPlan(const std::string& sql, const std::vector<Cell>& params);

protected:
    RanQueries* recorded_ = nullptr;
};

}  // namespace db
