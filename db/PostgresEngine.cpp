// The PostgreSQL engine.
#include "db/PostgresEngine.h"

#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/PostgresDialect.h"
#include "toolkit/text/Text.h"

#include <libpq-fe.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string_view>

namespace db {

namespace {

// Type OIDs of the built-in types a result column may have.
constexpr Oid boolOid = 16, byteaOid = 17, int8Oid = 20, int2Oid = 21, int4Oid = 23, textOid = 25, oidOid = 26,
              float4Oid = 700, float8Oid = 701, bpcharOid = 1042, varcharOid = 1043, dateOid = 1082, timeOid = 1083,
              timestampOid = 1114, timestamptzOid = 1184, numericOid = 1700, uuidOid = 2950;

const char* const duplicateKeyState = "23505";
const char* const raisedByRuleState = "P0001";  // RAISE EXCEPTION in a trigger

// libpq's message as one line: its lines (the second and later indented
// with a tab) joined by blanks, without the line end.
std::string trimmed(const char* message)
{
    std::string s;
    for (const char* p = message ? message : ""; *p; ++p) {
        if (*p != '\n' && *p != '\t') s += *p;
        else if (!s.empty() && s.back() != ' ') s += ' ';
    }
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// A conninfo value in single quotes, backslashes and quotes escaped.
std::string conninfoValue(const std::string& v)
{
    std::string out = "'";
    for (char c : v) {
        if (c == '\\' || c == '\'') out += '\\';
        out += c;
    }
    return out + "'";
}

// The declared type of an expression column, from its type.
std::string typeName(Oid type, int modifier)
{
    switch (type) {
    case boolOid: return "boolean";
    case byteaOid: return "bytea";
    case int8Oid: return "bigint";
    case int2Oid: return "smallint";
    case int4Oid:
    case oidOid: return "integer";
    case textOid: return "text";
    case float4Oid: return "real";
    case float8Oid: return "double precision";
    case bpcharOid: return modifier > 4 ? "char(" + std::to_string(modifier - 4) + ")" : "char";
    case varcharOid: return modifier > 4 ? "varchar(" + std::to_string(modifier - 4) + ")" : "varchar";
    case dateOid: return "date";
    case timeOid: return "time";
    case timestampOid:
    case timestamptzOid: return "timestamp";
    case numericOid: return "numeric";
    case uuidOid: return "uuid";
    default: return "";
    }
}

Cell readCell(const PGresult* r, int row, int col, Oid type)
{
    Cell c;
    if (PQgetisnull(r, row, col)) return c;
    const char* text = PQgetvalue(r, row, col);
    int length = PQgetlength(r, row, col);
    switch (type) {
    case boolOid:
        c.type = Cell::Type::Integer;
        c.i = text[0] == 't' ? 1 : 0;
        break;
    case int2Oid:
    case int4Oid:
    case int8Oid:
    case oidOid:
        c.type = Cell::Type::Integer;
        c.i = std::strtoll(text, nullptr, 10);
        break;
    case float4Oid:
    case float8Oid:
    case numericOid:
        c.type = Cell::Type::Float;
        c.d = std::strtod(text, nullptr);
        break;
    case byteaOid: {
        c.type = Cell::Type::Bytes;
        size_t size = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
        if (!bytes) throw EDatabaseError("Out of memory reading a bytea value");
        c.s.assign(reinterpret_cast<const char*>(bytes), size);
        PQfreemem(bytes);
        break;
    }
    default:
        c.type = Cell::Type::Text;
        c.s.assign(text, static_cast<size_t>(length));
        break;
    }
    return c;
}

int declaredLength(const std::string& type)
{
    size_t p = type.find('(');
    return p == std::string::npos ? 0 : std::atoi(type.c_str() + p + 1);
}

// libpq's own keywords.
const std::set<std::string>& libpqKeywords()
{
    static const std::set<std::string> names = [] {
        std::set<std::string> out;
        PQconninfoOption* options = PQconndefaults();
        for (PQconninfoOption* o = options; o && o->keyword; ++o) out.insert(o->keyword);
        PQconninfoFree(options);
        return out;
    }();
    return names;
}

}  // namespace

std::string postgresConninfo(const std::map<std::string, std::string>& linkValues)
{
    std::string conninfo;
    bool timeout = false;
    for (const auto& [key, value] : linkValues) {
        if (key == "provider" || key.find(' ') != std::string::npos) continue;
        if (!libpqKeywords().count(key))
            throw EDatabaseError("The data-link file names " + key + ", which is no PostgreSQL connection keyword");
        if (key == "client_encoding") continue;  // the program speaks UTF-8
        if (value.find('\0') != std::string::npos)
            throw EDatabaseError("The data-link file's " + key + " holds a zero byte");
        timeout = timeout || key == "connect_timeout";
        conninfo += key + "=" + conninfoValue(value) + " ";
    }
    if (!timeout) conninfo += "connect_timeout=10 ";
    return conninfo + "client_encoding=UTF8 fallback_application_name=velmora";
}

PostgresEngine::PostgresEngine(const std::map<std::string, std::string>& linkValues, const Credentials* credentials)
{
    // The file's keys come as one connection string in "dbname", which
    // libpq expands; the role and password follow it as keywords of their
    // own, so nothing typed at the login is ever spliced into a string.
    std::string conninfo = postgresConninfo(linkValues);
    std::vector<const char*> keywords = {"dbname"}, values = {conninfo.c_str()};
    loginRole_ = credentials != nullptr;
    if (credentials) {
        keywords.insert(keywords.end(), {"user", "password"});
        values.insert(values.end(), {credentials->role.c_str(), credentials->password.c_str()});
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    conn_ = PQconnectdbParams(keywords.data(), values.data(), 1);
    if (!conn_) throw EDatabaseError("Cannot connect to the PostgreSQL server: out of memory");
    if (PQstatus(conn_) != CONNECTION_OK) {
        std::string why = trimmed(PQerrorMessage(conn_));
        // The server asked for the password and did not take it: for an
        // unknown role it answers as for a wrong password.
        bool refused = credentials && PQconnectionUsedPassword(conn_);
        PQfinish(conn_);
        conn_ = nullptr;
        if (refused) throw ELoginRefused("The PostgreSQL server refused the login: " + why);
        throw EDatabaseError("Cannot connect to the PostgreSQL server: " + why);
    }
    // Notices ("column already exists, skipping") are not errors.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    defineFunctions();
}

void PostgresEngine::defineFunctions()
{
    // vfold(text) and vplain(text), for this session only: nothing is stored in the
    // database, and no privilege beyond connecting is needed. Literals
    // are written with quotes doubled alone, whatever the server's default.
    // Statements are planned for their values each time: a plan made for
    // any value walked the whole key backwards where the value's own plan
    // used a search index.
    auto [upper, lower] = foldingPairs();
    auto [changed, plain] = plainingPairs();
    std::string sql =
        "SET standard_conforming_strings = on; CREATE OR REPLACE FUNCTION pg_temp.vfold(text) RETURNS text LANGUAGE "
        "sql IMMUTABLE AS "
        "$f$ SELECT lower(translate($1, " +
        quoteText(upper) + ", " + quoteText(lower) + ")) $f$; " +
        "CREATE OR REPLACE FUNCTION pg_temp.vplain(text) RETURNS text LANGUAGE sql IMMUTABLE AS "
        "$f$ SELECT translate($1, " +
        quoteText(changed) + ", " + quoteText(plain) + ") $f$; SET plan_cache_mode = force_custom_plan";
    Result r(PQexec(conn_, sql.c_str()), PQclear);
    if (!r || PQresultStatus(r.get()) != PGRES_COMMAND_OK)
        throw EDatabaseError("Cannot prepare the PostgreSQL session: " + trimmed(PQerrorMessage(conn_)));
}

PostgresEngine::~PostgresEngine()
{
    PQfinish(conn_);
}

std::string PostgresEngine::passwordVerifier(const std::string& role, const std::string& password)
{
    char* verifier = PQencryptPasswordConn(conn_, password.c_str(), role.c_str(), "scram-sha-256");
    if (!verifier) throw EDatabaseError("Cannot encrypt the password: " + trimmed(PQerrorMessage(conn_)));
    std::string out = verifier;
    PQfreemem(verifier);
    return out;
}

int PostgresEngine::backendPid() const
{
    return PQbackendPID(conn_);
}

void PostgresEngine::reconnectIfLost()
{
    if (PQstatus(conn_) == CONNECTION_OK) return;
    if (inTransaction_)
        throw EDatabaseError("The connection to the PostgreSQL server was lost: " + trimmed(PQerrorMessage(conn_)));
    // The server went away since the last statement: try again once.
    PQreset(conn_);
    tables_.clear();
    if (PQstatus(conn_) != CONNECTION_OK)
        throw EDatabaseError("The connection to the PostgreSQL server is lost: " + trimmed(PQerrorMessage(conn_)));
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    defineFunctions();
}

PostgresEngine::Result PostgresEngine::run(const std::string& sql, const std::vector<const Cell*>& params)
{
    reconnectIfLost();
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    std::vector<int> lengths(params.size()), formats(params.size());
    std::vector<Oid> types(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
        const Cell& c = *params[i];
        switch (c.type) {
        case Cell::Type::Null: values[i] = nullptr; break;
        case Cell::Type::Integer: texts[i] = std::to_string(c.i); break;
        case Cell::Type::Float: {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", c.d);
            texts[i] = buffer;
            break;
        }
        case Cell::Type::Text: texts[i] = c.s; break;
        case Cell::Type::Bytes:
            // Bytes go as they are, in binary, as a bytea value.
            types[i] = byteaOid;
            formats[i] = 1;
            lengths[i] = static_cast<int>(c.s.size());
            values[i] = c.s.data();
            continue;
        }
        if (c.type != Cell::Type::Null) {
            values[i] = texts[i].c_str();
            lengths[i] = static_cast<int>(texts[i].size());
        }
    }
    Result r(PQexecParams(conn_, sql.c_str(), static_cast<int>(params.size()), types.data(), values.data(),
                          lengths.data(), formats.data(), 0),
             PQclear);
    ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return r;
    if (PQstatus(conn_) != CONNECTION_OK)
        throw EDatabaseError("The connection to the PostgreSQL server was lost: " + trimmed(PQerrorMessage(conn_)));
    const char* state = r ? PQresultErrorField(r.get(), PG_DIAG_SQLSTATE) : nullptr;
    const char* primary = r ? PQresultErrorField(r.get(), PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    std::string message = primary ? primary : trimmed(PQerrorMessage(conn_));
    if (state && std::strcmp(state, duplicateKeyState) == 0) throw EDuplicateKey(message);
    if (state && std::strcmp(state, raisedByRuleState) == 0) throw ERefusedByRule(message);
    throw EDatabaseError(message);
}

const PostgresEngine::Column* PostgresEngine::tableColumn(unsigned tableOid, int attnum, std::string& tableName)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto it = tables_.find(tableOid);
        if (it != tables_.end()) {
            auto col = it->second.columns.find(attnum);
            if (col != it->second.columns.end()) {
                tableName = it->second.name;
                return &col->second;
            }
            if (attempt > 0) return nullptr;
        }
        // Not read yet, or a column another program added since.
        Cell oid;
        oid.type = Cell::Type::Integer;
        oid.i = tableOid;
        Result r =
            run("SELECT c.relname, a.attnum, a.attname, format_type(a.atttypid, a.atttypmod),"
                " a.attidentity <> '' OR coalesce(pg_get_expr(d.adbin, d.adrelid) LIKE 'nextval(%', false)"
                " FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid"
                " LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum"
                " WHERE c.oid = $1::oid AND a.attnum > 0 AND NOT a.attisdropped",
                {&oid});
        Table table;
        for (int row = 0; row < PQntuples(r.get()); ++row) {
            table.name = PQgetvalue(r.get(), row, 0);
            std::string type = PQgetvalue(r.get(), row, 3);
            // A domain's name comes quoted when it is a keyword ("binary").
            if (type.size() > 1 && type.front() == '"' && type.back() == '"') type = type.substr(1, type.size() - 2);
            table.columns[std::atoi(PQgetvalue(r.get(), row, 1))] = {PQgetvalue(r.get(), row, 2), type,
                                                                     PQgetvalue(r.get(), row, 4)[0] == 't'};
        }
        tables_[tableOid] = std::move(table);
    }
    return nullptr;
}

void PostgresEngine::query(const std::string& sql, const std::vector<Cell>& params, ResultRows& rows)
{
    if (recorded_) recorded_->push_back({sql, params});
    PostgresText text = toPostgres(sql);
    if (text.statements == 0) throw EDatabaseError("The SQL text is empty");
    std::vector<const Cell*> values;
    for (const Cell& c : params) values.push_back(&c);
    Result r = run(text.sql, values);
    const PGresult* res = r.get();
    int cols = PQnfields(res);
    auto columns = std::make_shared<ResultColumns>();
    std::vector<Oid> types;
    for (int c = 0; c < cols; ++c) {
        Oid type = PQftype(res, c);
        types.push_back(type);
        ResultColumn col{PQfname(res, c), FieldKind::Variant, "", "", 0};
        std::string declared = typeName(type, PQfmod(res, c));
        bool autoIncrement = false;
        if (Oid table = PQftable(res, c); table != InvalidOid && PQftablecol(res, c) > 0) {
            if (const Column* column = tableColumn(table, PQftablecol(res, c), col.table)) {
                col.origin = column->name;
                declared = column->type;
                autoIncrement = column->autoIncrement;
            }
        }
        col.kind = kindOfDeclaredType(declared, autoIncrement);
        col.declaredLength = declaredLength(declared);
        columns->push_back(std::move(col));
    }
    rows.columns = std::move(columns);
    std::vector<Cell>& cells = *rows.cells;
    cells.clear();
    rows.rowCount = PQntuples(res);
    cells.reserve(static_cast<size_t>(rows.rowCount) * static_cast<size_t>(cols));
    for (int row = 0; row < rows.rowCount; ++row)
        for (int c = 0; c < cols; ++c) cells.push_back(readCell(res, row, c, types[c]));
    // A plain SELECT without a function call (one may change something,
    // or answer differently each time) can be kept.
    rows.readOnly = std::strncmp(PQcmdStatus(r.get()), "SELECT ", 7) == 0 && text.sql.find('(') == std::string::npos;
}

namespace {

bool changesRowsOnly(std::string_view sql)
{
    size_t start = sql.find_first_not_of(" \t\r\n(");
    if (start == std::string_view::npos) return false;
    std::string_view rest = sql.substr(start);
    for (std::string_view verb : {"insert", "update", "delete"})
        if (rest.size() > verb.size() && tk::sameName(rest.substr(0, verb.size()), verb) &&
            std::isspace(static_cast<unsigned char>(rest[verb.size()])))
            return true;
    return false;
}

}  // namespace

int64_t PostgresEngine::execute(const std::string& sql, const std::vector<Cell>& params)
{
    PostgresText text = toPostgres(sql);
    if (text.statements == 0) throw EDatabaseError("The command text is empty");
    if (text.statements > 1) throw EDatabaseError("The command text holds more than one statement");
    std::vector<const Cell*> values;
    for (const Cell& c : params) values.push_back(&c);
    // A statement other than a row's insert, update or delete may change a
    // table's columns: the catalogue is read again when next needed.
    if (!changesRowsOnly(text.sql)) tables_.clear();
    if (text.addedColumn.empty()) {
        Result r = run(text.sql, values);
        return std::strtoll(PQcmdTuples(r.get()), nullptr, 10);
    }
    // A login of a database whose users are roles owns no table: the
    // owner's function adds a design's column, checking its name and type.
    if (loginRole_ && tk::sameName(text.alteredTable, "Document")) {
        Cell name, typeName;
        name.type = typeName.type = Cell::Type::Text;
        name.s = text.addedColumn;
        typeName.s = text.addedType;
        run("SELECT velmora_add_column($1::text, $2::text)", {&name, &typeName});
        return 0;
    }
    // Names are one whatever their case, here as on every engine the
    // program knows: a column whose name differs from another's only in
    // case is refused. The table stays locked until the commit, so a
    // second program adding the same name waits and is then refused too.
    bool own = !inTransaction_;
    if (own) run("BEGIN", {});
    try {
        run(text.sql, values);
        Cell table, column;
        table.type = column.type = Cell::Type::Text;
        table.s = quoteIdentifier(text.alteredTable);
        column.s = text.addedColumn;
        Result r =
            run("SELECT count(*) FROM pg_attribute WHERE attrelid = to_regclass($1::text)"
                " AND attnum > 0 AND NOT attisdropped AND lower(attname) = lower($2::text)",
                {&table, &column});
        if (std::strtoll(PQgetvalue(r.get(), 0, 0), nullptr, 10) > 1)
            throw EDatabaseError("column \"" + text.addedColumn + "\" of relation \"" + text.alteredTable +
                                 "\" already exists in another letter case");
        if (own) run("COMMIT", {});
    } catch (...) {
        if (own) rollback();
        throw;
    }
    return 0;
}

void PostgresEngine::begin()
{
    run("BEGIN", {});
    inTransaction_ = true;
}

void PostgresEngine::commit()
{
    run("COMMIT", {});
    inTransaction_ = false;
}

void PostgresEngine::rollback()
{
    inTransaction_ = false;
    try {
        if (PQstatus(conn_) == CONNECTION_OK) run("ROLLBACK", {});
    } catch (const EDatabaseError&) {
        // The connection is gone: the server has rolled it back.
    }
}

void PostgresEngine::executeScript(const std::string& script)
{
    executeNative(toPostgres(script).sql);
}

void PostgresEngine::executeNative(const std::string& script)
{
    reconnectIfLost();
    tables_.clear();
    // The statements of one text run as one transaction: all or none.
    Result r(PQexec(conn_, script.c_str()), PQclear);
    ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY) return;
    const char* primary = r ? PQresultErrorField(r.get(), PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    throw EDatabaseError(primary ? primary : trimmed(PQerrorMessage(conn_)));
}

void PostgresEngine::widenTextColumn(const std::string& table, const std::string& column, int length)
{
    // The declared length, looked up first: a column long enough already
    // is not touched (an ALTER would lock the table).
    std::vector<Cell> found;
    ResultRows rows;
    rows.cells = &found;
    query(
        "Select character_maximum_length from information_schema.columns where table_schema = current_schema() "
        "and table_name = ?1 and column_name = ?2",
        {Cell::text(table), Cell::text(column)}, rows);
    if (found.empty() || found.front().type != Cell::Type::Integer || found.front().i >= length) return;
    // Written for the server as it is: the dialect would take TYPE for a name.
    std::string sql = "ALTER TABLE " + quoteIdentifier(table) + " ALTER COLUMN " + quoteIdentifier(column) +
                      " TYPE varchar(" + std::to_string(length) + ")";
    reconnectIfLost();
    tables_.clear();
    Result r(PQexec(conn_, sql.c_str()), PQclear);
    if (r && PQresultStatus(r.get()) == PGRES_COMMAND_OK) return;
    const char* primary = r ? PQresultErrorField(r.get(), PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    throw EDatabaseError(primary ? primary : trimmed(PQerrorMessage(conn_)));
}

std::vector<std::string> PostgresEngine::primaryKey(const std::string& table)
{
    Cell name;
    name.type = Cell::Type::Text;
    name.s = quoteIdentifier(table);
    Result r =
        run("SELECT a.attname FROM pg_index i"
            " JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = ANY (i.indkey)"
            " WHERE i.indrelid = to_regclass($1::text) AND i.indisprimary"
            " ORDER BY array_position(i.indkey::int2[], a.attnum)",
            {&name});
    std::vector<std::string> keys;
    for (int row = 0; row < PQntuples(r.get()); ++row) keys.emplace_back(PQgetvalue(r.get(), row, 0));
    return keys;
}

int64_t PostgresEngine::updateRow(const RowUpdate& u)
{
    std::string sql = "UPDATE " + quoteIdentifier(u.table) + " SET ";
    int n = 1;
    for (size_t i = 0; i < u.setColumns.size(); ++i)
        sql += (i ? ", " : "") + quoteIdentifier(u.setColumns[i]) + " = $" + std::to_string(n++);
    std::string cond;
    for (size_t i = 0; i < u.whereColumns.size(); ++i)
        cond +=
            (i ? " AND " : "") + quoteIdentifier(u.whereColumns[i]) + " IS NOT DISTINCT FROM $" + std::to_string(n++);
    sql += u.byKey ? " WHERE " + cond
                   : " WHERE ctid = (SELECT ctid FROM " + quoteIdentifier(u.table) + " WHERE " + cond + " LIMIT 1)";
    std::vector<const Cell*> params = u.values;
    params.insert(params.end(), u.oldValues.begin(), u.oldValues.end());
    Result r = run(sql, params);
    return std::strtoll(PQcmdTuples(r.get()), nullptr, 10);
}

std::optional<uint64_t> PostgresEngine::dataVersion()
{
    try {
        Result r = run("SELECT pg_current_wal_insert_lsn()", {});
        unsigned high = 0, low = 0;
        if (std::sscanf(PQgetvalue(r.get(), 0, 0), "%X/%X", &high, &low) != 2) return std::nullopt;
        return (uint64_t{high} << 32) | low;
    } catch (const EDatabaseError&) {
        return std::nullopt;  // a standby in recovery has no position of its own
    }
}

std::vector<std::string> PostgresEngine::tableNames()
{
    Result r =
        run("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace"
            " WHERE c.relkind IN ('r', 'p') AND pg_table_is_visible(c.oid)"
            " AND n.nspname NOT IN ('pg_catalog', 'information_schema')",
            {});
    std::vector<std::string> names;
    for (int row = 0; row < PQntuples(r.get()); ++row) names.emplace_back(PQgetvalue(r.get(), row, 0));
    return names;
}

void PostgresEngine::prepareNewDatabase()
{
    run("DO $$ BEGIN IF to_regtype('\"binary\"') IS NULL THEN CREATE DOMAIN \"binary\" AS bytea; END IF; END $$", {});
}

std::string postgresDataLinkLine(const std::string& conninfo, bool withPassword, bool* droppedPassword)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    if (!options) {
        std::string why = trimmed(error);
        PQfreemem(error);
        throw EDatabaseError("The PostgreSQL connection string is not valid: " + why);
    }
    std::string line = "Provider=PostgreSQL";
    if (droppedPassword) *droppedPassword = false;
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        if (!o->val) continue;
        std::string key = o->keyword, value = o->val;
        if (key == "password" && !withPassword) {
            if (droppedPassword) *droppedPassword = true;
            continue;
        }
        line += ";" + key + "=" + keyValueText(value);
    }
    PQconninfoFree(options);
    return line;
}

}  // namespace db
