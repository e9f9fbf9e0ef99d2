// "Előzmények": a document's history, newest first, one line a value: the
// time, the login name, the action, then the field's caption (as the form
// names it) with its old and new value; a void's line holds its reason.
// Reached from the shown document (F9).
#pragma once

#include "entry/History.h"

#include <cstdint>
#include <vector>

namespace db {
class TADOConnection;
class TADOQuery;
}  // namespace db

namespace velmora {

// Shows document `id`'s history modally; "Bezár" (Enter or Esc) closes it.
void showHistoryWindow(db::TADOConnection& connection, int64_t id, const std::vector<ColumnCaption>& captions);

}  // namespace velmora
