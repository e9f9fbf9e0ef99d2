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
    std::vector<ResultColumn> columns;
    std::vector<Cell> cells;
    int rowCount = 0;
};

class ResultCache {
public:
    // A result read while the database was as it is now, or none.
    std::shared_ptr<const CachedResult> find(Engine& engine, const std::string& sql);
    void store(Engine& engine, const std::string& sql, std::shared_ptr<const CachedResult> result);
    // Every write through the connection calls this; writes by other
    // connections show in the engine's data version.
    void written() { ++writes_; }
    // Forgets everything; the connection calls it before it closes.
    void clear() { entries_.clear(); }

private:
    std::optional<uint64_t> stamp(Engine& engine);
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
