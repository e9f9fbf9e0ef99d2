// Importing a register: velmora-admin import reads a CSV file through the
// entry demonstration group's form, checks each row by the form's rules,
// stores all or nothing with a history row each, and is voided as a batch.
// The database is read afterwards.
#include "EntryTest.h"
#include "db/Statement.h"
#include "import/CsvReader.h"
#include "import/ImportedText.h"
#include "toolkit/text/DateReading.h"

#include <atomic>
#include <sstream>
#include <thread>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

class Import : public EntryTest {
protected:
    Import()
    {
        std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, folder.file("velmora-admin"));
        std::filesystem::permissions(folder.file("velmora-admin"), std::filesystem::perms::owner_all);
    }
    // Runs velmora-admin; what it printed (both streams), with the exit status last.
    std::string admin(const std::string& words, const std::string& environment = "")
    {
        return commandOutput("cd '" + folder.path() + "' && LC_ALL=C " + environment + " ./velmora-admin " + words +
                             " 2>&1; echo \"exit $?\"");
    }
    std::string importFile(const std::string& name, const std::string& content, const std::string& options = "")
    {
        std::ofstream(folder.file(name), std::ios::binary) << content;
        return admin("import 'Ügyfélszolgálat' " + name + " --user ugyfel " + options);
    }
    size_t documentCount() { return std::stoul(rows("Select count(*) from Document")[0]); }
    static constexpr const char* header = "Iktatószám;Tárgy;Érkezett;Lezárt;Ügytípus\r\n";
    // The check box's column as "igen" or "nem" (document 1's is checked).
    const std::string closed =
        "CASE WHEN Lezart = (Select Lezart from Document where DocumentID = 1) THEN 'igen' ELSE 'nem' END";
};

TEST_F(Import, AThousandRowsOfEveryFieldKindAndADictionaryAreStoredWithTheirHistory)
{
    const char* dates[] = {"2026.11.16.", "2026-11-16", "2026.11.16", "16/11/2026", "2026-11-16 14:30"};
    const char* kinds[] = {"Panasz", "árajánlat", "Megrendelés", "Új ügytípus", ""};
    std::string file = header;
    for (int i = 0; i < 1000; ++i) {
        std::string subject = i % 7 == 0 ? "\"Idézett \"\"szöveg\"\"; pontosvesszővel\"" : "Tárgy " + std::to_string(i);
        if (i == 500) subject = "\"Két\nsoros\"";
        if (i == 501) subject = "=HYPERLINK(\"x\")";
        file += std::to_string(5000 + i) + ";" + subject + ";" + dates[i % 5] + ";" + (i % 2 ? "Igen" : "Nem") + ";" +
                kinds[i % 5] + (i % 3 ? "\r\n" : "\n");
    }
    std::string out = importFile("register.csv", file);
    EXPECT_THAT(out, HasSubstr("line 5: Ügytípus: Nincs ilyen szótárelem: „Új ügytípus”"));
    EXPECT_THAT(out, HasSubstr("200 rows were refused; nothing was imported.\nexit 1"));
    EXPECT_THAT(out, HasSubstr("... and 100 more refusals"));
    EXPECT_EQ(documentCount(), 3u);

    out = importFile("register.csv", file, "--add-entries");
    // The batch's number is the database's (a sequence on the server goes on past a refused import).
    EXPECT_THAT(out, testing::ContainsRegex("Read 1000 rows of register.csv \\(UTF-8, separated by \";\"\\).\n"
                                            "Imported 1000 documents as batch [0-9]+ \\(void them with: "
                                            "velmora-admin import-void [0-9]+\\).\nexit 0"));
    EXPECT_EQ(documentCount(), 1003u);
    EXPECT_THAT(rows("Select count(*) from Document where Erkezett = '2026-11-16 00:00:00' and Iktatoszam >= 5000"),
                ElementsAre("1000"));
    EXPECT_THAT(
        rows("Select Iktatoszam, Targy, " + closed +
             ", (Select DictionaryItemText from DictionaryItem where "
             "DictionaryItemID = Ugytipus) from Document where Iktatoszam in (5000, 5003, 5004, 5500, 5501) "
             "order by Iktatoszam"),
        ElementsAre("5000|Idézett \"szöveg\"; pontosvesszővel|nem|Panasz", "5003|Tárgy 3|igen|Új ügytípus",
                    "5004|Tárgy 4|nem|null", "5500|Két\nsoros|nem|Panasz", "5501|=HYPERLINK(\"x\")|igen|Árajánlat"));
    EXPECT_THAT(rows("Select count(*) from DictionaryItem where DictionaryItemText = 'Új ügytípus'"), ElementsAre("1"));
    // Each document its history row by the importing login, with the values as the form shows them.
    EXPECT_THAT(
        rows("Select count(*), min(UserLogin), max(UserLogin) from DocumentHistory where Action = 'importálás'"),
        ElementsAre("1000|ugyfel|ugyfel"));
    EXPECT_THAT(rows("Select c.NewValue from DocumentChange c join DocumentHistory h on h.HistoryID = c.HistoryID join "
                     "Document d on d.DocumentID = h.DocumentID where d.Iktatoszam = 5001 order by c.ColumnName"),
                ElementsAre("2026.11.16.", "5001", "Igen", "Tárgy 1", "Árajánlat"));
    EXPECT_THAT(rows("Select Documents, UserLogin, FileName from ImportBatch"),
                ElementsAre("1000|ugyfel|register.csv"));
    EXPECT_THAT(rows("Select count(*) from ImportedDocument"), ElementsAre("1000"));
    // The folded text of the imported documents is there for the clerk's searches.
    std::vector<std::string> hyperlinked = rows("Select DocumentID from Document where Iktatoszam = 5501");
    ASSERT_EQ(hyperlinked.size(), 1u);
    EXPECT_THAT(found({{"TZEDit5", "type hyperlink\n"}}), ElementsAre(hyperlinked[0]));
    EXPECT_EQ(found({{"TZEDit5", "type pontosvessz\n"}}).size(), 143u);
}

