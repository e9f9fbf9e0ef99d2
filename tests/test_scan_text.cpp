// The text of attached scans and PDFs, read by velmora-read while the
// clerk works, listed with each file, and found by "Hasonló" when the
// search menu's "Mellékletekben is" is on.
#include "EntryTest.h"
#include "Scans.h"
#include "db/Statement.h"
#include "entry/ReaderProcess.h"
#include "registry/ReaderOutput.h"

#include <sys/wait.h>

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
    EXPECT_EQ(rows("Select AttachmentID, State, Pages, ReadBy from AttachmentText order by AttachmentID"),
              (std::vector<std::string>{"1|done|1|ugyfel", "2|unreadable|0|ugyfel", "3|done|1|ugyfel",
                                        "4|done|1|ugyfel", "5|done|2|ugyfel", "6|done|2|ugyfel"}));

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
    // The document's printout lists each file with its text's state.
    std::string printed = folder.file("harmadik.pdf");
    play(show(1003) + "key f6\ntype " + printed + "\nkey enter\n");
    std::string paper = commandOutput("pdftotext -layout '" + printed + "' -");
    EXPECT_THAT(paper, testing::ContainsRegex("kétoldalas.pdf \\([0-9]+ bájt\\)"));
    EXPECT_THAT(paper, HasSubstr("szöveg: kész, 2 oldal"));

    // A field's own match is no file's: the subject of 1002 is found as before.
    EXPECT_EQ(inFiles("reklam"), (std::vector<std::string>{"2"}));
    EXPECT_THAT(last, Not(HasSubstr("Csak mell")));
}

// Without Tesseract's language data a PDF's own text is still read; a
// scan waits, and the program says why once, and under the list.
TEST_F(ScanText, WithoutTheLanguageDataScansWaitAndTheProgramSaysWhyOnce)
{
    environment = "TESSDATA_PREFIX='" + folder.file("nincs") + "'";
    std::string scan = folder.file("szkennelt.png"), letter = folder.file("levél.pdf");
    scans::writePage(scan, scans::pageLines("Kutyaengedély"));
    scans::writeTextAndPicturePdf(letter, scans::pageLines("Útfelújítás"), {});
    // The status bar says it when the scan is tried; trying again later
    // (another document shown meanwhile) says nothing more.
    std::string out = play(show(1001) + "attach " + letter + "\nattach " + scan +
                           "\nreadattachments\nget frmClientMain.StatusBar1.SimpleText\n" + show(1002) +
                           "readattachments\nget frmClientMain.StatusBar1.SimpleText\n" + show(1001) +
                           "key f11\nrows frmAttachments.dbgAttachments\nget frmAttachments.lblReading.Caption\n"
                           "key esc\n");
    std::vector<std::string> l = lines(out);
    EXPECT_EQ(std::count_if(l.begin(), l.end(),
                            [](const std::string& s) { return s.find("nyelvi adatai") != std::string::npos; }),
              1)
        << out;
    EXPECT_THAT(out, HasSubstr("\nszkennelt.png\t"));
    EXPECT_THAT(out, HasSubstr("\tvárakozik\n"));
    EXPECT_THAT(out, HasSubstr("tesseract-ocr-hun csomagot"));
    EXPECT_THAT(out, HasSubstr("\nlevél.pdf\t"));
    EXPECT_THAT(out, HasSubstr("\tkész, 1 oldal\n"));
    EXPECT_EQ(rows("Select AttachmentID, State, Pages from AttachmentText order by AttachmentID"),
              (std::vector<std::string>{"1|done|1", "2|waiting|0"}));
}

