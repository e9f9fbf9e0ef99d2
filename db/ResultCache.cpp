// Reusing results while the database stays unchanged.
#include "db/ResultCache.h"

#include <sqlite3.h>

#include <algorithm>

namespace db {

void ResultCache::clear()
{
    entries_.clear();
    sqlite3_finalize(version_);
    version_ = nullptr;
}

uint64_t ResultCache::stamp(sqlite3* db)
{
    // This connection's writes, and the data version that other
    // connections' commits move (read in a statement of its own, which
    // looks at the file as it is now).
    if (!version_ && sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &version_, nullptr) != SQLITE_OK) {
        version_ = nullptr;
        return ~uint64_t{0} - writes_;  // unknown: never equal to a stored stamp twice
    }
    uint64_t version = 0;
    if (sqlite3_step(version_) == SQLITE_ROW) version = static_cast<uint64_t>(sqlite3_column_int64(version_, 0));
    sqlite3_reset(version_);
    return (writes_ << 32) ^ version;
}

std::shared_ptr<const CachedResult> ResultCache::find(sqlite3* db, const std::string& sql)
{
    uint64_t now = stamp(db);
    // Anything read before a change is stale.
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.stamp != now; }),
                   entries_.end());
    for (const Entry& e : entries_)
        if (e.sql == sql) return e.result;
    return nullptr;
}

void ResultCache::store(sqlite3* db, const std::string& sql, std::shared_ptr<const CachedResult> result)
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.sql == sql; }),
                   entries_.end());
    if (entries_.size() >= capacity) entries_.erase(entries_.begin());
    entries_.push_back({sql, stamp(db), std::move(result)});
}

}  // namespace db
