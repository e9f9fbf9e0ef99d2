// "velmora-admin attachments ...": the largest file that may be attached,
// the removed files, and purging them for good.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

inline constexpr const char* attachmentsLimitUsage = "attachments limit [SIZE]";
inline constexpr const char* attachmentsReadUsage = "attachments read [--all]";

// Whether `words` (after "attachments") make an attachments command.
bool isAttachmentsCommand(const std::vector<std::string>& words);
// Carries it out; gives what to print. Raises with the reason. "read"
// shows a bar with the time left on a terminal.
std::string runAttachmentsCommand(db::TADOConnection& connection, const std::vector<std::string>& words,
                                  bool onTerminal = false);

// A size as an office types it: bytes, or with K, M or G (KiB, MiB, GiB;
// "100M", "100MiB", "1.5G"); none for anything else.
std::optional<long long> parseSize(const std::string& text);

}  // namespace velmora
