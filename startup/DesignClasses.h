// The classes a stored design may name, registered before any window exists.
#pragma once

namespace velmora {

// Registers TfrmClientMain, TStatusBar, TPageControl, TTabSheet, TZEDit,
// TZEDPicker, TZEDChxBox, TZEDText, TTimer, TPopupMenu, TZEDBtn, TSplitter,
// TDBGrid and the menu item class. Running it again changes nothing.
void registerDesignClasses();

}  // namespace velmora
