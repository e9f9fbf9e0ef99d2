// The clerk's program without a mouse: a document is entered, found and its
// list printed with the keyboard alone, Ctrl+Tab turning the pages and Tab
// walking the controls in the design's tab order, never shut in a grid.
#include "EntryTest.h"

#include <gmock/gmock.h>

using testing::HasSubstr;

namespace {

class Keyboard : public EntryTest {};

std::string repeated(const std::string& gesture, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i) all += gesture;
    return all;
}

}  // namespace

TEST_F(Keyboard, ADocumentIsEnteredFoundAndItsListPrintedWithoutAClick)
{
    std::string pdf = folder.file("lista.pdf");
    std::string out = play(
        // Enter: "Új felvitel" is the first control that takes the focus;
        // then the fields in their tab order, Space ticks the box, and
        // "Rendben" follows the last field.
        "key tab\nfocus\nkey space\nfocus\ntype 6001\nkey tab\ntype Csak billentyűvel\nkey tab\nkey tab\nkey space\n"
        "key tab\ntype Panasz\nkey tab\nfocus\nkey space\n"
        // Find: Ctrl+Tab to the search page, whose grid gives the focus on
        // to the buttons and the search fields; Enter searches.
        "key tab ctrl\nfocus\nkey tab\nkey tab\nkey tab\nfocus\ntype 6001\nkey enter\nrows frmClientMain.dbgSearch\n"
        // Print the list: "Nyomtat" stands before the search fields, and
        // asks for the file.
        "key tab shift\nfocus\nkey space\ntype " +
        pdf + "\nkey enter\n" +
        // Into the grid, across its seven columns, and out of it again.
        "key tab shift\nkey tab shift\nfocus\n" + repeated("key tab\n", 6) + "focus\nkey tab\nfocus\n" +
        // And back to the entry page.
        "key tab ctrl shift\nfocus\n");
    EXPECT_THAT(out, Not(HasSubstr("error:"))) << out;
    EXPECT_THAT(out, HasSubstr("frmClientMain_1.btnNew\nfrmClientMain_1.TZEDit1\n"));
    EXPECT_THAT(out, HasSubstr("frmClientMain_1.btnSave\n"));
    // The search page's first control in its tab order is the grid.
    EXPECT_THAT(out, HasSubstr("frmClientMain_1.dbgSearch\nfrmClientMain_1.TZEDit4\n"));
    // Found, with the box ticked by Space.
    EXPECT_THAT(out, HasSubstr("6001\tCsak billentyűvel\t\tIgen\tPanasz\n"));
    EXPECT_THAT(out, HasSubstr("end\nfrmClientMain_1.btnPrint\n"));
    // Six Tabs walk the grid's columns; the seventh leaves it.
    EXPECT_THAT(out, HasSubstr("frmClientMain_1.dbgSearch\nfrmClientMain_1.dbgSearch\nfrmClientMain_1.btnSearch\n"));
    // Ctrl+Shift+Tab turns back to the entry page, onto its first control.
    EXPECT_THAT(out, HasSubstr("frmClientMain_1.btnSearch\nfrmClientMain_1.btnNew\n"));
    EXPECT_EQ(readRows(udl(), "Select Targy from Document where Iktatoszam = 6001"),
              std::vector<std::string>{"Csak billentyűvel"});
    std::string text = commandOutput("pdftotext -layout '" + pdf + "' -");
    EXPECT_THAT(text, HasSubstr("Csak billentyűvel"));
}
