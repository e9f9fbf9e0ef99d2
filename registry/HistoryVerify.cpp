// velmora-admin verify's walk of the history chain.
#include "registry/HistoryVerify.h"

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "registry/CreateUnlessThere.h"
#include "registry/DatabaseClock.h"
#include "registry/HistoryActions.h"
#include "registry/HistoryChain.h"
#include "registry/Sha256.h"

#include <cstdio>
#include <map>
#include <set>

namespace velmora {

namespace {

constexpr int64_t rowsAPage = 5000;

int64_t countOf(db::TADOConnection& connection, const std::string& sql)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, sql);
    return q.field(0)->asInteger();
}

std::string today(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, connection.isPostgres() ? "Select to_char(localtimestamp(0), 'YYYY-MM-DD')"
                                                    : "Select date('now', 'localtime')");
    return q.field(0)->asString();
}

std::string describe(const ChainedRow& row)
{
    return "document " + std::to_string(row.documentID) + ", " + row.action.value_or("?") + " at " +
           row.changedAt.value_or("?") + " by " + row.login.value_or("?");
}

// One read of the database from the first statement to the last: on
// SQLite a deferred transaction (the log keeps its snapshot while clerks
// write), on PostgreSQL a repeatable read. Neither holds a lock that a
// save waits for.
class ConsistentRead {
public:
    explicit ConsistentRead(db::TADOConnection& c) : c_(c)
    {
        c_.executeNative(c_.isPostgres() ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY" : "BEGIN DEFERRED");
    }
    ~ConsistentRead()
    {
        try {
            c_.executeNative("ROLLBACK");
        } catch (...) {
        }
    }

private:
    db::TADOConnection& c_;
};

// What the chain says of voids and attachments, gathered as it is walked.
struct Recorded {
    std::map<int64_t, std::pair<int64_t, std::string>> voids;  // history row → (chain row, reason)
    std::map<int64_t, std::set<std::string>> attached;         // document → "name (SHA-256 …)"
};

void gather(Recorded& recorded, const ChainedRow& row)
{
    for (const ChainedRow::Change& c : row.changes) {
        if (c.column.value_or("x") != voidReasonColumn || !c.newValue) continue;
        if (row.action == historyVoid) recorded.voids[row.historyID] = {row.chainNo, *c.newValue};
        if (row.action == historyAttach) recorded.attached[row.documentID].insert(*c.newValue);
    }
}

std::string checkVoids(db::TADOConnection& connection, Recorded& recorded, int64_t& brokenAt)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select DocumentID, HistoryID, Reason from DocumentVoid order by DocumentID");
    for (; !q.eof(); q.next()) {
        int64_t document = q.field(0)->asInteger();
        auto found = recorded.voids.find(q.field(1)->asInteger());
        if (found == recorded.voids.end())
            return "the void of document " + std::to_string(document) + " has no row in the chain";
        if (found->second.second != q.field(2)->asString()) {
            brokenAt = found->second.first;
            return "the void of document " + std::to_string(document) + " no longer gives the reason its row records";
        }
        recorded.voids.erase(found);
    }
    if (recorded.voids.empty()) return {};
    brokenAt = recorded.voids.begin()->second.first;
    return "the void this row records was taken away";
}

}  // namespace

std::optional<Fingerprint> parseFingerprint(const std::string& text)
{
    size_t first = text.find(':'), second = text.find(':', first == std::string::npos ? first : first + 1);
    if (first == std::string::npos || second == std::string::npos || first == 0) return std::nullopt;
    Fingerprint f;
    for (size_t i = 0; i < first; ++i)
        if (text[i] < '0' || text[i] > '9' || i > 15) return std::nullopt;
    f.no = std::stoll(text.substr(0, first));
    f.hashStart = text.substr(first + 1, second - first - 1);
    f.date = text.substr(second + 1);
    if (f.hashStart.size() < 8 || f.hashStart.find_first_not_of("0123456789abcdef") != std::string::npos)
        return std::nullopt;
    return f;
}

std::string HistoryVerdict::fingerprint() const
{
    return std::to_string(headNo) + ":" + headHash.substr(0, 16) + ":" + headDate;
}

