// Checking the history's chain: every row's hash recomputed from its
// content, in order from the origin to the head, and what the chain
// records of voids and attachments held against those tables, each
// attachment's stored chunks against its SHA-256. The walk reads one
// consistent state of the database and takes no lock, so clerks go on
// saving while it runs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// A head written down outside the database: its row (0 for the origin of
// a chain with no rows yet), the start of its hash and the day it was
// taken, "ROW:HASH16:YYYY-MM-DD".
struct Fingerprint {
    int64_t no = 0;
    std::string hashStart, date;
};
std::optional<Fingerprint> parseFingerprint(const std::string& text);

struct HistoryVerdict {
    bool whole = false;
    int64_t rows = 0;  // chained rows walked
    int64_t headNo = 0;
    std::string headHash, headDate;
    // Where it breaks: the row (0 where no one row is to blame) and what
    // no longer matches, said whole.
    int64_t brokenAt = 0;
    std::string problem;
    std::string fingerprint() const;
};

// Walks the chain; `since` also proves that nothing up to its row changed.
// `progress` is told the part done, from 0 to 1.
HistoryVerdict verifyHistory(db::TADOConnection& connection, const std::function<void(double)>& progress = {},
                             const std::optional<Fingerprint>& since = std::nullopt);

// Fingerprints taken are kept, so that a restore can tell when it puts
// back a history that ends before one of them.
void recordFingerprint(db::TADOConnection& connection, const HistoryVerdict& verdict);
struct RecordedFingerprint {
    int64_t no = 0;
    std::string hash, takenAt;
};
std::optional<RecordedFingerprint> latestFingerprint(db::TADOConnection& connection);

}  // namespace velmora
