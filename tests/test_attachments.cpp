// Files attached to documents in the clerk's program: added, listed,
// saved back byte for byte, removed by the rules, checked by their
// checksum, and kept in chunks beside Document.
#include "EntryTest.h"
#include "NoiseFile.h"
#include "db/Statement.h"
#include "entry/Attachments.h"
#include "entry/History.h"
#include "entry/Refusal.h"
#include "registry/RegistryTables.h"
#include "toolkit/text/Text.h"

#include <sodium.h>

using testing::HasSubstr;
using testing::Not;

namespace {

class Attachments : public EntryTest {
protected:
    // Shows document 2 (registry number 1002) on the entry page.
    static std::string showSecond() { return "key f3\ntype 1002\nkey enter\n"; }
    std::string write(const std::string& name, const std::string& bytes)
    {
        std::string path = folder.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string readFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::string sha256(const std::string& bytes)
    {
        unsigned char digest[crypto_hash_sha256_BYTES];
        crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        std::string out;
        char two[3];
        for (unsigned char b : digest) {
            std::snprintf(two, sizeof two, "%02x", b);
            out += two;
        }
        return out;
    }
    // The lines `attachments` printed last.
    static std::vector<std::string> listed(const std::string& out)
    {
        std::vector<std::string> files, listing;
        for (const std::string& line : lines(out)) {
            if (line == "end") {
                files = listing;
                listing.clear();
            } else if (std::count(line.begin(), line.end(), '\t') == 3 &&
                       (line.ends_with("\tpresent") || line.ends_with("\tremoved"))) {
                listing.push_back(line);
            }
        }
        return files;
    }
};

// A scan-like PDF a little over two chunks, so its bytes cross chunk edges.
std::string scan()
{
    std::string bytes = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    for (size_t i = 0; bytes.size() < 2 * velmora::attachmentChunkBytes + 12345; ++i)
        bytes += static_cast<char>((i * 7919 + i / 13) & 0xff);
    return bytes;
}

}  // namespace

TEST_F(Attachments, AScanIsAttachedKeptAfterARestartSavedBackWholeAndRemovedByItsAdderOnly)
{
    std::string bytes = scan();
    std::string path = write("levél 2026.pdf", bytes);
    std::string out =
        play(showSecond() + "attach " + path + "\nget frmClientMain.StatusBar1.SimpleText\nattachments\n");
    std::string sum = sha256(bytes);
    EXPECT_THAT(out, HasSubstr("'Csatolva: lev'#233'l 2026.pdf'"));
    ASSERT_EQ(listed(out),
              (std::vector<std::string>{"levél 2026.pdf\t" + std::to_string(bytes.size()) + "\t" + sum + "\tpresent"}));
    // Stored beside Document in chunks of 1 MiB, with its type by content
    // and its history row.
    EXPECT_EQ(rows("Select count(*), min(length(Bytes)) from DocumentAttachmentChunk"),
              (std::vector<std::string>{"3|12345"}));
    EXPECT_EQ(rows("Select DocumentID, FileName, ContentType, AddedBy from DocumentAttachment"),
              (std::vector<std::string>{"2|levél 2026.pdf|application/pdf|ugyfel"}));
    EXPECT_EQ(history().back(), "2|3|csatolás");
    EXPECT_EQ(
        rows("Select NewValue from DocumentChange where HistoryID = (Select max(HistoryID) from DocumentHistory)"),
        (std::vector<std::string>{"levél 2026.pdf (SHA-256 " + sum + ")"}));

    // Another run of the program finds it and writes it back byte for byte.
    std::string copy = folder.file("másolat.pdf");
    out = play(showSecond() + "attachments\nsaveattachment 1 " + copy + "\n");
    EXPECT_EQ(listed(out).size(), 1u);
    EXPECT_EQ(readFile(copy), bytes);

    // The same file again is asked about: Esc leaves one; Igen adds it.
    out = play(showSecond() + "attach " + path + "\nwindows\nkey esc\nattachments\n");
    EXPECT_THAT(out, HasSubstr("frmAttachAgain"));
    EXPECT_EQ(listed(out).size(), 1u) << out;
    out = play(showSecond() + "attach " + path + "\nkey enter\nattachments\n");
    EXPECT_EQ(listed(out).size(), 2u) << out;

    // Another clerk may not remove a file, nor its adder on a later day;
    // on the day its adder may, once; the row stays, marked, with a
    // history row.
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Update DocumentAttachment set AddedBy = 'masik' where AttachmentID = 2");
        db::execute(c, "Update DocumentAttachment set AddedAt = '2026-01-05 09:00:00' where AttachmentID = 1");
    }
    std::string note = write("feljegyzes.txt", "Telefonon egyeztetve.\n");
    out = play(showSecond() + "detach 2\nkey enter\ndetach 1\nkey enter\nattach " + note +
               "\ndetach 3\ndetach 3\nkey enter\nattachments\n");
    EXPECT_THAT(out, HasSubstr("error: A mellékletet csak az törölheti, aki csatolta (masik): levél 2026.pdf"));
    EXPECT_THAT(out, HasSubstr("error: A mellékletet csak a csatolás napján lehet törölni: levél 2026.pdf"));
    EXPECT_THAT(out, HasSubstr("error: A mellékletet már törölték: feljegyzes.txt"));
    std::vector<std::string> files = listed(out);
    ASSERT_EQ(files.size(), 3u) << out;
    EXPECT_THAT(files[0], testing::EndsWith("\tpresent"));
    EXPECT_THAT(files[1], testing::EndsWith("\tpresent"));
    EXPECT_THAT(files[2], testing::EndsWith("\tremoved"));
    EXPECT_EQ(history().back(), "2|3|csatolás törlése");
    EXPECT_EQ(rows("Select count(*) from DocumentAttachmentChunk"), (std::vector<std::string>{"7"}));
}

