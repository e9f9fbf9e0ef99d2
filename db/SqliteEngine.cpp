// The SQLite engine.
#include "db/SqliteEngine.h"

#include "db/DatabaseError.h"
#include "toolkit/text/Text.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace db {

namespace {

// A prepared statement, finalized on every path.
struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(s); }
};

// A kept statement in use: its bindings and its read of the database end
// with the use, whatever way it ends.
struct StatementUse {
    sqlite3_stmt* s;
    explicit StatementUse(sqlite3_stmt* statement) : s(statement) {}
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    ~StatementUse()
    {
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
};

// The statements kept at most; past it they are all prepared anew.
constexpr size_t keptStatements = 200;

// The system's reason when a write failed for want of space, else 0.
// SQLite says "database or disk is full" for a full disk but only "disk
// I/O error" for a file at its size limit or a quota; its own record of the
// system error is often empty then, so the errno of the failed call, which
// the successful calls after it leave alone, tells.
int spaceError(sqlite3* db, int lastErrno)
{
    int code = sqlite3_extended_errcode(db);
    if ((code & 0xFF) == SQLITE_FULL) return ENOSPC;
    if ((code & 0xFF) != SQLITE_IOERR) return 0;
    for (int error : {sqlite3_system_errno(db), lastErrno})
        if (error == ENOSPC || error == EFBIG || error == EDQUOT) return error;
    return 0;
}

// What a failed call tells the user: `message`, or the want of space said
// plainly.
std::string failureText(sqlite3* db, const std::string& message, int lastErrno)
{
    int error = spaceError(db, lastErrno);
    if (!error) return message;
    return "Nincs elég hely a lemezen, az adatbázisba nem lehet írni (" + std::string(std::strerror(error)) + ").";
}

// Registers an SQL function of one text argument made by `transform`;
// null stays null.
void addTextFunction(sqlite3* db, const char* name, std::string (*transform)(std::string_view))
{
    sqlite3_create_function(
        db, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, reinterpret_cast<void*>(transform),
        [](sqlite3_context* context, int, sqlite3_value** argv) {
            if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
                sqlite3_result_null(context);
                return;
            }
            auto made = reinterpret_cast<std::string (*)(std::string_view)>(sqlite3_user_data(context));
            const char* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
            std::string out = made(text ? text : "");
            sqlite3_result_text(context, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
        },
        nullptr, nullptr);
}

// A refusal, as a duplicate key when a unique constraint refused it, as
// a rule's when a trigger raised it.
[[noreturn]] void raise(sqlite3* db)
{
    int lastErrno = errno;
    int code = sqlite3_extended_errcode(db);
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw EDuplicateKey(sqlite3_errmsg(db));
    if (code == SQLITE_CONSTRAINT_TRIGGER) throw ERefusedByRule(sqlite3_errmsg(db));
    throw EDatabaseError(failureText(db, sqlite3_errmsg(db), lastErrno));
}

void bindCell(sqlite3_stmt* st, int index, const Cell& c)
{
    switch (c.type) {
    case Cell::Type::Null: sqlite3_bind_null(st, index); break;
    case Cell::Type::Integer: sqlite3_bind_int64(st, index, c.i); break;
    case Cell::Type::Float: sqlite3_bind_double(st, index, c.d); break;
    case Cell::Type::Text:
        sqlite3_bind_text(st, index, c.s.data(), static_cast<int>(c.s.size()), SQLITE_TRANSIENT);
        break;
    case Cell::Type::Bytes:
        sqlite3_bind_blob(st, index, c.s.data(), static_cast<int>(c.s.size()), SQLITE_TRANSIENT);
        break;
    }
}

Cell readCell(sqlite3_stmt* st, int col)
{
    Cell c;
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_INTEGER:
        c.type = Cell::Type::Integer;
        c.i = sqlite3_column_int64(st, col);
        break;
    case SQLITE_FLOAT:
        c.type = Cell::Type::Float;
        c.d = sqlite3_column_double(st, col);
        break;
    case SQLITE_TEXT: {
        c.type = Cell::Type::Text;
        auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        c.s.assign(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, col)));
        break;
    }
    case SQLITE_BLOB: {
        c.type = Cell::Type::Bytes;
        auto* p = static_cast<const char*>(sqlite3_column_blob(st, col));
        int n = sqlite3_column_bytes(st, col);
        if (p && n > 0) c.s.assign(p, static_cast<size_t>(n));
        break;
    }
    default: break;
    }
    return c;
}

int declaredLength(const char* decl)
{
    if (!decl) return 0;
    const char* p = std::strchr(decl, '(');
    return p ? std::atoi(p + 1) : 0;
}

}  // namespace

