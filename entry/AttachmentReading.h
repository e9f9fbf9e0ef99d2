// Reading the text of attached files: one file at once (velmora-admin
// attachments read, and the tests), or in the clerk's program, in steps
// that never wait, while the clerk works.
#pragma once

#include "entry/Attachments.h"
#include "entry/ReaderProcess.h"

#include <chrono>
#include <memory>
#include <set>
#include <optional>
#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// What the program says, once, when Tesseract's language data is missing;
// and under the attachment list while it is.
inline constexpr const char* readerMissingListWords =
    "Szkennelt melléklet nem olvasható: telepítse a tesseract-ocr-hun csomagot.";
inline constexpr const char* readerMissingWords =
    "A szkennelt mellékletek szövege nem olvasható: a szövegfelismerés nyelvi adatai (tesseract-ocr-hun, "
    "tesseract-ocr-eng) nincsenek telepítve.";

// A file's bytes written where the reader can read them and only this
// user can: a folder of its own, removed with it.
class ReadableCopy {
public:
    ReadableCopy(Attachments& files, const Attachment& attachment);
    ~ReadableCopy();
    ReadableCopy(const ReadableCopy&) = delete;
    ReadableCopy& operator=(const ReadableCopy&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string folder_, path_;
};

// Reads attachment `id` and stores its text as `login`'s reading; gives
// what the reader said.
ReaderOutput readAttachmentText(db::TADOConnection& connection, Attachments& files, int64_t id,
                                const std::string& login, const ReaderLimits& limits = {});

// The clerk's program's reading: each step starts the next file that
// waits, or takes the running reader's output and stores it.
class BackgroundReading {
public:
    BackgroundReading(db::TADOConnection& connection, Attachments files, std::string login,
                      ReaderLimits limits = {});
    ~BackgroundReading();

    // True when a file's text was stored in this step. While nothing is
    // read, the files that wait are looked for every few seconds, or at
    // the next step after wake().
    bool step();
    void wake() { nextLook_ = {}; }
    bool reading() const { return running_ != nullptr; }
    // The words to show when the language data was found missing, once.
    std::optional<std::string> takeMissingNote();
    bool languageDataMissing() const { return missing_; }

private:
    db::TADOConnection& connection_;
    Attachments files_;
    std::string login_;
    ReaderLimits limits_;
    int64_t runningID_ = 0;
    int64_t after_ = 0;  // the files up to this one were taken or passed
    std::unique_ptr<ReadableCopy> copy_;
    std::unique_ptr<ReaderProcess> running_;
    std::set<int64_t> passedOver_;  // waiting for language data, or refused
    std::chrono::steady_clock::time_point nextLook_{};
    bool missing_ = false, missingSaid_ = false;
    std::string missingNote_;
};

}  // namespace velmora
