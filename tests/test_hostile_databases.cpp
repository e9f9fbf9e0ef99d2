// Databases as users really have them: stored designs that are no design,
// odd Document columns, a crowd of dictionaries, broken data-link files, a
// database locked by another program. Each gives a clear message (or none
// where start-up ends silently), a failure status where start-up fails,
// and loses nothing.
#include "../app/ConsolePlatform.h"
#include "DesignSession.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include "app/DesignerComposition.h"
#include "db/Command.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "designs/Design.h"
#include "startup/DemoDatabase.h"
#include "toolkit/core/PropertyAccess.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using testing::HasSubstr;
using testing::Not;

namespace {

void execute(const std::string& folder, const std::string& sql, bool script = true)
{
    db::TADOConnection c(nullptr);
    c.setConnectionString("FILE NAME=" + folder + "/VelmoraDSC.udl");
    c.open();
    db::TADOCommand cmd(nullptr);
    cmd.setConnection(&c);
    cmd.setCommandText(sql);
    if (script) cmd.executeScript();
    else cmd.execute();
}

struct Session {
    int status;
    std::string out, err;
};

// Logs in as demo/demo on the console and plays `script`.
Session login(const std::string& folder, const std::string& script)
{
    std::istringstream in("type demo\nkey tab\ntype demo\nkey enter\n" + script);
    std::ostringstream out;
    ConsolePlatform platform(in, out);
    testing::internal::CaptureStderr();
    int status = velmora::runVelmora(platform, folder + "/velmora");
    return {status, out.str(), testing::internal::GetCapturedStderr()};
}

}  // namespace

TEST(HostileDatabases, AStoredDesignThatIsNoDesignEndsStartUpWithItsReason)
{
    std::mt19937 rng(42);
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise += static_cast<char>(rng());
    for (const std::string& design :
         {noise, std::string("object A: TfrmClientMain\r\n  object X: TZEDFoo\r\n  end\r\nend\r\n"),
          std::string("\xEF\xBB\xBFobject")}) {
        TempFolder folder;
        velmora::createDemoDatabase(folder.path());
        storeFormData(folder.file("VelmoraDSC.udl"), 1, design);
        Session r = login(folder.path(), "windows\n");
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err, HasSubstr("velmora: start-up failed: "));
        EXPECT_THAT(r.out, Not(HasSubstr("frmClientMain")));
        // Nothing stored was touched.
        EXPECT_EQ(storedDesign(folder.file("VelmoraDSC.udl"), 1), design);
    }
}

TEST(HostileDatabases, ATenMegabyteDesignLoadsAtLoginAndIsWiredForDesign)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.path());
    std::string controls;
    for (int i = 1; controls.size() < 10u * 1024 * 1024; ++i)
        controls += "      object TZEDit" + std::to_string(i) +
                    ": TZEDit\r\n        Left = " + std::to_string(8 + i % 400) +
                    "\r\n        Top = " + std::to_string(8 + i % 250) +
                    "\r\n        Width = 121\r\n        Height = 21\r\n"
                    "        KeyField = 'Mezo" +
                    std::to_string(i) + "'\r\n        FieldType = 1\r\n      end\r\n";
    std::string design =
        "object frmClientMain: TfrmClientMain\r\n  Left = 200\r\n  Top = 107\r\n  Width = 544\r\n"
        "  Height = 375\r\n  Caption = 'Nagy'\r\n  Position = poScreenCenter\r\n  Visible = True\r\n"
        "  OnShow = FormShow\r\n  object pcData: TPageControl\r\n    Left = 0\r\n    Top = 0\r\n"
        "    Width = 536\r\n    Height = 329\r\n    Align = alClient\r\n    object tsEdit: TTabSheet\r\n"
        "      Caption = 'Felvitel'\r\n" +
        controls + "    end\r\n  end\r\nend\r\n";
    storeFormData(folder.file("VelmoraDSC.udl"), 1, design);
    Session r = login(folder.path(),
                      "get frmClientMain.Caption\nget frmClientMain.TZEDit30000.KeyField\n"
                      "get frmClientMain.TZEDit1.OnMouseDown\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("'Nagy'\n'Mezo30000'\nComponentMouseDown\n"));
}

