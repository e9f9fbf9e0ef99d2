// Reusing results while the database stays unchanged.
#include "db/ResultCache.h"

#include <algorithm>

namespace db {

std::optional<uint64_t> ResultCache::stamp(Engine& engine)
{
    // This connection's writes, and the engine's count of everyone's commits.
    std::optional<uint64_t> version = engine.dataVersion();
    if (!version) return std::nullopt;
    return (writes_ << 32) ^ *version;
}

std::shared_ptr<const CachedResult> ResultCache::find(const std::string& sql, std::optional<uint64_t> now)
{
    // Anything read before a change is stale.
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.stamp != now; }),
                   entries_.end());
    for (const Entry& e : entries_)
        if (e.sql == sql) return e.result;
    return nullptr;
}

void ResultCache::store(const std::string& sql, std::optional<uint64_t> readAt,
                        std::shared_ptr<const CachedResult> result)
{
    if (!readAt) return;  // the engine cannot tell when it goes stale
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.sql == sql; }),
                   entries_.end());
    if (entries_.size() >= capacity) entries_.erase(entries_.begin());
    entries_.push_back({sql, *readAt, std::move(result)});
}

}  // namespace db
