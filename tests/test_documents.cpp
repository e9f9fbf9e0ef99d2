// The Document row apart from any window: inserting with a history row,
// updating only while the row holds what was shown, reading back; on both
// engines, the database read afterwards as another program would.
#include "TempFolder.h"
#include "TestDatabase.h"
#include "app/DemoEntryForm.h"
#include "entry/Documents.h"

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
