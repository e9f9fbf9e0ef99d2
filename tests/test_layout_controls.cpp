// Controls that lay other controls out: a splitter dragged by the user,
// size constraints of controls and windows, and the collection a status bar
// keeps its panels in, written and read back as a stored design keeps it.
#include "Fixture.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "designs/FormText.h"
#include "startup/DataModule.h"
#include "startup/DesignClasses.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/widgets/StatusBar.h"

#include <gmock/gmock.h>

using namespace tk;
using testing::HasSubstr;

namespace {

// A panel on the left, a splitter beside it, and a panel filling the rest.
struct SplitScene {
    TWinControl* left;
    TSplitter* splitter;
    TWinControl* rest;
};

}  // namespace

TEST_F(ToolkitTest, DraggingASplitterResizesItsNeighbourWithinTheMinimumAndRaisesOnMoved)
{
    form->setClientWidth(400);
    SplitScene s;
    s.left = make<TPanel>("pnLeft", 0, 0, 100, 100);
    s.left->setAlign(TAlign::alLeft);
    s.splitter = make<TSplitter>("Splitter1", 100, 0, 3, 100);
    s.splitter->setAlign(TAlign::alLeft);
    s.rest = make<TPanel>("pnRest", 103, 0, 297, 100);
    s.rest->setAlign(TAlign::alClient);
    int moved = 0;
    s.splitter->OnMoved = Handler::notify([&](TObject*) { ++moved; });
    form->show();
    ASSERT_EQ(s.splitter->resizedControl(), s.left);

    TPoint at = s.splitter->clientToScreen({1, 10});
    app.mouseMove(0, at);
    app.mouseDown(TMouseButton::mbLeft, ssLeft, at);
    app.mouseMove(ssLeft, {at.x + 50, at.y});
    EXPECT_EQ(s.left->width(), 150);
    // The splitter follows its neighbour and the client panel shrinks.
    EXPECT_EQ(s.splitter->left(), 150);
    EXPECT_EQ(s.rest->left(), 153);
    EXPECT_EQ(s.rest->width(), 247);
    // Further in the same drag: still measured from where it started.
    app.mouseMove(ssLeft, {at.x + 80, at.y});
    EXPECT_EQ(s.left->width(), 180);
    // Not so far that less than the minimum size is left for the rest.
    app.mouseMove(ssLeft, {at.x + 500, at.y});
    EXPECT_EQ(s.left->width(), 400 - 3 - s.splitter->minSize());
    EXPECT_EQ(s.rest->width(), s.splitter->minSize());
    // Not below the minimum size.
    app.mouseMove(ssLeft, {at.x - 500, at.y});
    EXPECT_EQ(s.left->width(), s.splitter->minSize());
    app.mouseUp(TMouseButton::mbLeft, 0, {at.x - 500, at.y});
    EXPECT_EQ(moved, 1);
    // A move without the button held drags nothing.
    app.mouseMove(0, {at.x + 100, at.y});
    EXPECT_EQ(s.left->width(), s.splitter->minSize());
    // The right button starts no drag.
    TPoint again = s.splitter->clientToScreen({1, 10});
    app.mouseDown(TMouseButton::mbRight, ssRight, again);
    app.mouseMove(ssRight, {again.x + 40, again.y});
    app.mouseUp(TMouseButton::mbRight, 0, {again.x + 40, again.y});
    EXPECT_EQ(s.left->width(), s.splitter->minSize());
    EXPECT_EQ(moved, 1);
}

TEST_F(ToolkitTest, SizeConstraintsHoldForEveryWayASizeIsSet)
{
    auto* panel = make<TPanel>("pn", 10, 10, 100, 100);
    panel->constraints()->setMinWidth(50);
    panel->constraints()->setMaxWidth(200);
    panel->constraints()->setMaxHeight(120);
    panel->setWidth(20);
    EXPECT_EQ(panel->width(), 50);
    panel->setBounds(0, 0, 500, 500);
    EXPECT_EQ(panel->width(), 200);
    EXPECT_EQ(panel->height(), 120);
    setPropText(*panel, "Width", "10");
    EXPECT_EQ(panel->width(), 50);
    // Narrowing the limits applies them at once; 0 lifts one.
    panel->setWidth(200);
    panel->constraints()->setMaxWidth(150);
    EXPECT_EQ(panel->width(), 150);
    panel->constraints()->setMaxWidth(0);
    panel->setWidth(900);
    EXPECT_EQ(panel->width(), 900);
    // A window's limits hold too.
    form->constraints()->setMinWidth(140);
    form->constraints()->setMinHeight(310);
    form->setBounds(0, 0, 50, 50);
    EXPECT_EQ(form->width(), 140);
    EXPECT_EQ(form->height(), 310);
    // An aligned child fills within its own limits.
    auto* top = make<TPanel>("pnTop", 0, 0, 10, 500);
    top->constraints()->setMaxHeight(40);
    top->setAlign(TAlign::alTop);
    EXPECT_EQ(top->height(), 40);
    EXPECT_EQ(top->width(), form->clientWidth());
}

