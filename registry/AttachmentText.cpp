// The text read from attached files: stored, listed, searched.
#include "registry/AttachmentText.h"

#include "db/Connection.h"
#include "db/Engine.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/DatabaseClock.h"
#include "registry/SearchText.h"

namespace velmora {

namespace {

// The MIME types velmora-read reads.
constexpr const char* readableTypeNames[] = {"application/pdf", "image/png", "image/jpeg", "image/tiff"};

// The same as an SQL list.
const std::string readableTypes = [] {
    std::string list;
    for (const char* t : readableTypeNames) list += std::string(list.empty() ? "(" : ", ") + "'" + t + "'";
    return list + ")";
}();

std::string joinedPages(const std::vector<std::string>& pages)
{
    std::string text;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i) text += '\f';
        text += pages[i];
    }
    return text;
}

}  // namespace

bool isReadableAttachment(const std::string& mimeType)
{
    for (const char* t : readableTypeNames)
        if (mimeType == t) return true;
    return false;
}

std::vector<int64_t> attachmentsToRead(db::TADOConnection& connection, const std::string& engine, bool everyOne)
{
    db::TADOQuery q(nullptr);
    std::string which = everyOne          ? ""
                        : engine.empty() ? " and (t.AttachmentID is null or t.State = 'waiting')"
                                         : " and (t.AttachmentID is null or t.State = 'waiting' or t.Engine is null "
                                           "or t.Engine <> :Engine)";
    std::string sql = std::string("Select a.AttachmentID from DocumentAttachment a left join AttachmentText t on "
                                  "t.AttachmentID = a.AttachmentID where a.RemovedAt is null and a.Sha256 <> '' and "
                                  "a.ContentType in ") +
                      readableTypes + which + " order by a.AttachmentID";
    if (everyOne || engine.empty()) db::open(q, connection, sql);
    else db::open(q, connection, sql, {{"Engine", engine}});
    std::vector<int64_t> ids;
    for (; !q.eof(); q.next()) ids.push_back(q.field(0)->asInteger());
    return ids;
}

int64_t nextAttachmentToRead(db::TADOConnection& connection, int64_t after)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             std::string("Select a.AttachmentID from DocumentAttachment a left join AttachmentText t on t.AttachmentID "
                         "= a.AttachmentID where a.AttachmentID > :After and a.RemovedAt is null and a.Sha256 <> '' "
                         "and a.ContentType in ") +
                 readableTypes + " and (t.AttachmentID is null or t.State = 'waiting') order by a.AttachmentID limit 1",
             {{"After", after}});
    return q.eof() ? 0 : q.field(0)->asInteger();
}

void storeAttachmentText(db::TADOConnection& connection, int64_t attachmentID, const ReaderOutput& read,
                         const std::string& login)
{
    if (read.state == "missing") return;
    std::string content = joinedPages(read.pages);
    std::string folded = db::plainedText(content);
    int pages = static_cast<int>(read.pages.size());
    db::NamedValues values = {{"ID", attachmentID},          {"State", read.state},   {"Reason", read.reason},
                              {"Engine", read.engine},      {"Languages", read.languages}, {"Pages", pages},
                              {"Content", content},         {"Folded", folded}};
    if (!connection.loginRolePrefix().empty()) {
        // The server records who read it, and keeps another's text.
        db::executeReturningInteger(connection,
                                    "Select velmora_attachment_text(:ID, :State, :Reason, :Engine, :Languages, "
                                    ":Pages, :Content, :Folded)",
                                    values);
        return;
    }
    values.push_back({"Login", login});
    db::inTransaction(connection, [&] {
        db::execute(connection, "Delete from AttachmentText where AttachmentID = :ID", {{"ID", attachmentID}});
        db::execute(connection,
                    std::string("Insert into AttachmentText (AttachmentID, State, Reason, Engine, Languages, Pages, "
                                "Content, Folded, ReadBy, ReadAt) Values (:ID, :State, :Reason, :Engine, :Languages, "
                                ":Pages, :Content, :Folded, :Login, ") +
                        databaseNow(connection) + ")",
                    values);
    });
}

std::optional<AttachmentTextRow> attachmentText(db::TADOConnection& connection, int64_t attachmentID)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select State, Reason, Engine, Pages, Content from AttachmentText where AttachmentID = :ID",
             {{"ID", attachmentID}});
    if (q.eof()) return std::nullopt;
    auto text = [&](int f) { return q.field(f)->isNull() ? std::string() : q.field(f)->asString(); };
    return AttachmentTextRow{text(0), text(1), text(2), static_cast<int>(q.field(3)->asInteger()), text(4)};
}

std::string textStateWords(const std::string& state, int pages, const std::string& reason)
{
    if (state == textDone) return "kész, " + std::to_string(pages) + " oldal";
    if (state == textFailed) return "sikertelen: " + reason;
    if (state == textUnreadable) return "nem olvasható típus";
    return "várakozik";
}

std::string textStateExpression()
{
    return std::string("case when t.State = 'done' then 'kész, ' || cast(t.Pages as varchar(10)) || ' oldal' "
                       "when t.State = 'failed' then 'sikertelen: ' || coalesce(t.Reason, '') "
                       "when t.State = 'unreadable' or a.ContentType not in ") +
           readableTypes + " then 'nem olvasható típus' when a.RemovedAt is not null then '' else 'várakozik' end";
}

namespace {

// The attachments whose folded text is like the pattern, as a subquery
// of their AttachmentIDs: through the trigram index where there is one.
std::string matchingTexts(db::TADOConnection& connection, const std::string& foldedPattern,
                          const std::function<std::string(db::Cell)>& bind)
{
    if (connection.isPostgres())
        return "Select AttachmentID from AttachmentText where Folded like " + bind(db::Cell::text(foldedPattern)) +
               " escape '!'";
    return "Select rowid from AttachmentSearchIndex where Folded glob " +
           bind(db::Cell::text(globPattern(foldedPattern)));
}

}  // namespace

std::string attachmentLikeDocuments(db::TADOConnection& connection, const std::string& foldedPattern,
                                    const std::function<std::string(db::Cell)>& bind)
{
    return "Select ta.DocumentID from DocumentAttachment ta where ta.RemovedAt is null and ta.AttachmentID in (" +
           matchingTexts(connection, foldedPattern, bind) + ")";
}

std::string attachmentLikeCondition(db::TADOConnection& connection, const std::string& foldedPattern,
                                    const std::function<std::string(db::Cell)>& bind)
{
    return "Document.DocumentID in (" + attachmentLikeDocuments(connection, foldedPattern, bind) + ")";
}

std::string attachmentLikeName(db::TADOConnection& connection, const std::string& foldedPattern,
                               const std::function<std::string(db::Cell)>& bind)
{
    return "(Select min(tn.FileName) from DocumentAttachment tn where tn.DocumentID = Document.DocumentID and "
           "tn.RemovedAt is null and tn.AttachmentID in (" +
           matchingTexts(connection, foldedPattern, bind) + "))";
}

}  // namespace velmora
