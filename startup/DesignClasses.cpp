// Registering the classes of stored designs.
#include "startup/DesignClasses.h"

#include "controls/ClassRegistry.h"
#include "controls/ZEDBtn.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "toolkit/DBGrid.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"

namespace velmora {

void registerDesignClasses()
{
    ClassRegistry& r = classRegistry();
    for (const tk::ClassInfo* c :
         {&TfrmClientMain::staticClassInfo(), &tk::TStatusBar::staticClassInfo(), &tk::TPageControl::staticClassInfo(),
          &tk::TTabSheet::staticClassInfo(), &TZEDit::staticClassInfo(), &TZEDPicker::staticClassInfo(),
          &TZEDChxBox::staticClassInfo(), &TZEDText::staticClassInfo(), &tk::TTimer::staticClassInfo(),
          &tk::TPopupMenu::staticClassInfo(), &TZEDBtn::staticClassInfo(), &tk::TSplitter::staticClassInfo(),
          &tk::TDBGrid::staticClassInfo(), &tk::TMenuItem::staticClassInfo()})
        r.registerClass(*c);
}

}  // namespace velmora
