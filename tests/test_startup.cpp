// Start-up as a user meets it: the login dialog typed into through the input
// API, the database read through the data-link file beside the program, and
// the windows that stand on the screen afterwards.
#include "TempFolder.h"
#include "TestDatabase.h"

#include "app/DesignerComposition.h"
#include "db/Command.h"
#include "db/Connection.h"
#include "designer/ClientMain.h"
#include "lookup/SearchList.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "startup/UserFolders.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>

using namespace velmora;

namespace {

// Remembers the windows that were ever shown.
class RecordingPlatform : public tk::HeadlessPlatform {
public:
    void invalidate(tk::TWinControl* w) override
    {
        if (w->visible()) shown.insert(w->name());
        tk::HeadlessPlatform::invalidate(w);
    }
    std::set<std::string> shown;
};

class Startup : public ::testing::Test {
protected:
    Startup() { makeDemoDatabase(folder.path()); }

    void exec(const std::string& sql)
    {
        db::TADOConnection c(nullptr);
        c.setConnectionString("FILE NAME=" + folder.file("VelmoraDSC.udl"));
        c.open();
        db::TADOCommand cmd(nullptr);
        cmd.setConnection(&c);
        cmd.setCommandText(sql);
        cmd.executeScript();
    }
    // Types the login into the dialog and confirms it with Enter.
    void scriptLogin(const std::string& login, const std::string& password)
    {
        platform.script([=] {
            tk::Application->typeText(login);
            tk::Application->pressKey(tk::vk::Tab);
            tk::Application->typeText(password);
            tk::Application->pressKey(tk::vk::Return);
        });
    }
    int run() { return runVelmora(platform, folder.file("velmora")); }
    // Runs a start-up that must fail: no window but the login dialog, no
    // message box, exit status 1; returns what it wrote to standard error.
    std::string failedStartup(RecordingPlatform& p)
    {
        testing::internal::CaptureStderr();
        int status = runVelmora(p, folder.file("velmora"));
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 1) << err;
        EXPECT_EQ(p.shown, (std::set<std::string>{"frmPasswordDlg"})) << err;
        EXPECT_TRUE(p.errorsShown().empty()) << err;
        return err;
    }

    TempFolder folder;  // its name holds blanks
    RecordingPlatform platform;
};

}  // namespace

