// The printed page: a long text wraps within its column instead of being
// cut off, and a table too wide for a portrait page turns it landscape;
// read back from the PDF as a reader would.
#include "ConsoleOutput.h"
#include "TempFolder.h"
#include "gui/Printing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::HasSubstr;

namespace {

tk::Printout listOf(int columns, const std::string& longText)
{
    tk::Printout list;
    list.title = "Lista";
    for (int c = 0; c < columns; ++c) list.columns.push_back("Oszlop " + std::to_string(c + 1));
    list.rows.push_back(std::vector<std::string>(static_cast<size_t>(columns), "rövid"));
    list.rows.front().back() = longText;
    return list;
}

}  // namespace

TEST(PrintoutLayout, ALongTextWrapsAndAWideTableTurnsThePage)
{
    gui::ensureGuiApplication();
    TempFolder folder;
    std::string words;
    for (int i = 1; i <= 40; ++i) words += "szó" + std::to_string(i) + " ";
    words += "vége";

    std::string narrow = folder.file("narrow.pdf"), wide = folder.file("wide.pdf");
    gui::writePdf(listOf(2, words), narrow);
    gui::writePdf(listOf(9, "Árvíztűrő tükörfúrógép és még sok más szöveg, amely nem fér el"), wide);

    EXPECT_THAT(commandOutput("pdfinfo '" + narrow + "'"), testing::ContainsRegex("Page size: +595 x 842 pts"));
    std::string text = commandOutput("pdftotext '" + narrow + "' -");
    // Every word is there, the last one too: nothing was cut off.
    for (const char* w : {"szó1 ", "szó20 ", "szó40 ", "vége"}) EXPECT_THAT(text, HasSubstr(w));
    EXPECT_THAT(text, testing::Not(HasSubstr("…")));

    EXPECT_THAT(commandOutput("pdfinfo '" + wide + "'"), testing::ContainsRegex("Page size: +842 x 595 pts"));
    EXPECT_THAT(commandOutput("pdftotext -layout '" + wide + "' -"), HasSubstr("Oszlop 9"));
}