TEST_F(Import, AFileWithThreeBadRowsStoresNothingAndNamesEachOne)
{
    std::string file = std::string(header) + "6001;Jó;2026.11.16.;Igen;Panasz\r\n" +
                       "hatezer;Rossz szám;;;\r\n" +     // line 3
                       "6003;Jó;;;\r\n" +                // line 4
                       "6004;;2026.11.16.;;\r\n" +       // line 5: required
                       "6005;Jó;2026.02.30.;Nem;\r\n" +  // line 6: no such day
                       "6006;Jó;;Nem;Panasz\r\n";
    std::string out = importFile("bad.csv", file);
    EXPECT_EQ(out,
              "line 3: Iktatószám: Érvénytelen szám\n"
              "line 5: Tárgy: Kötelező mező\n"
              "line 6: Érkezett: Érvénytelen vagy kétértelmű dátum (2026.02.30.; négyjegyű évvel írja, például "
              "2026.11.16.)\n"
              "Read 6 rows of bad.csv (UTF-8, separated by \";\").\n"
              "3 rows were refused; nothing was imported.\nexit 1\n");
    EXPECT_EQ(documentCount(), 3u);
    EXPECT_THAT(rows("Select count(*) from DocumentHistory"), ElementsAre("0"));
    EXPECT_THAT(rows("Select count(*) from ImportBatch"), ElementsAre("0"));

    // A dry run of a good file checks it and writes nothing.
    out = importFile("good.csv", std::string(header) + "6001;Jó;2026.11.16.;Igen;Új\r\n", "--dry-run --add-entries");
    EXPECT_THAT(out, HasSubstr("Every row would import (a dry run: nothing was written).\nexit 0"));
    EXPECT_EQ(documentCount(), 3u);
    EXPECT_THAT(rows("Select count(*) from DictionaryItem where DictionaryItemText = 'Új'"), ElementsAre("0"));
}

