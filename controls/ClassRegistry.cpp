// The class registry.
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
#include "toolkit/Text.h"
#include "toolkit/Timer.h"

namespace velmora {

void ClassRegistry::registerClass(const tk::ClassInfo& c)
{
    // Ancestors first, down to the base of all streamable objects.
    if (c.parent && c.parent->name != "TObject") registerClass(*c.parent);
    if (!findClass(c.name)) classes_.push_back(&c);
}

const tk::ClassInfo* ClassRegistry::findClass(std::string_view name) const
{
    for (const tk::ClassInfo* c : classes_)
        if (tk::sameName(c->name, name)) return c;
    return nullptr;
}

ClassRegistry& classRegistry()
{
    static ClassRegistry registry;
    return registry;
}

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