class OddCatalogue : public DesignSession {};

TEST_F(OddCatalogue, ColumnsOfEveryTypeAndOddNamesAndTenThousandDictionariesKeepThePageAndTheSaveWorking)
{
    std::string sql = "BEGIN;";
    for (const char* column :
         {"[két szó] int", "[o'neill] varchar(50)", "\"a]b\" datetime", "[\"q\"] binary(1)", "[Ár] money",
          "[x] nvarchar(20)", "[m] memo", "[b] blob", "[r] real", "[g] guid", "[bb] bit", "[v] sql_variant",
          "[n] numeric(10,2)", "[d] date", "[t] time", "[plain] whatever"})
        sql += std::string("ALTER TABLE Document ADD ") + column + ";";
    for (int i = 0; i < 10000; ++i)
        sql += "INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Sz" + std::to_string(i) + "');";
    sql += "COMMIT;";
    execute(folder.path(), sql);

    // The page lists the odd names by their kinds, in both layouts.
    tk::TControl* edit = place(0, 120, 40);
    EXPECT_THAT(page->cbxFieldName->items(), testing::ElementsAre("Iktatoszam", "két szó"));
    EXPECT_EQ(page->cbxDictionary->items().size(), 10002u);
    tk::TControl* finder = place(0, 120, 40, search);
    EXPECT_THAT(page->cbxFieldName->items(), testing::Contains("o'neill"));
    tk::TControl* picker = place(2, 120, 80);
    EXPECT_THAT(page->cbxFieldName->items(), testing::Contains("a]b"));
    tk::TControl* box = place(3, 120, 120);
    EXPECT_THAT(page->cbxFieldName->items(), testing::Contains("\"q\""));

    // Bound to existing odd columns, or to names no statement can hold.
    tk::setPropText(*edit, "KeyField", "KÉT SZÓ");  // accented capitals are not folded: a new name
    tk::setPropText(*edit, "Dictionary", "Sz9999");
    tk::setPropText(*finder, "KeyField", "o'neill");
    tk::setPropText(*picker, "KeyField", "a]b");
    tk::setPropText(*box, "KeyField", "new\tline");
    int columns = 0;
    {
        db::TADOQuery q(nullptr);
        q.setConnection(velmora::dmClientMain->ADOConnection);
        q.setSqlText("Select* from Document where DocumentID is null");
        q.open();
        columns = q.fieldCount();
    }
    platform.script([&] {
        app.typeText("Ikt");
        app.pressKey(tk::vk::Return);
    });
    app.click(velmora::frmComonentPalette->btnSave.get(), {5, 5});
    EXPECT_TRUE(app.errorMessages().empty()) << app.errorMessages().front();
    db::TADOQuery q(nullptr);
    q.setConnection(velmora::dmClientMain->ADOConnection);
    q.setSqlText("Select* from Document where DocumentID is null");
    q.open();
    // Only "KÉT SZÓ" got a column: "két szó" in other case of accented
    // letters is another name for the program, and SQLite refuses it as
    // the same; the refusal is passed over. The others exist or cannot be
    // written into a statement.
    EXPECT_LE(q.fieldCount(), columns + 1);
    q.close();
    q.setSqlText("Select count(*) from DictionaryGroup");
    q.open();
    EXPECT_EQ(q.field(0)->asInteger(), 10002);
    EXPECT_THAT(velmora::designText(*window), HasSubstr("KeyField = 'a]b'"));
}

