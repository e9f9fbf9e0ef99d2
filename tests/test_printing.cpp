// Printing in the clerk's program: one document (its fields, its void, its
// history) into a PDF and through a real CUPS queue, and a list as a
// spreadsheet with typed cells; each read back as a person would find it.
#include "CupsQueue.h"
#include "EntryTest.h"
#include "admin/NumberingCommand.h"
#include "entry/SaveFileDialog.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

using testing::HasSubstr;

namespace {

class Printing : public EntryTest {
protected:
    // A document entered, its subject changed, then voided, by the clerk's keys.
    std::string enteredChangedAndVoided()
    {
        return click("btnNew") + "type 2001\nkey tab\ntype T\xc3\xa9ves\n" + click("btnSave") + click("btnModify") +
               "key end\ntype  t\xc3\xa1rgy\n" + click("btnSave") + "key f8\ntype K\xc3\xa9tszer iktatva\nkey enter\n";
    }
};

}  // namespace

TEST_F(Printing, OneDocumentPrintsItsFieldsItsVoidAndItsHistory)
{
    std::string pdf = folder.file("egy.pdf");
    std::string out = play(
        // Nothing shown: nothing to print.
        "key f6\nkey enter\n" + enteredChangedAndVoided() +
        "key f6\nget frmSaveFile.lblFileName.Caption\nget frmSaveFile.lblPrinter.Caption\n"
        "get frmSaveFile.btnPrint.Enabled\ntype " +
        folder.file("egy.csv") + "\nkey enter\nkey enter\n" + "menu Dokumentum|Dokumentum nyomtat\xc3\xa1sa\ntype " +
        pdf + "\nkey enter\nget frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(out, HasSubstr("error: Nincs megjelenített dokumentum: előbb keressen meg vagy vigyen fel egyet.\n"));
    EXPECT_THAT(out, HasSubstr("'F'#225'jl neve (.pdf):'\n'Nyomtat'#243': Nincs be'#225'll'#237'tott nyomtat'#243'.'\n"
                               "False\n"));
    EXPECT_THAT(out, HasSubstr("error: Csak .pdf fájlba lehet menteni: " + folder.file("egy.csv")));
    EXPECT_THAT(out, HasSubstr("egy.pdf'\n"));

    std::string text = commandOutput("pdftotext -layout '" + pdf + "' -");
    EXPECT_THAT(text, HasSubstr("Ügyfélszolgálat, Iktatószám: 2001"));
    EXPECT_THAT(text, HasSubstr("Azonosító: 4, nyomtatva "));
    EXPECT_THAT(text, HasSubstr("ÉRVÉNYTELENÍTVE: Kétszer iktatva"));
    // Each field of the entry page in tab order, as the form shows it.
    EXPECT_THAT(
        text, testing::ContainsRegex("\nIktatószám +2001\nTárgy +Téves tárgy\nÉrkezett *\nLezárt +Nem\nÜgytípus *\n"));
    EXPECT_THAT(text, HasSubstr("Előzmények"));
    EXPECT_THAT(text,
                testing::ContainsRegex("Idő +Iktatószám +Felhasználó +Művelet +Mező +Régi érték +Új érték +Lánc"));
    // Each row with the start of its hash in the history's chain (the
    // printer's font joins "ff" into one glyph, which pdftotext reads as
    // U+FB00).
    for (size_t at; (at = text.find("\xef\xac\x80")) != std::string::npos;) text.replace(at, 3, "ff");
    std::string voidHash =
        rows("Select substr(ChainHash, 1, 8) from DocumentHistory where Action = 'érvénytelenítés'").at(0);
    EXPECT_THAT(text, testing::ContainsRegex("ugyfel +érvénytelenítés +Indok +Kétszer iktatva +" + voidHash));
    EXPECT_THAT(text, testing::ContainsRegex("ugyfel +módosítás +Tárgy +Téves +Téves tárgy"));
    EXPECT_THAT(text, testing::ContainsRegex("ugyfel +felvitel +Iktatószám +2001"));
    EXPECT_THAT(text, HasSubstr("1. oldal / 1"));
}

// The paper names the document's files, each with its size, checksum and
// who added it, and the history says the registry number of each step.
TEST_F(Printing, OneDocumentPrintsItsAttachmentsAndTheRegistryNumberOfEachStep)
{
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        velmora::runNumberingCommand(c, {"set", "Iktatoszam"});
    }
    std::string letter = folder.file("level.txt");
    std::ofstream(letter) << "Tisztelt Hivatal!\n";
    std::string pdf = folder.file("egy.pdf");
    // The number field takes no input: typing goes to the subject.
    std::string out = play(click("btnNew") + "type Csatolt\n" + click("btnSave") + "attach " + letter +
                           "\nmenu Dokumentum|Dokumentum nyomtat\xc3\xa1sa\ntype " + pdf + "\nkey enter\n");
    std::string text = commandOutput("pdftotext -layout '" + pdf + "' -");
    // (pdftotext may read "ff" in the checksum as a ligature.) The line is
    // long enough to wrap, which puts its caption beside its second line.
    EXPECT_THAT(text, testing::ContainsRegex("level.txt \\(18 bájt\\), SHA-256: 85ad4966.*, csatolta: ugyfel"))
        << out << text;
    EXPECT_THAT(text, HasSubstr("Melléklet"));
    EXPECT_THAT(text, testing::ContainsRegex("szöveg:\\s+(Melléklet\\s+)?nem olvasható típus"));
    EXPECT_THAT(text, testing::ContainsRegex("1004 +ugyfel +csatolás"));
    EXPECT_THAT(rows("Select RegistryNumber, Action from DocumentHistory order by HistoryID"),
                testing::ElementsAre("1004|felvitel", "1004|csatolás"));
}

