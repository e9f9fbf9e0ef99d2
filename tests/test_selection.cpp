// The visible selection of the designer, through the input API: handles
// that size a control on the grid, Shift+click, the rubber band, moving,
// sizing and deleting several controls at once, alignment from the context
// menu; and the stored text, which none of it changes.
#include "DesignSession.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "designs/Design.h"
#include "model/SelectionGestures.h"
#include "toolkit/windows/Menus.h"
#include "toolkit/windows/Overlay.h"

#include <gmock/gmock.h>

#include <regex>

using namespace tk;
using testing::ElementsAre;
using velmora::Handle;

namespace {

class Selection : public DesignSession {
protected:
    velmora::DesignModel& model() { return velmora::designModel(); }
    std::vector<std::string> selected()
    {
        std::vector<std::string> names;
        for (TControl* c : model().selection()) names.push_back(c->name());
        return names;
    }
    std::vector<Overlay::Mark> marks()
    {
        std::vector<Overlay::Mark> out;
        app.overlay()->marks(*window, out);
        return out;
    }
    static TPoint centre(TRect r) { return {r.left + r.width() / 2, r.top + r.height() / 2}; }
    TPoint handle(TControl* c, Handle h) { return centre(velmora::SelectionGestures::screenHandles(*c)[int(h)]); }
    void drag(TPoint from, int dx, int dy, TShiftState shift = 0)
    {
        app.mouseMove(shift, from);
        app.mouseDown(TMouseButton::mbLeft, shift | ssLeft, from);
        app.mouseMove(shift | ssLeft, {from.x + dx / 2, from.y + dy / 2});
        app.mouseMove(shift | ssLeft, {from.x + dx, from.y + dy});
        app.mouseUp(TMouseButton::mbLeft, shift, {from.x + dx, from.y + dy});
    }
    void shiftClick(TControl* c) { app.click(c, {3, 3}, TMouseButton::mbLeft, ssShift); }
    // The stored text without the places and sizes the gestures change.
    std::string storedWithoutBounds()
    {
        static const std::regex bounds(R"(\n *(Left|Top|Width|Height) = -?[0-9]+)");
        return std::regex_replace(velmora::designText(*window), bounds, "");
    }
    TRect box(TControl* c) { return {c->left(), c->top(), c->left() + c->width(), c->top() + c->height()}; }
};

}  // namespace

TEST_F(Selection, TheSelectedControlShowsHandlesThatSizeItOnTheGridInsideItsSheet)
{
    TControl* box = place(3, 101, 60);
    std::string before = storedWithoutBounds();
    ASSERT_THAT(selected(), ElementsAre("TZEDChxBox1"));
    std::vector<Overlay::Mark> shown = marks();
    ASSERT_EQ(shown.size(), 8u);
    TPoint at = entry->clientToScreen({box->left(), box->top()});
    // Squares just outside the control, so a press inside it still drags.
    EXPECT_EQ(shown[0].rect, (TRect{at.x - 5, at.y - 5, at.x, at.y}));
    EXPECT_EQ(shown[4].rect.left, at.x + box->width());
    for (const auto& m : shown) EXPECT_TRUE(m.filled);
    EXPECT_EQ(app.overlay()->cursorAt(handle(box, Handle::Right)), Overlay::Cursor::SizeWE);
    EXPECT_EQ(app.overlay()->cursorAt(handle(box, Handle::TopLeft)), Overlay::Cursor::SizeNWSE);
    EXPECT_EQ(app.overlay()->cursorAt(handle(box, Handle::BottomLeft)), Overlay::Cursor::SizeNESW);

    // The right edge lands on the grid where the mouse is; the left one
    // stays where it was placed (off the grid).
    int right = box->left() + box->width();
    drag(handle(box, Handle::Right), 13, 0);
    EXPECT_EQ(box->left(), 101);
    EXPECT_EQ(box->left() + box->width(), (right + 13) / 4 * 4);
    int bottom = box->top() + box->height();
    drag(handle(box, Handle::Bottom), 3, 30);
    EXPECT_EQ(box->top() + box->height(), (bottom + 30) / 4 * 4);
    // The left edge stops at 4 and never comes nearer than 8 pixels to the
    // right one; the bottom one stays inside the sheet.
    right = box->left() + box->width();
    drag(handle(box, Handle::TopLeft), -400, 0);
    EXPECT_EQ(box->left(), 4);
    EXPECT_EQ(box->left() + box->width(), right);
    drag(handle(box, Handle::Left), 900, 0);
    EXPECT_EQ(box->width(), 8 + right % 4);
    EXPECT_EQ(box->left() % 4, 0);
    drag(handle(box, Handle::Bottom), 0, 2000);
    EXPECT_LT(box->top() + box->height(), entry->clientHeight());
    EXPECT_EQ((box->top() + box->height()) % 4, 0);
    EXPECT_THAT(selected(), ElementsAre("TZEDChxBox1"));

    // An edit fits its height to its font: its top and bottom handles do
    // nothing, its corners size only the width.
    TControl* edit = place(0, 300, 20);
    int height = edit->height(), top = edit->top(), editRight = edit->left() + edit->width();
    EXPECT_EQ(app.overlay()->cursorAt(handle(edit, Handle::Bottom)), Overlay::Cursor::Arrow);
    drag(handle(edit, Handle::Bottom), 0, 40);
    drag(handle(edit, Handle::TopRight), 40, -40);
    EXPECT_EQ(edit->height(), height);
    EXPECT_EQ(edit->top(), top);
    EXPECT_EQ(edit->left() + edit->width(), (editRight + 40) / 4 * 4);
}

