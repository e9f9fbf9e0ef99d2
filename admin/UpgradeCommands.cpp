// velmora-admin upgrade and search-index.
#include "admin/UpgradeCommands.h"

#include "registry/RegistryTables.h"
#include "registry/SchemaUpkeep.h"
#include "registry/SearchText.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace velmora {

std::string upgradeDatabase(db::TADOConnection& c)
{
    makeHistoryIndexes(c);
    std::vector<std::string> notes = makeNameKeys(c);
    std::vector<std::string> indexes = makeAllSearchIndexes(c);
    notes.insert(notes.end(), indexes.begin(), indexes.end());
    std::vector<std::string> folded = makeSearchText(c).notes;
    notes.insert(notes.end(), folded.begin(), folded.end());
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
