// The text of attached files, read on this machine by velmora-read and
// kept in AttachmentText beside the attachment (never in Document): the
// text, its folded form for "Hasonló", the engine and language data that
// read it, its page count, who read it and when, and its state.
//
// A file is "waiting" from when it is attached, or "unreadable" by its
// type; one attached before the table was made has no row, and counts the
// same. Reading runs in a process of its own (entry/ReaderProcess);
// the clerk's program reads what waits a file at a time while the clerk
// works, and `velmora-admin attachments read` reads everything waiting or
// read by an older engine. On PostgreSQL with a role for each user the text is
// written through velmora_attachment_text, which records who read it and
// keeps a text read by one user from being overwritten by another.
#pragma once

#include "registry/ReaderOutput.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
struct Cell;
}

namespace velmora {

// The states a row records. A file is waiting from when it is attached
// (an attachment older than the table has no row, and waits the same).
inline constexpr const char* textWaiting = "waiting";
inline constexpr const char* textDone = "done";
inline constexpr const char* textFailed = "failed";
inline constexpr const char* textUnreadable = "unreadable";

// The attachments (not removed) whose text waits: no row yet and a type
// the reader reads; with `engine` given, those read by another engine (an
// older one) too; with `everyOne`, every readable one. Oldest first.
std::vector<int64_t> attachmentsToRead(db::TADOConnection& connection, const std::string& engine = "",
                                       bool everyOne = false);
// The first attachment after `after` (by AttachmentID) whose text waits,
// or 0: what the clerk's program reads next, without walking the files it
// has passed already.
int64_t nextAttachmentToRead(db::TADOConnection& connection, int64_t after);

// Whether the reader reads this MIME type.
bool isReadableAttachment(const std::string& mimeType);

// Stores what the reader said of an attachment, as `login`'s reading. A
// "missing" answer stores nothing: the file waits for the language data.
// Attaching stores "waiting", or "unreadable" for a type never read.
void storeAttachmentText(db::TADOConnection& connection, int64_t attachmentID, const ReaderOutput& read,
                         const std::string& login);

// The stored text of an attachment, if it was read.
struct AttachmentTextRow {
    std::string state, reason, engine;
    int pages = 0;
    std::string content;
};
std::optional<AttachmentTextRow> attachmentText(db::TADOConnection& connection, int64_t attachmentID);

// How the list and the printout name an attachment's text state, in the
// clerk's words ("kész, 2 oldal", "várakozik", "sikertelen: …",
// "nem olvasható típus").
std::string textStateWords(const std::string& state, int pages, const std::string& reason);
// The same as an SQL expression over DocumentAttachment `a` left joined
// to AttachmentText `t`.
std::string textStateExpression();

// The condition that a document has an attachment (not removed) whose
// text, folded, is like the folded LIKE pattern `foldedPattern` ("!" its
// escape); `bind` binds a value and gives its parameter's name. And the
// name of the first such attachment, as an expression.
std::string attachmentLikeCondition(db::TADOConnection& connection, const std::string& foldedPattern,
                                    const std::function<std::string(db::Cell)>& bind);
std::string attachmentLikeName(db::TADOConnection& connection, const std::string& foldedPattern,
                               const std::function<std::string(db::Cell)>& bind);
// The DocumentIDs of those documents, as a subquery.
std::string attachmentLikeDocuments(db::TADOConnection& connection, const std::string& foldedPattern,
                                    const std::function<std::string(db::Cell)>& bind);

}  // namespace velmora
