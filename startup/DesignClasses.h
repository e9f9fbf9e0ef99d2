// The classes a stored design may name, registered before any window exists.
#pragma once

namespace tk {
class ClassInfo;
}

namespace velmora {

// Registers the main window's class (TfrmClientMain), TStatusBar, TPageControl, TTabSheet, TZEDit,
// TZEDPicker, TZEDChxBox, TZEDText, TTimer, TPopupMenu, TZEDBtn, TSplitter,
// TDBGrid and the menu item class. Running it again changes nothing.
void registerDesignClasses(const tk::ClassInfo& mainWindow);

}  // namespace velmora