TEST_F(Attachments, RefusedWhereNothingIsShownOnAVoidedDocumentOverTheLimitAndACorruptedFileIsNotWritten)
{
    std::string path = write("kicsi.txt", "Tisztelt Hivatal!\n");
    std::string out = play("attach " + path + "\nkey enter\n" + showSecond() + "attach " + folder.file("nincs.txt") +
                           "\nkey enter\nattach " + folder.path() + "\nkey enter\n");
    EXPECT_THAT(out, HasSubstr("error: Nincs megjelenített dokumentum: előbb keressen meg vagy vigyen fel egyet."));
    EXPECT_THAT(out, HasSubstr("error: A fájl nem olvasható: " + folder.file("nincs.txt")));
    EXPECT_THAT(out, HasSubstr("error: Csak fájlt lehet csatolni: " + folder.path()));

    // Over the limit: refused before anything is written.
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        velmora::ensureAttachmentTables(c);
        velmora::setAttachmentLimit(c, 10);
    }
    out = play(showSecond() + "attach " + path + "\n");
    EXPECT_THAT(out, HasSubstr("error: A fájl túl nagy a csatoláshoz: kicsi.txt (18 bájt, legfeljebb 10)"));
    EXPECT_EQ(rows("Select count(*) from DocumentAttachment"), (std::vector<std::string>{"0"}));

    // A changed chunk is noticed when the file is read back, and the copy
    // is not left behind.
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        velmora::setAttachmentLimit(c, velmora::defaultAttachmentLimit);
    }
    out = play(showSecond() + "attach " + path + "\n");
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Update DocumentAttachmentChunk set Bytes = :Bytes",
                    {{"Bytes", db::Cell::bytes("Tisztelt Hivatal?\n")}});
    }
    std::string copy = folder.file("vissza.txt");
    out = play(showSecond() + "saveattachment 1 " + copy + "\n");
    EXPECT_THAT(out, HasSubstr("error: A melléklet sérült: tartalma nem egyezik az ellenőrzőösszegével: kicsi.txt"));
    EXPECT_FALSE(std::filesystem::exists(copy));
    // A good file in its place stays as it was, and nothing is left beside it.
    std::ofstream(copy) << "Régi, jó tartalom\n";
    out = play(showSecond() + "saveattachment 1 " + copy + "\n");
    EXPECT_THAT(out, HasSubstr("error: A melléklet sérült"));
    EXPECT_EQ(readFile(copy), "Régi, jó tartalom\n");
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_THAT(entry.path().filename().string(), testing::Not(HasSubstr(".velmora-"))) << "left behind";

    // A voided document takes no more files.
    out = play(showSecond() + "key f8\ntype T\xc3\xa9ved\xc3\xa9s\nkey enter\nattach " + path + "\n");
    EXPECT_THAT(out, HasSubstr("error: Érvénytelenített dokumentumhoz nem lehet fájlt csatolni."));
    EXPECT_EQ(rows("Select count(*) from DocumentAttachment"), (std::vector<std::string>{"1"}));
}