// The same document on paper: the "Mentés" window lists the CUPS queue,
// "Nyomtatás" sends the job, and the queue keeps what it got.
TEST_F(Printing, TheDocumentGoesToACupsQueue)
{
    CupsQueue queue;
    if (!queue.running()) GTEST_SKIP() << "No CUPS server for the test: " << queue.why;
    cupsServer = queue.socket();
    std::string out = play(enteredChangedAndVoided() +
                           "key f6\nget frmSaveFile.cbPrinter.Text\nget frmSaveFile.btnPrint.Enabled\n"
                           "key tab\nkey tab\nkey space\nget frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(out, HasSubstr("'Iroda'\nTrue\n'Nyomtatva: Iroda'\n"));
    ASSERT_TRUE(queue.waitForJob()) << out;
    std::string text = commandOutput("pdftotext -layout '" + queue.jobFile() + "' -");
    EXPECT_THAT(text, HasSubstr("Ügyfélszolgálat, Iktatószám: 2001"));
    EXPECT_THAT(text, HasSubstr("ÉRVÉNYTELENÍTVE: Kétszer iktatva"));
    EXPECT_THAT(text, testing::ContainsRegex("ugyfel +módosítás +Tárgy +Téves +Téves tárgy"));
}

// A list as a spreadsheet: the titles bold in a frozen first row, numbers
// as numbers, dates as dates, the rest text.
TEST_F(Printing, AListExportsAsASpreadsheetWithTypedCells)
{
    std::string xlsx = folder.file("lista.xlsx");
    play(searchTab() + click("btnSearch") + click("btnPrint") + "type " + xlsx + "\nkey enter\n");
    std::string cells = commandOutput(
        // Debian's own Python, whose openpyxl the set-up installs.
        "/usr/bin/python3 -c \"import openpyxl,sys\n"
        "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
        "print(ws.title, ws.freeze_panes, ws.max_row, ws.max_column)\n"
        "print('|'.join(c.value for c in ws[1]), all(c.font.b for c in ws[1]))\n"
        "for row in ws.iter_rows(min_row=2, max_row=3):\n"
        "    print('|'.join(type(c.value).__name__ + ':' + str(c.value) for c in row))\n\" '" +
        xlsx + "' 2>&1");
    EXPECT_EQ(cells,
              "Dokumentumok A2 4 7\n"
              "Azonosító|Érvénytelenítve|Iktatószám|Tárgy|Érkezett|Lezárt|Ügytípus True\n"
              "int:3|NoneType:None|int:1003|str:Szerződés módosítás|NoneType:None|str:Nem|NoneType:None\n"
              "int:2|NoneType:None|int:1002|str:Számla reklamáció|datetime:2026-11-16 00:00:00|str:Nem|str:"
              "Reklamáció\n");
}

namespace {

// A platform with a file dialog of its own that says which types it was
// asked to offer.
class DialogPlatform : public tk::HeadlessPlatform {
public:
    bool hasFileDialog() const override { return true; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&,
                                              const std::vector<std::string>& types) override
    {
        offered = types;
        return std::string();
    }
    std::vector<std::string> offered;
};

}  // namespace

// "Tallózás…" offers what the printout can be saved as: one document a
// PDF only, a list also CSV and a spreadsheet.
TEST(PrintDialog, TheFileDialogOffersOnlyTheTypesThePrintoutCanBeSavedAs)
{
    DialogPlatform platform;
    tk::TApplication app(platform);
    for (auto [types, offered] : {std::pair{velmora::documentTypes, std::vector<std::string>{".pdf"}},
                                  {velmora::listTypes, std::vector<std::string>{".pdf", ".csv", ".xlsx"}}}) {
        auto dialog = tk::createOwnedForm<velmora::TfrmSaveFile>(types, std::vector<std::string>{});
        auto* browse = tk::as<tk::TButton>(dialog->findComponent("btnBrowse"));
        ASSERT_TRUE(browse && browse->visible());
        browse->click();
        EXPECT_EQ(platform.offered, offered) << velmora::endingsText(types);
    }
}