HistoryVerdict verifyHistory(db::TADOConnection& connection, const std::function<void(double)>& progress,
                             const std::optional<Fingerprint>& since)
{
    HistoryVerdict v;
    auto broken = [&](int64_t at, std::string what) {
        v.brokenAt = at;
        v.problem = std::move(what);
        return v;
    };
    if (!hasTable(connection, "HistoryChain")) return broken(0, "the history has no chain yet: velmora-admin upgrade begins it");
    ConsistentRead read(connection);
    std::optional<ChainHead> head = readChainHead(connection);
    if (!head) return broken(0, "the history has no chain yet: velmora-admin upgrade begins it");
    if (sha256Hex(head->origin) != head->originHash)
        return broken(0, "the chain's origin no longer matches its hash");

    // Work to do, for the progress: every chained row and every 64 KiB of
    // attachments.
    bool attachments = hasTable(connection, "DocumentAttachment");
    int64_t total = countOf(connection, "Select count(*) from DocumentHistory where ChainNo is not null") + 1 +
                    (attachments ? countOf(connection, "Select coalesce(sum(FileSize), 0) from DocumentAttachment") /
                                       65536
                                 : 0);
    int64_t done = 0;
    auto tell = [&] {
        if (progress) progress(static_cast<double>(done) / static_cast<double>(total));
    };

    Recorded recorded;
    std::string previous = head->originHash;
    int64_t last = 0;
    // Row 0 is the origin, a fingerprint of a chain with no rows yet.
    std::optional<std::string> sinceHash = head->originHash;
    for (;;) {
        std::vector<ChainedRow> page = readChainedRows(connection, "h.ChainNo > :After and h.ChainNo <= :Last",
                                                       {{"After", last}, {"Last", last + rowsAPage}}, "h.ChainNo");
        if (page.empty()) {
            // A gap of a whole page or more: the chain may go on beyond it.
            int64_t next = countOf(connection, "Select coalesce(min(ChainNo), 0) from DocumentHistory where ChainNo > " +
                                                   std::to_string(last));
            if (next == 0) break;
            return broken(last + 1, "the row is missing (the chain goes on at row " + std::to_string(next) + ")");
        }
        for (const ChainedRow& row : page) {
            if (row.chainNo != last + 1)
                return broken(last + 1,
                              "the row is missing (the chain goes on at row " + std::to_string(row.chainNo) + ")");
            std::string hash = chainHash(previous, row);
            if (!row.storedHash || hash != *row.storedHash)
                return broken(row.chainNo, "the row (" + describe(row) + ") no longer matches its hash");
            gather(recorded, row);
            previous = hash;
            last = row.chainNo;
            if (since && row.chainNo == since->no) sinceHash = hash;
            ++v.rows;
            if (++done % 1000 == 0) tell();
        }
    }
    if (last < head->no)
        return broken(last, "the chain's head is row " + std::to_string(head->no) + ", so the rows after row " +
                                std::to_string(last) + " were taken away");
    if (last > head->no || previous != head->hash)
        return broken(last, "the chain's head no longer holds this row's hash");
    v.headNo = last;
    v.headHash = previous;
    v.headDate = today(connection);

    {
        db::TADOQuery q(nullptr);
        db::open(q, connection,
                 "Select HistoryID, DocumentID, Action from DocumentHistory where ChainNo is null order by HistoryID "
                 "limit 1");
        if (!q.eof())
            return broken(0, "history row " + q.field(0)->asString() + " of document " + q.field(1)->asString() +
                                 " (" + q.field(2)->asString() + ") is outside the chain");
    }
    int64_t at = 0;
    std::string voids = checkVoids(connection, recorded, at);
    if (!voids.empty()) return broken(at, voids);

    // Every finished attachment: its chunks against its size and SHA-256,
    // and its SHA-256 against the row that recorded its adding.
    db::TADOQuery q(nullptr);
    if (attachments)
        db::open(q, connection,
                 "Select AttachmentID, DocumentID, FileName, FileSize, Sha256 from DocumentAttachment where Sha256 <> "
                 "'' order by AttachmentID");
    for (; attachments && !q.eof(); q.next()) {
        int64_t id = q.field(0)->asInteger(), document = q.field(1)->asInteger();
        std::string name = q.field(2)->asString(), sha = q.field(4)->asString();
        std::string which = "attachment \"" + name + "\" of document " + std::to_string(document);
        Sha256 sum;
        int64_t size = 0;
        db::TADOQuery chunk(nullptr);
        for (int chunkNo = 0;; ++chunkNo) {
            chunk.close();
            db::open(chunk, connection,
                     "Select Bytes from DocumentAttachmentChunk where AttachmentID = :ID and ChunkNo = :No",
                     {{"ID", id}, {"No", chunkNo}});
            if (chunk.eof()) break;
            const std::string& bytes = chunk.field(0)->cell().s;
            sum.add(bytes);
            size += static_cast<int64_t>(bytes.size());
            done += static_cast<int64_t>(bytes.size()) / 65536;
            tell();
        }
        if (sum.hexDigest() != sha || size != q.field(3)->asInteger())
            return broken(0, which + " no longer matches its SHA-256 and size");
        if (!recorded.attached[document].count(name + " (SHA-256 " + sha + ")"))
            return broken(0, which + " has no row in the chain that records it");
    }

    if (since) {
        if (since->no > last)
            return broken(last, "the fingerprint's row " + std::to_string(since->no) + " is no longer there: the "
                                "history ends at row " + std::to_string(last));
        if (sinceHash->rfind(since->hashStart, 0) != 0)
            return broken(since->no, "the row no longer matches the fingerprint taken of it");
    }
    if (progress) progress(1.0);
    v.whole = true;
    return v;
}

void recordFingerprint(db::TADOConnection& connection, const HistoryVerdict& verdict)
{
    db::execute(connection,
                std::string("Insert into HistoryFingerprint (ChainNo, ChainHash, TakenAt) Values (:No, :Hash, ") +
                    databaseNow(connection) + ")",
                {{"No", verdict.headNo}, {"Hash", verdict.headHash}});
}

std::optional<RecordedFingerprint> latestFingerprint(db::TADOConnection& connection)
{
    if (!hasTable(connection, "HistoryFingerprint")) return std::nullopt;
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select ChainNo, ChainHash, TakenAt from HistoryFingerprint order by ChainNo desc limit 1");
    if (q.eof()) return std::nullopt;
    return RecordedFingerprint{q.field(0)->asInteger(), q.field(1)->asString(), q.field(2)->asString()};
}

}  // namespace velmora
