// The history's hash chain: its byte form, its tables, and the program's
// own chaining of the rows it writes.
#include "registry/HistoryChain.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/CreateUnlessThere.h"
#include "registry/Sha256.h"

#include <algorithm>
#include <map>

namespace velmora {

namespace {

// A value as the chain writes it: its length in bytes, a colon and the
// bytes; "-" for none.
void appendField(std::string& out, const std::optional<std::string>& value)
{
    if (!value) {
        out += '-';
        return;
    }
    out += std::to_string(value->size());
    out += ':';
    out += *value;
}

std::string fromHex(const std::string& hex)
{
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(digit(hex[i]) << 4 | digit(hex[i + 1]));
    return out;
}

std::optional<std::string> textOf(db::TADOQuery& q, int field)
{
    if (q.field(field)->isNull()) return std::nullopt;
    return q.field(field)->asString();
}

db::NamedValues named(const std::vector<std::pair<std::string, int64_t>>& values)
{
    db::NamedValues out;
    for (const auto& [name, value] : values) out.push_back({name, value});
    return out;
}

// The moment as the chain's origin names it, by the database's clock.
std::string databaseTime(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             connection.isPostgres() ? "Select to_char(localtimestamp(0), 'YYYY-MM-DD HH24:MI:SS')"
                                     : "Select datetime('now', 'localtime')");
    return q.field(0)->asString();
}

}  // namespace

bool keepsTheChain(db::TADOConnection& connection)
{
    if (connection.loginRolePrefix().empty()) return true;
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             "Select case when has_table_privilege(quote_ident(current_schema()) || '.\"DocumentHistory\"', "
             "'UPDATE') then 1 else 0 end");
    return q.field(0)->asInteger() != 0;
}

std::string chainInput(const ChainedRow& row)
{
    std::string out;
    appendField(out, std::to_string(row.chainNo));
    appendField(out, std::to_string(row.historyID));
    appendField(out, std::to_string(row.documentID));
    appendField(out, row.registryNumber);
    appendField(out, row.action);
    appendField(out, row.changedAt);
    appendField(out, row.login);
    appendField(out, std::to_string(row.changes.size()));
    // The change rows in the byte order of their own forms: a table has no
    // order of its own.
    std::vector<std::string> changes;
    for (const ChainedRow::Change& c : row.changes) {
        std::string one;
        for (const auto* value : {&c.column, &c.oldValue, &c.newValue, &c.oldStored, &c.newStored})
            appendField(one, *value);
        changes.push_back(std::move(one));
    }
    std::sort(changes.begin(), changes.end());
    for (const std::string& one : changes) out += one;
    return out;
}

std::string chainHash(const std::string& previousHex, const ChainedRow& row)
{
    Sha256 sum;
    sum.add(fromHex(previousHex));
    sum.add(chainInput(row));
    return sum.hexDigest();
}

std::optional<ChainHead> readChainHead(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select Origin, OriginHash, HeadNo, HeadHash from HistoryChain where ChainID = 1");
    if (q.eof()) return std::nullopt;
    return ChainHead{q.field(0)->asString(), q.field(1)->asString(), q.field(2)->asInteger(),
                     q.field(3)->asString()};
}

std::vector<ChainedRow> readChainedRows(db::TADOConnection& connection, const std::string& where,
                                        const std::vector<std::pair<std::string, int64_t>>& values,
                                        const char* orderBy)
{
    std::vector<ChainedRow> rows;
    std::map<int64_t, size_t> byID;
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             std::string("Select h.ChainNo, h.HistoryID, h.DocumentID, h.RegistryNumber, h.Action, ") +
                 (connection.isPostgres() ? "to_char(h.ChangedAt, 'YYYY-MM-DD HH24:MI:SS')"
                                          : "strftime('%Y-%m-%d %H:%M:%S', h.ChangedAt)") +
                 ", h.UserLogin, h.ChainHash from DocumentHistory h where " + where + " order by " + orderBy,
             named(values));
    for (; !q.eof(); q.next()) {
        ChainedRow row;
        row.chainNo = q.field(0)->asInteger();
        row.historyID = q.field(1)->asInteger();
        row.documentID = q.field(2)->asInteger();
        row.registryNumber = textOf(q, 3);
        row.action = textOf(q, 4);
        row.changedAt = textOf(q, 5);
        row.login = textOf(q, 6);
        row.storedHash = textOf(q, 7);
        byID[row.historyID] = rows.size();
        rows.push_back(std::move(row));
    }
    q.close();
    if (rows.empty()) return rows;
    // Where users are roles of the server, a change also keeps the stored
    // values beside the shown ones.
    bool stored = hasColumn(connection, "DocumentChange", "OldStored");
    db::open(q, connection,
             std::string("Select c.HistoryID, c.ColumnName, c.OldValue, c.NewValue") +
                 (stored ? ", c.OldStored, c.NewStored" : "") +
                 " from DocumentChange c where c.HistoryID in (Select h.HistoryID from DocumentHistory h where " +
                 where + ")",
             named(values));
    for (; !q.eof(); q.next()) {
        auto found = byID.find(q.field(0)->asInteger());
        if (found == byID.end()) continue;
        ChainedRow::Change change{textOf(q, 1), textOf(q, 2), textOf(q, 3), std::nullopt, std::nullopt};
        if (stored) {
            change.oldStored = textOf(q, 4);
            change.newStored = textOf(q, 5);
        }
        rows[found->second].changes.push_back(std::move(change));
    }
    return rows;
}