TEST_F(Import, ACsvPrintedByTheClerkImportsBackToTheSameValues)
{
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Update Document set Targy = '=1+1 \"idézet\"; vessző' where DocumentID = 3");
        db::execute(c, "Update Document set Targy = '-5 fok' where DocumentID = 2");
    }
    std::string csv = folder.file("lista.csv");
    found({}, click("btnPrint") + "type " + csv + "\nkey enter\n");
    std::string out = admin("import 'Ügyfélszolgálat' lista.csv --user ugyfel");
    EXPECT_THAT(out, HasSubstr("Imported 3 documents as batch 1")) << out;
    const std::string values =
        "Select Iktatoszam, Targy, Erkezett, " + closed + ", Ugytipus from Document where DocumentID ";
    EXPECT_EQ(rows(values + "> 3 order by Iktatoszam"), rows(values + "<= 3 order by Iktatoszam"));
    EXPECT_EQ(documentCount(), 6u);
}

TEST_F(Import, HeadersMapByCaptionOrColumnAndTheCommandLineDecidesTheRest)
{
    // Any letter case and accents, a column's name, a column left out.
    std::string out = importFile("map.csv", "IKTATOSZAM\ttargy\tÉrkezett:\tMegjegyzés\n7001\tKisbetűs fejléc\t\tx\n",
                                 "--map 'Megjegyzés='");
    EXPECT_THAT(out, HasSubstr("separated by tabs"));
    EXPECT_THAT(out, HasSubstr("Imported 1 documents"));
    EXPECT_THAT(rows("Select Targy from Document where Iktatoszam = 7001"), ElementsAre("Kisbetűs fejléc"));

    out = importFile("map2.csv", "Szám,Subject,Megjegyzés\n7002,Átnevezett,x\n",
                     "--map Szám=Iktatószám --map Subject=Targy");
    EXPECT_THAT(out, HasSubstr("line 1: „Megjegyzés”: no field of the form has this caption or column (leave it out "
                               "with --map \"Megjegyzés=\")\n"));
    EXPECT_THAT(out, HasSubstr("The header was refused; nothing was imported.\nexit 1"));
    out = importFile("map2.csv", "Szám,Subject,Megjegyzés\n7002,Átnevezett,x\n",
                     "--map Szám=Iktatószám --map Subject=Targy --map Megjegyzés= --map Nincs=Targy");
    EXPECT_THAT(out, HasSubstr("line 1: --map names a column the file does not have: „Nincs”"));
    out =
        importFile("map2.csv", "Szám,Subject,Tárgy\n7002,Átnevezett,x\n", "--map Szám=Iktatószám --map Subject=Targy");
    EXPECT_THAT(out, HasSubstr("line 1: „Tárgy”: the field „Tárgy” is filled by column 2 already"));

    // A numbered column takes its numbers from the database in the file's
    // order; a file that gives them is refused.
    EXPECT_THAT(admin("numbering set Iktatoszam"), HasSubstr("exit 0"));
    out = importFile("numbered.csv", "Iktatószám;Tárgy\n;Első\n;Második\n");
    EXPECT_THAT(out, HasSubstr("Imported 2 documents"));
    EXPECT_THAT(rows("Select Iktatoszam, Targy from Document where DocumentID > 4 order by DocumentID"),
                ElementsAre("7002|Első", "7003|Második"));
    out = importFile("numbered.csv", "Iktatószám;Tárgy\n905;Harmadik\n");
    EXPECT_THAT(out, HasSubstr("line 2: Iktatószám: A mező számát az adatbázis adja"));
    EXPECT_THAT(admin("import Nincs numbered.csv --user ugyfel"), HasSubstr("No user group is called Nincs"));
    EXPECT_THAT(admin("import 'Ügyfélszolgálat' numbered.csv --user senki"),
                HasSubstr("No user has the login name senki"));
}

