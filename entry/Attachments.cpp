// Attachments: the tables, adding in chunks with the checksum, reading
// back with the check, removing by the rules.
#include "entry/Attachments.h"

#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/AttachmentText.h"
#include "entry/History.h"
#include "registry/CreateUnlessThere.h"
#include "entry/Refusal.h"
#include "registry/Sha256.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"

#include <magic.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

// A file opened for reading, closed with its owner.
struct OpenFile {
    explicit OpenFile(const std::string& path) : file(std::fopen(path.c_str(), "rb")) {}
    ~OpenFile()
    {
        if (file) std::fclose(file);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    std::FILE* file;
};

// Reads up to a chunk; an error reading raises with the clerk's words.
std::string readChunk(std::FILE* file, const std::string& path)
{
    std::string chunk(attachmentChunkBytes, '\0');
    size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
    if (got < chunk.size() && std::ferror(file))
        throw ERefused("A fájl nem olvasható: " + path + ": " + std::strerror(errno));
    chunk.resize(got);
    return chunk;
}

// The file's status; raises unless `path` names a file that can be read.
struct stat regularFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw ERefused("A fájl nem olvasható: " + path + ": " + std::strerror(errno));
    if (!S_ISREG(info.st_mode)) throw ERefused("Csak fájlt lehet csatolni: " + path);
    return info;
}

// The last part of a path: the name the clerk's file had.
std::string baseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string attachmentName(const std::string& path)
{
    std::string name = baseName(path);
    // A name that is no UTF-8 comes from an older system of the office:
    // read in its code page, Windows-1250, every byte is a letter.
    if (!tk::isValidUtf8(name)) name = tk::ansiToUtf8(name, 1250);
    // Control characters are shown as their pictures (U+2400...), never
    // sent to a terminal or a list as they are.
    std::string shown;
    for (char32_t c : tk::toU32(name)) {
        if (c < 0x20) c = 0x2400 + c;
        else if (c == 0x7f) c = 0x2421;
        else if (c >= 0x80 && c < 0xa0) c = 0xfffd;
        tk::appendUtf8(shown, c);
    }
    return shown;
}

namespace {

// The database's day, to compare a file's adding day with.
std::string sameDayCondition(db::TADOConnection& connection)
{
    return connection.isPostgres() ? "cast(AddedAt as date) = cast(localtimestamp(0) as date)"
                                   : "date(AddedAt) = date('now', 'localtime')";
}

const char* const attachmentColumns =
    "AttachmentID, DocumentID, FileName, FileSize, Sha256, ContentType, AddedBy, AddedAt, RemovedBy, RemovedAt";

Attachment attachmentAt(db::TADOQuery& q)
{
    auto text = [&](int f) { return q.field(f)->isNull() ? std::string() : q.field(f)->asString(); };
    Attachment a;
    a.id = q.field(0)->asInteger();
    a.documentID = q.field(1)->asInteger();
    a.name = text(2);
    a.size = q.field(3)->asInteger();
    a.sha256 = text(4);
    a.type = text(5);
    a.addedBy = text(6);
    a.addedAt = text(7);
    a.removedBy = text(8);
    a.removedAt = text(9);
    return a;
}

}  // namespace

int64_t attachmentLimit(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select MaxBytes from DocumentAttachmentLimit");
    return q.eof() ? defaultAttachmentLimit : q.field(0)->asInteger();
}

void setAttachmentLimit(db::TADOConnection& connection, int64_t bytes)
{
    if (bytes < 1) throw ERefused("A legnagyobb fájlméret legalább 1 bájt.");
    db::inTransaction(connection, [&] {
        db::execute(connection, "Delete from DocumentAttachmentLimit");
        db::execute(connection, "Insert into DocumentAttachmentLimit (MaxBytes) Values (:MaxBytes)",
                    {{"MaxBytes", bytes}});
    });
}

std::string fileSha256(const std::string& path)
{
    regularFile(path);
    OpenFile in(path);
    if (!in.file) throw ERefused("A fájl nem olvasható: " + path + ": " + std::strerror(errno));
    Sha256 sum;
    for (std::string chunk; !(chunk = readChunk(in.file, path)).empty();) sum.add(chunk);
    return sum.hexDigest();
}