namespace {

// Chains the rows `where` picks that are not chained yet, in the order of
// their HistoryID, after the head.
void chainRows(db::TADOConnection& connection, const std::string& where,
               const std::vector<std::pair<std::string, int64_t>>& values)
{
    // The rows are read before the head is locked: the lock is held from
    // then to the commit, and other programs wait for it.
    std::vector<ChainedRow> rows =
        readChainedRows(connection, where + " and h.ChainNo is null", values, "h.HistoryID");
    if (rows.empty()) return;
    // The head's lock, held to the end of the transaction: on PostgreSQL
    // the next program's chaining waits here (SQLite's writer is alone).
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Update HistoryChain set HeadNo = HeadNo where ChainID = 1 Returning HeadNo, HeadHash");
    if (q.eof()) return;
    int64_t headNo = q.field(0)->asInteger();
    std::string headHash = q.field(1)->asString();
    q.close();
    // A statement for a thousand rows: the rows of an older history are
    // chained a page at a time, and a round trip to the server each would
    // take minutes for a million.
    constexpr size_t rowsAStatement = 1000;
    for (size_t first = 0; first < rows.size(); first += rowsAStatement) {
        std::string given;
        db::NamedValues chained;
        for (size_t i = first; i < std::min(rows.size(), first + rowsAStatement); ++i) {
            ChainedRow& row = rows[i];
            row.chainNo = ++headNo;
            headHash = chainHash(headHash, row);
            std::string n = std::to_string(i - first);
            given += (given.empty() ? "(:i" : ", (:i") + n + ", :n" + n + ", :h" + n + ")";
            chained.push_back({"i" + n, row.historyID});
            chained.push_back({"n" + n, row.chainNo});
            chained.push_back({"h" + n, headHash});
        }
        db::execute(connection,
                    "Update DocumentHistory set ChainNo = cast(v.column2 as int), ChainHash = v.column3 from (Values " +
                        given + ") v where DocumentHistory.HistoryID = cast(v.column1 as int)",
                    chained);
    }
    db::execute(connection, "Update HistoryChain set HeadNo = :No, HeadHash = :Hash where ChainID = 1",
                {{"No", headNo}, {"Hash", headHash}});
}

}  // namespace

void chainHistoryRows(db::TADOConnection& connection, const std::vector<int64_t>& historyIDs)
{
    if (historyIDs.empty()) return;
    std::string where = "h.HistoryID in (";
    std::vector<std::pair<std::string, int64_t>> values;
    for (size_t i = 0; i < historyIDs.size(); ++i) {
        where += (i ? ", :i" : ":i") + std::to_string(i);
        values.push_back({"i" + std::to_string(i), historyIDs[i]});
    }
    chainRows(connection, where + ")", values);
}

void ensureHistoryChain(db::TADOConnection& connection)
{
    // Where users are roles, the owner makes the chain's tables and begins
    // it; a clerk's program may change none of it.
    if (!keepsTheChain(connection)) return;
    createTableUnlessThere(connection, "HistoryChain",
                           "CREATE TABLE IF NOT EXISTS HistoryChain (ChainID int NOT NULL PRIMARY KEY, Origin text "
                           "NOT NULL, OriginHash varchar(64) NOT NULL, HeadNo int NOT NULL, HeadHash varchar(64) NOT "
                           "NULL)");
    createTableUnlessThere(connection, "HistoryFingerprint",
                           "CREATE TABLE IF NOT EXISTS HistoryFingerprint (ChainNo int NOT NULL, ChainHash "
                           "varchar(64) NOT NULL, TakenAt datetime NOT NULL)");
    if (readChainHead(connection)) return;
    db::inTransaction(connection, [&] {
        db::TADOQuery q(nullptr);
        db::open(q, connection, "Select count(*) from DocumentHistory where ChainNo is null");
        int64_t earlier = q.field(0)->asInteger();
        q.close();
        std::string origin = "Velmora history chain, begun " + databaseTime(connection) +
                             (earlier ? ", taking in the " + std::to_string(earlier) +
                                            " rows made before it in the order of their HistoryID"
                                      : " on an empty history");
        std::string originHash = sha256Hex(origin);
        try {
            db::execute(connection,
                        "Insert into HistoryChain (ChainID, Origin, OriginHash, HeadNo, HeadHash) Values (1, "
                        ":Origin, :Hash, 0, :Hash)",
                        {{"Origin", origin}, {"Hash", originHash}});
        } catch (const db::EDuplicateKey&) {
            return;  // another program began it at the same moment
        }
        // In ranges of the key, which its index reads in order.
        db::open(q, connection, "Select coalesce(max(HistoryID), 0) from DocumentHistory");
        int64_t last = q.field(0)->asInteger();
        q.close();
        constexpr int64_t rowsAStep = 5000;
        for (int64_t after = 0; after < last; after += rowsAStep)
            chainRows(connection, "h.HistoryID > :After and h.HistoryID <= :Last",
                      {{"After", after}, {"Last", after + rowsAStep}});
    });
}

}  // namespace velmora