TEST_F(Startup, TheDemoUserGetsTheFourWindowsPlacedBesideEachOther)
{
    scriptLogin(demoLogin, demoPassword);
    bool checked = false;
    platform.script([&] {
        checked = true;
        ASSERT_TRUE(frmClientMain && frmComonentPalette && frmPropertyPage && frmSearchList);
        tk::TApplication& app = *tk::Application;
        EXPECT_EQ(app.mainForm(), frmClientMain.get());
        // Created in this order, each owned by the application.
        std::vector<std::string> owned;
        for (tk::TComponent* c : app.components()) owned.push_back(c->name());
        EXPECT_EQ(owned, (std::vector<std::string>{"dmClientMain", "frmClientMain", "frmComonentPalette",
                                                   "frmPropertyPage", "frmSearchList"}));
        EXPECT_EQ(dmClientMain->UserGroupID(), 1);
        EXPECT_EQ(dmClientMain->UserID(), 1);
        EXPECT_FALSE(dmClientMain->qrySearch->active());
        EXPECT_TRUE(dmClientMain->ADOConnection->connected());
        // The program's own folder, blanks and all, unquoted.
        EXPECT_EQ(dmClientMain->ADOConnection->connectionString(), "FILE NAME=" + folder.path() + "/VelmoraDSC.udl");

        TfrmClientMain* main = frmClientMain.get();
        EXPECT_EQ(main->caption(), "Velmora Document Store");
        EXPECT_EQ(main->width(), 544);
        EXPECT_EQ(main->height(), 375);
        // Centred on the 1280 x 1024 screen when shown, then moved by 50.
        EXPECT_EQ(main->left(), (1280 - 544) / 2 + 50);
        EXPECT_EQ(main->top(), (1024 - 375) / 2 + 50);
        // The property page's right edge on the main window's left edge, its
        // top 50 pixels above; the palette's lower edge on the main window's
        // upper edge, left edges aligned.
        TfrmPropertyPage* page = frmPropertyPage.get();
        EXPECT_EQ(page->left() + page->width(), main->left());
        EXPECT_EQ(page->top(), main->top() - 50);
        EXPECT_EQ(page->width(), 176);
        EXPECT_EQ(page->height(), 372);
        EXPECT_EQ(page->caption(), "...");
        TfrmComonentPalette* palette = frmComonentPalette.get();
        EXPECT_EQ(palette->top() + palette->height(), main->top());
        EXPECT_EQ(palette->left(), main->left());
        EXPECT_EQ(palette->clientWidth(), 230);
        EXPECT_EQ(palette->clientHeight(), 34);
        EXPECT_EQ(palette->caption(), "Szerkesztőpanel");
        EXPECT_EQ(palette->tool(), -1);
        EXPECT_FALSE(frmSearchList->visible());
        EXPECT_EQ(frmSearchList->caption(), "Keresési lista");
        EXPECT_EQ(app.activeForm(), main);
        EXPECT_EQ(page->SelectedControl(), main->activeControl());
        // The login dialog is gone.
        for (tk::TCustomForm* f : app.windows()) EXPECT_NE(f->name(), "frmPasswordDlg");
        app.closeByFrame(main);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(checked);
    EXPECT_EQ(platform.pendingSteps(), 0u);
    EXPECT_FALSE(frmClientMain);  // gone with the application
}

TEST_F(Startup, TheLoginDialogHasItsLayoutAndFocusStartsOnTheLoginName)
{
    platform.script([&] {
        tk::TCustomForm* dlg = tk::Application->activeForm();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->name(), "frmPasswordDlg");
        EXPECT_EQ(dlg->caption(), "Bejelentkezés");
        EXPECT_EQ(dlg->clientWidth(), 233);
        EXPECT_EQ(dlg->clientHeight(), 149);
        EXPECT_EQ(tk::Application->focusedControl()->name(), "edtLoginName");
        auto* label = static_cast<tk::TControl*>(dlg->findComponent("Label2"));
        EXPECT_EQ(label->caption(), "Bejelentkező név :");
        EXPECT_EQ(label->boundsRect(), (tk::TRect{8, 9, 96, 22}));
        auto* ok = static_cast<tk::TControl*>(dlg->findComponent("OKBtn"));
        EXPECT_EQ(ok->boundsRect(), (tk::TRect{70, 115, 145, 140}));
        tk::Application->typeText("ab");
        tk::Application->pressKey(tk::vk::Tab);
        tk::Application->typeText("titok");
        auto* passwd = static_cast<tk::TEdit*>(dlg->findComponent("edtPasswd"));
        EXPECT_EQ(passwd->displayText(), "*****");
        tk::Application->pressKey(tk::vk::Escape);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform.shown, (std::set<std::string>{"frmPasswordDlg"}));
}

TEST_F(Startup, WrongPasswordOrTwoMatchingUsersEndSilentlyWithAFailureStatus)
{
    scriptLogin("demo", "wrong");
    EXPECT_EQ(failedStartup(platform), "velmora: start-up failed: 0 users match the login name and password\n");

    exec("INSERT INTO UserTable (UserLogin, UserPasswd, UserGroupID) VALUES ('demo', 'demo', 2)");
    RecordingPlatform again;
    again.script([] {
        tk::Application->typeText("demo");
        tk::Application->pressKey(tk::vk::Tab);
        tk::Application->typeText("demo");
        tk::Application->pressKey(tk::vk::Return);
    });
    EXPECT_EQ(failedStartup(again), "velmora: start-up failed: 2 users match the login name and password\n");
}

TEST_F(Startup, AGroupsStoredDesignReplacesTheBuiltInLayout)
{
    storeFormData(folder.file("VelmoraDSC.udl"), 1,
                  "object frmClientMain: TfrmClientMain\r\n  Caption = 'Stored'\r\n  Position = poScreenCenter\r\n"
                  "  Visible = True\r\n  OnShow = FormShow\r\n  object StatusBar1: TStatusBar\r\n  end\r\nend\r\n");
    scriptLogin(demoLogin, demoPassword);
    bool ran = false;
    platform.script([&] {
        ran = true;
        ASSERT_TRUE(frmClientMain);
        EXPECT_EQ(frmClientMain->caption(), "Stored");
        // The design's window is shown and placed as the built-in one is.
        EXPECT_TRUE(frmClientMain->visible());
        EXPECT_EQ(frmPropertyPage->left() + frmPropertyPage->width(), frmClientMain->left());
        EXPECT_EQ(tk::Application->activeForm(), frmClientMain.get());
        EXPECT_EQ(frmClientMain->name(), "frmClientMain_1");
        EXPECT_TRUE(frmClientMain->findComponent("StatusBar1"));
        EXPECT_FALSE(frmClientMain->findComponent("pcData"));
        tk::Application->closeByFrame(frmClientMain.get());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(ran);
}

TEST_F(Startup, AnEmptyStoredDesignKeepsTheBuiltInLayout)
{
    // A zero-length FormData is no design: the built-in window stays.
    storeFormData(folder.file("VelmoraDSC.udl"), 1, "");
    scriptLogin(demoLogin, demoPassword);
    bool ran = false;
    platform.script([&] {
        ran = true;
        ASSERT_TRUE(frmClientMain);
        EXPECT_EQ(frmClientMain->name(), "frmClientMain");
        EXPECT_TRUE(frmClientMain->findComponent("pcData"));
        EXPECT_TRUE(frmClientMain->findComponent("tsEdit"));
        tk::Application->closeByFrame(frmClientMain.get());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(ran);
}

TEST_F(Startup, TheDataLinkBesideTheProgramWinsThenTheOneInTheUsersConfigurationFolder)
{
    // A database of its own in the user's folders, as velmora-initdb
    // without a folder makes it (the test process points them at a
    // temporary folder).
    std::string config = velmora::userConfigFolder(), data = velmora::userDataFolder();
    ASSERT_THAT(config, testing::HasSubstr("velmora-home-"));
    std::filesystem::remove_all(config);
    std::filesystem::remove_all(data);
    velmora::createDemoDatabase(data, config);
    exec("UPDATE UserTable SET UserPasswd = 'beside' WHERE UserLogin = 'demo'");
    auto login = [&](const char* password) {
        RecordingPlatform p;
        p.script([=] {
            tk::Application->typeText("demo");
            tk::Application->pressKey(tk::vk::Tab);
            tk::Application->typeText(password);
            tk::Application->pressKey(tk::vk::Return);
            tk::Application->terminate();
        });
        testing::internal::CaptureStderr();
        int status = runVelmora(p, folder.file("velmora"));
        std::string err = testing::internal::GetCapturedStderr();
        return std::pair{status, err};
    };
    // Beside the program: its own database's password.
    EXPECT_EQ(login("beside").first, 0);
    EXPECT_EQ(login("demo").first, 1);
    // A broken one beside still wins.
    std::filesystem::rename(folder.file("VelmoraDSC.udl"), folder.file("kept.udl"));
    std::ofstream(folder.file("VelmoraDSC.udl"), std::ios::binary) << "\x01\x02 not a data-link file";
    EXPECT_EQ(login("demo").first, 1);
    // None beside: the configuration folder's, whose database has "demo".
    std::filesystem::remove(folder.file("VelmoraDSC.udl"));
    EXPECT_EQ(login("demo").first, 0);
    EXPECT_EQ(login("beside").first, 1);
    // Neither: the failure names the file beside the program.
    std::filesystem::remove(config + "/VelmoraDSC.udl");
    auto [status, err] = login("demo");
    EXPECT_EQ(status, 1);
    EXPECT_THAT(err, testing::HasSubstr(folder.file("VelmoraDSC.udl")));
}
