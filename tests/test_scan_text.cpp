// The text of attached scans and PDFs, read by velmora-read while the
// clerk works, listed with each file, and found by "Hasonló" when the
// search menu's "Mellékletekben is" is on.
#include "EntryTest.h"
#include "Scans.h"
#include "entry/ReaderProcess.h"
#include "registry/ReaderOutput.h"

using testing::HasSubstr;
using testing::Not;

namespace {

class ScanText : public EntryTest {
protected:
    // Shows the document with registry number `number`.
    static std::string show(int number) { return "key f3\ntype " + std::to_string(number) + "\nkey enter\n"; }
    std::string menuAttachments() { return "menu Keres\xc3\xa9s|Mell\xc3\xa9kletekben is\n"; }
};

}  // namespace

TEST_F(ScanText, ScansAndPdfPagesAreReadListedAndFoundByWhatTheySay)
{
    std::string clean = folder.file("tiszta.png"), turned = folder.file("ferde.png"), speckled = folder.file("poros.png");
    std::string pdf = folder.file("kétoldalas.pdf"), tiff = folder.file("többoldalas.tif");
    scans::writePage(clean, scans::pageLines("Kutyaengedély"));
    scans::writePage(turned, scans::pageLines("Halászjegy"), scans::Look::Turned);
    scans::writePage(speckled, scans::pageLines("Fakivágás"), scans::Look::Speckled);
    scans::writeTextAndPicturePdf(pdf, scans::pageLines("Útfelújítás"), scans::pageLines("Hídlezárás"));
    scans::writeTiff(tiff, {scans::pageLines("Gázóra"), scans::pageLines("Vízóra")});
    std::string note = folder.file("jegyzet.txt");
    std::ofstream(note) << "Kutyaengedély\n";

    // Attached to three documents; the clerk's program reads them as it
    // goes on, and its list shows each file's state.
    std::string out = play(show(1001) + "attach " + clean + "\nattach " + note + "\n" + show(1002) + "attach " +
                           turned + "\nattach " + speckled + "\n" + show(1003) + "attach " + pdf + "\nattach " + tiff +
                           "\nkey f11\nrows frmAttachments.dbgAttachments\nkey esc\nreadattachments\nkey f11\n"
                           "rows frmAttachments.dbgAttachments\nkey esc\n" +
                           show(1001) + "key f11\nrows frmAttachments.dbgAttachments\nkey esc\n");
    EXPECT_THAT(out, HasSubstr("kétoldalas.pdf\t")) << out;
    EXPECT_THAT(out, HasSubstr("\tvárakozik\n")) << out;
    EXPECT_THAT(out, HasSubstr("\tkész, 2 oldal\n")) << out;
    EXPECT_THAT(out, HasSubstr("jegyzet.txt\t")) << out;
    EXPECT_THAT(out, HasSubstr("\tnem olvasható típus\n")) << out;
    EXPECT_EQ(rows("Select count(*) from AttachmentText where State = 'done'"), (std::vector<std::string>{"5"}));
    EXPECT_EQ(rows("Select AttachmentID, Pages, ReadBy from AttachmentText order by AttachmentID"),
              (std::vector<std::string>{"1|1|ugyfel", "3|1|ugyfel", "4|1|ugyfel", "5|2|ugyfel", "6|2|ugyfel"}));

    // Every page's keyword finds its document, typed with its accents or
    // without, and only with "Mellékletekben is" on; a document found by
    // a file alone says which file in the grid's second column.
    EXPECT_EQ(found({{"TZEDit5", "type Kutyaenged\xc3\xa9ly\n"}}), (std::vector<std::string>{}));
    auto inFiles = [&](const std::string& typed) {
        last = play(menuAttachments() + searchTab() + click("TZEDit5") + "type " + typed + "\n" + click("btnSearch") +
                    "rows frmClientMain.dbgSearch\n");
        return foundIds(last);
    };
    EXPECT_EQ(inFiles("Kutyaenged\xc3\xa9ly"), (std::vector<std::string>{"1"})) << last;
    EXPECT_THAT(last, HasSubstr("\n1\tCsak mell\xc3\xa9kletben: tiszta.png\t")) << last;
    EXPECT_EQ(inFiles("kutyaengedely"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(inFiles("Hal\xc3\xa1szjegy"), (std::vector<std::string>{"2"}));
    EXPECT_EQ(inFiles("fakivagas"), (std::vector<std::string>{"2"}));
    EXPECT_EQ(inFiles("\xc3\x9atfel\xc3\xbaj\xc3\xadt\xc3\xa1s"), (std::vector<std::string>{"3"}));  // the PDF's text
    EXPECT_EQ(inFiles("hidlezaras"), (std::vector<std::string>{"3"}));  // its page that is a picture
    EXPECT_EQ(inFiles("V\xc3\xadz\xc3\xb3ra"), (std::vector<std::string>{"3"}));  // the TIFF's second page
    // Words every page holds, with every accent: all three documents.
    EXPECT_EQ(inFiles("\xc3\x81rv\xc3\xadzt\xc5\xb1r\xc5\x91 t\xc3\xbck\xc3\xb6rf\xc3\xbar\xc3\xb3g\xc3\xa9p"),
              (std::vector<std::string>{"3", "2", "1"}));
    // A field's own match is no file's: the subject of 1002 is found as before.
    EXPECT_EQ(inFiles("reklam"), (std::vector<std::string>{"2"}));
    EXPECT_THAT(last, Not(HasSubstr("Csak mell")));
}
