// velmora-admin verify: the history's chain walked and every hash
// recomputed, the attachments re-read; with --fingerprint the head written
// short for keeping outside the database, with --since a fingerprint taken
// earlier proved unchanged.
#pragma once

#include "admin/AdminRefusal.h"

#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

inline constexpr const char* verifyUsage = "verify [--fingerprint | --since FINGERPRINT]";

// Whether `words` (after "verify") make the command.
bool isVerifyCommand(const std::vector<std::string>& words);
// Says "The history is whole: ..." or where it breaks (refused); on a
// terminal it shows the walk's progress as a bar on standard error.
CommandResult runVerifyCommand(db::TADOConnection& c, const std::vector<std::string>& words, bool onTerminal);

}  // namespace velmora
