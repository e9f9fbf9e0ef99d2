// The designer without a mouse: the palette's tools from its keys, a
// control placed by Insert and stored exactly as one placed by a click at
// the same spot, and the pages turned by Ctrl+Tab.
#include "DesignSession.h"
#include "designs/Design.h"
#include "palette/ComponentPalette.h"

#include <gtest/gtest.h>

#include <regex>

using namespace tk;

namespace {

class DesignerKeyboard : public DesignSession {
protected:
    // The window's text without the control that has the focus, which
    // only where the keyboard or the mouse last went decides.
    std::string text()
    {
        static const std::regex focus("  ActiveControl = [A-Za-z0-9_]+\r\n");
        return std::regex_replace(velmora::designText(*window), focus, "");
    }
    int tool() { return velmora::frmComonentPalette->tool(); }
    void paletteKey(uint16_t key, TShiftState shift = 0)
    {
        velmora::frmComonentPalette->activate();
        app.pressKey(key, shift);
    }
    void surfaceKey(uint16_t key, TShiftState shift = 0)
    {
        window->activate();
        app.pressKey(key, shift);
    }
};

}  // namespace

TEST_F(DesignerKeyboard, TheArrowKeysChooseTheToolsRoundAndInsertPlacesAsAClickDoes)
{
    // Right from the arrow walks the four control tools and comes round.
    std::vector<int> tools;
    for (int i = 0; i < 5; ++i) {
        paletteKey(vk::Right);
        tools.push_back(tool());
    }
    EXPECT_EQ(tools, (std::vector<int>{0, 1, 2, 3, -1}));
    paletteKey(vk::Left);
    EXPECT_EQ(tool(), 3);
    EXPECT_TRUE(tk::as<TSpeedButton>(velmora::frmComonentPalette->findComponent("SpeedButton4"))->down());

    // Without a tool Insert places nothing.
    paletteKey(vk::Right);
    window->activate();
    std::string empty = text();
    surfaceKey(vk::Insert);
    EXPECT_EQ(text(), empty);

    // The edit tool, then Insert: an edit with its caption label at the
    // field column's top; the tool goes back to the arrow, as after a click.
    paletteKey(vk::Right);
    surfaceKey(vk::Insert);
    auto* placed = tk::as<TControl>(window->findComponent("TZEDit1"));
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->parent(), entry);
    EXPECT_EQ(tool(), -1);
    std::string byKeyboard = text();

    // The same control placed by a click at the same spot, from the same
    // window, is stored the same. The undo destroys the placed control:
    // its spot is read first.
    TPoint spot{placed->left(), placed->top()};
    app.pressKey('Z', ssCtrl);
    EXPECT_EQ(text(), empty);
    // The undo reads the window back: its pages are new components.
    pages = tk::as<TPageControl>(window->findComponent("pcData"));
    entry = tk::as<TTabSheet>(window->findComponent("tsEdit"));
    place(0, spot.x, spot.y);
    EXPECT_EQ(text(), byKeyboard);

    // A second one goes below the selected one, never onto it.
    paletteKey(vk::Right);
    surfaceKey(vk::Insert);
    auto* second = tk::as<TControl>(window->findComponent("TZEDit2"));
    ASSERT_NE(second, nullptr);
    auto* first = tk::as<TControl>(window->findComponent("TZEDit1"));
    EXPECT_EQ(second->left(), first->left());
    EXPECT_GE(second->top(), first->top() + first->height());
    EXPECT_EQ(second->top() % 4, 0);
}

TEST_F(DesignerKeyboard, CtrlTabTurnsTheDesignsPagesAndInsertPlacesOnTheShownOne)
{
    ASSERT_EQ(pages->activePage(), entry);
    surfaceKey(vk::Tab, ssCtrl);
    EXPECT_EQ(pages->activePage(), search);
    paletteKey(vk::Right);
    surfaceKey(vk::Insert);
    auto* placed = tk::as<TControl>(window->findComponent("TZEDit1"));
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->parent(), search);
    surfaceKey(vk::Tab, ssCtrl | ssShift);
    EXPECT_EQ(pages->activePage(), entry);
}
