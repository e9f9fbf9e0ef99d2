// The clerk's menu.
#include "entry/ClerkMenu.h"

#include "entry/DatabaseMessage.h"
#include "entry/EntryForm.h"
#include "toolkit/core/Types.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

#include <vector>

namespace velmora {

namespace {

struct Action {
    const char* caption;
    uint16_t key;
    void (EntryForm::*work)();
    // For an option: whether it is on, shown as the item's check mark.
    bool (EntryForm::*isOn)() const = nullptr;
    // Where the key chooses the item; elsewhere the focused control keeps
    // the key (the page keys page the result grid).
    bool (EntryForm::*keyChoosesHere)() const = nullptr;
};

struct Submenu {
    const char* caption;
    std::vector<Action> actions;
};

// The one table of the menu's items and their keys. F2 reaches the upkeep
// from the dictionary field that has the focus.
const std::vector<Submenu>& clerkMenus()
{
    static const std::vector<Submenu> menus = {
        {"Dokumentum",
         {{"Érvénytelenítés", tk::vk::F8, &EntryForm::voidShownDocument},
          {"Előzmények", tk::vk::F9, &EntryForm::showHistory},
          {"Mellékletek", tk::vk::F11, &EntryForm::showAttachments},
          {"Dokumentum nyomtatása", tk::vk::F6, &EntryForm::printShownDocument},
          {"Ugrás", tk::vk::F3, &EntryForm::goToNumber},
          {"Következő találat", tk::vk::Next, &EntryForm::showNextFound, nullptr, &EntryForm::onEntryPage},
          {"Előző találat", tk::vk::Prior, &EntryForm::showPreviousFound, nullptr, &EntryForm::onEntryPage}}},
        {"Keresés",
         {{"Érvénytelenítettek nélkül", tk::vk::F7, &EntryForm::switchVoidedInSearch, &EntryForm::leavesOutVoided},
          {"Mellékletekben is", 0, &EntryForm::switchAttachmentsInSearch, &EntryForm::searchesAttachments}}},
        {"Szótár", {{"Szótárelemek", tk::vk::F2, &EntryForm::openDictionaryUpkeep}}},
    };
    return menus;
}

}  // namespace

tk::TPopupMenu* makeClerkMenu(EntryForm& form)
{
    auto* menu = new tk::TPopupMenu(tk::Application);
    menu->setName("mnuClerk");
    for (const Submenu& m : clerkMenus()) {
        auto* sub = new tk::TMenuItem(menu);
        sub->setCaption(m.caption);
        menu->items()->add(sub);
        for (const Action& a : m.actions) {
            auto* item = new tk::TMenuItem(menu);
            item->setCaption(a.caption);
            item->setShortCut(a.key);
            if (a.isOn) item->setChecked((form.*a.isOn)());
            item->OnClick = tk::Handler::notify([&form, item, a](tk::TObject*) {
                sayingDatabaseFailures([&] { (form.*a.work)(); });
                if (a.isOn) item->setChecked((form.*a.isOn)());
            });
            sub->add(item);
        }
    }
    tk::Application->setProgramMenu(menu->items());
    return menu;
}

bool chooseByKey(EntryForm& form, tk::TPopupMenu& menu, uint16_t key)
{
    for (const Submenu& m : clerkMenus())
        for (const Action& a : m.actions)
            if (a.key == key && a.keyChoosesHere && !(form.*a.keyChoosesHere)()) return false;
    tk::TMenuItem* item = menu.items()->findShortCut(key);
    if (!item) return false;
    item->click();
    return true;
}

}  // namespace velmora