SqliteEngine::SqliteEngine(const std::string& file)
{
    // One thread uses a connection: no locking inside SQLite for every call.
    int rc = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    // Another program writing now holds the file a moment: wait for it,
    // from the very first read on.
    if (rc == SQLITE_OK) rc = sqlite3_busy_timeout(db_, 2000);
    // A file that is not a database shows itself at the first read.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        throw EDatabaseError("Cannot open the database " + file + ": " + why);
    }
    sqlite3_extended_result_codes(db_, 1);
    file_ = file;
    if (!held_.hold(file)) {
        sqlite3_close(db_);
        throw EDatabaseError("The database " + file + " is being restored from a copy; try again in a moment");
    }
    // vfold(text): the text with letter case folded as the program folds it
    // (accented letters too, where SQLite's own lower() and LIKE fold A-Z);
    // vplain(text): folded and without accents, for searches by pattern.
    addTextFunction(db_, "vfold", foldedText);
    addTextFunction(db_, "vplain", plainedText);
}

SqliteEngine::~SqliteEngine()
{
    forgetStatements();
    sqlite3_finalize(version_);
    sqlite3_close_v2(db_);
    // held_ lets the file go after SQLite's handle.
}

int SqliteEngine::createOwnersFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

void SqliteEngine::createFile(const std::string& path)
{
    // Made here, for its owner alone; SQLite's journals take the file's mode.
    if (int error = createOwnersFile(path)) {
        if (error == EEXIST) throw EDatabaseError("The database " + path + " exists already");
        throw EDatabaseError("Cannot create the database " + path + ": " + std::strerror(error));
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // The file is written at the first change; make it exist now.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    // Write-ahead logging: readers and a writer do not hold each other off,
    // so that a copy made while clerks save never stops a save. Kept in the
    // file; a database made before is turned by velmora-admin upgrade.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    std::string why = rc == SQLITE_OK ? std::string() : (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw EDatabaseError("Cannot create the database " + path + ": " + why);
}

sqlite3_stmt* SqliteEngine::prepared(const std::string& sql, bool single)
{
    if (auto kept = statements_.find(sql); kept != statements_.end()) return kept->second;
    Statement st;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st.s, &tail) != SQLITE_OK) raise(db_);
    if (!st.s) throw EDatabaseError(single ? "The command text is empty" : "The SQL text is empty");
    // Only blanks and semicolons may follow the one statement.
    if (single)
        for (const char* p = tail; p && *p; ++p)
            if (*p != ';' && !std::isspace(static_cast<unsigned char>(*p)))
                throw EDatabaseError("The command text holds more than one statement");
    if (statements_.size() >= keptStatements) forgetStatements();
    sqlite3_stmt* statement = std::exchange(st.s, nullptr);
    statements_.emplace(sql, statement);
    return statement;
}

void SqliteEngine::query(const std::string& sql, const std::vector<Cell>& params, ResultRows& rows)
{
    if (recorded_) recorded_->push_back({sql, params});
    StatementUse st(prepared(sql, false));
    for (size_t i = 0; i < params.size(); ++i) bindCell(st.s, static_cast<int>(i) + 1, params[i]);
    // The columns are read after the first step: a statement prepared on a
    // schema that another connection has changed since is prepared again
    // there, and only then names the columns the table has now.
    int rc = sqlite3_step(st.s);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) raise(db_);

    int cols = sqlite3_column_count(st.s);
    rows.columns = columnsOf(st.s);
    std::vector<Cell>& cells = *rows.cells;
    cells.clear();
    rows.rowCount = 0;
    for (; rc != SQLITE_DONE; rc = sqlite3_step(st.s)) {
        if (rc != SQLITE_ROW) {
            cells.clear();
            raise(db_);
        }
        for (int c = 0; c < cols; ++c) cells.push_back(readCell(st.s, c));
        ++rows.rowCount;
    }
    rows.readOnly = sqlite3_stmt_readonly(st.s) != 0;
}

void SqliteEngine::forgetStatements()
{
    // A statement made later may be given a finalized one's address: its
    // columns go with it.
    for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
    statements_.clear();
    columns_.clear();
}

std::shared_ptr<const ResultColumns> SqliteEngine::columnsOf(sqlite3_stmt* s)
{
    // A statement names the same columns until SQLite prepares it again,
    // after a change of the schema: the list is made once for each.
    int prepared = sqlite3_stmt_status(s, SQLITE_STMTSTATUS_REPREPARE, 0);
    KeptColumns& kept = columns_[s];
    if (kept.columns && kept.prepared == prepared) return kept.columns;
    auto columns = std::make_shared<ResultColumns>();
    int cols = sqlite3_column_count(s);
    for (int c = 0; c < cols; ++c) {
        const char* table = sqlite3_column_table_name(s, c);
        const char* origin = sqlite3_column_origin_name(s, c);
        const char* decl = sqlite3_column_decltype(s, c);
        // Only an INTEGER PRIMARY KEY can be an AUTOINCREMENT key.
        int autoinc = 0;
        if (table && origin && decl && tk::sameName(std::string_view(decl).substr(0, 7), "integer"))
            sqlite3_table_column_metadata(db_, sqlite3_column_database_name(s, c), table, origin, nullptr, nullptr,
                                          nullptr, nullptr, &autoinc);
        columns->push_back({sqlite3_column_name(s, c), kindOfDeclaredType(decl ? decl : "", autoinc != 0),
                            table ? table : "", origin ? origin : "", declaredLength(decl)});
    }
    kept = {prepared, columns};
    return columns;
}

