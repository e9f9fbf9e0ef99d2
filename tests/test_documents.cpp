// The Document row apart from any window: inserting with a history row,
// updating only while the row holds what was shown, reading back; on both
// engines, the database read afterwards as another program would.
#include "Clocks.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include "app/DemoEntryForm.h"
#include "entry/Documents.h"
#include "entry/History.h"
#include "registry/RegistryTables.h"

#include <ctime>

#include <gmock/gmock.h>

using testing::ElementsAre;

namespace {

class Documents : public ::testing::Test {
protected:
    Documents()
    {
        makeDemoDatabase(folder.path());
        velmora::addEntryDemo(folder.file("VelmoraDSC.udl"));
        openDataLink(c, folder.file("VelmoraDSC.udl"));
    }
    std::vector<std::string> rows(const std::string& sql) { return readRows(folder.file("VelmoraDSC.udl"), sql); }

    TempFolder folder;
    db::TADOConnection c{nullptr};
    velmora::Documents documents{c, 7};
};

}  // namespace

TEST_F(Documents, AnInsertStoresItsValuesWithItsHistoryRow)
{
    int64_t id = documents.insert({{"Iktatoszam", db::Cell::integer(2001)},
                                   {"Targy", db::Cell::text("Árvíztűrő")},
                                   {"Lezart", db::Cell::bytes(std::string(1, '\0'))}});
    EXPECT_EQ(id, 4);
    EXPECT_THAT(rows("Select Iktatoszam, Targy, Erkezett from Document where DocumentID = 4"),
                ElementsAre("2001|Árvíztűrő|null"));
    EXPECT_THAT(rows("Select DocumentID, UserID, Action from DocumentHistory"), ElementsAre("4|7|felvitel"));
    auto read = documents.read(id, {"Targy", "Iktatoszam", "Erkezett"});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->at(0), db::Cell::text("Árvíztűrő"));
    EXPECT_EQ(read->at(1), db::Cell::integer(2001));
    EXPECT_EQ(read->at(2).type, db::Cell::Type::Null);
    EXPECT_FALSE(documents.read(99, {"Targy"}));
}

TEST_F(Documents, AnUpdateWritesOnlyWhileTheRowHoldsWhatWasShown)
{
    // Document 3: 1003, "Szerződés módosítás", no date.
    std::vector<velmora::ColumnValue> shown = {{"Iktatoszam", db::Cell::integer(1003)},
                                               {"Targy", db::Cell::text("Szerződés módosítás")},
                                               {"Erkezett", db::Cell{}}};
    EXPECT_TRUE(documents.update(3, {{"Targy", db::Cell::text("Új tárgy")}}, shown));
    EXPECT_THAT(rows("Select Iktatoszam, Targy, Erkezett from Document where DocumentID = 3"),
                ElementsAre("1003|Új tárgy|null"));
    // What was shown is no longer there: nothing is written, no history.
    EXPECT_FALSE(documents.update(3, {{"Iktatoszam", db::Cell::integer(5)}}, shown));
    EXPECT_THAT(rows("Select Iktatoszam, Targy from Document where DocumentID = 3"), ElementsAre("1003|Új tárgy"));
    // A row that is gone.
    EXPECT_FALSE(documents.update(42, {{"Targy", db::Cell::text("x")}}, {}));
    EXPECT_THAT(rows("Select DocumentID, Action from DocumentHistory"), ElementsAre("3|módosítás"));
}

// The history keeps what each save gave and changed, as the form showed
// it, under the login name, in one transaction with the change.
TEST_F(Documents, TheHistoryKeepsEachValueGivenAndChangedAsShown)
{
    runScript(c, "Insert into UserTable (UserLogin, UserPasswd, UserGroupID) Values ('anna', 'x', 1)");
    int32_t anna = std::stoi(rows("Select UserID from UserTable where UserLogin = 'anna'").at(0));
    velmora::Documents hers(c, anna);
    int64_t id = hers.insert({{"Iktatoszam", db::Cell::integer(2001), "2001"},
                              {"Targy", db::Cell::text("Első"), "Első"},
                              {"Erkezett", db::Cell{}, ""},
                              {"Lezart", db::Cell::bytes(std::string(1, '\1')), "Igen"}});
    EXPECT_TRUE(hers.update(
        id, {{"Targy", db::Cell::text("Második"), "Második"}},
        {{"Targy", db::Cell::text("Első"), "Első"}, {"Lezart", db::Cell::bytes(std::string(1, '\1')), "Igen"}}));
    // Removed afterwards, the user is still named in the history.
    runScript(c, "Delete from UserTable where UserLogin = 'anna'");
    EXPECT_THAT(rows("Select h.Action, h.UserLogin, c.ColumnName, c.OldValue, c.NewValue from DocumentHistory h "
                     "join DocumentChange c on c.HistoryID = h.HistoryID order by h.HistoryID, c.ColumnName"),
                ElementsAre("felvitel|anna|Iktatoszam|null|2001", "felvitel|anna|Lezart|null|Igen",
                            "felvitel|anna|Targy|null|Első", "módosítás|anna|Targy|Első|Második"));
    // A save refused as changed meanwhile leaves no history row behind.
    EXPECT_FALSE(hers.update(id, {{"Targy", db::Cell::text("x"), "x"}}, {{"Targy", db::Cell::text("Első"), "Első"}}));
    EXPECT_EQ(rows("Select count(*) from DocumentChange").at(0), "4");
}

// The time of a history row is the database's clock: on PostgreSQL the
// server's, whatever the clerk's machine says.
TEST_F(Documents, AHistoryRowIsTimedByTheDatabasesClock)
{
    if (!onPostgres()) {
        // SQLite's clock is the program's own: the time is within this test's.
        documents.insert({{"Targy", db::Cell::text("most")}});
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char year[8];
        std::strftime(year, sizeof year, "%Y", &local);
        EXPECT_THAT(rows("Select ChangedAt from DocumentHistory").at(0), testing::StartsWith(year));
        return;
    }
    ClockedServer server;
    ASSERT_FALSE(server.conninfo().empty());
    TempFolder serverFolder;
    velmora::createDemoDatabaseOnServer(serverFolder.path(), server.conninfo());
    server.setClock("2031-05-06 07:08:09");
    db::TADOConnection onServer(nullptr);
    openDataLink(onServer, serverFolder.file("VelmoraDSC.udl"));
    velmora::ensureHistoryTable(onServer);
    velmora::Documents(onServer, 1).insert({{"Targy", db::Cell::text("később")}});
    EXPECT_THAT(readRows(onServer, "Select ChangedAt, UserLogin from DocumentHistory"),
                ElementsAre(testing::MatchesRegex("2031-05-06 07:0[89]:[0-9]{2}\\|demo")));
}