TEST_F(Attachments, ANameIsKeptAsTheFileHadItAndWrittenOutOnlyAsASafeName)
{
    // Stored as the clerk's file had it, in Unicode.
    std::string odd = std::string("\xc3\x81rv\xc3\xadzt\xc5\xb1r\xc5\x91 ") + std::string(150, 'x') + ".txt";
    std::string path = write(odd, "tartalom");
    play(showSecond() + "attach " + path + "\n");
    EXPECT_EQ(rows("Select FileName from DocumentAttachment"), (std::vector<std::string>{odd}));
    // A name from an older system (Windows-1250 bytes, "Árvíztűrő.txt")
    // is stored readable in UTF-8, alike on both engines, and a control
    // character in a name reaches no list as it is.
    std::string latin2 = write("\xc1rv\xedzt\xfbr\xf5.txt", "régi rendszerből");
    std::string escape = write("szinek\x1b[31m.txt", "színes név");
    std::string out = play(showSecond() + "attach " + latin2 + "\nattach " + escape + "\nattachments\n");
    EXPECT_THAT(out, Not(HasSubstr("error"))) << out;
    EXPECT_THAT(rows("Select FileName from DocumentAttachment order by AttachmentID"),
                testing::ElementsAre(odd, "Árvíztűrő.txt", "szinek\xe2\x90\x9b[31m.txt"))
        << out;
    EXPECT_THAT(out, Not(HasSubstr("\x1b")));

    using velmora::safeFileName;
    EXPECT_EQ(safeFileName("../x"), "x");
    EXPECT_EQ(safeFileName("/etc/passwd"), "passwd");
    EXPECT_EQ(safeFileName(".."), "melleklet");
    EXPECT_EQ(safeFileName("...."), "melleklet");
    EXPECT_EQ(safeFileName(""), "melleklet");
    EXPECT_EQ(safeFileName("-rf"), "rf");
    EXPECT_EQ(safeFileName(".bashrc"), "bashrc");
    EXPECT_EQ(safeFileName("a\nb\tc\x1b[31m.pdf"), "a_b_c_[31m.pdf");
    EXPECT_EQ(safeFileName("dir\\..\\x.pdf"), "dir_.._x.pdf");
    // "/" and "." spelt in overlong UTF-8 are no letters: the name stays in its folder.
    EXPECT_EQ(safeFileName("..\xc0\xaf..\xc0\xaf" "etc\xc0\xafpasswd"),
              "\xef\xbf\xbd\xef\xbf\xbd..\xef\xbf\xbd\xef\xbf\xbd" "etc\xef\xbf\xbd\xef\xbf\xbdpasswd");
    EXPECT_EQ(safeFileName("\xc0\xae\xc0\xae"), "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd");
    EXPECT_EQ(tk::toU32("\xe0\x80\xaf\xed\xa0\x80\xf4\x90\x80\x80\xc5\x91"),
              (std::u32string{0xfffd, 0xfffd, 0xfffd, 0xfffd, 0xfffd, 0xfffd, 0xfffd, 0xfffd, 0xfffd, 0xfffd, 0x151}));
    std::string longName = safeFileName(std::string(300, 'a') + ".pdf");
    EXPECT_EQ(longName.size(), 200u);
    // Cut at whole letters: 101 two-byte letters do not fit in 200 bytes.
    std::string accented;
    for (int i = 0; i < 101; ++i) accented += "\xc5\x91";
    EXPECT_EQ(safeFileName(accented).size(), 200u);
}

