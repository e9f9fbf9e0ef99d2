// The catalogue queries the property page and the saver ask: a column's
// type index, the lists of columns and dictionaries, a field's dictionary.
#include "TempFolder.h"

#include "db/Command.h"
#include "db/Query.h"
#include "designer/ClientMain.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "toolkit/core/Errors.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

class Catalogue : public ::testing::Test {
protected:
    Catalogue() : app(platform)
    {
        createDemoDatabase(folder.path());
        dm = new TdmClientMain(&app);
        dmClientMain = dm;
        dm->ADOConnection->setConnectionString("FILE NAME=" + folder.file("VelmoraDSC.udl"));
        dm->ADOConnection->open();
        exec(
            "Alter Table Document Add [Kicsi] smallint ;"
            "Alter Table Document Add [Nev] nvarchar(20) ;"
            "Alter Table Document Add [Nap] date ;"
            "Alter Table Document Add [ÁRAK] int ;"
            "Alter Table Document Add [Valos] float ;");
        app.createForm(frmClientMain);
        frmClientMain->PrepareDesignSurface();
        app.createForm(frmPropertyPage);
    }
    void exec(const std::string& sql)
    {
        dm->cmdAlterTable->setCommandText(sql);
        dm->cmdAlterTable->executeScript();
    }
    std::vector<std::string> columns(std::optional<db::FieldKind> a, std::optional<db::FieldKind> b = {})
    {
        std::vector<std::string> list{"left over"};
        dm->ListColumns(list, a, b);
        return list;
    }

    TempFolder folder;
    tk::HeadlessPlatform platform;
    tk::TApplication app;
    TdmClientMain* dm = nullptr;
};

}  // namespace

TEST_F(Catalogue, ATypeIndexNeedsTheExactKindAndALowerCaseName)
{
    EXPECT_EQ(dm->ColumnTypeIndex("iktatoszam"), 0);
    EXPECT_EQ(dm->ColumnTypeIndex("targy"), 1);
    EXPECT_EQ(dm->ColumnTypeIndex("erkezett"), 2);
    EXPECT_EQ(dm->ColumnTypeIndex("lezart"), 3);
    EXPECT_EQ(dm->ColumnTypeIndex("Targy"), -1);       // a capital in the given name never matches
    EXPECT_EQ(dm->ColumnTypeIndex("documentid"), -1);  // auto-increment is no integer kind of its own place
    EXPECT_EQ(dm->ColumnTypeIndex("kicsi"), -1);       // small integer derives from integer
    EXPECT_EQ(dm->ColumnTypeIndex("nev"), -1);         // wide string
    EXPECT_EQ(dm->ColumnTypeIndex("nap"), -1);         // date only
    EXPECT_EQ(dm->ColumnTypeIndex("valos"), -1);       // float has no place
    EXPECT_EQ(dm->ColumnTypeIndex("nincs"), -1);
    EXPECT_TRUE(dm->qrySearch->active());
    EXPECT_EQ(dm->qrySearch->sqlText(), "Select* from Document where DocumentID is null");
}

TEST_F(Catalogue, AccentedCapitalsMatchOnlyThemselves)
{
    // Lower-casing maps only A to Z: the column "ÁRAK" becomes "Árak", so
    // only a name that keeps the accented capital finds it.
    EXPECT_EQ(dm->ColumnTypeIndex("Árak"), 0);
    EXPECT_EQ(dm->ColumnTypeIndex("árak"), -1);
    EXPECT_EQ(dm->ColumnTypeIndex("ÁRAK"), -1);
}

TEST_F(Catalogue, ColumnListsSkipTheFirstColumnAndTakeDerivedKinds)
{
    using db::FieldKind;
    EXPECT_EQ(columns(std::nullopt), (std::vector<std::string>{"Iktatoszam", "Targy", "Erkezett", "Lezart", "Kicsi",
                                                               "Nev", "Nap", "ÁRAK", "Valos"}));
    EXPECT_EQ(columns(FieldKind::Integer), (std::vector<std::string>{"Iktatoszam", "Kicsi", "ÁRAK"}));
    EXPECT_EQ(columns(FieldKind::String), (std::vector<std::string>{"Targy", "Nev"}));
    EXPECT_EQ(columns(FieldKind::DateTime), (std::vector<std::string>{"Erkezett", "Nap"}));
    EXPECT_EQ(columns(FieldKind::Integer, FieldKind::String),
              (std::vector<std::string>{"Iktatoszam", "Targy", "Kicsi", "Nev", "ÁRAK"}));
    EXPECT_EQ(columns(FieldKind::Bytes), (std::vector<std::string>{"Lezart"}));
}

TEST_F(Catalogue, DictionariesAndTheDictionaryOfAField)
{
    std::vector<std::string> names;
    dm->ListDictionaries(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Ügytípus", "Osztály"}));
    exec(
        "Insert into Fields (FieldName,DictionaryGroupID) Values ('Targy',2);"
        "Insert into Fields (FieldName,DictionaryGroupID) Values ('Nev',NULL);"
        "Insert into Fields (FieldName,DictionaryGroupID) Values ('Nap',99);");
    EXPECT_EQ(frmPropertyPage->DictionaryOfField("TARGY"), "Osztály");
    EXPECT_EQ(frmPropertyPage->DictionaryOfField("Targ"), "");
    EXPECT_EQ(frmPropertyPage->DictionaryOfField("Nev"), "");
    EXPECT_EQ(frmPropertyPage->DictionaryOfField("Nap"), "");
    // A nameless dictionary row is passed over; the listing goes on.
    exec(
        "Insert into DictionaryGroup (DictionaryGroupName) Values (NULL);"
        "Insert into DictionaryGroup (DictionaryGroupName) Values ('Utolsó');");
    dm->ListDictionaries(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Ügytípus", "Osztály", "Utolsó"}));
    EXPECT_EQ(dm->qrySearch->sqlText(), "Select * from DictionaryGroup");
}
