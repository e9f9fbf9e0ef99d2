// The last results of parameterless SELECT texts on one connection, reused
// while nothing in the database has changed. The property page asks the
// same catalogue statements on every selection ("Select * from
// DictionaryGroup" twice, the Document columns twice); a wide catalogue
// then costs its reading once, not four times.
#pragma once

#include "db/Engine.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace db {

struct CachedResult {
    std::shared_ptr<const ResultColumns> columns;
    std::vector<Cell> cells;
    int rowCount = 0;
};

class ResultCache {
public:
    // Where the database stands now: this connection's writes and the
    // engine's count of everyone's commits; none when the engine cannot
    // tell. Taken before a statement runs, so that a commit made while it
    // runs makes its result stale.
    std::optional<uint64_t> stamp(Engine& engine);
    // A result read while the database stood at `now`, or none.
    std::shared_ptr<const CachedResult> find(const std::string& sql, std::optional<uint64_t> now);
    void store(const std::string& sql, std::optional<uint64_t> readAt, std::shared_ptr<const CachedResult> result);
    // Every write through the connection calls this; writes by other
    // connections show in the engine's data version.
    void written() { ++writes_; }
    // Forgets everything; the connection calls it before it closes.
    void clear() { entries_.clear(); }

private:
    struct Entry {
        std::string sql;
        uint64_t stamp;
        std::shared_ptr<const CachedResult> result;
    };
    static constexpr size_t capacity = 4;
    std::vector<Entry> entries_;  // the most recent last
    uint64_t writes_ = 0;
};

}  // namespace db
