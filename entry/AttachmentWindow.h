// "Mellékletek": the shown document's attached files in a window the
// clerk's program adds beside the form (F11, "Dokumentum" › "Mellékletek"):
// name, size, type, who attached it and when, and when it was removed.
// "Csatolás…" adds files (the platform's dialog, several at once; without
// one, a path typed), "Megnyitás" hands a read-only copy to the desktop's
// viewer, "Mentés másként…" writes a copy where the clerk chooses,
// "Törlés" removes the file by the rules, "Bezár" (Esc) closes.
#pragma once

#include <cstdint>

namespace db {
class TADOConnection;
class TADOQuery;
}  // namespace db

namespace velmora {

class EntryForm;

void showAttachmentWindow(EntryForm& form, db::TADOConnection& connection, int64_t id);

}  // namespace velmora