// velmora-read stopped at each of its limits, or broken, ends as a failed
// reading that says why, in about the time its limit gives; the program
// that started it goes on.
TEST(ReaderProcess, AReaderThatHangsCrashesTalksNonsenseOrRunsOutOfMemoryEndsAsAFailedReading)
{
    TempFolder folder;
    auto fake = [&](const std::string& name, const std::string& body) {
        std::string path = folder.file(name);
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    };
    std::string page = folder.file("oldal.png");
    scans::writePage(page, scans::pageLines("Kutyaengedély"));
    auto readWith = [&](const std::string& reader, velmora::ReaderLimits limits) {
        setenv("VELMORA_READER", reader.c_str(), 1);
        velmora::ReaderProcess process(page, "image/png", limits);
        velmora::ReaderOutput out = process.wait();
        unsetenv("VELMORA_READER");
        return out;
    };
    velmora::ReaderLimits quick;
    quick.seconds = 2;
    auto started = std::chrono::steady_clock::now();
    velmora::ReaderOutput hung = readWith(fake("alszik", "sleep 60"), quick);
    EXPECT_EQ(hung.state, "failed");
    EXPECT_THAT(hung.reason, HasSubstr("időkorlátot (2 mp)"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));

    // A reading given up mid-way (the program closing) leaves no process,
    // not even one waiting to be reaped.
    {
        setenv("VELMORA_READER", folder.file("alszik").c_str(), 1);
        velmora::ReaderProcess givenUp(page, "image/png", quick);
        unsetenv("VELMORA_READER");
    }
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);

    velmora::ReaderOutput crashed = readWith(fake("elszall", "kill -SEGV $$"), quick);
    EXPECT_EQ(crashed.state, "failed");
    EXPECT_THAT(crashed.reason, HasSubstr("leállt"));

    // A reader that is not there leaves the file waiting.
    velmora::ReaderOutput absent = readWith(folder.file("nincs-ilyen"), quick);
    EXPECT_EQ(absent.state, "missing");
    EXPECT_THAT(absent.reason, HasSubstr("nem indítható el"));

    velmora::ReaderOutput nonsense = readWith(fake("zagyval", "echo 'velmora-read 1'; echo 'state: done'"), quick);
    EXPECT_EQ(nonsense.state, "failed");
    EXPECT_THAT(nonsense.reason, HasSubstr("érthetetlen"));

    velmora::ReaderLimits small = quick;
    small.maxOutputBytes = 1 << 16;
    velmora::ReaderOutput flood = readWith(fake("araszt", "yes velmora"), small);
    EXPECT_EQ(flood.state, "failed");
    EXPECT_THAT(flood.reason, HasSubstr("túl hosszú"));

    // The real reader in 64 MiB: the language data alone is more.
    velmora::ReaderLimits cramped;
    cramped.memoryBytes = size_t{64} << 20;
    velmora::ReaderProcess real(page, "image/png", cramped);
    EXPECT_EQ(real.wait().state, "failed") << real.result().reason;

    // Broken files of every type the reader reads fail in words.
    std::ofstream(folder.file("tort.pdf")) << "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 9 0 R >> endobj\n";
    velmora::ReaderProcess pdf(folder.file("tort.pdf"), "application/pdf");
    EXPECT_EQ(pdf.wait().state, "failed");
    std::ofstream(folder.file("tort.png")) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\xea\x60\0\0\xea\x60", 24);
    velmora::ReaderProcess png(folder.file("tort.png"), "image/png");
    EXPECT_EQ(png.wait().state, "failed");
    std::ofstream(folder.file("tort.tif")) << std::string("II*\0\x08\0\0\0\xff\xff", 10);
    velmora::ReaderProcess tif(folder.file("tort.tif"), "image/tiff");
    EXPECT_EQ(tif.wait().state, "failed");
}

// The output's form: what the reader writes reads back, and anything
// that breaks the form or disagrees with itself reads as nothing.
TEST(ReaderProcess, TheReadersOutputReadsBackAndNothingElseDoes)
{
    velmora::ReaderOutput out;
    out.state = "done";
    out.engine = "Tesseract 5.3.0, Poppler 22.12.0";
    out.languages = "hun+eng";
    out.pages = {"Első oldal\nkét sor", "", "Harmadik\f oldal"};
    std::optional<velmora::ReaderOutput> back = velmora::parseReaderOutput(velmora::writeReaderOutput(out));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pages, (std::vector<std::string>{"Első oldal\nkét sor", "", "Harmadik oldal"}));
    EXPECT_EQ(back->engine, out.engine);
    std::string good = velmora::writeReaderOutput(out);
    for (const std::string& bad :
         {std::string(), good.substr(1), good.substr(0, good.find("text:")), std::string("velmora-read 1\nstate: maybe\n"),
          std::string(good).replace(good.find("pages: 3"), 8, "pages: 4"),
          std::string(good).replace(good.find("pages: 3"), 8, "pages: x"),
          std::string(good).replace(good.find("state: done"), 11, "state: unreadable")})
        EXPECT_FALSE(velmora::parseReaderOutput(bad)) << bad;
}

// velmora-admin reads what waits, what an older engine read, and with
// --all everything again, saying each file and the time left.
TEST_F(ScanText, TheAdministratorReadsWhatWaitsWhatAnOlderReaderReadAndEverythingAgain)
{
    std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, folder.file("velmora-admin"));
    std::filesystem::permissions(folder.file("velmora-admin"), std::filesystem::perms::owner_all);
    auto admin = [&](const std::string& words) {
        return commandOutput("cd '" + folder.path() + "' && ./velmora-admin " + words + " 2>&1");
    };
    std::string first = folder.file("elso.png"), second = folder.file("masodik.png");
    scans::writePage(first, scans::pageLines("Kutyaengedély"));
    scans::writePage(second, scans::pageLines("Halászjegy"));
    play(show(1002) + "attach " + first + "\nattach " + second + "\n");
    // Waiting from the moment they were attached, until read.
    EXPECT_EQ(rows("Select State from AttachmentText"), (std::vector<std::string>{"waiting", "waiting"}));

    std::string out = admin("attachments read");
    EXPECT_THAT(out, HasSubstr("1\tdocument 2\telso.png\tkész, 1 oldal\n2\tdocument 2\tmasodik.png\tkész, 1 oldal\n"));
    EXPECT_THAT(out, testing::ContainsRegex("Read 2 files with Tesseract [0-9.]+, Poppler [0-9.]+: 2 read, 0 not."));
    EXPECT_THAT(admin("attachments read"), HasSubstr("Read 0 files"));
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Update AttachmentText set Engine = 'Tesseract 4.1.1, Poppler 20.09.0' where AttachmentID = 2");
    }
    EXPECT_THAT(admin("attachments read"), HasSubstr("2\tdocument 2\tmasodik.png\tkész, 1 oldal\nRead 1 files"));
    EXPECT_THAT(admin("attachments read --all"), HasSubstr("Read 2 files"));
    EXPECT_THAT(admin("attachments read now"), HasSubstr("usage"));
    std::string reader = rolesRun() ? std::getenv("PGUSER") : "velmora-admin";
    EXPECT_EQ(rows("Select ReadBy from AttachmentText order by AttachmentID"),
              (std::vector<std::string>{reader, reader}));
}
