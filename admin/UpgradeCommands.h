// velmora-admin upgrade and search-index: what a database made by an
// earlier version lacks, and the folded search text made again.
#pragma once

#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// Makes the keys and indexes of this version that a database made before
// lacks; gives a line for each that could not be made, naming the names
// that stop a unique key. What can be made is made either way.
std::string upgradeDatabase(db::TADOConnection& c);
// Folds and indexes the text of Document's text columns again
// (velmora-admin search-index), each step said on stderr when
// `onTerminal`; says what was made and how long it took.
std::string remakeSearchText(db::TADOConnection& c, bool onTerminal);

}  // namespace velmora
