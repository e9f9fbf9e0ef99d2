// Undo and redo of the design, and copy and paste of placed controls,
// through the input API: each kind of change undone back to the very same
// window text, typing in the property page as one step, the history's
// bound, and pastes that are refused.
#include "DesignSession.h"
#include "designs/Design.h"
#include "model/DesignClipboard.h"
#include "model/DesignHistory.h"
#include "model/SelectionGestures.h"
#include "toolkit/core/PropertyAccess.h"

#include <gmock/gmock.h>

using namespace tk;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;
using velmora::Handle;

namespace {

class UndoPaste : public DesignSession {
protected:
    velmora::DesignModel& model() { return velmora::designModel(); }
    std::string text() { return velmora::designText(*window); }
    void undo() { app.pressKey('Z', ssCtrl); }
    void redo() { app.pressKey('Y', ssCtrl); }
    std::vector<std::string> selected()
    {
        std::vector<std::string> names;
        for (TControl* c : model().selection()) names.push_back(c->name());
        return names;
    }
    void drag(TPoint from, int dx, int dy)
    {
        app.mouseMove(0, from);
        app.mouseDown(TMouseButton::mbLeft, ssLeft, from);
        app.mouseMove(ssLeft, {from.x + dx, from.y + dy});
        app.mouseUp(TMouseButton::mbLeft, 0, {from.x + dx, from.y + dy});
    }
    TControl* named(const char* name) { return as<TControl>(window->findComponent(name)); }
    std::string clipboard() { return platform.clipboardText(); }
};

}  // namespace

TEST_F(UndoPaste, EachKindOfChangeUndoesAndRedoesToTheSameWindowText)
{
    window->setActiveControl(nullptr);
    std::vector<std::string> texts{text()};
    auto step = [&](const std::function<void()>& change) {
        change();
        texts.push_back(text());
        ASSERT_NE(texts.back(), texts[texts.size() - 2]);
    };
    step([&] { place(0, 120, 40); });
    step([&] { place(3, 120, 100); });
    step([&] { drag(named("TZEDit1")->clientToScreen({3, 3}), 9, 17); });
    step([&] {
        app.click(named("TZEDChxBox1"), {3, 3});
        app.pressKey(vk::Right, ssAlt);
    });
    step([&] { app.pressKey(vk::Down, ssAlt | ssCtrl); });
    step([&] {
        TRect h = velmora::SelectionGestures::screenHandles(*named("TZEDChxBox1"))[int(Handle::Right)];
        drag({h.left + 2, h.top + 2}, 20, 0);
    });
    step([&] {
        app.click(named("TZEDit1"), {3, 3});
        app.click(named("TZEDChxBox1"), {3, 3}, TMouseButton::mbLeft, ssShift);
        app.click(named("TZEDChxBox1"), {3, 3}, TMouseButton::mbRight);
        for (int i = 0; i < 2; ++i) app.pressKey(vk::Down);
        app.pressKey(vk::Return);  // the lefts aligned to the check box
    });
    step([&] {
        app.click(named("TZEDText1"), {2, 2}, TMouseButton::mbRight);
        app.pressKey(vk::Down);
        app.pressKey(vk::Return);  // the label deleted with its field
    });
    ASSERT_EQ(named("TZEDit1"), nullptr);
    // Back through every step to the start, and forward again.
    for (size_t i = texts.size() - 1; i > 0; --i) {
        undo();
        EXPECT_EQ(text(), texts[i - 1]) << "undoing step " << i;
        EXPECT_EQ(window->name(), "frmClientMain");
    }
    undo();  // nothing before the start
    EXPECT_EQ(text(), texts[0]);
    for (size_t i = 1; i < texts.size(); ++i) {
        app.pressKey('Z', ssCtrl | ssShift);
        EXPECT_EQ(text(), texts[i]) << "redoing step " << i;
    }
    // The restored window is wired: its controls drag and its menu deletes.
    undo();
    TControl* edit = named("TZEDit1");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(getPropText(*edit, "OnMouseDown"), "ComponentMouseDown");
    EXPECT_EQ(edit->popupMenu(), window->CompPopup.get());
    EXPECT_EQ(window->pmiDelete->caption(), "Törlés");
    int left = edit->left();
    drag(edit->clientToScreen({3, 3}), 8, 0);
    EXPECT_EQ(edit->left(), left + 8);
    // A new change after undoing drops the steps that were undone.
    app.pressKey('Y', ssCtrl);
    EXPECT_EQ(named("TZEDit1")->left(), left + 8);
}