TEST_F(Import, HostileFilesAreRefusedInWordsOrImportedWholeNeverHalfWritten)
{
    auto refused = [&](const std::string& name, const std::string& content, const std::string& options = "") {
        size_t before = documentCount();
        std::string out = importFile(name, content, options);
        EXPECT_THAT(out, HasSubstr("exit 1")) << name;
        EXPECT_EQ(documentCount(), before) << name;
        return out;
    };
    EXPECT_THAT(refused("nul.csv", std::string(header) + "8001;Jó;;;\n" + std::string("8002;a\0b;;;\n", 11)),
                HasSubstr("line 3: the file holds a NUL byte: it is not a text file"));
    EXPECT_THAT(refused("long.csv", std::string(header) + "8001;" + std::string(10 << 20, 'x') + ";;;\n"),
                HasSubstr("line 2: Tárgy: Túl hosszú szöveg (legfeljebb 50 karakter)"));
    EXPECT_THAT(refused("quote.csv", std::string(header) + "8001;Jó;;;\n8002;\"nyitva;;;\n"),
                HasSubstr("line 3: a quote opened here is never closed"));
    std::string wide = "Iktatószám";
    for (int i = 0; i < 10000; ++i) wide += ";Oszlop" + std::to_string(i);
    std::string out = refused("wide.csv", wide + "\n1;\n");
    EXPECT_THAT(out, HasSubstr("line 1: „Oszlop99”: no field"));
    EXPECT_THAT(out, Not(HasSubstr("„Oszlop100”")));
    EXPECT_THAT(out, HasSubstr("... and 9900 more refusals"));
    // Not UTF-8: refused when UTF-8 is said, else read as Windows-1250.
    std::string latin2 =
        "Iktat\xf3sz\xe1m;T\xe1rgy;\xc9rkezett;Lez\xe1rt;\xdcgyt\xedpus\r\n8001;T\xf5zs\xe9r \xe1rok;;;\n";
    EXPECT_THAT(refused("latin2.csv", latin2, "--encoding utf-8"), HasSubstr("line 1: the text is not UTF-8"));
    EXPECT_THAT(importFile("latin2.csv", latin2), HasSubstr("Read 1 rows of latin2.csv (Windows-1250"));
    EXPECT_THAT(rows("Select Targy from Document where Iktatoszam = 8001"), ElementsAre("Tőzsér árok"));
    // Mixed line ends, a byte-order mark, and a formula-looking text stored as it is.
    out = importFile("mixed.csv", "\xEF\xBB\xBF" + std::string(header) + "8002;CRLF;;;\r\n8003;LF;;;\n8004;CR;;;\r" +
                                      "8005;=SUM(A1:A9);;;\r\n");
    EXPECT_THAT(out, HasSubstr("Imported 4 documents"));
    EXPECT_THAT(rows("Select Targy from Document where Iktatoszam > 8001 order by Iktatoszam"),
                ElementsAre("CRLF", "LF", "CR", "=SUM(A1:A9)"));
    EXPECT_THAT(refused("short.csv", std::string(header) + "8006;Túl sok;;;;mező\n"),
                HasSubstr("line 2: the row has 6 fields, the header 5"));
    // Fields short of the header, and text after a closing quote, as
    // RFC 4180 reads them: refused, never filled in or run together.
    EXPECT_THAT(refused("fewer.csv", std::string(header) + "8007;Kevés;;;\n8008;Kevés\n"),
                HasSubstr("line 3: the row has 2 fields, the header 5"));
    EXPECT_THAT(refused("after.csv", std::string(header) + "8009;Jó;;;\n8010;\"abc\"def;;;\n"),
                HasSubstr("line 3: text follows the closing quote of a field"));
    // A folder is said to be one, and named from anywhere.
    std::filesystem::create_directories(folder.file("mappa"));
    out = admin("import 'Ügyfélszolgálat' mappa --user ugyfel");
    EXPECT_THAT(out, HasSubstr("This is a folder, not a file: " + folder.file("mappa")));
    EXPECT_THAT(out, HasSubstr("exit 1"));
}

