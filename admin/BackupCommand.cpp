// Backups of the embedded database.
#include "admin/BackupCommand.h"

#include "admin/AdminRefusal.h"
#include "admin/TerminalBar.h"
#include "db/Connection.h"
#include "registry/CreateUnlessThere.h"
#include "registry/HistoryChain.h"
#include "registry/HistoryVerify.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace velmora {

namespace {

const char* const serverTools =
    "A PostgreSQL database is copied with the server's own tools: pg_dump -Fc -f FILE \"CONNINFO\", and put back "
    "into an empty database with pg_restore -d \"CONNINFO\" FILE";

std::string seconds(std::chrono::steady_clock::time_point start)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s",
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return text;
}

// A restore warns when the history it put back ends before a fingerprint
// the replaced database had taken, or differs from it: the rows since are
// lost, or the copy is not of this history.
std::string behindFingerprint(db::TADOConnection& c, const RecordedFingerprint& kept)
{
    std::optional<ChainHead> head = hasTable(c, "HistoryChain") ? readChainHead(c) : std::nullopt;
    std::string taken = "the fingerprint of row " + std::to_string(kept.no) + " taken " + kept.takenAt;
    if (!head || head->no < kept.no)
        return "Warning: the restored history ends at row " + std::to_string(head ? head->no : 0) + ", before " +
               taken + ": the rows after it are not in the copy.\n";
    std::vector<ChainedRow> row = readChainedRows(c, "h.ChainNo = :No", {{"No", kept.no}}, "h.ChainNo");
    std::optional<std::string> restored = kept.no == 0 ? head->originHash
                                          : row.empty() ? std::nullopt
                                                        : row[0].storedHash;
    if (restored != kept.hash)
        return "Warning: row " + std::to_string(kept.no) + " of the restored history differs from " + taken + ".\n";
    return {};
}

}  // namespace

std::string backupDatabase(db::TADOConnection& c, const std::string& file, bool onTerminal)
{
    if (c.isPostgres()) throw ERefusedAdmin(serverTools);
    auto start = std::chrono::steady_clock::now();
    {
        TerminalBar bar("Copying", onTerminal);
        c.backupTo(file, [&](double done) { bar.show(done); });
    }
    std::error_code ec;
    auto size = std::filesystem::file_size(file, ec);
    return "Copied " + c.databasePath() + " to " + file + " (" + std::to_string(ec ? 0 : size) +
           " bytes, checked whole) in " + seconds(start) + ".\n";
}

std::string restoreDatabase(db::TADOConnection& c, const std::string& file)
{
    if (c.isPostgres()) throw ERefusedAdmin(serverTools);
    auto start = std::chrono::steady_clock::now();
    std::optional<RecordedFingerprint> kept = latestFingerprint(c);
    c.restoreFrom(file);
    std::string out = "Put the copy " + file + " back into " + c.databasePath() + " in " + seconds(start) + ".\n";
    if (kept) out += behindFingerprint(c, *kept);
    return out;
}

}  // namespace velmora