TEST_F(UndoPaste, AChangeAfterAnUndoDropsWhatCouldBeRedone)
{
    window->setActiveControl(nullptr);
    std::string start = text();
    place(0, 120, 40);
    std::string placed = text();
    undo();
    ASSERT_EQ(text(), start);
    place(3, 120, 100);
    std::string other = text();
    ASSERT_NE(other, placed);
    redo();  // the undone placing is gone for good
    EXPECT_EQ(text(), other);
    undo();
    EXPECT_EQ(text(), start);
    redo();
    EXPECT_EQ(text(), other);
}
TEST_F(UndoPaste, TheSelectionAndThePageComeBackAndTypingInTheBoxIsOneStep)
{
    page->show();
    TControl* a = place(0, 120, 40);
    TControl* b = place(3, 120, 100);
    app.click(a, {3, 3});
    app.click(b, {3, 3}, TMouseButton::mbLeft, ssShift);
    drag(b->clientToScreen({3, 3}), 8, 8);
    app.click(b, {3, 3});
    // The caption typed letter by letter, then the focus back on the window.
    std::string before = text();
    app.click(page->edtCaption, {3, 3});
    page->edtCaption->selectAll();
    app.typeText("Lezárt");
    app.click(b, {3, 3});
    EXPECT_EQ(getPropText(*b, "Caption"), "Lezárt");
    window->activate();
    undo();
    EXPECT_EQ(getPropText(*named("TZEDChxBox1"), "Caption"), "Mezőnév:");
    EXPECT_EQ(text(), before);
    // The step of the drag: both selected, the page showing the primary one.
    EXPECT_THAT(selected(), ElementsAre("TZEDChxBox1", "TZEDit1"));
    EXPECT_EQ(page->SelectedControl(), named("TZEDChxBox1"));
    EXPECT_EQ(page->edtCaption->text(), "Mezőnév:");
    // In the page's box Ctrl+Z belongs to the box.
    redo();
    app.click(page->edtCaption, {3, 3});
    app.pressKey('Z', ssCtrl);
    EXPECT_EQ(getPropText(*named("TZEDChxBox1"), "Caption"), "Lezárt");
}

TEST_F(UndoPaste, ASaveIsNoStepAndTheKeptStepsLoseTheirPlacingMarks)
{
    place(0, 120, 40);
    EXPECT_EQ(getPropText(*named("TZEDit1"), "Tag"), "1");
    drag(named("TZEDit1")->clientToScreen({3, 3}), 8, 0);
    window->UnhookDesignEvents();  // as a save does around its writing
    window->HookDesignEvents();
    (void)static_cast<velmora::DesignSurface*>(model().surface())->storedDesignText();
    EXPECT_EQ(getPropText(*named("TZEDit1"), "Tag"), "0");
    size_t steps = model().history().stepCount();
    app.click(named("TZEDit1"), {3, 3});
    EXPECT_EQ(model().history().stepCount(), steps);
    undo();
    EXPECT_EQ(getPropText(*named("TZEDit1"), "Tag"), "0");
    EXPECT_EQ(named("TZEDit1")->left(), 120);
}

TEST_F(UndoPaste, TheHistoryKeepsItsNewestHundredSteps)
{
    TControl* edit = place(0, 120, 40);
    for (int i = 0; i < 120; ++i) app.pressKey(i % 2 ? vk::Left : vk::Right, ssAlt);
    EXPECT_EQ(model().history().stepCount(), velmora::DesignHistory::maxSteps);
    for (int i = 0; i < 150; ++i) undo();
    edit = named("TZEDit1");
    ASSERT_NE(edit, nullptr);  // the placing itself fell out of the history
    EXPECT_EQ(edit->left(), 120 + (120 - 99) % 2 * 4);
}

