// The lookup list as a user meets it: typing into the search edit, keys and
// clicks, and the row it confirms in the data module's query.
#include "TempFolder.h"
#include "TestDatabase.h"

#include "db/Command.h"
#include "db/Query.h"
#include "lookup/SearchList.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

class LookupList : public ::testing::Test {
protected:
    LookupList() : app(platform)
    {
        makeDemoDatabase(folder.path());
        auto* dm = new TdmClientMain(&app);
        dmClientMain = dm;
        dm->ADOConnection->setConnectionString("FILE NAME=" + folder.file("VelmoraDSC.udl"));
        dm->ADOConnection->open();
        dm->cmdAlterTable->setCommandText(
            "DELETE FROM UserTable; DELETE FROM UserGroup;"
            "INSERT INTO UserGroup (UserGroupName) VALUES ('Budapest');"
            "INSERT INTO UserGroup (UserGroupName) VALUES ('Bugac');"
            "INSERT INTO UserGroup (UserGroupName) VALUES ('  Szeged  ');");
        dm->cmdAlterTable->executeScript();
        query = dm->qrySearch;
        query->setSqlText("Select * from UserGroup");
        query->open();
        query->field(0)->setVisible(false);
        query->field(2)->setVisible(false);
        query->fieldByName("UserGroupName")->setDisplayLabel("Felhasználói csoport");
        app.createForm(frmSearchList);
        list = frmSearchList.get();
        list->dbgSearch->setDataSource(dm->dstSearch);
        list->setSearchColumn("UserGroupName");
    }

    // Shows the dialog modally, running `steps` as the user's gestures.
    int show(std::vector<std::function<void()>> steps)
    {
        for (auto& s : steps) platform.script(s);
        return list->showModal();
    }
    std::string current() { return query->fieldByName("UserGroupName")->asString(); }

    TempFolder folder;
    tk::HeadlessPlatform platform;
    tk::TApplication app;
    db::TADOQuery* query = nullptr;
    TfrmSearchList* list = nullptr;
};

}  // namespace

TEST_F(LookupList, TypingCompletesWithTheFirstMatchAndEnterConfirmsIt)
{
    int result = show({[&] {
        EXPECT_EQ(app.focusedControl(), list->edtSearch);
        app.typeText("b");
        EXPECT_EQ(list->edtSearch->text(), "Budapest");
        EXPECT_EQ(list->edtSearch->selText(), "udapest");
        app.typeText("u");
        EXPECT_EQ(list->edtSearch->text(), "Budapest");
        EXPECT_EQ(list->edtSearch->selStart(), 2);
        EXPECT_EQ(list->edtSearch->selText(), "dapest");
        // Backspace takes the completion and the last typed character.
        app.pressKey(tk::vk::Back);
        EXPECT_EQ(list->edtSearch->text(), "Budapest");
        EXPECT_EQ(list->edtSearch->selText(), "udapest");
        app.typeText("ug");
        EXPECT_EQ(list->edtSearch->text(), "Bugac");
        app.pressKey(tk::vk::Return);
    }});
    EXPECT_EQ(result, tk::mrOk);
    EXPECT_EQ(current(), "Bugac");
    // Showing it again and pressing Enter confirms the same row at once.
    EXPECT_EQ(show({[&] {
                  EXPECT_EQ(list->edtSearch->selStart(), 0);
                  EXPECT_EQ(list->edtSearch->selLength(), 0);
                  app.pressKey(tk::vk::Return);
              }}),
              tk::mrOk);
    EXPECT_EQ(current(), "Bugac");
}

TEST_F(LookupList, TextThatMatchesNothingCannotBeConfirmed)
{
    int result = show({[&] {
                           app.typeText("x");
                           EXPECT_EQ(list->edtSearch->text(), "x");
                           EXPECT_FALSE(list->Found());
                           app.pressKey(tk::vk::Return);  // nothing happens
                       },
                       [&] {
                           EXPECT_TRUE(list->visible());
                           app.pressKey(tk::vk::Escape);
                       }});
    EXPECT_EQ(result, tk::mrCancel);
}

