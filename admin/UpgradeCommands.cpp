// velmora-admin upgrade and search-index.
#include "admin/UpgradeCommands.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "registry/AttachmentText.h"
#include "registry/CreateUnlessThere.h"
#include "registry/HistoryChain.h"
#include "registry/RegistryTables.h"
#include "registry/SchemaUpkeep.h"
#include "registry/ServerRoles.h"
#include "registry/SearchText.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace velmora {

namespace {

// Turns an embedded database made before write-ahead logging to it, once:
// a copy made while clerks save then holds no save up. The change needs a
// moment when no other program reads the database.
std::optional<std::string> useWriteAheadLog(db::TADOConnection& c)
{
    if (c.isPostgres()) return std::nullopt;
    auto journal = [&](const char* pragma) {
        db::TADOQuery q(nullptr);
        q.setConnection(&c);
        q.setSqlText(pragma);
        q.open();
        return q.fieldCount() == 0 || q.eof() ? std::string() : q.field(0)->asString();
    };
    if (journal("PRAGMA journal_mode") == "wal") return std::nullopt;
    try {
        if (journal("PRAGMA journal_mode = WAL") == "wal")
            return "The database keeps a write-ahead log from now on: copies of it are made with velmora-admin "
                   "backup, never by copying velmora.db alone while programs use it";
    } catch (const db::EDatabaseError&) {
    }
    return "The database keeps its rollback journal: another program was reading it; upgrade again when none is";
}

// Whether the server's records of a database under roles include the
// chain's trigger, which an earlier version's roles enable did not make.
bool serverChainsHistory(db::TADOConnection& c)
{
    db::TADOQuery q(nullptr);
    db::open(q, c,
             "Select count(*) from pg_trigger t join pg_class r on r.oid = t.tgrelid join pg_namespace n on n.oid = "
             "r.relnamespace where n.nspname = current_schema() and t.tgname = 'VelmoraChain'");
    return q.field(0)->asInteger() > 0;
}

}  // namespace

std::string upgradeDatabase(db::TADOConnection& c)
{
    std::optional<std::string> journal = useWriteAheadLog(c);
    bool chained = hasTable(c, "HistoryChain") && readChainHead(c);
    makeHistoryIndexes(c);
    std::vector<std::string> notes = makeNameKeys(c);
    if (!chained)
        if (std::optional<ChainHead> head = readChainHead(c))
            notes.push_back("The history is chained from now on (velmora-admin verify checks it): " + head->origin);
    if (usesServerRoles(c) && !serverChainsHistory(c))
        notes.push_back("The server does not chain the history rows it writes yet: run velmora-admin roles enable once "
                        "more");
    if (!hasTable(c, "AttachmentText")) {
        // Made here where programs may not (under roles); where another
        // program holds the database the clerks' programs make it later.
        try {
            ensureAttachmentTables(c);
            if (size_t waiting = attachmentsToRead(c).size())
                notes.push_back(std::to_string(waiting) +
                                " attached files wait for their text to be read for searches: run velmora-admin "
                                "attachments read");
            if (usesServerRoles(c))
                notes.push_back("The clerks may not write the text they read yet: run velmora-admin roles enable once "
                                "more");
        } catch (const db::EDatabaseError& e) {
            notes.push_back(std::string("The table of the attached files' text was not made now (") + e.what() +
                            "): upgrade again when no program uses the database");
        }
    }
    std::vector<std::string> indexes = makeAllSearchIndexes(c);
    notes.insert(notes.end(), indexes.begin(), indexes.end());
    std::vector<std::string> folded = makeSearchText(c).notes;
    notes.insert(notes.end(), folded.begin(), folded.end());
    if (journal) notes.push_back(*journal);
    std::string out;
    for (const std::string& note : notes) out += note + "\n";
    return out;
}

std::string remakeSearchText(db::TADOConnection& c, bool onTerminal)
{
    auto start = std::chrono::steady_clock::now();
    // One line on a terminal, written over at each step.
    SearchTextResult result = makeSearchText(c, true, [&](const std::string& step) {
        if (onTerminal) std::fprintf(stderr, "\r\033[K%s", step.c_str());
    });
    if (onTerminal) std::fprintf(stderr, "\r\033[K");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string out;
    for (const std::string& note : result.notes) out += note + "\n";
    char took[64];
    std::snprintf(took, sizeof took, "%.1f s", seconds);
    if (result.made)
        out += "The folded text of " + std::to_string(SearchText::read(c).columns().size()) +
               " text columns was made and indexed in " + took + ".\n";
    else out += "Document has no text column to fold.\n";
    return out;
}

}  // namespace velmora
