// Registry numbers the database assigns: which Document columns are
// numbered, set and taken off by the administrator. The settings live in
// DocumentNumbering and the counters in DocumentNumberCounter, tables of
// the program's own: Document's columns are the form's fields alone. The
// numbers themselves are given by the database (see NumberingRules.h).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

// A numbering refused, with the reason; nothing was changed.
class ENumberingRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NumberingRequest {
    std::string column;
    bool yearly = false;
    int64_t start = 1;     // the first number, when none higher is stored
    std::string pattern;   // empty: "{n}"
    std::string timeZone;  // PostgreSQL; empty: the server's own zone
};

struct NumberingSetting {
    std::string column;
    bool yearly = false;
    std::string pattern;
    std::string timeZone;  // empty on SQLite: the inserting program's local time
    std::string next;      // the number the next document gets, as stored
};

// Numbers `column` from now on, continuing after the highest number
// already stored (numbers there are left as they are); says what was set.
// Makes DocumentNumbering and DocumentNumberCounter where they are missing.
void ensureNumberingTables(db::TADOConnection& connection);
std::string setNumbering(db::TADOConnection& connection, const NumberingRequest& request);
// Numbers `column` no more; its values stay.
void stopNumbering(db::TADOConnection& connection, const std::string& column);
std::vector<NumberingSetting> numberingSettings(db::TADOConnection& connection);
// The numbered columns, as Document names them.
std::vector<std::string> numberedColumns(db::TADOConnection& connection);

}  // namespace velmora