TEST_F(Selection, NoGestureOfTheSelectionReachesTheStoredTextButPlacesAndSizes)
{
    TControl* a = place(0, 100, 40);
    TControl* b = place(3, 100, 100);
    std::string before = storedWithoutBounds();
    app.click(a, {3, 3});
    shiftClick(b);
    drag(handle(b, Handle::BottomRight), 20, 20);
    drag(entry->clientToScreen({20, 20}), 200, 150);
    drag(a->clientToScreen({3, 3}), 8, 8);
    app.pressKey(vk::Right, ssAlt);
    app.click(a, {3, 3}, TMouseButton::mbRight);
    app.pressKey(vk::Escape);
    shiftClick(a);
    app.click(b, {3, 3});
    EXPECT_EQ(storedWithoutBounds(), before);
    EXPECT_THAT(before, testing::Not(testing::HasSubstr("Azonos")));
}

TEST_F(Selection, ShiftClickAddsMakesPrimaryAndTakesOutAndAPlainClickSelectsOne)
{
    TControl* a = place(0, 100, 40);
    TControl* b = place(0, 100, 80);
    TControl* c = place(3, 100, 120);
    app.click(a, {3, 3});
    shiftClick(b);
    EXPECT_THAT(selected(), ElementsAre("TZEDit2", "TZEDit1"));
    EXPECT_EQ(page->SelectedControl(), b);
    shiftClick(c);
    shiftClick(a);  // selected, not primary: becomes primary
    EXPECT_THAT(selected(), ElementsAre("TZEDit1", "TZEDChxBox1", "TZEDit2"));
    EXPECT_EQ(page->SelectedControl(), a);
    std::vector<Overlay::Mark> shown = marks();
    ASSERT_EQ(shown.size(), 24u);
    EXPECT_TRUE(shown[0].filled);
    EXPECT_FALSE(shown[8].filled);
    shiftClick(a);  // the primary goes out; the page shows the new primary
    EXPECT_THAT(selected(), ElementsAre("TZEDChxBox1", "TZEDit2"));
    EXPECT_EQ(page->SelectedControl(), c);
    // Shift+click on a field's caption label adds the field.
    shiftClick(tk::as<TControl>(window->findComponent("TZEDText1")));
    EXPECT_THAT(selected(), ElementsAre("TZEDit1", "TZEDChxBox1", "TZEDit2"));

    // A right-click on a selected control keeps the selection; a plain
    // click on one selects it alone, and so does one on another control.
    app.click(b, {3, 3}, TMouseButton::mbRight);
    EXPECT_EQ(selected().size(), 3u);
    app.pressKey(vk::Escape);
    app.click(c, {3, 3});
    EXPECT_THAT(selected(), ElementsAre("TZEDChxBox1"));
    shiftClick(b);
    app.click(a, {3, 3});
    EXPECT_THAT(selected(), ElementsAre("TZEDit1"));
    EXPECT_EQ(marks().size(), 8u);
}

TEST_F(Selection, ARubberBandSelectsWhatItTouchesAndOneTouchingNothingChangesNothing)
{
    TControl* a = place(0, 120, 40);
    place(0, 120, 80);
    TControl* c = place(0, 300, 200);
    app.click(c, {3, 3});
    // From an empty spot across the two upper edits (and their labels).
    TPoint from = entry->clientToScreen({110, 30});
    drag(from, 60, 60);
    EXPECT_THAT(selected(), ElementsAre("TZEDit1", "TZEDit2"));
    EXPECT_EQ(page->SelectedControl(), a);
    // Across nothing: the selection stays; a plain click on an empty spot
    // is what it always was (nothing is placed with the arrow tool).
    drag(entry->clientToScreen({40, 250}), 20, 20);
    EXPECT_THAT(selected(), ElementsAre("TZEDit1", "TZEDit2"));
    int count = window->componentCount();
    app.click(entry, {40, 250});
    EXPECT_EQ(window->componentCount(), count);
    // With a tool chosen a press on the sheet places rather than bands.
    place(3, 40, 250);
    EXPECT_EQ(window->componentCount(), count + 1);
}

