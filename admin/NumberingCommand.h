// "velmora-admin numbering ...": the words after "numbering" read and
// carried out on an open connection.
#pragma once

#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

// The usage lines of the numbering commands.
inline constexpr const char* numberingUsage =
    "numbering set COLUMN [--yearly] [--start N] [--pattern TEXT] [--time-zone ZONE]";

// Whether `words` (after "numbering") make a numbering command.
bool isNumberingCommand(const std::vector<std::string>& words);
// Carries it out; gives what to print. Raises ENumberingRefused.
std::string runNumberingCommand(db::TADOConnection& connection, const std::vector<std::string>& words);

}  // namespace velmora
