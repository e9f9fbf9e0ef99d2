// The clerk's program's own menu: the document actions and the dictionary
// upkeep that no button of a design holds (each also has its key: F8
// Érvénytelenítés, F9 Előzmények, F2 Szótárelemek in a dictionary field). It belongs
// to the application, not to the main window, so a design load leaves it
// alone, and it opens over the window (F10) without covering or moving
// the design's controls. The console chooses its items with
// "menu Dokumentum|Érvénytelenítés".
#pragma once

namespace tk {
class TPopupMenu;
}

namespace velmora {

class EntryForm;

// Makes the menu for `form` and sets it as the application's program menu.
tk::TPopupMenu* makeClerkMenu(EntryForm& form);

}  // namespace velmora