TEST(HostileDatabases, ABrokenMissingOrForeignDataLinkOrAMissingDatabaseEndsStartUpAndCreatesNothing)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.path());
    auto attempt = [&](const std::string& udl) {
        std::ofstream(folder.file("VelmoraDSC.udl"), std::ios::binary) << udl;
        return login(folder.path(), "");
    };
    Session empty = attempt("");
    EXPECT_EQ(empty.status, 1);
    EXPECT_THAT(empty.err, HasSubstr("start-up failed"));
    Session unknown = attempt("[oledb]\r\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source=velmora.mdb\r\n");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_THAT(unknown.err, HasSubstr("Microsoft.Jet.OLEDB.4.0"));
    Session missingDb = attempt("[oledb]\r\nProvider=SQLite;Data Source=nothere.db\r\n");
    EXPECT_EQ(missingDb.status, 1);
    EXPECT_THAT(missingDb.err, HasSubstr("nothere.db"));
    EXPECT_FALSE(std::filesystem::exists(folder.file("nothere.db")));
    std::filesystem::remove(folder.file("VelmoraDSC.udl"));
    Session missing = login(folder.path(), "");
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("VelmoraDSC.udl"));
}

class LockedDatabase : public DesignSession {};

TEST_F(LockedDatabase, ASaveWhileAnotherProgramWritesWaitsABoundedTimeReportsAndKeepsTheOldDesign)
{
    tk::TControl* edit = place(0, 120, 40);
    tk::setPropText(*edit, "KeyField", "Elso");
    auto save = [&] {
        platform.script([&] {
            app.typeText("Ikt");
            app.pressKey(tk::vk::Return);
        });
        app.click(velmora::frmComonentPalette->btnSave.get(), {5, 5});
    };
    save();
    ASSERT_TRUE(app.errorMessages().empty());
    std::optional<std::string> first = storedDesign(folder.file("VelmoraDSC.udl"), 1);

    // Another program holds the write lock for the whole save.
    db::TADOConnection other(nullptr);
    other.setConnectionString(udl());
    other.open();
    db::TADOCommand lock(nullptr);
    lock.setConnection(&other);
    lock.setCommandText("BEGIN IMMEDIATE");
    lock.execute();
    tk::setPropText(*edit, "KeyField", "Masodik");
    auto started = std::chrono::steady_clock::now();
    save();
    auto waited = std::chrono::steady_clock::now() - started;
    ASSERT_FALSE(app.errorMessages().empty());
    EXPECT_THAT(app.errorMessages().back(), HasSubstr("locked"));
    EXPECT_GE(waited, std::chrono::milliseconds(1500));
    EXPECT_LT(waited, std::chrono::seconds(30));
    lock.setCommandText("ROLLBACK");
    lock.execute();

    EXPECT_EQ(storedDesign(folder.file("VelmoraDSC.udl"), 1), first);
    EXPECT_EQ(tk::getPropText(*edit, "OnMouseDown"), "ComponentMouseDown");
    EXPECT_TRUE(window->CompPopup);
}

TEST_F(LockedDatabase, ASaveOnADatabaseThatRefusesWritesReportsItAndKeepsTheWindowWorking)
{
    // A database the program may only read, as a read-only file is (a test
    // run as root cannot make a file read-only for itself).
    tk::TControl* edit = place(0, 120, 40);
    tk::setPropText(*edit, "KeyField", "Uj");
    velmora::dmClientMain->cmdAlterTable->setCommandText("PRAGMA query_only = 1");
    velmora::dmClientMain->cmdAlterTable->execute();
    platform.script([&] {
        app.typeText("Ikt");
        app.pressKey(tk::vk::Return);
    });
    app.click(velmora::frmComonentPalette->btnSave.get(), {5, 5});
    ASSERT_FALSE(app.errorMessages().empty());
    EXPECT_THAT(app.errorMessages().front(), HasSubstr("readonly"));
    EXPECT_EQ(tk::getPropText(*edit, "OnMouseDown"), "ComponentMouseDown");
    EXPECT_TRUE(window->CompPopup);
    EXPECT_FALSE(storedDesign(folder.file("VelmoraDSC.udl"), 1));
}
