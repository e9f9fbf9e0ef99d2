// Files attached to documents: a scanned letter, a photo, a saved e-mail.
// They live in tables of their own beside Document, never as its columns:
// DocumentAttachment holds a file's name as the clerk's file had it, its
// size, SHA-256, type (recognised by content), who added it and when, and
// who removed it and when; DocumentAttachmentChunk holds its bytes in
// chunks of 1 MiB, so neither the program nor the server ever holds a
// whole large file. A file is written in one transaction with its history
// row, so it is there whole or not at all. A removed file is marked, not
// deleted; only the administrator's purge deletes it.
#pragma once

#include "registry/HistoryActions.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class TADOConnection;
class TADOQuery;
}

namespace velmora {

inline constexpr size_t attachmentChunkBytes = 1 << 20;
inline constexpr int64_t defaultAttachmentLimit = int64_t{100} << 20;


struct Attachment {
    int64_t id = 0;
    int64_t documentID = 0;
    std::string name;  // as the clerk's file had it
    int64_t size = 0;
    std::string sha256;  // in hex
    std::string type;    // the MIME type by content
    std::string addedBy, addedAt;
    std::string removedBy, removedAt;  // empty while not removed
    bool removed() const { return !removedAt.empty(); }
};


// The largest file that may be attached, in bytes (a setting of the
// database; the default when none is set).
int64_t attachmentLimit(db::TADOConnection& connection);
void setAttachmentLimit(db::TADOConnection& connection, int64_t bytes);

// A file's SHA-256 in hex, read in chunks.
std::string fileSha256(const std::string& path);

// The MIME type of bytes by their content (libmagic), and whether a file
// of that type and name is a document or image known to be shown, never
// run, by a desktop's viewer (PDF, images, plain text, office documents),
// its name's ending agreeing with its type.
std::string contentType(std::string_view firstBytes);
bool isViewableDocument(const std::string& type, const std::string& name);

// The name an attachment keeps of the file at `path`: its last part, in
// UTF-8 on every engine (a name in another encoding read as Windows-1250),
// control characters shown as their pictures.
std::string attachmentName(const std::string& path);

// A name safe to write a file under in a folder of the program's own: the
// last part of the name only, no control characters, no leading dot or
// dash, not empty nor only dots, at most 200 bytes (whole letters).
std::string safeFileName(const std::string& name);

// Files removed before `day` (YYYY-MM-DD), or every removed file when
// `day` is empty, in the order they were added.
std::vector<Attachment> removedAttachments(db::TADOConnection& connection, const std::string& day = "");
// Deletes a removed file for good, its bytes and its row, with a history
// row saying so (by `login`), in one transaction. A file not removed is
// refused.
void purgeAttachment(db::TADOConnection& connection, const Attachment& attachment, const std::string& login);

class Attachments {
public:
    Attachments(db::TADOConnection& connection, int32_t userID, std::string login);

    // A document's files in the order they were added, removed ones too.
    std::vector<Attachment> list(int64_t documentID);
    std::optional<Attachment> find(int64_t attachmentID);
    // The document's file (not removed) with these bytes, if any.
    std::optional<Attachment> sameFile(int64_t documentID, const std::string& sha256);

    // Adds the file at `path` to the document under its own name; gives
    // the new attachment. Raises ERefused, in the clerk's words, for a
    // file that cannot be read or is larger than the limit (before
    // anything is written).
    Attachment add(int64_t documentID, const std::string& path);

    // Hands the stored bytes to `write` chunk by chunk, checking the
    // checksum as they pass; raises ERefused when the bytes do not match
    // it (the caller then drops what it wrote).
    void read(const Attachment& attachment, const std::function<void(std::string_view)>& write);
    // Writes the file's bytes to `path` (made anew, mode 0600 unless
    // `mode` says otherwise); a mismatch removes the file it wrote.
    void saveTo(const Attachment& attachment, const std::string& path, unsigned mode = 0600);

    // Marks a file removed: only its adder may, on the day it was added.
    // Raises ERefused with the reason otherwise.
    void remove(const Attachment& attachment);

private:
    db::TADOConnection& connection_;
    int32_t userID_;
    std::string login_;
};

// Opens document `id`'s files into `query`, in the order they were added,
// the AttachmentID first and hidden.
void openAttachmentList(db::TADOQuery& query, db::TADOConnection& connection, int64_t id);

}  // namespace velmora
