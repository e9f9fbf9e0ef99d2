// Designing a form as a person does it, through the console's gestures on
// the real program: choosing a palette tool, placing controls on the tab
// sheets, dragging on the 4-pixel grid, Alt+arrows, the context menu's
// delete, and reading the results back with the console's questions.
#include "../app/ConsolePlatform.h"
#include "ConsoleOutput.h"
#include "TempFolder.h"
#include "RolesMode.h"
#include "TestDatabase.h"
#include "app/DesignerComposition.h"
#include "model/MoveDrag.h"
#include "startup/DemoDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using testing::HasSubstr;
using testing::Not;

namespace {

class Designer : public ::testing::Test {
protected:
    Designer()
    {
        makeDemoDatabase(folder.path());
        putUnderServerRolesInRolesRun(folder.file("VelmoraDSC.udl"));
    }

    // Logs in as demo/demo, plays `script`, and returns what was printed.
    std::string play(const std::string& script)
    {
        std::istringstream in("type demo\nkey tab\ntype demo\nkey enter\n" + script);
        std::ostringstream out;
        ConsolePlatform platform(in, out);
        velmora::runVelmora(platform, folder.file("velmora"));
        return out.str();
    }
    static std::string at(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

    // Where the palette's edit tool and the shown tab sheet (tsSearch) are.
    void locate()
    {
        auto l =
            lines(play("where frmComonentPalette.SpeedButton2\nwhere frmComonentPalette.SpeedButton4\n"
                       "where frmClientMain.tsSearch\nwhere frmComonentPalette.btnArrow\n"));
        ASSERT_GE(l.size(), 4u);
        editTool = rect(l[0]);
        checkTool = rect(l[1]);
        sheet = rect(l[2]);
        arrow = rect(l[3]);
    }
    // A spot on the tab sheet at client point (x, y).
    std::string spot(int x, int y) const { return at(sheet.left + x, sheet.top + y); }

    TempFolder folder;
    Rect editTool, checkTool, sheet, arrow;
};

TEST_F(Designer, TheEditToolPlacesAnEditWithItsCaptionLabelAndThePaletteReturnsToTheArrow)
{
    locate();
    std::string out = play("click " + at(editTool.cx(), editTool.cy()) +
                           "\nget frmComonentPalette.SpeedButton2.Down\n" + "click " + spot(100, 48) + "\n" +
                           "where frmClientMain.TZEDit1\nget frmClientMain.TZEDit1.Tag\n"
                           "get frmClientMain.TZEDText1.Caption\nget frmClientMain.TZEDText1.FocusControl\n"
                           "get frmClientMain.TZEDText1.Top\nget frmClientMain.TZEDit1.Text\n"
                           "get frmComonentPalette.btnArrow.Down\nfocus\nget frmClientMain.TZEDit1.OnEnter\n"
                           "click " +
                           spot(200, 48) + "\nwhere frmClientMain.TZEDit2\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 11u) << out;
    EXPECT_EQ(l[0], "True");
    Rect edit = rect(l[1]);
    EXPECT_EQ(edit.left, sheet.left + 100);
    EXPECT_EQ(edit.top, sheet.top + 48);
    EXPECT_EQ(l[2], "1");
    EXPECT_EQ(l[3], "'Mez'#337'n'#233'v:'");
    EXPECT_EQ(l[4], "TZEDit1");
    EXPECT_EQ(l[5], "52");
    EXPECT_EQ(l[6], "''");
    EXPECT_EQ(l[7], "True");
    EXPECT_EQ(l[8], "frmClientMain.TZEDit1");
    EXPECT_EQ(l[9], "ComponentEnter");
    // The palette is back on the arrow: a second click places nothing.
    EXPECT_EQ(l[10], "none");
    EXPECT_THAT(out, Not(HasSubstr("error:")));
}

TEST_F(Designer, APressMoveReleaseDragsOnTheFourPixelGridAndAltArrowsMoveAndSize)
{
    locate();
    std::string place = "click " + at(editTool.cx(), editTool.cy()) + "\nclick " + spot(100, 48) + "\n";
    Rect edit = rect(lines(play(place + "where frmClientMain.TZEDit1\n"))[0]);
    int x = edit.cx(), y = edit.cy();
    std::string out = play(place + "press " + at(x, y) + "\nmove " + at(x + 9, y + 5) + "\nrelease " +
                           at(x + 9, y + 5) + "\nwhere frmClientMain.TZEDit1\n" +
                           "key right alt\nkey right alt ctrl\nwhere frmClientMain.TZEDit1\n"
                           "type abc\nget frmClientMain.TZEDit1.Text\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 3u) << out;
    Rect moved = rect(l[0]);
    EXPECT_EQ(moved.left - edit.left, 8);
    EXPECT_EQ(moved.top - edit.top, 4);
    Rect stepped = rect(l[1]);
    EXPECT_EQ(stepped.left, moved.left + 4);
    EXPECT_EQ(stepped.width, moved.width + 4);
    // Typing into a control on the design surface changes nothing.
    EXPECT_EQ(l[2], "''");
}

TEST_F(Designer, TheContextMenusDeleteOnACaptionLabelTakesItsFieldControlWithIt)
{
    locate();
    std::string place = "click " + at(editTool.cx(), editTool.cy()) + "\nclick " + spot(120, 48) + "\n";
    Rect label = rect(lines(play(place + "where frmClientMain.TZEDText1\n"))[0]);
    std::string out =
        play(place + "get frmPropertyPage.edtCaption.Text\n" + "click " + at(label.cx(), label.cy()) + " right\n" +
             "key down\nkey enter\n" + "where frmClientMain.TZEDit1\nwhere frmClientMain.TZEDText1\n" +
             "get frmPropertyPage.edtCaption.Text\nget frmPropertyPage.edtCaption.Enabled\n" +
             "get frmPropertyPage.cbxFieldName.Enabled\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 6u) << out;
    EXPECT_EQ(l[0], "'Mez'#337'n'#233'v:'");
    EXPECT_EQ(l[1], "none");
    EXPECT_EQ(l[2], "none");
    // The property page lets go of the deleted pair: nothing to edit.
    EXPECT_EQ(l[3], "''");
    EXPECT_EQ(l[4], "False");
    EXPECT_EQ(l[5], "False");
    EXPECT_THAT(out, Not(HasSubstr("error:")));
}

TEST_F(Designer, ACheckBoxClickedOnTheSurfaceKeepsItsStateAndTheNextNameFillsAGap)
{
    locate();
    std::string out = play("click " + at(checkTool.cx(), checkTool.cy()) + "\nclick " + spot(60, 20) + "\n" + "click " +
                           at(checkTool.cx(), checkTool.cy()) + "\nclick " + spot(60, 60) + "\n" +
                           "where frmClientMain.TZEDChxBox1\nget frmClientMain.TZEDChxBox2.Caption\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 2u) << out;
    Rect box = rect(l[0]);
    EXPECT_EQ(l[1], "'Mez'#337'n'#233'v:'");
    std::string clicked =
        play("click " + at(checkTool.cx(), checkTool.cy()) + "\nclick " + spot(60, 20) + "\n" + "click " +
             at(box.cx(), box.cy()) + "\nget frmClientMain.TZEDChxBox1.Checked\n" + "click " + at(box.cx(), box.cy()) +
             " right\nkey esc\n" + "get frmClientMain.TZEDChxBox1.Checked\n");
    auto c = lines(clicked);
    ASSERT_GE(c.size(), 2u) << clicked;
    EXPECT_EQ(c[0], "False");
    EXPECT_EQ(c[1], "False");

    // Deleting the first box leaves a gap in the numbers; the next box fills
    // it instead of taking the number after the highest.
    std::string refilled =
        play("click " + at(checkTool.cx(), checkTool.cy()) + "\nclick " + spot(60, 20) + "\n" + "click " +
             at(checkTool.cx(), checkTool.cy()) + "\nclick " + spot(60, 60) + "\n" + "click " + at(box.cx(), box.cy()) +
             " right\nkey down\nkey enter\n" + "where frmClientMain.TZEDChxBox1\n" + "click " +
             at(checkTool.cx(), checkTool.cy()) + "\nclick " + spot(60, 100) + "\n" +
             "where frmClientMain.TZEDChxBox1\nwhere frmClientMain.TZEDChxBox3\n");
    auto r = lines(refilled);
    ASSERT_GE(r.size(), 3u) << refilled;
    EXPECT_EQ(r[0], "none");
    Rect filled = rect(r[1]);
    EXPECT_EQ(filled.top, sheet.top + 100);
    EXPECT_EQ(r[2], "none");
    EXPECT_THAT(refilled, Not(HasSubstr("error:")));
}

TEST_F(Designer, AWholeSessionPlacesTwoDragsOneAndDeletesTheOther)
{
    locate();
    std::string place = "click " + at(editTool.cx(), editTool.cy()) + "\nclick " + spot(120, 20) + "\n" + "click " +
                        at(editTool.cx(), editTool.cy()) + "\nclick " + spot(120, 80) + "\n";
    auto first = lines(play(place + "where frmClientMain.TZEDit1\nwhere frmClientMain.TZEDit2\n"));
    ASSERT_GE(first.size(), 2u);
    Rect one = rect(first[0]), two = rect(first[1]);
    std::string out = play(place + "press " + at(one.cx(), one.cy()) + "\nmove " + at(one.cx() + 9, one.cy() + 5) +
                           "\nrelease " + at(one.cx() + 9, one.cy() + 5) + "\nclick " + at(two.cx(), two.cy()) +
                           " right\nkey down\nkey enter\nwhere frmClientMain.TZEDit1\nwhere frmClientMain.TZEDit2\n"
                           "text frmClientMain\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 3u) << out;
    Rect moved = rect(l[0]);
    EXPECT_EQ(moved.left, one.left + 8);
    EXPECT_EQ(moved.top, one.top + 4);
    EXPECT_EQ(l[1], "none");
    EXPECT_THAT(out, HasSubstr("object TZEDit1: TZEDit"));
    EXPECT_THAT(out, Not(HasSubstr("object TZEDit2: TZEDit")));
    // The label of the deleted edit stays.
    EXPECT_THAT(out, HasSubstr("object TZEDText2: TZEDText"));
    EXPECT_THAT(out, Not(HasSubstr("error:")));
}

TEST_F(Designer, AFieldIsNamedInThePropertyPageAndABadNameKeepsTheFocusWithTheHint)
{
    locate();
    auto first = lines(play("where frmClientMain.pcData\nwhere frmClientMain.tsEdit\n"));
    ASSERT_GE(first.size(), 2u);
    Rect tabs = rect(first[0]), entry = rect(first[1]);
    // The "Felvitel" tab, then the edit tool and a click on the entry page.
    std::string place = "click " + at(tabs.left + 20, tabs.top + 10) + "\nclick " + at(editTool.cx(), editTool.cy()) +
                        "\nclick " + at(entry.left + 120, entry.top + 40) + "\n";
    Rect box = rect(lines(play(place + "where frmPropertyPage.cbxFieldName\n"))[0]);
    std::string named =
        play(place + "click " + at(box.cx(), box.cy()) + "\ntype Ugyszam1\nkey tab\n" +
             "get frmClientMain.TZEDit1.KeyField\nget frmPropertyPage.ErrorHint.Visible\n" + "text frmClientMain\n");
    auto n = lines(named);
    ASSERT_GE(n.size(), 2u) << named;
    EXPECT_EQ(n[0], "'Ugyszam1'");
    EXPECT_EQ(n[1], "False");
    EXPECT_THAT(named, HasSubstr("    KeyField = 'Ugyszam1'\n"));

    std::string bad = play(place + "click " + at(box.cx(), box.cy()) + "\ntype 1abc\nkey tab\n" +
                           "get frmPropertyPage.ErrorHint.Visible\nfocus\n");
    auto b = lines(bad);
    ASSERT_GE(b.size(), 2u) << bad;
    EXPECT_EQ(b[0], "True");
    EXPECT_EQ(b[1], "frmPropertyPage.cbxFieldName");
}

TEST_F(Designer, ASessionSavesANamedFieldAndTheNextLoginAndAnOpenShowIt)
{
    locate();
    auto first =
        lines(play("where frmClientMain.pcData\nwhere frmClientMain.tsEdit\nwhere frmComonentPalette.btnSave\n"
                   "where frmComonentPalette.btnOpen\n"));
    ASSERT_GE(first.size(), 4u);
    Rect tabs = rect(first[0]), entry = rect(first[1]), save = rect(first[2]), open = rect(first[3]);
    std::string place = "click " + at(tabs.left + 20, tabs.top + 10) + "\nclick " + at(editTool.cx(), editTool.cy()) +
                        "\nclick " + at(entry.left + 120, entry.top + 40) + "\n";
    Rect box = rect(lines(play(place + "where frmPropertyPage.cbxFieldName\n"))[0]);
    // Name the field, save for the group typed into the lookup list, close.
    std::string saved = play(place + "click " + at(box.cx(), box.cy()) + "\ntype Ugyszam1\nkey tab\n" + "click " +
                             at(save.cx(), save.cy()) + "\nwindows\ntype Ikt\nkey enter\nwindows\nclose\n");
    EXPECT_THAT(saved, HasSubstr("frmSearchList"));
    EXPECT_THAT(saved, HasSubstr(" modal\n"));
    EXPECT_THAT(saved, Not(HasSubstr("error:")));
    // The save added the field's column (where users are roles of the
    // server, through the owner's function).
    EXPECT_THAT(readRows(folder.file("VelmoraDSC.udl"), "Select count(Ugyszam1) from Document"),
                testing::ElementsAre("0"));

    // The next login shows the stored design, with the field's name.
    std::string again = play("get frmClientMain.TZEDit1.KeyField\nget frmClientMain.Name\n");
    auto a = lines(again);
    ASSERT_GE(a.size(), 2u) << again;
    EXPECT_EQ(a[0], "'Ugyszam1'");
    EXPECT_EQ(a[1], "'frmClientMain_1'");

    // Saved for the other group and opened from there.
    std::string other = play("click " + at(save.cx(), save.cy()) + "\ntype P\nkey enter\n" + place + "click " +
                             at(open.cx(), open.cy()) + "\ntype P\nkey enter\n" +
                             "where frmClientMain.TZEDit2\nget frmClientMain.TZEDit1.KeyField\n");
    auto o = lines(other);
    ASSERT_GE(o.size(), 2u) << other;
    EXPECT_EQ(o[0], "none");
    EXPECT_EQ(o[1], "'Ugyszam1'");
    EXPECT_THAT(other, Not(HasSubstr("error:")));
}

// The move-drag rule itself, without a window.
TEST(MoveDrag, SnapsTowardZeroEachAxisOnItsOwnWithStrictBoundsAndLabelsBoundWithTheirField)
{
    using velmora::moveDrag;
    velmora::DragBox c{100, 40, 60, 21};
    // 3 pixels right stay, 4 move; the grab point is where the mouse went down.
    EXPECT_EQ(moveDrag({103 + 10, 40 + 5}, {10, 5}, 500, 300, c, {}).left, 100);
    EXPECT_EQ(moveDrag({104 + 10, 40 + 5}, {10, 5}, 500, 300, c, {}).left, 104);
    // Never Left 0 or Top 0; the right edge stays strictly inside.
    EXPECT_FALSE(moveDrag({2, 45}, {0, 5}, 500, 300, c, {}).left);
    EXPECT_EQ(*moveDrag({2, 45}, {0, 5}, 500, 300, c, {}).top, 40);
    EXPECT_FALSE(moveDrag({440, 45}, {0, 5}, 500, 300, c, {}).left);
    EXPECT_EQ(*moveDrag({436, 45}, {0, 5}, 500, 300, c, {}).left, 436);
    // Negative offsets truncate toward zero, not down.
    EXPECT_FALSE(moveDrag({-3, 45}, {0, 5}, 500, 300, c, {}).left);
    // A label 50 left of its field: the field's right edge bounds the drag.
    velmora::DragBox label{50, 44, 46, 17}, field{100, 40, 60, 21};
    auto step = moveDrag({392, 50}, {0, 6}, 500, 300, label, field);
    EXPECT_EQ(step.dx, -50);
    EXPECT_FALSE(step.left);  // 392 + 60 + 50 would leave the sheet
    EXPECT_EQ(*moveDrag({388, 50}, {0, 6}, 500, 300, label, field).left, 388);
}

TEST(MoveDrag, TheRestOfTheSelectionGoesAlongUnlessOneWouldLeaveItsSheetOnThatAxis)
{
    using velmora::moveDrag;
    velmora::DragBox c{100, 40, 60, 21};
    // Another control at (20, 200): 8 right and 8 down move it too.
    std::vector<velmora::PlacedBox> others = {{{20, 200, 60, 21}, 500, 300}};
    auto both = moveDrag({108, 48}, {0, 0}, 500, 300, c, {}, others);
    EXPECT_EQ(*both.left, 108);
    EXPECT_EQ(both.othersDx, 8);
    EXPECT_EQ(both.othersDy, 8);
    // 20 left would put it at Left 0: that axis moves nobody, the other does.
    auto blocked = moveDrag({80, 48}, {0, 0}, 500, 300, c, {}, others);
    EXPECT_FALSE(blocked.left);
    EXPECT_EQ(blocked.othersDx, 0);
    EXPECT_EQ(*blocked.top, 48);
    EXPECT_EQ(blocked.othersDy, 8);
    // A control on a smaller sheet bounds by its own sheet.
    std::vector<velmora::PlacedBox> narrow = {{{20, 200, 60, 21}, 500, 230}};
    EXPECT_FALSE(moveDrag({100, 52}, {0, 0}, 500, 300, c, {}, narrow).top);
}

}  // namespace
