// Fuzz target: a text typed into a search field, whatever bytes it holds,
// folds the same way in the program and in SQLite's triggers (valid UTF-8),
// folds to itself when folded again, and makes a LIKE pattern whose
// trigram test does not read past its end.
#include "db/Engine.h"
#include "entry/Search.h"
#include "registry/SearchText.h"
#include "toolkit/text/Text.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Text the program reads back as it stands: valid UTF-8, as far as it
// decodes, and no zero byte, where SQLite's texts end.
bool readsAsText(const std::string& s)
{
    return s.find('\0') == std::string::npos && tk::toUtf8(tk::toU32(s)) == s;
}

// The text folded by the triggers' steps, one statement each.
std::string foldedBySqlite(const std::string& text)
{
    static sqlite3* db = [] {
        sqlite3* opened = nullptr;
        sqlite3_open(":memory:", &opened);
        return opened;
    }();
    std::string value = text;
    for (const std::string& step : velmora::sqliteFoldSteps("?1")) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, ("SELECT " + step).c_str(), -1, &st, nullptr) != SQLITE_OK) std::abort();
        sqlite3_bind_text(st, 1, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) != SQLITE_ROW) std::abort();
        const unsigned char* out = sqlite3_column_text(st, 0);
        value.assign(reinterpret_cast<const char*>(out), static_cast<size_t>(sqlite3_column_bytes(st, 0)));
        sqlite3_finalize(st);
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string typed(reinterpret_cast<const char*>(data), size);
    std::string folded = db::plainedText(typed);
    if (db::plainedText(folded) != folded) std::abort();
    std::string pattern = db::plainedText(velmora::likePattern(typed));
    velmora::hasTrigram(pattern);
    if (readsAsText(typed) && foldedBySqlite(typed) != folded) std::abort();
    return 0;
}
