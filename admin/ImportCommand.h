// "velmora-admin import ..." and "import-void ...": the words after the
// command read, the group's design loaded into a window of its own, and
// the import carried out on an open connection.
#pragma once

#include "admin/AdminRefusal.h"

#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

inline constexpr const char* importUsage =
    "import GROUP FILE --user LOGIN [--map CAPTION=COLUMN ...] [--encoding utf-8|windows-1250] [--add-entries] "
    "[--dry-run]";
inline constexpr const char* importVoidUsage = "import-void BATCH --user LOGIN --reason TEXT";

// Whether `words` (after "import" or "import-void") make the command.
bool isImportCommand(const std::vector<std::string>& words);
bool isImportVoidCommand(const std::vector<std::string>& words);
CommandResult runImportCommand(db::TADOConnection& connection, const std::vector<std::string>& words);
CommandResult runImportVoidCommand(db::TADOConnection& connection, const std::vector<std::string>& words);

}  // namespace velmora
