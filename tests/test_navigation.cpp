// Moving through the registry in the clerk's program: straight to a
// registry number (F3, "Ugrás"), and stepping through the found documents
// on the entry page (PgDn, PgUp) with "N / M" on the status bar.
#include "EntryTest.h"
#include "db/Statement.h"

using testing::HasSubstr;

namespace {

using Navigation = EntryTest;

}  // namespace

TEST_F(Navigation, StepsThroughTheFoundDocumentsAndAsksBeforeLeavingAChange)
{
    Rect pages = where("pcData");
    Rect grid = where("dbgSearch");
    std::string tab = "click " + std::to_string(pages.left + 70) + " " + std::to_string(pages.top + 10) + "\n";
    std::string shown = "get frmClientMain.TZEDit1.Text\nget frmClientMain.StatusBar1.SimpleText\n";
    std::string out = play(
        // Before any search there is nothing to step through.
        "key pgdn\nkey enter\n" + tab + click("btnSearch") + "dblclick " + std::to_string(grid.left + 40) + " " +
        std::to_string(grid.top + 28) + "\n" + shown + "key pgdn\n" + shown + "key pgdn\n" + shown + "key pgdn\n" +
        shown + "key pgup\n" + shown +
        // A change in progress is asked about; Mégsem stays on it.
        click("btnModify") + "key end\ntype  javítva\nkey pgup\nwindows\nkey esc\n" + shown +
        // Igen saves it and steps on.
        "key pgup\nkey enter\n" + shown);
    auto l = lines(out);
    ASSERT_GE(l.size(), 13u) << out;
    EXPECT_EQ(l[0], "error: Nincs találat, amelyen lépni lehetne: előbb keressen a Keresés lapon.");
    EXPECT_EQ(l[1], "'1003'");
    EXPECT_EQ(l[3], "'1002'");
    EXPECT_EQ(l[4], "'2 / 3'");
    EXPECT_EQ(l[5], "'1001'");
    EXPECT_EQ(l[6], "'3 / 3'");
    EXPECT_EQ(l[7], "'1001'");  // the last one stays
    EXPECT_EQ(l[9], "'1002'");
    EXPECT_EQ(l[10], "'2 / 3'");
    EXPECT_THAT(out, HasSubstr("frmSaveQuestion"));
    EXPECT_THAT(out, HasSubstr("'1002'\n'Dokumentum: 2 (m'#243'dos'#237't'#225's)'\n'1003'\n'1 / 3'\n"));
    EXPECT_EQ(documents().at(1), "2|1002|Számla reklamáció javítva|2026-11-16 00:00:00|nem");
}

TEST_F(Navigation, GoesStraightToARegistryNumberOrListsTheSeveral)
{
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (2000, 'Egyik')");
        db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (2000, 'Másik')");
    }
    std::string out = play("key f3\nget frmGoTo.lblQuestion.Caption\ntype 1002\nkey enter\n"
                           "get frmClientMain.TZEDit2.Text\nget frmClientMain.pcData.ActivePage\n"
                           "key f3\ntype 9999\nkey enter\nkey enter\n"
                           "key f3\ntype nem sz\xc3\xa1m\nkey enter\nkey enter\n"
                           "menu Dokumentum|Ugr\xc3\xa1s\ntype 2000\nkey enter\n"
                           "get frmClientMain.pcData.ActivePage\nget frmClientMain.StatusBar1.SimpleText\n"
                           "rows frmClientMain.dbgSearch\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 9u) << out;
    EXPECT_EQ(l[0], "'Ugr'#225's: Iktat'#243'sz'#225'm:'");
    EXPECT_EQ(l[1], "'Sz'#225'mla reklam'#225'ci'#243");
    EXPECT_EQ(l[2], "tsEdit");
    EXPECT_EQ(l[3], "error: Nincs ilyen dokumentum: Iktatószám 9999");
    EXPECT_THAT(l[4], testing::StartsWith("error: "));
    EXPECT_EQ(l[5], "tsSearch");
    EXPECT_EQ(l[6], "'2 tal'#225'lat: Iktat'#243'sz'#225'm 2000'");
    EXPECT_THAT(out, HasSubstr("\n5\t\t2000\tMásik\t"));
    EXPECT_THAT(out, HasSubstr("\n4\t\t2000\tEgyik\t"));
}
