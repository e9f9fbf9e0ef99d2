// The program's own keys and indexes beside the designer's tables.
//
// Logins, group names and a dictionary's entries are unique whatever their
// letter case, for every letter the program folds (tk::foldCase: A to Z,
// Latin-1 and Latin Extended-A), not only A to Z. The database keeps it:
// each name's folded text is stored, by the program that writes the name
// and in the same transaction, in the table FoldedName under a unique key,
// so of two programs adding or renaming to the same text at once one is
// refused (db::EDuplicateKey). The fold is stored text rather than an
// index over a function: the program's vfold is unknown to the sqlite3
// shell and psql, and SQLite's built-ins cannot spell the fold of so many
// letters in one index expression.
//
// The keys and the search indexes are made where the schema is changed
// (velmora-initdb, the designer's save, velmora-admin upgrade), never at a
// clerk's start: on a shared server only a table's owner may make them, and
// a database without them still works, checked by the programs alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

enum class NameKind { Login, GroupName, DictionaryEntry };

// Stores `name` folded as the name of row `owner` (a UserID, UserGroupID or
// DictionaryItemID) in place of the row's earlier name; `scope` is the
// dictionary of an entry, else 0. Raises db::EDuplicateKey when another
// row's name folds alike. Call it inside the transaction that writes the
// name. Does nothing on a database without FoldedName.
void claimFoldedName(db::TADOConnection& connection, NameKind kind, int64_t scope, int64_t owner,
                     const std::string& name);
// Forgets the folded name of a row that is removed.
void releaseFoldedName(db::TADOConnection& connection, NameKind kind, int64_t owner);

// Makes FoldedName where it is missing and stores the folded name of every
// login, group and dictionary entry that has none. Names that fold alike
// keep the first one's key; each such clash is said in one line of the
// result, naming the names, and everything else is made.
std::vector<std::string> makeNameKeys(db::TADOConnection& connection);
// The fold of the keys (db::foldedText), kept beside them in
// FoldedNameFold: raised by one with each change to the fold, after which
// makeNameKeys folds every stored key again.
inline constexpr int nameFoldVersion = 1;

// An index on each named Document column that a search compares as it
// stands: not a text column (compared folded and by pattern, which an
// index does not serve), not a name the statement cannot hold. Names of
// no column are passed over; each refusal is said in one line.
std::vector<std::string> makeSearchIndexes(db::TADOConnection& connection, const std::vector<std::string>& columns);

// The same for every column of Document but its key.
std::vector<std::string> makeAllSearchIndexes(db::TADOConnection& connection);

}  // namespace velmora
