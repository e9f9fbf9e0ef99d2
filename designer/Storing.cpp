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

std::string TfrmClientMain::snapshotText()
{
    return designText(*this);
}

void TfrmClientMain::restoreSnapshot(std::string_view text)
{
    // The name the window had at that step, as its text's first line
    // gives it ("object frmClientMain: TfrmClientMain"), not the one the
    // reader's unique-name rule would give.
    const std::string shownName = name();
    std::string ownName = shownName;
    if (text.substr(0, 7) == "object ")
        if (size_t colon = text.find(':'); colon != std::string_view::npos && colon < text.find('\n'))
            ownName = std::string(text.substr(7, colon - 7));
    int savedTop = top(), savedLeft = left();
    DragControl.reset();
    // The name and place the window has, and the context menu read with
    // the wiring, whatever the reading did.
    auto settle = [&](const std::string& windowName) {
        setName(windowName);
        setTop(savedTop);
        setLeft(savedLeft);
        CompPopup = tk::as<tk::TPopupMenu>(findComponent("CompPopup"));
        pmiDelete = CompPopup && CompPopup->items()->count() ? CompPopup->items()->item(0) : nullptr;
    };
    try {
        loadDesign(*this, text, OnReadFailure::RestoreShown);
    } catch (...) {
        settle(shownName);
        throw;
    }
    settle(ownName);
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
