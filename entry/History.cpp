// The DocumentHistory and DocumentChange tables.
#include "entry/History.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "registry/HistoryChain.h"
#include "registry/Numbering.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"

#include <algorithm>
#include <cstdio>

namespace velmora {

namespace {

// No value is stored as null, not as an empty text.
db::Cell textOrNull(const std::string& text)
{
    return text.empty() ? db::Cell{} : db::Cell::text(text);
}

}  // namespace

std::optional<std::string> voidReasonOf(db::TADOConnection& connection, int64_t documentID)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select Reason from DocumentVoid where DocumentID = :DocumentID",
             {{"DocumentID", documentID}});
    if (q.eof()) return std::nullopt;
    return q.field(0)->asString();
}

bool serverKeepsHistory(db::TADOConnection& connection)
{
    return !connection.loginRolePrefix().empty();
}

int64_t recordHistory(db::TADOConnection& connection, int64_t documentID, int32_t userID, const std::string& login,
                      const char* what, const std::vector<ValueChange>& changes)
{
    db::pausePoint("document-written");
    int64_t historyID = recordHistories(connection, {documentID}, userID, login, what, {changes}).front();
    db::pausePoint("history-written");
    return historyID;
}

namespace {

// A text as a JSON string.
void appendJson(std::string& out, const std::string& text)
{
    out += '"';
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

// {"column": [shown before, shown after], ...}, null for no value.
std::string shownJson(const std::vector<ValueChange>& changes)
{
    std::string out = "{";
    for (const ValueChange& change : changes) {
        if (out.size() > 1) out += ',';
        appendJson(out, change.column);
        out += ":[";
        for (const std::string* value : {&change.before, &change.after}) {
            if (value == &change.after) out += ',';
            if (value->empty()) out += "null";
            else appendJson(out, *value);
        }
        out += ']';
    }
    return out + "}";
}

}  // namespace

void announceChanges(db::TADOConnection& connection, const char* what, const std::vector<ValueChange>& changes)
{
    if (!serverKeepsHistory(connection)) return;
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select set_config('velmora.action', :Action, true), set_config('velmora.shown', :Shown, true)",
             {{"Action", what}, {"Shown", shownJson(changes)}});
}

std::vector<int64_t> recordHistories(db::TADOConnection& connection, const std::vector<int64_t>& documentIDs,
                                     int32_t userID, const std::string& login, const char* what,
                                     const std::vector<std::vector<ValueChange>>& changes)
{
    // The server's triggers have written them, with what announceChanges
    // said.
    if (serverKeepsHistory(connection)) return std::vector<int64_t>(documentIDs.size(), 0);
    std::string rows;
    db::NamedValues values = {{"UserID", userID}, {"Action", what}, {"UserLogin", login}};
    // The registry number as it is now: the numbered columns' values.
    std::string registry;
    for (const std::string& column : numberedColumns(connection))
        registry += (registry.empty() ? "" : " || ', ' || ") + std::string("CAST([") + column + "] AS text)";
    for (size_t d = 0; d < documentIDs.size(); ++d) {
        std::string n = std::to_string(d);
        std::string number =
            registry.empty() ? "NULL" : "(Select " + registry + " from Document where DocumentID = :d" + n + ")";
        rows += (d ? ", (:d" : "(:d") + n + ", :UserID, " + databaseNow(connection) + ", :Action, :UserLogin, " +
                number + ")";
        values.push_back({"d" + n, documentIDs[d]});
    }
    std::vector<int64_t> historyIDs;
    {
        db::TADOQuery q(nullptr);
        db::open(q, connection,
                 "Insert into DocumentHistory (DocumentID, UserID, ChangedAt, Action, UserLogin, RegistryNumber) "
                 "Values " + rows + " Returning HistoryID",
                 values);
        for (; !q.eof(); q.next()) historyIDs.push_back(q.field(0)->asInteger());
    }
    // The keys are given in the order of the rows, whatever order they
    // come back in.
    std::sort(historyIDs.begin(), historyIDs.end());
    if (historyIDs.size() != documentIDs.size()) throw db::EDatabaseError("The history rows were not all written");
    // The values in one statement: a save of a large form stays one round trip.
    rows.clear();
    values.clear();
    size_t n = 0;
    for (size_t d = 0; d < documentIDs.size(); ++d)
        for (const ValueChange& change : changes[d]) {
            std::string k = std::to_string(n++);
            rows += (rows.empty() ? "(:h" : ", (:h") + k + ", :c" + k + ", :o" + k + ", :n" + k + ")";
            values.push_back({"h" + k, historyIDs[d]});
            values.push_back({"c" + k, change.column});
            values.push_back({"o" + k, textOrNull(change.before)});
            values.push_back({"n" + k, textOrNull(change.after)});
        }
    if (!rows.empty())
        db::execute(connection, "Insert into DocumentChange (HistoryID, ColumnName, OldValue, NewValue) Values " + rows,
                    std::move(values));
    // Chained at the commit: the chain's head is locked from then until the
    // commit ends, so a long import holds no other clerk's save up.
    connection.atCommit([&connection, historyIDs] { chainHistoryRows(connection, historyIDs); });
    return historyIDs;
}

void openHistory(db::TADOQuery& query, db::TADOConnection& connection, int64_t id,
                 const std::vector<ColumnCaption>& captions, bool chainHash)
{
    // A column's caption by the form, the void's reason as "Indok", an
    // attachment as "Fájl", else the column's own name.
    std::string caption = "CASE c.ColumnName";
    db::NamedValues values = {{"DocumentID", id}};
    for (size_t i = 0; i < captions.size(); ++i) {
        std::string n = std::to_string(i);
        caption += " WHEN :c" + n + " THEN :t" + n;
        values.push_back({"c" + n, captions[i].first});
        values.push_back({"t" + n, captions[i].second});
    }
    caption += " WHEN '' THEN CASE WHEN h.Action = :VoidAction THEN 'Indok' ELSE 'Fájl' END ELSE c.ColumnName END";
    values.push_back({"VoidAction", historyVoid});
    db::open(query, connection,
             "Select h.ChangedAt as [Idő], h.RegistryNumber as [Iktatószám], h.UserLogin as [Felhasználó], h.Action as [Művelet], " + caption +
                 " as [Mező], c.OldValue as [Régi érték], c.NewValue as [Új érték]" +
                 (chainHash ? ", substr(h.ChainHash, 1, 8) as [Lánc]" : "") + " from DocumentHistory h "
                 "left join DocumentChange c on c.HistoryID = h.HistoryID where h.DocumentID = :DocumentID "
                 "order by h.HistoryID desc, c.ColumnName",
             values);
    query.field(0)->setShownAs(tk::shownDateTime);
}

}  // namespace velmora
