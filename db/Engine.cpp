// What the engines share.
#include "db/Engine.h"

#include "db/DatabaseError.h"

#include "toolkit/text/Text.h"

#include <map>
#include <utility>

namespace db {

std::string Engine::passwordVerifier(const std::string&, const std::string&)
{
    throw EDatabaseError("Only a PostgreSQL server keeps passwords of its own");
}

void Engine::backupTo(const std::string&, const std::function<void(double)>&)
{
    throw EDatabaseError("A PostgreSQL database is copied with pg_dump and put back with pg_restore");
}

void Engine::restoreFrom(const std::string&)
{
    throw EDatabaseError("A PostgreSQL database is copied with pg_dump and put back with pg_restore");
}

std::string quoteIdentifier(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

bool fitsBrackets(std::string_view name)
{
    for (unsigned char c : name)
        if (c == ']' || c == '\'' || c == '"' || c == ':' || c < 0x20 || c == 0x7F) return false;
    return !name.empty();
}

std::string quoteText(std::string_view text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

std::string foldedText(std::string_view text)
{
    std::u32string folded = tk::foldText(text);
    return tk::toUtf8(folded);
}

std::pair<std::string, std::string> foldingPairs()
{
    std::u32string upper, lower;
    for (char32_t c = 0xC0; c <= 0x17F; ++c)
        if (char32_t l = tk::foldCase(c); l != c) {
            upper += c;
            lower += l;
        }
    return {tk::toUtf8(upper), tk::toUtf8(lower)};
}

std::string plainedText(std::string_view text)
{
    return tk::toUtf8(tk::plainText(text));
}

std::pair<std::string, std::string> plainingPairs()
{
    std::u32string changed, plain;
    auto add = [&](char32_t c) {
        if (char32_t p = tk::plainLetter(c); p != c) {
            changed += c;
            plain += p;
        }
    };
    for (char32_t c = U'A'; c <= U'Z'; ++c) add(c);
    for (char32_t c = 0xC0; c <= 0x17F; ++c) add(c);
    for (char32_t c = 0x300; c <= 0x36F; ++c) changed += c;
    return {tk::toUtf8(changed), tk::toUtf8(plain)};
}

std::string Engine::queryPlan(const std::string& sql, const std::vector<Cell>& params)
{
    RanQueries* recording = std::exchange(recorded_, nullptr);
    std::vector<Cell> cells;
    ResultRows rows;
    rows.cells = &cells;
    try {
        query((isPostgres() ? "EXPLAIN ANALYZE " : "EXPLAIN QUERY PLAN ") + sql, params, rows);
    } catch (...) {
        recorded_ = recording;
        throw;
    }
    recorded_ = recording;
    std::string plan;
    if (isPostgres()) {
        for (const Cell& line : cells) plan += line.s + "\n";
        return plan;
    }
    // id, parent, unused, detail: each step under its parent.
    std::map<int64_t, int> depth;
    for (size_t at = 0; at + 3 < cells.size(); at += 4) {
        int d = depth.count(cells[at + 1].i) ? depth[cells[at + 1].i] + 1 : 0;
        depth[cells[at].i] = d;
        plan += std::string(2 * static_cast<size_t>(d), ' ') + cells[at + 3].s + "\n";
    }
    return plan;
}

}  // namespace db