TEST_F(ToolkitTest, AlignedChildrenAreLaidOutWhereverTheyMoveAndHoweverTheirAlignChanges)
{
    // Aligned children fill a panel's area inside its bevel.
    auto* a = make<TPanel>("pnA", 0, 0, 300, 200);
    auto* b = make<TPanel>("pnB", 0, 200, 200, 100);
    auto* child = new TPanel(form);
    child->setParent(a);
    child->setBounds(5, 5, 40, 30);
    // Not aligned: it stays where it was put when its parent changes size.
    a->setBounds(0, 0, 320, 210);
    EXPECT_EQ(child->left(), 5);
    child->setAlign(TAlign::alTop);
    EXPECT_EQ(child->width(), a->alignRect().width());
    child->setAlign(TAlign::alNone);
    child->setAlign(TAlign::alBottom);
    a->setBounds(0, 0, 300, 250);
    EXPECT_EQ(child->top() + child->height(), a->alignRect().bottom);
    // Moved to another parent, it is aligned there and no longer in the first.
    child->setParent(b);
    EXPECT_EQ(child->width(), b->alignRect().width());
    EXPECT_EQ(child->top() + child->height(), b->alignRect().bottom);
    b->setBounds(0, 200, 260, 140);
    EXPECT_EQ(child->width(), b->alignRect().width());
    auto* filler = new TPanel(form);
    filler->setParent(a);
    filler->setAlign(TAlign::alClient);
    EXPECT_EQ(filler->height(), a->alignRect().height());
    // Freed, an aligned child leaves the rest aligned.
    auto* top = new TPanel(form);
    top->setParent(b);
    top->setBounds(0, 0, 10, 20);
    top->setAlign(TAlign::alTop);
    EXPECT_EQ(top->width(), b->alignRect().width());
    child->free();
    b->setBounds(0, 200, 280, 140);
    EXPECT_EQ(top->width(), b->alignRect().width());
    EXPECT_EQ(top->top(), b->alignRect().top);
}

namespace {

class Collections : public ::testing::Test {
protected:
    Collections() : app(platform)
    {
        velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
        new velmora::TdmClientMain(&app);
        app.createForm(velmora::frmClientMain);
        window = velmora::frmClientMain.get();
        status = as<TStatusBar>(window->findComponent("StatusBar1"));
    }
    HeadlessPlatform platform;
    TApplication app;
    velmora::TfrmClientMain* window = nullptr;
    TStatusBar* status = nullptr;
};

}  // namespace

TEST_F(Collections, PanelsAreWrittenAsItemsAndReadBackInOrder)
{
    ASSERT_TRUE(status);
    ASSERT_EQ(status->panels()->count(), 1);
    auto* second = status->addPanel();
    second->setWidth(120);
    setPropText(*second, "Text", "Kész");
    EXPECT_EQ(second->index(), 1);
    std::string text = velmora::designText(*window);
    EXPECT_THAT(text, HasSubstr("Panels = <\r\n      item\r\n        Width = 50\r\n      end\r\n      item\r\n"));
    EXPECT_THAT(text, HasSubstr("Text = 'K'#233'sz'"));

    velmora::loadDesign(*window, text);
    auto* again = as<TStatusBar>(window->findComponent("StatusBar1"));
    ASSERT_TRUE(again);
    ASSERT_EQ(again->panels()->count(), 2);
    EXPECT_EQ(again->panel(0)->width(), 50);
    EXPECT_EQ(again->panel(1)->width(), 120);
    EXPECT_EQ(getPropText(*again->panel(1), "Text"), "Kész");
    EXPECT_EQ(velmora::designText(*window), text.replace(text.find("frmClientMain"), 13, window->name()));
}

TEST_F(Collections, RemovingAndAssigningKeepIndexesAndCopyEveryItem)
{
    ASSERT_TRUE(status);
    for (int w : {10, 20, 30}) status->addPanel()->setWidth(w);
    ASSERT_EQ(status->panels()->count(), 4);
    status->panels()->remove(1);
    EXPECT_EQ(status->panels()->count(), 3);
    EXPECT_EQ(status->panel(0)->width(), 50);
    EXPECT_EQ(status->panel(1)->width(), 20);
    EXPECT_EQ(status->panel(1)->index(), 1);
    EXPECT_EQ(status->panel(2)->index(), 2);

    auto* other = new TStatusBar(window);
    other->panels()->assign(*status->panels());
    ASSERT_EQ(other->panels()->count(), 3);
    EXPECT_EQ(other->panel(2)->width(), 30);
    // A copy, not the same items.
    EXPECT_NE(other->panel(0), status->panel(0));
    status->panels()->clear();
    EXPECT_EQ(status->panels()->count(), 0);
    EXPECT_EQ(other->panels()->count(), 3);
    // An item in a collection that is no panel list is refused.
    EXPECT_THROW(velmora::loadDesign(*window,
                                     "object frmClientMain: TfrmClientMain\r\n"
                                     "  object StatusBar1: TStatusBar\r\n"
                                     "    Panels = <\r\n      item\r\n        Nothing = 1\r\n      end>\r\n"
                                     "  end\r\nend\r\n"),
                 Error);
}