TEST_F(Attachments, TheWindowAttachesOpensAReadOnlyCopyAndNeverOpensAScript)
{
    std::string scan = write("beadvány.pdf", "%PDF-1.4\n1 0 obj << >> endobj\ntrailer << >>\n%%EOF\n");
    std::string script = write("szamla.pdf", "#!/bin/sh\nrm -rf \"$HOME\"\n");
    // F11 opens the window; "Csatolás…" asks for a path headless.
    Rect attach{}, open{}, grid{};
    {
        auto l = lines(play(showSecond() + "key f11\nwhere frmAttachments.btnAttach\nwhere frmAttachments.btnOpen\n"
                                           "where frmAttachments.dbgAttachments\n"));
        std::vector<Rect> spots;
        for (const std::string& line : l)
            if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) spots.push_back(rect(line));
        ASSERT_EQ(spots.size(), 3u);
        attach = spots[0];
        open = spots[1];
        grid = spots[2];
    }
    auto clickOn = [](const Rect& r) {
        return "click " + std::to_string(r.cx()) + " " + std::to_string(r.cy()) + "\n";
    };
    std::string out = play(showSecond() + "key f11\n" + clickOn(attach) +
                           "get frmAttachFile.lblQuestion.Caption\ntype " + scan + "\nkey enter\n" + clickOn(attach) +
                           "type " + script + "\nkey enter\nrows frmAttachments.dbgAttachments\n" + clickOn(open) +
                           "click " + std::to_string(grid.left + 40) + " " + std::to_string(grid.top + 28) +
                           "\nkey down\n" + clickOn(open) + "key enter\nkey esc\nattachments\n");
    EXPECT_THAT(out, HasSubstr("'Csatoland'#243' f'#225'jl:'"));
    EXPECT_THAT(out, HasSubstr("Név\tMéret\tTípus\tCsatolta\tCsatolva\tTörölve\tSzöveg\n"
                               "beadvány.pdf\t50\tapplication/pdf\tugyfel\t"));
    EXPECT_THAT(out, HasSubstr("\nszamla.pdf\t25\ttext/x-shellscript\tugyfel\t"));
    EXPECT_THAT(out, HasSubstr("\tnem olvasható típus\n"));
    // The scan is handed over; the script, whatever its name, is not.
    EXPECT_THAT(out, HasSubstr("opened ")) << out;
    EXPECT_EQ(out.find("opened", out.find("opened") + 1), std::string::npos);
    EXPECT_THAT(out, HasSubstr("error: Ez a melléklet nem ismert dokumentum vagy kép (text/x-shellscript), vagy a neve "
                               "nem illik a tartalmához: megnyitni nem lehet, mert program is lehet; csak menthető "
                               "(Mentés másként): szamla.pdf"));

    // The copy handed over is read-only and whole, in a folder of the
    // program's own, and gone with the program.
    std::string copy;
    {
        Live live(*this);
        live.send(login(velmora::entryDemoLogin) + showSecond() + "openattachment 1\n");
        ASSERT_TRUE(live.waitFor("opened ")) << live.printed();
        std::string printed = live.printed();
        size_t at = printed.find("opened ") + 7;
        copy = printed.substr(at, printed.find('\n', at) - at);
        EXPECT_THAT(copy, testing::EndsWith("/beadvány.pdf"));
        EXPECT_EQ(readFile(copy), readFile(scan));
        namespace fs = std::filesystem;
        EXPECT_EQ(fs::status(copy).permissions(), fs::perms::owner_read);
        fs::path own = fs::path(copy).parent_path().parent_path();
        EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all);
    }
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(copy).parent_path().parent_path()));
}

