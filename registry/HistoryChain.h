// The history as a chain that shows any later change. Each DocumentHistory
// row holds its place in the chain (ChainNo, from 1) and ChainHash: the
// SHA-256 of the previous row's hash followed by the row's own content in
// the byte form of docs/history-chain.md. The first row follows the hash
// of the chain's origin, a text saying when the chain began and which
// earlier rows it took in. HistoryChain's one row holds the origin and the
// head (the last row's place and hash); its lock puts the writers in
// order. On PostgreSQL with users as roles the server chains the rows it
// writes itself (velmora_chain, in the records script); elsewhere the
// program chains the rows it writes, in the same transaction.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

// One history row as the chain hashes it.
struct ChainedRow {
    struct Change {
        std::optional<std::string> column, oldValue, newValue, oldStored, newStored;
    };
    int64_t chainNo = 0, historyID = 0, documentID = 0;
    std::optional<std::string> registryNumber, action, changedAt, login;
    std::vector<Change> changes;
    std::optional<std::string> storedHash;  // ChainHash as the table holds it
};

// The bytes hashed for a row after the previous row's hash.
std::string chainInput(const ChainedRow& row);
// The row's hash (hex) following `previousHex`.
std::string chainHash(const std::string& previousHex, const ChainedRow& row);

struct ChainHead {
    std::string origin, originHash;
    int64_t no = 0;
    std::string hash;
};
// The chain's origin and head; none before the chain began.
std::optional<ChainHead> readChainHead(db::TADOConnection& connection);

// Rows with their changes, read as the chain hashes them: those `where`
// picks (a condition on DocumentHistory h, with ":name" values), in the
// order `orderBy` gives.
std::vector<ChainedRow> readChainedRows(db::TADOConnection& connection, const std::string& where,
                                        const std::vector<std::pair<std::string, int64_t>>& values,
                                        const char* orderBy);

// Whether this connection keeps the chain's columns and tables: always,
// but where users are roles only the owner (a clerk's program may not).
bool keepsTheChain(db::TADOConnection& connection);
// Makes the chain's columns and tables. When the chain has not begun it
// begins here: rows already there are chained once, in the order of their
// HistoryID, and the origin says how many.
void ensureHistoryChain(db::TADOConnection& connection);
// Chains rows the program has just written, in the caller's transaction,
// holding the head's lock until it ends. Nothing where the chain has not
// begun (verify then names the rows outside it).
void chainHistoryRows(db::TADOConnection& connection, const std::vector<int64_t>& historyIDs);

}  // namespace velmora