TEST_F(Selection, SeveralSelectedMoveTogetherOnTheGridAndByKeysAndGoTogether)
{
    TControl* a = place(0, 100, 40);
    TControl* b = place(3, 200, 100);
    app.click(a, {3, 3});
    shiftClick(b);
    // Dragging one moves both by the same steps; the label of a stays.
    TControl* label = tk::as<TControl>(window->findComponent("TZEDText1"));
    int labelLeft = label->left();
    drag(b->clientToScreen({3, 3}), 9, 17);
    EXPECT_EQ(b->left(), 208);
    EXPECT_EQ(b->top(), 116);
    EXPECT_EQ(a->left(), 108);
    EXPECT_EQ(a->top(), 56);
    EXPECT_EQ(label->left(), labelLeft);
    EXPECT_THAT(selected(), ElementsAre("TZEDChxBox1", "TZEDit1"));
    // An axis on which one would leave the sheet moves neither: half-way
    // both move, the rest of the way neither.
    drag(b->clientToScreen({3, 3}), -120, 8);
    EXPECT_EQ(a->left(), 48);
    EXPECT_EQ(b->left(), 148);
    EXPECT_EQ(a->top(), 64);
    // Alt+arrows move and Alt+Ctrl+arrows size each by 4, the edit keeping
    // its height.
    int height = a->height(), width = b->width(), boxHeight = b->height();
    app.pressKey(vk::Right, ssAlt);
    app.pressKey(vk::Down, ssAlt | ssCtrl);
    app.pressKey(vk::Left, ssAlt | ssCtrl);
    EXPECT_EQ(a->left(), 52);
    EXPECT_EQ(b->left(), 152);
    EXPECT_EQ(a->height(), height);
    EXPECT_EQ(b->height(), boxHeight + 4);
    EXPECT_EQ(b->width(), width - 4);

    // Deleting from the menu of one deletes both; the label of the edit
    // stays, as when an edit is deleted alone.
    app.click(a, {3, 3}, TMouseButton::mbRight);
    EXPECT_THAT(selected(), ElementsAre("TZEDit1", "TZEDChxBox1"));
    std::vector<TMenuItem*> items = window->CompPopup->visibleItems();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0]->caption(), "Törlés");
    app.pressKey(vk::Down);
    app.pressKey(vk::Return);
    EXPECT_EQ(window->findComponent("TZEDit1"), nullptr);
    EXPECT_EQ(window->findComponent("TZEDChxBox1"), nullptr);
    EXPECT_NE(window->findComponent("TZEDText1"), nullptr);
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(page->SelectedControl(), nullptr);
    EXPECT_EQ(window->CompPopup->items()->count(), 1);
}

TEST_F(Selection, TheMenuOfSeveralAlignsThemToThePrimaryAndItsItemsGoWhenItCloses)
{
    TControl* a = place(3, 100, 40);
    TControl* b = place(3, 200, 100);
    TControl* c = place(0, 300, 160);
    int editHeight = c->height();
    std::string stored = storedWithoutBounds();
    // Each alignment from the same start: a primary of 60 x 30 at (100, 40).
    auto alignBy = [&](const char* caption) {
        a->setBounds(100, 40, 60, 30);
        b->setBounds(200, 100, 50, 17);
        c->setBounds(300, 160, 121, editHeight);
        app.click(a, {3, 3});
        shiftClick(b);
        shiftClick(c);
        shiftClick(a);
        EXPECT_THAT(selected(), ElementsAre("TZEDChxBox1", "TZEDit1", "TZEDChxBox2")) << caption;
        app.click(a, {3, 3}, TMouseButton::mbRight);
        std::vector<TMenuItem*> items = window->CompPopup->visibleItems();
        ASSERT_EQ(items.size(), 7u);
        for (size_t i = 1; i < items.size(); ++i)
            if (items[i]->caption() == caption) {
                for (size_t k = 0; k <= i; ++k) app.pressKey(vk::Down);
                app.pressKey(vk::Return);
                return;
            }
        ADD_FAILURE() << "no item " << caption;
    };
    alignBy("Bal szélek igazítása");
    EXPECT_EQ(b->left(), 100);
    EXPECT_EQ(c->left(), 100);
    alignBy("Jobb szélek igazítása");
    EXPECT_EQ(b->left() + b->width(), 160);
    EXPECT_EQ(c->left() + c->width(), 160);
    alignBy("Felső szélek igazítása");
    EXPECT_EQ(b->top(), 40);
    EXPECT_EQ(c->top(), 40);
    alignBy("Alsó szélek igazítása");
    EXPECT_EQ(b->top() + b->height(), 70);
    EXPECT_EQ(c->top() + c->height(), 70);
    alignBy("Azonos szélesség");
    EXPECT_EQ(b->width(), 60);
    EXPECT_EQ(c->width(), 60);
    alignBy("Azonos magasság");
    EXPECT_EQ(b->height(), 30);
    EXPECT_EQ(c->height(), editHeight);
    EXPECT_EQ(a->left(), 100);
    EXPECT_EQ(a->width(), 60);
    // The items were the menu's for one opening only; the stored text
    // changed in places and sizes alone.
    EXPECT_EQ(window->CompPopup->items()->count(), 1);
    app.click(c, {3, 3});
    EXPECT_EQ(storedWithoutBounds(), stored);
    app.click(a, {3, 3}, TMouseButton::mbRight);
    EXPECT_EQ(window->CompPopup->visibleItems().size(), 1u);
}