TEST_F(Attachments, TheAdministratorSetsTheLimitAndPurgesFilesRemovedBeforeADay)
{
    std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, folder.file("velmora-admin"));
    std::filesystem::permissions(folder.file("velmora-admin"), std::filesystem::perms::owner_all);
    auto admin = [&](const std::string& words) {
        return commandOutput("cd '" + folder.path() + "' && ./velmora-admin " + words + " 2>&1");
    };
    EXPECT_EQ(admin("attachments limit"), "The largest file that may be attached: 104857600 bytes\n");
    EXPECT_EQ(admin("attachments limit 1K"), "The largest file that may be attached: 1024 bytes\n");
    EXPECT_THAT(admin("attachments limit sok"), HasSubstr("velmora-admin: Not a size: sok"));
    EXPECT_THAT(admin("attachments purge --before tegnap"), HasSubstr("velmora-admin: Not a day: tegnap"));
    std::string big = write("nagy.bin", std::string(1025, 'x'));
    std::string small = write("kicsi.txt", "Tisztelt Hivatal!\n");
    std::string out =
        play(showSecond() + "attach " + big + "\nkey enter\nattach " + small + "\nattach " + big + "\nkey enter\n");
    EXPECT_THAT(out, HasSubstr("error: A fájl túl nagy a csatoláshoz: nagy.bin (1025 bájt, legfeljebb 1024)"));
    EXPECT_EQ(admin("attachments limit 1.5M"), "The largest file that may be attached: 1572864 bytes\n");
    play(showSecond() + "attach " + big + "\ndetach 1\ndetach 2\n");
    EXPECT_THAT(admin("attachments removed"), HasSubstr("\tdocument 2\tkicsi.txt\t18 bytes\tremoved by ugyfel at "));
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Update DocumentAttachment set RemovedAt = '2026-01-10 12:00:00' where AttachmentID = 1");
    }
    EXPECT_EQ(admin("attachments purge --before 2026-01-10"), "No files removed before 2026.01.10.\n");
    EXPECT_THAT(
        admin("attachments purge --before 2026.01.11."),
        testing::MatchesRegex("purged 1\tdocument 2\tkicsi.txt\t18 bytes\tremoved by ugyfel at 2026.01.10. 12:00\n"));
    EXPECT_EQ(rows("Select AttachmentID from DocumentAttachment"), (std::vector<std::string>{"2"}));
    EXPECT_EQ(rows("Select count(*) from DocumentAttachmentChunk where AttachmentID = 1"),
              (std::vector<std::string>{"0"}));
    // Where users are roles of the server, the server names the role
    // that ran velmora-admin.
    std::string purger = rolesRun() ? std::getenv("PGUSER") : "velmora-admin";
    EXPECT_EQ(rows("Select UserLogin, Action from DocumentHistory order by HistoryID desc limit 1"),
              (std::vector<std::string>{purger + "|végleges törlés"}));
}

