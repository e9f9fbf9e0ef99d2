// velmora-admin backup and restore: a checked copy of the embedded
// database made while programs may be using it, and a copy put back while
// none is. A PostgreSQL server's database is copied with its own tools,
// which the refusal names.
#pragma once

#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// Says where the copy went, its size and how long it took; on a terminal
// it shows the copy's progress as a bar on standard error meanwhile.
std::string backupDatabase(db::TADOConnection& c, const std::string& file, bool onTerminal = false);
std::string restoreDatabase(db::TADOConnection& c, const std::string& file);

}  // namespace velmora