std::string contentType(std::string_view firstBytes)
{
    magic_t cookie = magic_open(MAGIC_MIME_TYPE);
    if (!cookie) return "application/octet-stream";
    std::unique_ptr<std::remove_pointer_t<magic_t>, void (*)(magic_t)> closing(cookie, magic_close);
    if (magic_load(cookie, nullptr) != 0) return "application/octet-stream";
    const char* type = magic_buffer(cookie, firstBytes.data(), firstBytes.size());
    return type ? type : "application/octet-stream";
}

bool isViewableDocument(const std::string& type, const std::string& name)
{
    // Documents and images a viewer shows and never runs, each with the
    // endings its files have: the content and the name must agree, so
    // neither a script named .pdf nor a text file named .desktop, .bat or
    // .sh is handed to the desktop.
    struct Kind {
        const char* type;
        std::initializer_list<const char*> endings;
    };
    static const Kind viewable[] = {
        {"application/pdf", {".pdf"}},
        {"image/png", {".png"}},
        {"image/jpeg", {".jpg", ".jpeg", ".jpe"}},
        {"image/tiff", {".tif", ".tiff"}},
        {"image/gif", {".gif"}},
        {"image/bmp", {".bmp"}},
        {"image/x-ms-bmp", {".bmp"}},
        {"image/webp", {".webp"}},
        {"text/plain", {".txt", ".text"}},
        {"text/csv", {".csv"}},
        {"application/csv", {".csv"}},
        {"text/rtf", {".rtf"}},
        {"application/rtf", {".rtf"}},
        {"application/msword", {".doc"}},
        {"application/vnd.ms-excel", {".xls"}},
        {"application/vnd.ms-powerpoint", {".ppt"}},
        {"application/vnd.openxmlformats-officedocument.wordprocessingml.document", {".docx"}},
        {"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", {".xlsx"}},
        {"application/vnd.openxmlformats-officedocument.presentationml.presentation", {".pptx"}},
        {"application/vnd.oasis.opendocument.text", {".odt"}},
        {"application/vnd.oasis.opendocument.spreadsheet", {".ods"}},
        {"application/vnd.oasis.opendocument.presentation", {".odp"}},
    };
    std::string lower = tk::lowerAscii(name);
    for (const Kind& kind : viewable) {
        if (type != kind.type) continue;
        for (const char* ending : kind.endings) {
            size_t n = std::strlen(ending);
            if (lower.size() > n && lower.compare(lower.size() - n, n, ending) == 0) return true;
        }
    }
    return false;
}

std::string safeFileName(const std::string& name)
{
    std::string last = baseName(name);
    std::u32string letters = tk::toU32(last);
    std::u32string kept;
    for (char32_t c : letters) {
        if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0) || c == '\\') c = '_';
        kept += c;
    }
    // No leading dots or dashes: neither hidden nor read as an option.
    size_t start = 0;
    while (start < kept.size() && (kept[start] == '.' || kept[start] == '-' || kept[start] == ' ')) ++start;
    kept = kept.substr(start);
    std::string out;
    for (char32_t c : kept) {
        std::string letter = tk::toUtf8(c);
        if (out.size() + letter.size() > 200) break;
        out += letter;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
    return out.empty() ? std::string("melleklet") : out;
}

std::vector<Attachment> removedAttachments(db::TADOConnection& connection, const std::string& day)
{
    db::TADOQuery q(nullptr);
    db::NamedValues values;
    std::string sql =
        std::string("Select ") + attachmentColumns + " from DocumentAttachment where RemovedAt is not null";
    if (!day.empty()) {
        sql += " and RemovedAt < :Day";
        values.push_back({"Day", day + " 00:00:00"});
    }
    db::open(q, connection, sql + " order by AttachmentID", values);
    std::vector<Attachment> out;
    for (; !q.eof(); q.next()) out.push_back(attachmentAt(q));
    return out;
}

void purgeAttachment(db::TADOConnection& connection, const Attachment& attachment, const std::string& login)
{
    if (!attachment.removed()) throw ERefused("Csak törölt mellékletet lehet véglegesen törölni: " + attachment.name);
    db::inTransaction(connection, [&] {
        db::execute(connection, "Delete from DocumentAttachmentChunk where AttachmentID = :ID",
                    {{"ID", attachment.id}});
        db::execute(connection, "Delete from AttachmentText where AttachmentID = :ID", {{"ID", attachment.id}});
        db::execute(connection, "Delete from DocumentAttachment where AttachmentID = :ID", {{"ID", attachment.id}});
        recordHistory(connection, attachment.documentID, 0, login, historyPurge,
                      {{"", attachment.name + " (SHA-256 " + attachment.sha256 + ")", ""}});
    });
}

