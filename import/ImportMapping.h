// Which field of the form each column of an imported file fills: by the
// header's title, compared with each field's caption (without the closing
// colon, regardless of letter case and accents) and its Document column's
// name, unless the command line maps a title itself. The clerk's printed
// list's own columns (its DocumentID and its void mark) are passed over, so
// that a list the clerk's program wrote imports back.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

// A field an imported value can go to: its caption as the form shows it,
// and its Document column.
struct ImportTarget {
    std::string caption;
    std::string column;
};

// TITLE=FIELD from the command line; an empty FIELD passes the column over.
using TitleMap = std::vector<std::pair<std::string, std::string>>;
// "TITLE=FIELD" split at its first "="; raises when there is none.
std::pair<std::string, std::string> parseTitleMap(const std::string& given);

struct ColumnMapping {
    static constexpr int passedOver = -1;
    // For each column of the file: the target it fills, or passedOver.
    std::vector<int> targetOf;
    // What is wrong with the header: each a "line 1: ..." line.
    std::vector<std::string> refusals;
};

ColumnMapping mapColumns(const std::vector<std::string>& header, const std::vector<ImportTarget>& targets,
                         const TitleMap& titleMap);

}  // namespace velmora
