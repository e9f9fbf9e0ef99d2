// "Előzmények": a document's history, newest first, one line a value: the
// time, the login name, the action, then the field's caption (as the form
// names it) with its old and new value; a void's line holds its reason.
// Reached from the shown document (F9).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace db {
class TADOConnection;
class TADOQuery;
}  // namespace db

namespace velmora {

// A column of Document and the caption the form shows for it.
using ColumnCaption = std::pair<std::string, std::string>;

// Opens document `id`'s history into `query`, one row a value, newest
// first: Idő, Felhasználó, Művelet, Mező, Régi érték, Új érték.
void openHistory(db::TADOQuery& query, db::TADOConnection& connection, int64_t id,
                 const std::vector<ColumnCaption>& captions);

// Shows document `id`'s history modally; "Bezár" (Enter or Esc) closes it.
void showHistoryWindow(db::TADOConnection& connection, int64_t id, const std::vector<ColumnCaption>& captions);

}  // namespace velmora
