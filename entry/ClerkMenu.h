// The clerk's program's own menu: the document actions, the search's
// option and the dictionary upkeep that no button of a design holds, each
// with its key (the one table below serves the menu and the keys). It
// belongs to the application, not to the main window, so a design load
// leaves it alone, and it opens over the window (F10) without covering or
// moving the design's controls. The console chooses its items with
// "menu Dokumentum|Érvénytelenítés".
#pragma once

#include <cstdint>

namespace tk {
class TPopupMenu;
}

namespace velmora {

class EntryForm;

// Makes the menu for `form` and sets it as the application's program menu.
tk::TPopupMenu* makeClerkMenu(EntryForm& form);

// Chooses the item of the clerk's menu whose key `key` is, as a click
// would; false when no item has that key, or its key does not choose it
// where `form` is now.
bool chooseByKey(EntryForm& form, tk::TPopupMenu& menu, uint16_t key);

}  // namespace velmora
