// Registering the classes of stored designs.
#include "startup/DesignClasses.h"

#include "controls/ZEDBtn.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "designs/ClassRegistry.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Menus.h"
#include "toolkit/windows/Timer.h"

namespace velmora {

void registerDesignClasses(const tk::ClassInfo& mainWindow)
{
    ClassRegistry& r = classRegistry();
    for (const tk::ClassInfo* c :
         {&mainWindow, &tk::TStatusBar::staticClassInfo(), &tk::TPageControl::staticClassInfo(),
          &tk::TTabSheet::staticClassInfo(), &TZEDit::staticClassInfo(), &TZEDPicker::staticClassInfo(),
          &TZEDChxBox::staticClassInfo(), &TZEDText::staticClassInfo(), &tk::TTimer::staticClassInfo(),
          &tk::TPopupMenu::staticClassInfo(), &TZEDBtn::staticClassInfo(), &tk::TSplitter::staticClassInfo(),
          &tk::TDBGrid::staticClassInfo(), &tk::TMenuItem::staticClassInfo()})
        r.registerClass(*c);
}

}  // namespace velmora
