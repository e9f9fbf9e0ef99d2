// The main window as a save stores it: without the design-time wiring,
// centred on the screen when shown, and showing the palette and the
// property page through its OnShow. The wiring and the window's place come
// back whatever happens. And the window as an undo step keeps it: wired,
// read back under its own name.
#include "designer/ClientMain.h"

#include "designs/Design.h"
#include "model/DesignHistory.h"
#include "startup/DataModule.h"
#include "toolkit/core/PropertyAccess.h"

namespace velmora {

std::string TfrmClientMain::storedDesignText()
{
    UnhookDesignEvents();
    int savedTop = top(), savedLeft = left();
    auto rewire = [&] {
        HookDesignEvents();
        setTop(savedTop);
        setLeft(savedLeft);
    };
    std::string text;
    try {
        tk::bindEvent(*this, "OnShow", *this, "");
        setPosition(tk::TPosition::poScreenCenter);
        tk::bindEvent(*this, "OnShow", *this, "FormShow");
        text = designText(*this);
    } catch (...) {
        rewire();
        throw;
    }
    rewire();
    // The placing marks went with the wiring; the kept steps lose theirs.
    designModel().history().forgetMarks();
    return text;
}

void TfrmClientMain::restoreSnapshot(std::string_view image, const std::string& windowName)
{
    const std::string shownName = name();
    int savedTop = top(), savedLeft = left();
    DragControl.reset();
    // The name the window had at that step (not the one the reader's
    // unique-name rule gives), its place, and the context menu read with
    // the wiring, whatever the reading did.
    auto settle = [&](const std::string& ownName) {
        setName(ownName);
        setTop(savedTop);
        setLeft(savedLeft);
        CompPopup = tk::as<tk::TPopupMenu>(findComponent("CompPopup"));
        pmiDelete = CompPopup && CompPopup->items()->count() ? CompPopup->items()->item(0) : nullptr;
    };
    try {
        loadDesignImage(*this, image, OnReadFailure::RestoreShown);
    } catch (...) {
        settle(shownName);
        throw;
    }
    settle(windowName);
}

int TfrmClientMain::designGroup() const
{
    return dmClientMain ? dmClientMain->UserGroupID() : 0;
}

void TfrmClientMain::setDesignGroup(int group)
{
    if (dmClientMain) dmClientMain->setUserGroupID(group);
}

}  // namespace velmora
