// The Document row and its history, apart from any control: a new
// document inserted with its history row, a shown one updated only while
// it still holds what was shown, one document read back. Values go in,
// values and results come out; the entry window asks, this module answers,
// and everything that reads or writes a document lives here.
#pragma once

#include "db/Field.h"
#include "entry/Refusal.h"
#include "toolkit/core/ComponentRef.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

// A column of Document (a name the caller has checked: no "]" or ":"), its
// value, and the value as the form shows it, for the history.
struct ColumnValue {
    ColumnValue(std::string c, db::Cell v, std::string s = {})
        : column(std::move(c)), value(std::move(v)), shown(std::move(s))
    {
    }
    std::string column;
    db::Cell value;
    std::string shown;
};

// A change refused because the document was voided after it was shown.
class EDocumentVoided : public ERefused {
    using ERefused::ERefused;
};

class Documents {
public:
    Documents(db::TADOConnection& connection, int32_t userID);

    // Inserts a document with these values (none left out but numbered
    // columns, which the database fills) and its history row with each
    // value shown, in one transaction; gives its DocumentID. The history
    // row records `action` (an entry by the form, unless said otherwise).
    int64_t insert(const std::vector<ColumnValue>& values, const char* action = nullptr);
    // An import's documents are many in one transaction: a savepoint each
    // would make SQLite's search index write out its pending terms each
    // time, and a statement each costs a round trip to the server.
    // Many documents inside the caller's transaction, each row the same
    // columns in the same order, each with its history row: a few
    // statements for them all. Gives their DocumentIDs in their order.
    std::vector<int64_t> insertManyInTransaction(const std::vector<std::vector<ColumnValue>>& rows, const char* action);
    // Writes `changes` (at least one) to document `id` with its history row,
    // each change's value shown before (from `shown`) and after, in one
    // transaction, only while every column of `shown` still holds the value
    // shown; false, with nothing written, when the row changed meanwhile or
    // is gone. Raises EDocumentVoided, with nothing written, when the
    // document was voided meanwhile.
    bool update(int64_t id, const std::vector<ColumnValue>& changes, const std::vector<ColumnValue>& shown);
    // Voids document `id` for `reason`: the row stays, the void is stored
    // beside it with its history row, in one transaction. False, with
    // nothing written, when the document is voided already or gone.
    bool voidDocument(int64_t id, const std::string& reason);
    // Why document `id` was voided; none when it is not.
    std::optional<std::string> voidReason(int64_t id);
    // The stored values of `columns` of document `id`, in their order;
    // none when the document no longer exists.
    std::optional<std::vector<db::Cell>> read(int64_t id, const std::vector<std::string>& columns);

    // The user's login name, read once: the history keeps it as text.
    const std::string& login();
    int32_t userID() const { return userID_; }

private:
    tk::ComponentRef<db::TADOConnection> connection_;
    int32_t userID_;
    std::optional<std::string> login_;
};

}  // namespace velmora