TEST_F(Attachments, AFileDroppedOnTheWindowIsAttachedAndListed)
{
    std::string scan =
        write("fénykép.jpg", std::string("\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20));
    std::string out = play("drop " + scan + "\nkey enter\n" + showSecond() + "drop " + scan + "\nkey f11\ndrop " +
                           scan + "\nkey enter\nrows frmAttachments.dbgAttachments\nkey esc\n");
    // Nothing shown: refused in words; then on the main window, and on the
    // attachment window (the same file again is asked about).
    EXPECT_THAT(out, HasSubstr("error: Nincs megjelenített dokumentum"));
    EXPECT_THAT(out, HasSubstr("\nfénykép.jpg\t20\timage/jpeg\tugyfel\t"));
    EXPECT_EQ(rows("Select count(*) from DocumentAttachment"), (std::vector<std::string>{"2"}));
}

// The largest file by default, in and out through the store, its checksum
// checked on the way back.
TEST_F(Attachments, AHundredMiBFileRoundTripsWithItsChecksum)
{
    std::string path = folder.file("hatalmas.bin");
    writeNoiseFile(path, 100);
    db::TADOConnection c(nullptr);
    openDataLink(c, udl());
    velmora::ensureHistoryTable(c);
    velmora::ensureAttachmentTables(c);
    velmora::Attachments files(c, 3, "ugyfel");
    velmora::Attachment added = files.add(2, path);
    EXPECT_EQ(added.size, int64_t{100} << 20);
    EXPECT_EQ(added.sha256, velmora::fileSha256(path));
    EXPECT_EQ(rows("Select count(*) from DocumentAttachmentChunk"), (std::vector<std::string>{"100"}));
    std::string copy = folder.file("vissza.bin");
    files.saveTo(added, copy);
    EXPECT_EQ(velmora::fileSha256(copy), added.sha256);
    EXPECT_EQ(std::filesystem::file_size(copy), std::filesystem::file_size(path));
    // One byte changed in the middle chunk by hand is caught.
    db::execute(c, "Update DocumentAttachmentChunk set Bytes = :Bytes where ChunkNo = 50",
                {{"Bytes", db::Cell::bytes(std::string(velmora::attachmentChunkBytes, 'x'))}});
    EXPECT_THROW(files.saveTo(added, copy), velmora::ERefused);
    // The good copy saved before stays whole in its place.
    EXPECT_EQ(velmora::fileSha256(copy), added.sha256);
}

// "Megnyitás" hands over only a document or image whose content and name
// agree; anything else, however it is named, is only saved.
TEST(AttachmentOpening, OnlyKnownDocumentsAndImagesWhoseNameAgreesWithTheirContentAreOpened)
{
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1f\x15\xc4\x89", 33);
    const std::string pdf = "%PDF-1.4\n1 0 obj << >> endobj\ntrailer << >>\n%%EOF\n";
    struct Case {
        const char* name;
        std::string bytes;
        bool opened;
    };
    const Case cases[] = {
        {"beadvány.pdf", pdf, true},
        {"BEADVANY.PDF", pdf, true},
        {"lenyomat.png", png, true},
        {"levél.txt", "Tisztelt Hivatal!\nKérem a mellékelt iratot.\n", true},
        {"lenyomat.txt", png, false},
        {"szamla.pdf", "#!/bin/sh\nrm -rf \"$HOME\"\n", false},
        {"torol.sh", "rm -rf \"$HOME\"\n", false},
        {"indito.desktop", "[Desktop Entry]\nType=Application\nExec=sh -c 'rm -rf ~'\n", false},
        {"futtass.bat", "@echo off\r\ndel /q C:\\*\r\n", false},
        {"futtass.cmd", "@echo off\r\ndel /q C:\\*\r\n", false},
        {"program.exe", std::string("MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff\0\0", 16) + std::string(64, '\0'), false},
        {"szkript.awk", "#!/usr/bin/awk -f\nBEGIN { system(\"id\") }\n", false},
        {"szkript.lua", "os.execute('id')\n", false},
        {"szkript.tcl", "#!/usr/bin/tclsh\nexec id\n", false},
        {"nev_nelkul", "Tisztelt Hivatal!\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(velmora::isViewableDocument(velmora::contentType(c.bytes), c.name), c.opened)
            << c.name << " (" << velmora::contentType(c.bytes) << ")";
}