Attachments::Attachments(db::TADOConnection& connection, int32_t userID, std::string login)
    : connection_(connection), userID_(userID), login_(std::move(login))
{
}

std::vector<Attachment> Attachments::list(int64_t documentID)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection_,
             std::string("Select ") + attachmentColumns +
                 " from DocumentAttachment where DocumentID = :DocumentID order by AttachmentID",
             {{"DocumentID", documentID}});
    std::vector<Attachment> out;
    for (; !q.eof(); q.next()) out.push_back(attachmentAt(q));
    return out;
}

std::optional<Attachment> Attachments::find(int64_t attachmentID)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection_,
             std::string("Select ") + attachmentColumns + " from DocumentAttachment where AttachmentID = :ID",
             {{"ID", attachmentID}});
    if (q.eof()) return std::nullopt;
    return attachmentAt(q);
}

std::optional<Attachment> Attachments::sameFile(int64_t documentID, const std::string& sha256)
{
    for (Attachment& a : list(documentID))
        if (!a.removed() && a.sha256 == sha256) return a;
    return std::nullopt;
}

Attachment Attachments::add(int64_t documentID, const std::string& path)
{
    struct stat info = regularFile(path);
    int64_t limit = attachmentLimit(connection_);
    if (info.st_size > limit)
        throw ERefused("A fájl túl nagy a csatoláshoz: " + attachmentName(path) + " (" + std::to_string(info.st_size) +
                       " bájt, legfeljebb " + std::to_string(limit) + ")");
    OpenFile in(path);
    if (!in.file) throw ERefused("A fájl nem olvasható: " + path + ": " + std::strerror(errno));

    Attachment added;
    added.documentID = documentID;
    added.name = attachmentName(path);
    added.addedBy = login_;
    db::inTransaction(connection_, [&] {
        // Voided meanwhile by another program: nothing more is attached.
        if (std::optional<std::string> reason = voidReasonOf(connection_, documentID))
            throw ERefused("A dokumentumot érvénytelenítették (" + *reason + "), ezért nem csatolható hozzá fájl: " +
                           added.name);
        std::string first = readChunk(in.file, path);
        added.type = contentType(first);
        added.id = db::executeReturningInteger(
            connection_,
            std::string("Insert into DocumentAttachment (DocumentID, FileName, FileSize, Sha256, ContentType, "
                        "AddedBy, AddedAt) Values (:DocumentID, :FileName, 0, '', :ContentType, :AddedBy, ") +
                databaseNow(connection_) + ") Returning AttachmentID",
            {{"DocumentID", documentID}, {"FileName", added.name}, {"ContentType", added.type}, {"AddedBy", login_}});
        Sha256 sum;
        int chunkNo = 0;
        for (std::string chunk = std::move(first); !chunk.empty(); chunk = readChunk(in.file, path)) {
            // The file grew past the limit while it was read.
            if (added.size + static_cast<int64_t>(chunk.size()) > limit)
                throw ERefused("A fájl túl nagy a csatoláshoz: " + added.name);
            sum.add(chunk);
            added.size += static_cast<int64_t>(chunk.size());
            db::execute(connection_,
                        "Insert into DocumentAttachmentChunk (AttachmentID, ChunkNo, Bytes) Values (:ID, :No, :Bytes)",
                        {{"ID", added.id}, {"No", chunkNo++}, {"Bytes", db::Cell::bytes(std::move(chunk))}});
            db::pausePoint("attachment-chunk-written");
        }
        added.sha256 = sum.hexDigest();
        db::execute(connection_,
                    "Update DocumentAttachment set FileSize = :Size, Sha256 = :Sha where AttachmentID = :ID",
                    {{"Size", added.size}, {"Sha", added.sha256}, {"ID", added.id}});
        recordHistory(connection_, documentID, userID_, login_, historyAttach,
                      {{"", "", added.name + " (SHA-256 " + added.sha256 + ")"}});
        // Its text waits to be read, or never will be.
        if (hasTable(connection_, "AttachmentText")) {
            ReaderOutput state;
            state.state = isReadableAttachment(added.type) ? textWaiting : textUnreadable;
            storeAttachmentText(connection_, added.id, state, login_);
        }
    });
    if (std::optional<Attachment> stored = find(added.id)) return *stored;
    return added;
}

