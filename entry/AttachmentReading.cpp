// Reading attached files' text, at once or a step at a time.
#include "entry/AttachmentReading.h"

#include "registry/AttachmentText.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace velmora {

namespace {

constexpr auto idleLook = std::chrono::seconds(5);

ReaderOutput failedReading(std::string reason)
{
    ReaderOutput out;
    out.state = textFailed;
    out.reason = std::move(reason);
    return out;
}

}  // namespace

ReadableCopy::ReadableCopy(Attachments& files, const Attachment& attachment)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-read-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("A melléklet nem másolható olvasásra.");
    folder_ = pattern;
    // The reader is told the type; the file's own name stays out of the path.
    path_ = folder_ + "/file";
    try {
        files.saveTo(attachment, path_, 0600);
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        throw;
    }
}

ReadableCopy::~ReadableCopy()
{
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

ReaderOutput readAttachmentText(db::TADOConnection& connection, Attachments& files, int64_t id,
                                const std::string& login, const ReaderLimits& limits)
{
    std::optional<Attachment> attachment = files.find(id);
    if (!attachment) throw std::runtime_error("Nincs ilyen melléklet: " + std::to_string(id));
    ReaderOutput read;
    try {
        ReadableCopy copy(files, *attachment);
        ReaderProcess reader(copy.path(), attachment->type, limits);
        read = reader.wait();
    } catch (const std::exception& e) {
        read = failedReading(e.what());
    }
    storeAttachmentText(connection, id, read, login);
    return read;
}

BackgroundReading::BackgroundReading(db::TADOConnection& connection, Attachments files, std::string login,
                                     ReaderLimits limits)
    : connection_(connection), files_(std::move(files)), login_(std::move(login)), limits_(limits)
{
}

BackgroundReading::~BackgroundReading() = default;

bool BackgroundReading::step()
{
    if (running_) {
        if (!running_->poll()) return false;
        ReaderOutput read = running_->result();
        running_.reset();
        copy_.reset();
        if (read.state == "missing") {
            // The language data, or the reader itself.
            if (!missing_)
                missingNote_ = read.reason.find("nyelvi adat") != std::string::npos
                                   ? std::string(readerMissingWords)
                                   : "A szkennelt mellékletek szövege nem olvasható: " + read.reason;
            missing_ = true;
            passedOver_.insert(runningID_);
            return false;
        }
        try {
            storeAttachmentText(connection_, runningID_, read, login_);
        } catch (const std::exception&) {
            // Removed meanwhile, or read by another user first: theirs stands.
            passedOver_.insert(runningID_);
            return false;
        }
        nextLook_ = {};
        return true;
    }
    auto now = std::chrono::steady_clock::now();
    if (now < nextLook_) return false;
    nextLook_ = now + idleLook;
    for (int64_t id = nextAttachmentToRead(connection_, after_); id; id = nextAttachmentToRead(connection_, after_)) {
        // Files are taken in order; one passed over waits for the next start.
        after_ = id;
        if (passedOver_.count(id)) continue;
        std::optional<Attachment> attachment = files_.find(id);
        if (!attachment) continue;
        runningID_ = id;
        try {
            copy_ = std::make_unique<ReadableCopy>(files_, *attachment);
        } catch (const std::exception& e) {
            // A file whose stored bytes no longer match is said so, not read.
            storeAttachmentText(connection_, id, failedReading(e.what()), login_);
            return true;
        }
        running_ = std::make_unique<ReaderProcess>(copy_->path(), attachment->type, limits_);
        return false;
    }
    return false;
}

std::optional<std::string> BackgroundReading::takeMissingNote()
{
    if (!missing_ || missingSaid_) return std::nullopt;
    missingSaid_ = true;
    return missingNote_;
}

}  // namespace velmora
