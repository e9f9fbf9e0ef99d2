// Translating the program's statements for PostgreSQL.
#include "db/PostgresDialect.h"

#include "db/Engine.h"

#include "toolkit/text/Text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace db {

namespace {

// Words that are SQL, not names. Sorted, lower case.
constexpr std::array<std::string_view, 101> keywords = {
    "add",       "all",       "alter",    "and",        "any",        "as",        "asc",       "begin",     "between",
    "bigint",    "boolean",   "by",       "cascade",    "case",       "char",      "character", "check",     "collate",
    "column",    "commit",    "conflict", "constraint", "create",     "cross",     "date",      "decimal",   "default",
    "delete",    "desc",      "distinct", "do",         "domain",     "double",    "drop",      "else",      "end",
    "escape",    "except",    "exists",   "false",      "first",      "float",     "foreign",   "from",      "full",
    "group",     "having",    "if",       "in",         "index",      "inner",     "insert",    "int",       "integer",
    "intersect", "into",      "is",       "join",       "key",        "last",      "left",      "like",      "limit",
    "not",       "nothing",   "null",     "nulls",      "numeric",    "offset",    "on",        "or",        "order",
    "outer",     "precision", "primary",  "real",       "references", "returning", "right",     "rollback",  "schema",
    "select",    "set",       "smallint", "table",      "text",       "then",      "time",      "timestamp", "true",
    "union",     "unique",    "update",   "using",      "values",     "varchar",   "varying",   "view",      "when",
    "where",     "with",
};

bool isKeyword(const std::string& lower)
{
    return std::binary_search(keywords.begin(), keywords.end(), lower);
}

bool wordStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool wordChar(char c)
{
    return wordStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$' || c == '@';
}

}  // namespace

PostgresText toPostgres(const std::string& sql)
{
    PostgresText out;
    std::string& o = out.sql;
    // The first words and names of the text, lower-cased keywords and names
    // as the server takes them, to recognise ALTER TABLE ... ADD.
    std::vector<std::string> head;
    auto note = [&](std::string token) {
        if (out.statements == 1 && head.size() < 6) head.push_back(std::move(token));
    };
    o.reserve(sql.size() + sql.size() / 4);
    bool statementOpen = false;  // something but blanks since the last ";"
    size_t i = 0, n = sql.size();
    auto startsStatement = [&] {
        if (!statementOpen) ++out.statements;
        statementOpen = true;
    };
    while (i < n) {
        char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            o += c;
            ++i;
            continue;
        }
        if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            size_t end = sql.find('\n', i);
            end = end == std::string::npos ? n : end;
            o.append(sql, i, end - i);
            i = end;
            continue;
        }
        if (c == ';') {
            o += c;
            ++i;
            statementOpen = false;
            continue;
        }
        startsStatement();
        if (c == '\'' || c == '"') {
            // A string or a quoted name, with its doubled quotes, unchanged.
            size_t j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            size_t end = std::min(j + 1, n);
            o.append(sql, i, end - i);
            i = end;
            continue;
        }
        if (c == '$' && i + 1 < n && sql[i + 1] == '$') {
            size_t end = sql.find("$$", i + 2);
            end = end == std::string::npos ? n : end + 2;
            o.append(sql, i, end - i);
            i = end;
            continue;
        }
        if (c == '[') {
            size_t end = sql.find(']', i + 1);
            end = end == std::string::npos ? n : end;
            o += quoteIdentifier(std::string_view(sql).substr(i + 1, end - i - 1));
            note("\"" + sql.substr(i + 1, end - i - 1));
            i = std::min(end + 1, n);
            continue;
        }
        if (c == '?' && i + 1 < n && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
            o += '$';
            ++i;
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            // A number, with any letters that belong to it (1e5).
            while (i < n && (wordChar(sql[i]) || sql[i] == '.')) o += sql[i++];
            continue;
        }
        if (!wordStart(c)) {
            o += c;
            ++i;
            continue;
        }
        size_t j = i;
        while (j < n && wordChar(sql[j])) ++j;
        std::string word = sql.substr(i, j - i);
        std::string lower = tk::lowerAscii(word);
        i = j;
        if (lower == "datetime") {
            o += "timestamp";
        } else if (lower == "longbinary" || lower == "blob" || lower == "image") {
            o += "bytea";
        } else if (lower == "memo" || lower == "longtext") {
            o += "text";
        } else if (lower == "autoincrement") {
            o += "GENERATED BY DEFAULT AS IDENTITY";
        } else if (lower == "binary") {
            // Fixed-length bytes: the domain, its length dropped.
            o += "\"binary\"";
            size_t k = i;
            while (k < n && sql[k] == ' ') ++k;
            if (k < n && sql[k] == '(') {
                size_t close = sql.find(')', k);
                if (close != std::string::npos) i = close + 1;
            }
        } else if (lower == "vfold" && i < n && sql[i] == '(') {
            // The program's letter-case folding, made per connection.
            o += "pg_temp.vfold";
        } else if (isKeyword(lower) || (i < n && sql[i] == '(')) {
            o += word;
        } else {
            o += quoteIdentifier(word);
            lower = "\"" + word;  // noted as a name
        }
        note(std::move(lower));
    }
    // ALTER TABLE t ADD [COLUMN] c: names are marked with a leading quote.
    if (head.size() >= 5 && head[0] == "alter" && head[1] == "table" && head[2][0] == '"' && head[3] == "add") {
        size_t c = head[4] == "column" ? 5 : 4;
        if (c < head.size() && head[c][0] == '"') {
            out.alteredTable = head[2].substr(1);
            out.addedColumn = head[c].substr(1);
        }
    }
    return out;
}

}  // namespace db