void Attachments::read(const Attachment& attachment, const std::function<void(std::string_view)>& write)
{
    Sha256 sum;
    int64_t size = 0;
    db::TADOQuery q(nullptr);
    // A chunk at a time, each by a statement of its own.
    for (int chunkNo = 0;; ++chunkNo) {
        q.close();
        db::open(q, connection_, "Select Bytes from DocumentAttachmentChunk where AttachmentID = :ID and ChunkNo = :No",
                 {{"ID", attachment.id}, {"No", chunkNo}});
        if (q.eof()) break;
        const std::string& bytes = q.field(0)->cell().s;
        sum.add(bytes);
        size += static_cast<int64_t>(bytes.size());
        write(bytes);
    }
    if (size != attachment.size || sum.hexDigest() != attachment.sha256)
        throw ERefused("A melléklet sérült: tartalma nem egyezik az ellenőrzőösszegével: " + attachment.name);
}

void Attachments::saveTo(const Attachment& attachment, const std::string& path, unsigned mode)
{
    // Written whole beside the target and then moved over it: a file that
    // stood there stays as it was until the attachment is read and stored
    // in full, and a failure leaves nothing but what stood there.
    std::string temporary = path + ".velmora-XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw ERefused("A fájl nem írható: " + path + ": " + std::strerror(errno));
    auto failed = [&](const std::string& why) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw ERefused(why);
    };
    if (::fchmod(fd, mode) != 0) failed("A fájl nem írható: " + path + ": " + std::strerror(errno));
    try {
        read(attachment, [&](std::string_view bytes) {
            while (!bytes.empty()) {
                ssize_t n = ::write(fd, bytes.data(), bytes.size());
                if (n < 0) {
                    if (errno == EINTR) continue;
                    throw ERefused("A fájl nem írható: " + path + ": " + std::strerror(errno));
                }
                bytes.remove_prefix(static_cast<size_t>(n));
            }
        });
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    if (::fsync(fd) != 0) failed("A fájl nem írható: " + path + ": " + std::strerror(errno));
    if (::close(fd) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        throw ERefused("A fájl nem írható: " + path + ": " + std::strerror(error));
    }
    // The rename itself outlives a crash once the folder is on disk.
    std::string folder = path.find('/') == std::string::npos ? "." : path.substr(0, path.find_last_of('/') + 1);
    if (int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void Attachments::remove(const Attachment& attachment)
{
    if (attachment.removed()) throw ERefused("A mellékletet már törölték: " + attachment.name);
    if (!tk::sameName(attachment.addedBy, login_))
        throw ERefused("A mellékletet csak az törölheti, aki csatolta (" + attachment.addedBy +
                       "): " + attachment.name);
    db::inTransaction(connection_, [&] {
        int64_t marked = db::execute(
            connection_,
            std::string("Update DocumentAttachment set RemovedBy = :Login, RemovedAt = ") + databaseNow(connection_) +
                " where AttachmentID = :ID and RemovedAt is null and " + sameDayCondition(connection_),
            {{"Login", login_}, {"ID", attachment.id}});
        if (marked != 1) throw ERefused("A mellékletet csak a csatolás napján lehet törölni: " + attachment.name);
        recordHistory(connection_, attachment.documentID, userID_, login_, historyDetach,
                      {{"", attachment.name + " (SHA-256 " + attachment.sha256 + ")", ""}});
    });
}

void openAttachmentList(db::TADOQuery& query, db::TADOConnection& connection, int64_t id)
{
    query.close();
    // Before the upgrade that makes AttachmentText, no file has a text.
    std::string textState = hasTable(connection, "AttachmentText") ? textStateExpression() : "''";
    std::string texts = hasTable(connection, "AttachmentText")
                            ? " left join AttachmentText t on t.AttachmentID = a.AttachmentID"
                            : "";
    db::open(query, connection,
             "Select a.AttachmentID, a.FileName as [Név], a.FileSize as [Méret], a.ContentType as [Típus], "
             "a.AddedBy as [Csatolta], a.AddedAt as [Csatolva], a.RemovedAt as [Törölve], " + textState +
                 " as [Szöveg] from DocumentAttachment a" + texts + " where a.DocumentID = :DocumentID order by "
                 "a.AttachmentID",
             {{"DocumentID", id}});
    query.field(0)->setVisible(false);
    query.field(5)->setShownAs(tk::shownDateTime);
    query.field(6)->setShownAs(tk::shownDateTime);
}

}  // namespace velmora