TEST_F(UndoPaste, CopyAndPasteMakeNewNamedWiredControlsBesideTheOriginals)
{
    TControl* edit = place(0, 120, 40);
    setPropText(*edit, "KeyField", "Targy");
    TControl* box = place(3, 120, 100);
    setPropText(*box, "KeyField", "Lezart");
    app.click(edit, {3, 3});
    app.click(box, {3, 3}, TMouseButton::mbLeft, ssShift);
    app.pressKey('C', ssCtrl);
    std::string copied = clipboard();
    EXPECT_THAT(copied, HasSubstr("object tsEdit: TTabSheet\r\n  object TZEDit1: TZEDit\r\n"));
    EXPECT_THAT(copied, HasSubstr("object TZEDText1: TZEDText"));
    EXPECT_THAT(copied, HasSubstr("FocusControl = TZEDit1"));
    EXPECT_THAT(copied, Not(HasSubstr("OnMouseDown")));
    EXPECT_THAT(copied, Not(HasSubstr("PopupMenu")));
    EXPECT_THAT(copied, Not(HasSubstr("Tag")));
    EXPECT_THAT(copied, Not(HasSubstr("btnNew")));

    std::string before = text();
    app.pressKey('V', ssCtrl);
    ASSERT_TRUE(app.errorMessages().empty()) << app.errorMessages().front();
    TControl* edit2 = named("TZEDit2");
    auto* label2 = as<velmora::TZEDText>(window->findComponent("TZEDText2"));
    TControl* box2 = named("TZEDChxBox2");
    ASSERT_TRUE(edit2 && label2 && box2);
    EXPECT_EQ(edit2->left(), edit->left() + 8);
    EXPECT_EQ(edit2->top(), edit->top() + 8);
    EXPECT_EQ(label2->focusControl(), edit2);
    EXPECT_EQ(edit2->parent(), entry);
    EXPECT_EQ(getPropText(*edit2, "Tag"), "1");
    EXPECT_EQ(getPropText(*edit2, "OnMouseDown"), "ComponentMouseDown");
    EXPECT_EQ(edit2->popupMenu(), window->CompPopup.get());
    // On the entry page a field name in use is cleared.
    EXPECT_EQ(getPropText(*edit2, "KeyField"), "");
    EXPECT_THAT(selected(), ElementsAre("TZEDit2", "TZEDChxBox2"));
    EXPECT_EQ(page->SelectedControl(), edit2);

    // On the search page the names stay.
    pages->setActivePage(search);
    app.click(search, {300, 10});
    model().showControl(nullptr);
    app.pressKey('V', ssCtrl);
    TControl* edit3 = named("TZEDit3");
    ASSERT_TRUE(edit3);
    EXPECT_EQ(edit3->parent(), search);
    EXPECT_EQ(getPropText(*edit3, "KeyField"), "Targy");
    // A paste is one step; the focus is where it was when the step before
    // was made.
    undo();
    undo();
    auto unfocused = [](std::string t) {
        size_t at = t.find("  ActiveControl = ");
        return t.erase(at, t.find('\n', at) - at + 1);
    };
    EXPECT_EQ(unfocused(text()), unfocused(before));
    EXPECT_EQ(named("TZEDit2"), nullptr);
}

TEST_F(UndoPaste, AnythingButPlaceableControlsIsRefusedAndChangesNothing)
{
    place(0, 120, 40);
    std::string before = text();
    int count = window->componentCount();
    const std::string refused[] = {
        "",
        "garbage",
        before,  // a whole window
        "object tsSearch: TTabSheet\r\n  object dbgSearch: TDBGrid\r\n  end\r\nend\r\n",
        "object tsEdit: TTabSheet\r\n  object X1: TZEDFoo\r\n  end\r\nend\r\n",
        "object tsEdit: TTabSheet\r\n  object TZEDit1: TZEDit\r\n    Caption = 'x\r\nend\r\n",
        "object tsEdit: TTabSheet\r\n  object TZEDit1: TZEDit\r\n    OnClick = Nowhere\r\n  end\r\nend\r\n",
        "object tsEdit: TTabSheet\r\n" + std::string(10 << 20, ' ') + "end\r\n",
    };
    for (const std::string& t : refused) {
        platform.setClipboardText(t);
        size_t errors = app.errorMessages().size();
        app.pressKey('V', ssCtrl);
        ASSERT_EQ(app.errorMessages().size(), errors + 1) << t.substr(0, 60);
        EXPECT_EQ(app.errorMessages().back(), "A vágólapon nincs beilleszthető mező.");
        EXPECT_EQ(window->componentCount(), count);
        EXPECT_EQ(text(), before) << t.substr(0, 60);
    }
}

// Where the person is (the active control, the shown page) is no step of
// its own, but an undo and a redo come back to it, as a save would store it;
// undoing to the very start still gives the design as it was opened.
TEST_F(UndoPaste, AnUndoAndARedoComeBackToWhereThePersonWas)
{
    std::string opened = text();
    place(0, 120, 40);
    place(3, 120, 100);
    app.click(named("TZEDit1"), {3, 3});
    ASSERT_EQ(window->activeControl(), named("TZEDit1"));
    std::string before = text();
    undo();
    redo();
    EXPECT_EQ(text(), before);
    undo();
    undo();
    EXPECT_EQ(text(), opened);
}
