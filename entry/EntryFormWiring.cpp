// The clerk's window wired to the entry form: the action buttons, the
// result grid, the keys and the menu of the actions no button holds,
// files dropped on the window, and the question before it closes.
#include "entry/EntryForm.h"

#include "db/Query.h"
#include "entry/ClerkMenu.h"
#include "entry/DatabaseMessage.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

namespace velmora {

void EntryForm::wireWindow()
{
    tk::TForm& window = *window_;
    struct Action {
        const char* button;
        void (EntryForm::*work)();
    };
    const Action actions[] = {{"btnNew", &EntryForm::newDocument},
                              {"btnModify", &EntryForm::modifyDocument},
                              {"btnSave", &EntryForm::saveDocument},
                              {"btnCancel", &EntryForm::cancelEditing}};
    // Each action says a database's failure in the clerk's words.
    auto act = [this](void (EntryForm::*work)()) {
        return tk::Handler::notify([this, work](tk::TObject*) { sayingDatabaseFailures([&] { (this->*work)(); }); });
    };
    for (const Action& a : actions)
        if (auto* button = tk::as<tk::TBitBtn>(window.findComponent(a.button))) button->OnClick = act(a.work);
    if (auto* button = tk::as<tk::TBitBtn>(window.findComponent("btnSearch")))
        button->OnClick = act(&EntryForm::search);
    if (auto* button = tk::as<tk::TBitBtn>(window.findComponent("btnPrint")))
        button->OnClick = act(&EntryForm::printResult);
    if (auto* grid = tk::as<tk::TDBGrid>(window.findComponent("dbgSearch"))) {
        grid->OnDblClick = act(&EntryForm::openFoundDocument);
        grid->OnTitleClick = tk::Handler::notify([this, grid](tk::TObject*) {
            std::vector<tk::TDBGrid::Column> columns = grid->columns();
            size_t at = static_cast<size_t>(grid->selectedColumn());
            db::TADOQuery* results = found_.resultQuery();
            if (at >= columns.size() || !results || !results->active()) return;
            std::string column = results->fieldName(columns[at].field);
            sayingDatabaseFailures([&] { sortResultsBy(column); });
        });
        // Enter in the grid opens the row instead of pressing btnSearch.
        grid->OnKeyDown = tk::Handler::key([this](tk::TObject*, uint16_t& key, tk::TShiftState) {
            if (key != tk::vk::Return) return;
            key = 0;
            sayingDatabaseFailures([&] { openFoundDocument(); });
        });
    }
    // The actions that no button of a design holds are the clerk's menu's
    // items, each with a key of the window; F10 opens the menu itself.
    window.setKeyPreview(true);
    window.OnKeyDown = tk::Handler::key([this](tk::TObject*, uint16_t& key, tk::TShiftState shift) {
        if ((shift & (tk::ssShift | tk::ssAlt | tk::ssCtrl)) || !menu_) return;
        if (key == tk::vk::F10) {
            key = 0;
            menu_->popup(window_->left() + 8, window_->top() + 30);
            // Opened by a key, the menu has its first item highlighted.
            if (tk::Application->popup() == menu_.get()) menu_->popupKeyDown(tk::vk::Down, 0);
        } else if (chooseByKey(*this, *menu_, key)) {
            key = 0;
        }
    });
    menu_ = makeClerkMenu(*this);
    // Files dropped from the file manager are attached to the shown document.
    window.onDropFiles = [this](const std::vector<std::string>& paths) {
        sayingDatabaseFailures([&] { attachFiles(paths); });
    };
    window.OnCloseQuery = tk::Handler::closeQuery(
        [this](tk::TObject*, bool& canClose) { sayingDatabaseFailures([&] { canClose = mayClose(); }); });
}

}  // namespace velmora
