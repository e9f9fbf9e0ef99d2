// The clerk's menu.
#include "entry/ClerkMenu.h"

#include "entry/DatabaseMessage.h"
#include "entry/EntryForm.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

#include <vector>

namespace velmora {

namespace {

struct Action {
    const char* caption;
    void (EntryForm::*work)();
};

struct Submenu {
    const char* caption;
    std::vector<Action> actions;
};

}  // namespace

tk::TPopupMenu* makeClerkMenu(EntryForm& form)
{
    const Submenu menus[] = {
        {"Dokumentum", {{"Érvénytelenítés", &EntryForm::voidShownDocument}, {"Előzmények", &EntryForm::showHistory}}},
        {"Szótár", {{"Szótárelemek", &EntryForm::openDictionaryUpkeep}}},
    };
    auto* menu = new tk::TPopupMenu(tk::Application);
    menu->setName("mnuClerk");
    for (const Submenu& m : menus) {
        auto* sub = new tk::TMenuItem(menu);
        sub->setCaption(m.caption);
        menu->items()->add(sub);
        for (const Action& a : m.actions) {
            auto* item = new tk::TMenuItem(menu);
            item->setCaption(a.caption);
            item->OnClick = tk::Handler::notify(
                [&form, work = a.work](tk::TObject*) { sayingDatabaseFailures([&] { (form.*work)(); }); });
            sub->add(item);
        }
    }
    tk::Application->setProgramMenu(menu->items());
    return menu;
}

}  // namespace velmora
