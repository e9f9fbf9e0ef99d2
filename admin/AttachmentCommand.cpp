// The attachments commands of velmora-admin.
#include "admin/AttachmentCommand.h"

#include "admin/AdminRefusal.h"
#include "admin/TerminalBar.h"
#include "entry/AttachmentReading.h"
#include "registry/AttachmentText.h"
#include "entry/Attachments.h"
#include "entry/History.h"
#include "registry/RegistryTables.h"
#include "toolkit/text/DateReading.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace velmora {

std::optional<long long> parseSize(const std::string& text)
{
    static const std::regex size(R"(([0-9]+(?:\.[0-9]+)?)\s*(|[kKmMgG](?:i?B)?|B))");
    std::smatch m;
    if (!std::regex_match(text, m, size)) return std::nullopt;
    double number = std::strtod(m[1].str().c_str(), nullptr);
    char unit = m[2].str().empty() ? 'B' : static_cast<char>(std::toupper(static_cast<unsigned char>(m[2].str()[0])));
    double factor = unit == 'K' ? 1024.0 : unit == 'M' ? 1024.0 * 1024 : unit == 'G' ? 1024.0 * 1024 * 1024 : 1.0;
    double bytes = std::floor(number * factor);
    if (bytes < 1 || bytes > 9e15) return std::nullopt;
    return static_cast<long long>(bytes);
}

bool isAttachmentsCommand(const std::vector<std::string>& words)
{
    if (words.empty()) return false;
    if (words[0] == "limit") return words.size() <= 2;
    if (words[0] == "removed") return words.size() == 1;
    if (words[0] == "purge") return words.size() == 3 && words[1] == "--before";
    if (words[0] == "read") return words.size() == 1 || (words.size() == 2 && words[1] == "--all");
    return false;
}

namespace {

std::string line(const Attachment& a)
{
    return std::to_string(a.id) + "\tdocument " + std::to_string(a.documentID) + "\t" + a.name + "\t" +
           std::to_string(a.size) + " bytes\tremoved by " + a.removedBy + " at " + tk::shownDateTime(a.removedAt) + "\n";
}

// "About 3 min left", from the files read so far.
std::string timeLeft(std::chrono::steady_clock::duration spent, size_t done, size_t total)
{
    if (done == 0) return "";
    double seconds = std::chrono::duration<double>(spent).count() / static_cast<double>(done) *
                     static_cast<double>(total - done);
    if (seconds < 90) return "about " + std::to_string(static_cast<int>(std::ceil(seconds))) + " s left";
    return "about " + std::to_string(static_cast<int>(std::ceil(seconds / 60))) + " min left";
}

// Reads every file that waits, and with --all every readable one again;
// else those read by another engine than the installed one too.
std::string readAttachments(db::TADOConnection& connection, bool all, bool onTerminal)
{
    std::string engine = installedReaderEngine();
    if (engine.empty())
        throw ERefusedAdmin("The text reader " + readerProgram() + " cannot be run: reinstall velmora");
    std::vector<int64_t> ids = all ? attachmentsToRead(connection, engine, true) : attachmentsToRead(connection, engine);
    Attachments files(connection, 0, "velmora-admin");
    std::string out;
    int done = 0, failed = 0;
    bool missingSaid = false;
    TerminalBar bar("Reading", onTerminal);
    auto started = std::chrono::steady_clock::now();
    for (size_t i = 0; i < ids.size(); ++i) {
        bar.show(static_cast<double>(i) / static_cast<double>(ids.size()),
                 timeLeft(std::chrono::steady_clock::now() - started, i, ids.size()));
        std::optional<Attachment> a = files.find(ids[i]);
        if (!a) continue;
        ReaderOutput read = readAttachmentText(connection, files, a->id, "velmora-admin");
        if (read.state == "missing") {
            if (!missingSaid) out += std::string(readerMissingWords) + "\n";
            missingSaid = true;
            continue;
        }
        (read.state == textDone ? done : failed) += 1;
        out += std::to_string(a->id) + "\tdocument " + std::to_string(a->documentID) + "\t" + a->name + "\t" +
               textStateWords(read.state, static_cast<int>(read.pages.size()), read.reason) + "\n";
    }
    return out + "Read " + std::to_string(done + failed) + " files with " + engine + ": " + std::to_string(done) +
           " read, " + std::to_string(failed) + " not.\n";
}

}  // namespace

std::string runAttachmentsCommand(db::TADOConnection& connection, const std::vector<std::string>& words,
                                  bool onTerminal)
{
    ensureHistoryTable(connection);
    ensureAttachmentTables(connection);
    if (words[0] == "read") return readAttachments(connection, words.size() == 2, onTerminal);
    if (words[0] == "limit") {
        if (words.size() == 2) {
            std::optional<long long> bytes = parseSize(words[1]);
            if (!bytes) throw ERefusedAdmin("Not a size: " + words[1] + " (bytes, or with K, M or G: 100M)");
            setAttachmentLimit(connection, *bytes);
        }
        return "The largest file that may be attached: " + std::to_string(attachmentLimit(connection)) + " bytes\n";
    }
    if (words[0] == "removed") {
        std::string out;
        for (const Attachment& a : removedAttachments(connection)) out += line(a);
        return out.empty() ? "No removed files.\n" : out;
    }
    std::optional<tk::Locale::Ymd> day = tk::readDate(words[2]);
    if (!day) throw ERefusedAdmin("Not a day: " + words[2] + " (2026.11.16. or 2026-11-16)");
    char stored[16];
    std::snprintf(stored, sizeof stored, "%04d-%02d-%02d", day->year, day->month, day->day);
    std::string out;
    for (const Attachment& a : removedAttachments(connection, stored)) {
        purgeAttachment(connection, a, "velmora-admin");
        out += "purged " + line(a);
    }
    std::string before = tk::shownDateTime(stored);
    if (before.back() != '.') before += '.';  // the Hungarian form ends with its own full stop
    return out.empty() ? "No files removed before " + before + "\n" : out;
}

}  // namespace velmora
