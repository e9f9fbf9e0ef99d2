// Mapping a file's columns to the form's fields.
#include "import/ImportMapping.h"

#include "db/Engine.h"
#include "entry/Search.h"
#include "toolkit/core/Errors.h"
#include "toolkit/text/Text.h"

#include <optional>

namespace velmora {

namespace {

// A title or a caption as compared: trimmed, without a closing colon,
// folded (letter case and accents aside).
std::string comparable(const std::string& title)
{
    std::string t = tk::trimmed(title);
    if (!t.empty() && t.back() == ':') t = tk::trimmed(t.substr(0, t.size() - 1));
    return db::plainedText(t);
}

std::optional<int> targetNamed(const std::string& name, const std::vector<ImportTarget>& targets)
{
    std::string wanted = comparable(name);
    for (size_t i = 0; i < targets.size(); ++i)
        if (!wanted.empty() && comparable(targets[i].caption) == wanted) return static_cast<int>(i);
    for (size_t i = 0; i < targets.size(); ++i)
        if (tk::sameName(tk::trimmed(name), targets[i].column)) return static_cast<int>(i);
    return std::nullopt;
}

// The columns of the clerk's printed list that no field fills.
bool isListOwnColumn(const std::string& title)
{
    std::string t = comparable(title);
    return t == comparable(documentIDTitle) || t == comparable(voidedColumnTitle) || t == comparable("DocumentID");
}

std::string quotedTitle(const std::string& title)
{
    return "„" + title + "”";
}

}  // namespace

std::pair<std::string, std::string> parseTitleMap(const std::string& given)
{
    size_t at = given.find('=');
    if (at == std::string::npos)
        throw tk::Error("--map wants TITLE=FIELD (an empty FIELD leaves the column out): " + given);
    return {given.substr(0, at), given.substr(at + 1)};
}

ColumnMapping mapColumns(const std::vector<std::string>& header, const std::vector<ImportTarget>& targets,
                         const TitleMap& titleMap)
{
    ColumnMapping mapping;
    std::vector<bool> mapUsed(titleMap.size(), false);
    std::vector<int> columnOfTarget(targets.size(), -1);
    for (size_t c = 0; c < header.size(); ++c) {
        const std::string& title = header[c];
        std::optional<int> target;
        bool chosen = false;  // the command line says where it goes
        for (size_t m = 0; m < titleMap.size() && !chosen; ++m) {
            if (comparable(titleMap[m].first) != comparable(title)) continue;
            mapUsed[m] = true;
            chosen = true;
            if (tk::trimmed(titleMap[m].second).empty()) break;
            target = targetNamed(titleMap[m].second, targets);
            if (!target)
                mapping.refusals.push_back("line 1: " + quotedTitle(title) +
                                           ": --map names no field of the form: " + quotedTitle(titleMap[m].second));
        }
        if (!chosen) {
            if (isListOwnColumn(title)) {
                mapping.targetOf.push_back(ColumnMapping::passedOver);
                continue;
            }
            target = targetNamed(title, targets);
            if (!target)
                mapping.refusals.push_back(
                    "line 1: " + quotedTitle(title) +
                    ": no field of the form has this caption or column (leave it out with --map \"" + title + "=\")");
        }
        if (target) {
            auto t = static_cast<size_t>(*target);
            if (columnOfTarget[t] >= 0)
                mapping.refusals.push_back("line 1: " + quotedTitle(title) + ": the field " +
                                           quotedTitle(targets[t].caption) + " is filled by column " +
                                           std::to_string(columnOfTarget[t] + 1) + " already");
            else columnOfTarget[t] = static_cast<int>(c);
        }
        mapping.targetOf.push_back(target ? *target : ColumnMapping::passedOver);
    }
    for (size_t m = 0; m < titleMap.size(); ++m)
        if (!mapUsed[m])
            mapping.refusals.push_back("line 1: --map names a column the file does not have: " +
                                       quotedTitle(titleMap[m].first));
    return mapping;
}

}  // namespace velmora