TEST_F(Import, AMistakenImportIsVoidedAsOneBatchWithOneReason)
{
    importFile("batch.csv", std::string(header) + "9001;Egy;;;\n9002;Kettő;;;\n");
    EXPECT_THAT(admin("import-void 1 --user ugyfel --reason 'Rossz fájl'"),
                HasSubstr("Voided 2 documents of import batch 1.\nexit 0"));
    EXPECT_THAT(rows("Select d.Iktatoszam, v.Reason from DocumentVoid v join Document d on d.DocumentID = v.DocumentID "
                     "order by d.Iktatoszam"),
                ElementsAre("9001|Rossz fájl", "9002|Rossz fájl"));
    EXPECT_THAT(rows("Select count(*) from DocumentHistory where Action = 'érvénytelenítés'"), ElementsAre("2"));
    EXPECT_THAT(admin("import-void 1 --user ugyfel --reason 'Még egyszer'"), HasSubstr("Voided 0 documents"));
    EXPECT_THAT(admin("import-void 7 --user ugyfel --reason x"), HasSubstr("No import batch 7"));
    EXPECT_THAT(admin("import-void 1 --user ugyfel"), HasSubstr("usage:"));
}

TEST_F(Import, AClerkSavingWhileAnImportRunsWaitsOrIsToldWithTheFormsValuesKept)
{
    std::string paused = folder.file("paused");
    // On SQLite, enough rows that the import's changes outgrow the usual
    // page cache, which would then write them into the file and shut
    // readers out.
    const int older = onPostgres() ? 0 : 40000;
    {
        std::ofstream slow(folder.file("slow.csv"));
        slow << header << "9101;Import közben;;;\n9102;Utolsó;;;\n";
        for (int n = 100000; n < 100000 + older; ++n)
            slow << n << ";Régi iktatókönyv tétele " << n << ";2020.01.02.;;\n";
    }
    std::string newDocument = click("btnNew");
    Live live(*this);
    live.send(login(velmora::entryDemoLogin) + newDocument + "type 9200\nkey tab\ntype Ugyfel mentese\nfocus\n");
    ASSERT_TRUE(live.waitFor("TZEDit2")) << live.printed();
    std::string imported;
    std::atomic<bool> importDone = false;
    std::thread importing([&] {
        imported = admin("import 'Ügyfélszolgálat' slow.csv --user ugyfel",
                         "VELMORA_PAUSE='import-written:" + paused + "'");
        importDone = true;
    });
    // Let go of the import wherever it is: it ends, or pauses and is let on.
    auto letTheImportFinish = [&] {
        while (!importDone) {
            std::filesystem::remove(paused);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        importing.join();
    };
    for (int i = 0; i < 2400 && !importDone && !std::filesystem::exists(paused); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    bool pausedInside = std::filesystem::exists(paused);
    // Another clerk's program starts and reads meanwhile.
    std::string started = play(searchTab() + click("btnSearch") + "get frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(started, HasSubstr("'3 tal'#225'lat'")) << started;
    // The clerk saves while the import holds its transaction open.
    live.send(click("btnSave") + "get frmClientMain.btnSave.Enabled\n");
    bool answered = live.waitFor(onPostgres() ? "False\n" : "error: ");
    letTheImportFinish();
    ASSERT_TRUE(pausedInside) << imported;
    ASSERT_TRUE(answered) << live.printed();
    // On SQLite Enter closes the refusal's box (on PostgreSQL there is none,
    // and Enter would press "Új felvitel", where the save left the focus).
    live.send(std::string(onPostgres() ? "" : "key enter\n") + "get frmClientMain.TZEDit2.Text\n" + click("btnSave") +
              "get frmClientMain.StatusBar1.SimpleText\n");
    std::string out = live.finish();
    EXPECT_THAT(imported, HasSubstr("Imported " + std::to_string(2 + older) + " documents"));
    if (onPostgres()) {
        // The server lets both write: the clerk's document is stored at once.
        EXPECT_THAT(out, Not(HasSubstr("error: ")));
    } else {
        // The file's write lock: refused in the clerk's words, the values
        // kept, and stored by the next click once the import is done.
        EXPECT_THAT(out, HasSubstr("error: Az adatbázist most egy másik program (például egy importálás) írja, ezért a "
                                   "művelet nem történt meg; az űrlapon minden megmaradt, próbálja újra, ha az "
                                   "végzett.\nTrue\n'Ugyfel mentese'\n"));
    }
    EXPECT_THAT(rows("Select Targy from Document where Iktatoszam = 9200"), ElementsAre("Ugyfel mentese"));
    EXPECT_THAT(rows("Select count(*) from Document where Iktatoszam in (9101, 9102)"), ElementsAre("2"));
}

TEST(CsvReading, QuotesSeparatorsAndLineNumbersAsSpreadsheetsWriteThem)
{
    auto read = [](const std::string& text, velmora::TextEncoding encoding = velmora::TextEncoding::Utf8) {
        std::istringstream in(text);
        velmora::CsvReader reader(in, encoding);
        std::vector<std::string> record, out;
        while (reader.next(record)) {
            std::string joined = std::to_string(reader.line()) + ":";
            for (const std::string& f : record) joined += "[" + f + "]";
            out.push_back(joined);
        }
        return out;
    };
    EXPECT_THAT(read("a,b;c,d\n1,\"x,\"\"y\"\"\nz\",3\n\n2,,\n"),
                ElementsAre("1:[a][b;c][d]", "2:[1][x,\"y\"\nz][3]", "5:[2][][]"));
    EXPECT_THAT(read("a\tb\r\n\"\"\t\r\rc\td"), ElementsAre("1:[a][b]", "2:[][]", "4:[c][d]"));
    EXPECT_THAT(read("\xEF\xBB\xBFn\x82v\n", velmora::TextEncoding::Windows1250), ElementsAre("1:[ď»żn‚v]"));
    std::istringstream bad("a;b\n\xC3\n");
    EXPECT_FALSE(velmora::isUtf8Stream(bad));
    std::istringstream good("a;\xC3\xA1\n");
    EXPECT_TRUE(velmora::isUtf8Stream(good));
}

// Dates as a register's files and its clerks write them: the unambiguous
// forms, Hungarian first; a two-digit year or anything else that could be
// read two ways is refused. A time of day is read past only in a file.
TEST(ImportedDates, TheUnambiguousFormsAreReadAndEveryTwoDigitYearIsRefused)
{
    for (const char* same : {"2026.11.16.", "2026.11.16", "2026. 11. 16.", "2026. 11. 16", " 2026.11.16. ",
                             "2026-11-16", "20261116", "16.11.2026", "16/11/2026", "2026-11-16 14:30",
                             "2026-11-16T14:30:05"}) {
        std::optional<tk::Locale::Ymd> ymd = tk::readDate(same, true);
        ASSERT_TRUE(ymd) << same;
        EXPECT_EQ(ymd->year * 10000 + ymd->month * 100 + ymd->day, 20261116) << same;
        EXPECT_EQ(tk::readDate(same, false).has_value(), std::string(same).find(':') == std::string::npos) << same;
    }
    for (const char* refused : {"16.11.26", "1.2.3", "26.11.16.", "11/16/26", "2026.02.30.", "2026..11.16.",
                                "2026.11.16..", "2026.11", "2026/11/16", "16.11.2026.", "2026.11.16. 14:30", "",
                                "2026 .11.16.", "2026.11-16", "2026111", "202611160", "20260230"})
        EXPECT_FALSE(tk::readDate(refused, true)) << refused;
}
