// Reading and writing documents.
#include "entry/Documents.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "entry/History.h"

#include <algorithm>

namespace velmora {

Documents::Documents(db::TADOConnection& connection, int32_t userID) : connection_(&connection), userID_(userID) {}

int64_t Documents::insert(const std::vector<ColumnValue>& values, const char* action)
{
    int64_t id = 0;
    db::inTransaction(*connection_,
                      [&] { id = insertManyInTransaction({values}, action ? action : historyInsert).front(); });
    return id;
}

std::vector<int64_t> Documents::insertManyInTransaction(const std::vector<std::vector<ColumnValue>>& rows,
                                                        const char* action)
{
    const std::vector<ColumnValue>& first = rows.front();
    std::string names;
    for (size_t c = 0; c < first.size(); ++c) names += (c ? ", [" : "[") + first[c].column + "]";
    std::string sql;
    db::NamedValues values;
    if (first.empty()) {
        // A form whose every field the database fills (a numbered column)
        // gives no values: a row of defaults each.
        if (rows.size() > 1) {
            std::vector<int64_t> ids;
            for (size_t r = 0; r < rows.size(); ++r) ids.push_back(insertManyInTransaction({first}, action).front());
            return ids;
        }
        sql = "Insert into Document Default Values Returning DocumentID";
    } else {
        std::string tuples;
        for (size_t r = 0; r < rows.size(); ++r) {
            tuples += r ? ", (" : "(";
            for (size_t c = 0; c < first.size(); ++c) {
                std::string name = "v" + std::to_string(r) + "_" + std::to_string(c);
                tuples += (c ? ", :" : ":") + name;
                values.push_back({name, rows[r][c].value});
            }
            tuples += ")";
        }
        sql = "Insert into Document (" + names + ") Values " + tuples + " Returning DocumentID";
    }
    std::vector<std::vector<ValueChange>> given(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        for (const ColumnValue& v : rows[r])
            if (!v.shown.empty()) given[r].push_back({v.column, {}, v.shown});
    // Many rows at once are recorded with their stored values.
    announceChanges(*connection_, action, rows.size() == 1 ? given[0] : std::vector<ValueChange>{});
    std::vector<int64_t> ids;
    {
        db::TADOQuery q(nullptr);
        db::open(q, *connection_, sql, values);
        for (; !q.eof(); q.next()) ids.push_back(q.field(0)->asInteger());
    }
    // The keys are given in the order of the rows, whatever order they come
    // back in.
    std::sort(ids.begin(), ids.end());
    if (ids.size() != rows.size()) throw db::EDatabaseError("The documents were not all written");
    if (rows.size() == 1) recordHistory(*connection_, ids[0], userID_, login(), action, given[0]);
    else recordHistories(*connection_, ids, userID_, login(), action, given);
    return ids;
}

bool Documents::update(int64_t id, const std::vector<ColumnValue>& changes, const std::vector<ColumnValue>& shown)
{
    std::string sets, where = "DocumentID = :DocumentID";
    for (size_t i = 0; i < changes.size(); ++i)
        sets += (i ? ", [" : "[") + changes[i].column + "] = :v" + std::to_string(i);
    // The row must still hold what was shown, in every field of the form.
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].value.type == db::Cell::Type::Null) where += " and [" + shown[i].column + "] is null";
        else where += " and [" + shown[i].column + "] = :o" + std::to_string(i);
    }
    db::TADOCommand update(nullptr);
    update.setConnection(connection_.get());
    update.setCommandText("Update Document Set " + sets + " Where " + where);
    update.parameters().paramByName("DocumentID").setValue(tk::Value(id));
    for (size_t i = 0; i < changes.size(); ++i)
        db::bindCell(update.parameters().paramByName("v" + std::to_string(i)), changes[i].value);
    for (size_t i = 0; i < shown.size(); ++i)
        if (db::TParameter* p = update.parameters().findParam("o" + std::to_string(i)))
            db::bindCell(*p, shown[i].value);
    std::vector<ValueChange> changed;
    for (const ColumnValue& c : changes) {
        std::string before;
        for (const ColumnValue& s : shown)
            if (s.column == c.column) before = s.shown;
        changed.push_back({c.column, before, c.shown});
    }
    bool stored = false;
    db::inTransaction(*connection_, [&] {
        // Voided meanwhile by another program: the void stands.
        if (std::optional<std::string> reason = voidReason(id))
            throw EDocumentVoided("A dokumentumot időközben érvénytelenítették (" + *reason +
                                  "), ezért nem módosítható; a mentés nem történt meg.");
        announceChanges(*connection_, historyUpdate, changed);
        update.execute();
        if (update.rowsAffected() != 1) return;
        recordHistory(*connection_, id, userID_, login(), historyUpdate, changed);
        stored = true;
    });
    return stored;
}

bool Documents::voidDocument(int64_t id, const std::string& reason)
{
    bool voided = false;
    try {
        db::inTransaction(*connection_, [&] {
            db::TADOQuery q(nullptr);
            db::open(q, *connection_, "Select DocumentID from Document where DocumentID = :DocumentID",
                     {{"DocumentID", id}});
            if (q.eof() || voidReason(id)) return;
            if (!connection_->loginRolePrefix().empty()) {
                // The server writes the void and its history itself.
                db::pausePoint("document-written");
                db::executeReturningInteger(*connection_, "Select velmora_void(:DocumentID, :Reason)",
                                            {{"DocumentID", id}, {"Reason", reason}});
                db::pausePoint("history-written");
                voided = true;
                return;
            }
            int64_t historyID =
                recordHistory(*connection_, id, userID_, login(), historyVoid, {{voidReasonColumn, {}, reason}});
            db::execute(*connection_,
                        "Insert into DocumentVoid (DocumentID, HistoryID, Reason) Values (:DocumentID, :HistoryID, "
                        ":Reason)",
                        {{"DocumentID", id}, {"HistoryID", historyID}, {"Reason", reason}});
            voided = true;
        });
    } catch (const db::EDuplicateKey&) {
        // Voided by another program meanwhile: its void stands, and this
        // one's history row went with the rollback.
        return false;
    }
    return voided;
}

std::optional<std::string> Documents::voidReason(int64_t id)
{
    return voidReasonOf(*connection_, id);
}

const std::string& Documents::login()
{
    if (!login_) {
        db::TADOQuery q(nullptr);
        db::open(q, *connection_, "Select UserLogin from UserTable where UserID = :UserID", {{"UserID", userID_}});
        login_ = q.eof() ? std::string() : q.field(0)->asString();
    }
    return *login_;
}

std::optional<std::vector<db::Cell>> Documents::read(int64_t id, const std::vector<std::string>& columns)
{
    db::TADOQuery q(nullptr);
    db::open(q, *connection_, "Select * from Document where DocumentID = :DocumentID", {{"DocumentID", id}});
    if (q.recordCount() < 1) return std::nullopt;
    std::vector<db::Cell> cells;
    for (const std::string& column : columns) cells.push_back(q.fieldByName(column)->cell());
    return cells;
}

}  // namespace velmora
