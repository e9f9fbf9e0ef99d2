// The attachment window.
#include "entry/AttachmentWindow.h"

#include "db/Query.h"
#include "db/Statement.h"
#include "entry/DatabaseMessage.h"
#include "entry/EntryForm.h"
#include "entry/ListWindow.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Locale.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

void showAttachmentWindow(EntryForm& form, db::TADOConnection& connection, int64_t id)
{
    ListWindow list = makeListWindow("frmAttachments", "Mellékletek: " + std::to_string(id), "dbgAttachments");
    // Wider than a list window's default: seven columns, the text's state last.
    constexpr int wider = 120;
    list.window->setClientWidth(list.window->clientWidth() + wider);
    list.grid->setWidth(list.grid->width() + wider);
    list.close->setLeft(list.close->left() + wider);
    db::TADOQuery* query = list.query;
    openAttachmentList(*query, connection, id);
    list.grid->setReadOnly(true);
    // Said once, under the list, while scans cannot be read.
    if (std::optional<std::string> note = form.readingNote()) {
        list.grid->setHeight(list.grid->height() - 24);
        auto* said = tk::placeControl<tk::TLabel>(list.window.get(), list.window.get(), "lblReading", 8,
                                                  list.grid->top() + list.grid->height() + 4, list.grid->width(), 18);
        said->setCaption(*note);
    }

    // Each button acts on the file of the grid's current row, then the
    // list is read again where it stood.
    auto current = [query]() -> int64_t {
        return query->active() && query->recordCount() > 0 ? query->fieldByName("AttachmentID")->asInteger() : 0;
    };
    auto button = [&](const char* name, const char* caption, int left, int width, auto work) {
        tk::TButton* b = addFootButton(list, name, caption, left, width);
        b->OnClick = tk::Handler::notify([&form, &connection, query, id, current, work](tk::TObject*) {
            int at = query->recNo();
            sayingDatabaseFailures([&] { work(form, current()); });
            openAttachmentList(*query, connection, id);
            if (query->recordCount() > 0) query->moveTo(std::clamp(at, 0, query->recordCount() - 1));
        });
        return b;
    };
    button("btnAttach", "Csatolás…", 8, 88, [](EntryForm& f, int64_t) { f.chooseFilesToAttach(); });
    button("btnOpen", "Megnyitás", 104, 88, [](EntryForm& f, int64_t file) { f.openAttachment(file); });
    button("btnSaveAs", "Mentés másként…", 200, 120,
           [](EntryForm& f, int64_t file) { f.chooseWhereToSaveAttachment(file); });
    button("btnRemove", "Törlés", 328, 88, [](EntryForm& f, int64_t file) { f.removeAttachment(file); });
    list.grid->OnDblClick = tk::Handler::notify(
        [&form, current](tk::TObject*) { sayingDatabaseFailures([&] { form.openAttachment(current()); }); });
    // Dropped files are attached and listed.
    list.window->onDropFiles = [&form, &connection, query, id](const std::vector<std::string>& paths) {
        sayingDatabaseFailures([&] { form.attachFiles(paths); });
        openAttachmentList(*query, connection, id);
    };
    list.window->setActiveControl(list.grid);
    list.window->showModal();
}

}  // namespace velmora