TEST_F(LookupList, EnterWithAnEmptyEditCancels)
{
    EXPECT_EQ(show({[&] { app.pressKey(tk::vk::Return); }}), tk::mrCancel);
    EXPECT_EQ(show({[&] { app.closeByFrame(list); }}), tk::mrCancel);
    EXPECT_EQ(show({[&] { app.click(list->btnCancel); }}), tk::mrCancel);
}

TEST_F(LookupList, NavigationKeysInTheEditTakeTheRowFullySelected)
{
    int result = show({[&] {
        app.pressKey(tk::vk::Down);
        EXPECT_EQ(list->edtSearch->text(), "Bugac");
        EXPECT_EQ(list->edtSearch->selText(), "Bugac");
        EXPECT_TRUE(list->Found());
        app.pressKey(tk::vk::Next);  // five on, stopping at the last row, blanks trimmed
        EXPECT_EQ(list->edtSearch->text(), "Szeged");
        app.click(list->btnOK);
    }});
    EXPECT_EQ(result, tk::mrOk);
    EXPECT_EQ(current(), "  Szeged  ");
}

TEST_F(LookupList, TheGridTakesItsRowIntoTheEditAndADoubleClickConfirms)
{
    int result = show({[&] {
        auto cols = list->dbgSearch->columns();
        ASSERT_EQ(cols.size(), 1u);
        EXPECT_EQ(cols[0].title, "Felhasználói csoport");
        int y = list->dbgSearch->titleHeight() + list->dbgSearch->rowHeight() + 2;
        app.click(list->dbgSearch, {20, y});
        EXPECT_EQ(app.focusedControl(), list->dbgSearch);
        // Entering the grid copied the row current then; the click moved on.
        EXPECT_EQ(list->edtSearch->text(), "Budapest");
        EXPECT_EQ(current(), "Bugac");
        // Tab in the grid goes back to the edit.
        app.pressKey(tk::vk::Tab);
        EXPECT_EQ(app.focusedControl(), list->edtSearch);
        app.doubleClick(list->dbgSearch, {20, y});
    }});
    EXPECT_EQ(result, tk::mrOk);
    EXPECT_EQ(current(), "Bugac");
}

TEST_F(LookupList, ASearchColumnTheQueryLacksFindsNothing)
{
    list->setSearchColumn("Nincs");
    int result = show({[&] {
        app.typeText("b");
        EXPECT_EQ(list->edtSearch->text(), "b");
        EXPECT_FALSE(list->Found());
        EXPECT_TRUE(app.errorMessages().empty());
        app.pressKey(tk::vk::Escape);
    }});
    EXPECT_EQ(result, tk::mrCancel);
}

TEST_F(LookupList, PageUpAndPageDownMoveFiveRowsAndStopAtTheEnds)
{
    // More groups, so that a page is less than the list.
    std::string sql;
    for (int i = 0; i < 8; ++i)
        sql += "INSERT INTO UserGroup (UserGroupName) VALUES ('Csoport " + std::to_string(i) + "');";
    dmClientMain->cmdAlterTable->setCommandText(sql);
    dmClientMain->cmdAlterTable->executeScript();
    query->close();
    query->open();
    int result = show({[&] {
        app.typeText("Bud");
        ASSERT_EQ(current(), "Budapest");
        app.pressKey(tk::vk::Next);
        EXPECT_EQ(current(), "Csoport 2");
        EXPECT_EQ(list->edtSearch->text(), "Csoport 2");
        app.pressKey(tk::vk::Next);
        app.pressKey(tk::vk::Next);
        EXPECT_EQ(current(), "Csoport 7");  // the last row
        app.pressKey(tk::vk::Prior);
        EXPECT_EQ(current(), "Csoport 2");
        app.pressKey(tk::vk::Up);
        EXPECT_EQ(current(), "Csoport 1");
        app.pressKey(tk::vk::Prior);
        app.pressKey(tk::vk::Prior);
        EXPECT_EQ(current(), "Budapest");  // the first row
        // Enter confirms the row reached by the keys.
        app.pressKey(tk::vk::Down);
        app.pressKey(tk::vk::Return);
    }});
    EXPECT_EQ(result, tk::mrOk);
    EXPECT_EQ(current(), "Bugac");
}