int64_t SqliteEngine::execute(const std::string& sql, const std::vector<Cell>& params)
{
    StatementUse st(prepared(sql, true));
    for (size_t i = 0; i < params.size(); ++i) bindCell(st.s, static_cast<int>(i) + 1, params[i]);
    errno = 0;  // what a failed write leaves here tells a full disk
    int rc = sqlite3_step(st.s);
    while (rc == SQLITE_ROW) rc = sqlite3_step(st.s);  // what a statement returns is discarded
    if (rc != SQLITE_DONE) raise(db_);
    return sqlite3_changes(db_);
}

void SqliteEngine::begin()
{
    executeScript("BEGIN IMMEDIATE");
}

void SqliteEngine::commit()
{
    executeScript("COMMIT");
}

void SqliteEngine::rollback()
{
    // A failed statement may have ended the transaction already.
    if (!sqlite3_get_autocommit(db_)) executeScript("ROLLBACK");
}

void SqliteEngine::executeScript(const std::string& script)
{
    char* error = nullptr;
    errno = 0;
    if (sqlite3_exec(db_, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        int lastErrno = errno;
        std::string message = failureText(db_, error ? error : sqlite3_errmsg(db_), lastErrno);
        sqlite3_free(error);
        throw EDatabaseError(message);
    }
}

std::vector<std::string> SqliteEngine::primaryKey(const std::string& table)
{
    std::vector<std::pair<int, std::string>> keys;
    Statement info;
    std::string pragma = "PRAGMA table_info(" + quoteIdentifier(table) + ")";
    if (sqlite3_prepare_v2(db_, pragma.c_str(), -1, &info.s, nullptr) != SQLITE_OK) raise(db_);
    while (sqlite3_step(info.s) == SQLITE_ROW)
        if (int position = sqlite3_column_int(info.s, 5); position > 0)
            keys.emplace_back(position, reinterpret_cast<const char*>(sqlite3_column_text(info.s, 1)));
    std::sort(keys.begin(), keys.end());
    std::vector<std::string> names;
    for (auto& k : keys) names.push_back(std::move(k.second));
    return names;
}

int64_t SqliteEngine::updateRow(const RowUpdate& u)
{
    std::string sql = "UPDATE " + quoteIdentifier(u.table) + " SET ";
    for (size_t i = 0; i < u.setColumns.size(); ++i) sql += (i ? ", " : "") + quoteIdentifier(u.setColumns[i]) + " = ?";
    std::string cond;
    for (size_t i = 0; i < u.whereColumns.size(); ++i)
        cond += (i ? " AND " : "") + quoteIdentifier(u.whereColumns[i]) + " IS ?";
    sql += u.byKey ? " WHERE " + cond
                   : " WHERE rowid = (SELECT rowid FROM " + quoteIdentifier(u.table) + " WHERE " + cond + " LIMIT 1)";
    Statement st;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st.s, nullptr) != SQLITE_OK) raise(db_);
    int n = 1;
    for (const Cell* c : u.values) bindCell(st.s, n++, *c);
    for (const Cell* c : u.oldValues) bindCell(st.s, n++, *c);
    if (sqlite3_step(st.s) != SQLITE_DONE) raise(db_);
    return sqlite3_changes(db_);
}

std::vector<std::string> SqliteEngine::tableNames()
{
    std::vector<std::string> names;
    Statement st;
    if (sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &st.s, nullptr) != SQLITE_OK)
        raise(db_);
    while (sqlite3_step(st.s) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.s, 0)));
    return names;
}

std::optional<uint64_t> SqliteEngine::dataVersion()
{
    // Other connections' commits move the data version (read in a statement
    // of its own, which looks at the file as it is now).
    if (!version_ && sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &version_, nullptr) != SQLITE_OK) {
        version_ = nullptr;
        return std::nullopt;
    }
    uint64_t version = 0;
    bool read = sqlite3_step(version_) == SQLITE_ROW;
    if (read) version = static_cast<uint64_t>(sqlite3_column_int64(version_, 0));
    sqlite3_reset(version_);
    if (!read) return std::nullopt;
    return version;
}

}  // namespace db
