// Data access over SQLite as the system uses it: connection from a data-link
// file, queries with parameters, column kinds, navigation, locate, edit and
// post, blob streams, commands.
#include "TempFolder.h"
#include "TestDatabase.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "db/Query.h"
#include "startup/DemoDatabase.h"
#include "startup/Schema.h"
#include "toolkit/core/Errors.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace db;

namespace {

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class DataAccess : public ::testing::Test {
protected:
    DataAccess()
    {
        makeDemoDatabase(folder.path());
        connection.setConnectionString("FILE NAME=" + folder.file("VelmoraDSC.udl"));
        connection.open();
        query.setConnection(&connection);
        command.setConnection(&connection);
    }
    void exec(const std::string& sql)
    {
        command.setCommandText(sql);
        command.executeScript();
    }
    void select(const std::string& sql)
    {
        query.close();
        query.setSqlText(sql);
        query.open();
    }

    TempFolder folder;
    TADOConnection connection{nullptr};
    TADOQuery query{nullptr};
    TADOCommand command{nullptr};
};

}  // namespace

TEST_F(DataAccess, DeclaredTypesReadBackAsTheirColumnKinds)
{
    exec("Alter Table Document Add [Szam] int ");
    exec("Alter Table Document Add [Szoveg] varchar(50) ");
    exec("Alter Table Document Add [Datum] datetime ");
    exec("Alter Table Document Add [IgenNem] binary(1) ");
    select("Select* from Document where DocumentID is null");
    EXPECT_EQ(query.recordCount(), 0);
    auto kind = [&](const char* name) { return query.fieldByName(name)->kind(); };
    EXPECT_EQ(kind("DocumentID"), FieldKind::AutoInc);
    EXPECT_EQ(kind("Szam"), FieldKind::Integer);
    EXPECT_EQ(kind("Szoveg"), FieldKind::String);
    EXPECT_EQ(kind("Datum"), FieldKind::DateTime);
    EXPECT_EQ(kind("IgenNem"), FieldKind::Bytes);
    EXPECT_EQ(query.field(0)->fieldName(), "DocumentID");
    // Names keep their letter case.
    EXPECT_EQ(query.field(5)->fieldName(), "Szam");
}

// The declared types of Jet, SQL Server and SQLite databases converted to
// SQLite read back with the kinds their columns had.
TEST_F(DataAccess, OtherDatabasesDeclaredTypesReadBackAsTheirKindsOnSqlite)
{
    if (onPostgres()) GTEST_SKIP() << "SQLite's declared types";
    exec(
        "CREATE TABLE Kinds (a smallint, b tinyint, c byte, d bigint, e char(10), f nvarchar(20), g nchar(5),"
        " h text, i memo, j ntext, k guid, l date, m time, n timestamp, o varbinary(8), p longbinary, q blob,"
        " r real, s float, t double, u money, v decimal(10,2), w bit, x yesno, y counter, z, aa sql_variant,"
        " ab text(30), ac longtext)");
    auto kind = [&](const char* name) { return query.fieldByName(name)->kind(); };
    select("select * from Kinds");
    const std::pair<const char*, FieldKind> expected[] = {
        {"a", FieldKind::Smallint},   {"b", FieldKind::Smallint}, {"c", FieldKind::Word},
        {"d", FieldKind::LargeInt},   {"e", FieldKind::String},   {"f", FieldKind::WideString},
        {"g", FieldKind::WideString}, {"h", FieldKind::Memo},     {"i", FieldKind::Memo},
        {"j", FieldKind::Memo},       {"k", FieldKind::Guid},     {"l", FieldKind::Date},
        {"m", FieldKind::Time},       {"n", FieldKind::DateTime}, {"o", FieldKind::VarBytes},
        {"p", FieldKind::Blob},       {"q", FieldKind::Blob},     {"r", FieldKind::Float},
        {"s", FieldKind::Float},      {"t", FieldKind::Float},    {"u", FieldKind::BCD},
        {"v", FieldKind::BCD},        {"w", FieldKind::Boolean},  {"x", FieldKind::Boolean},
        {"y", FieldKind::AutoInc},    {"z", FieldKind::Variant},  {"aa", FieldKind::Variant},
        {"ab", FieldKind::String},    {"ac", FieldKind::Memo},
    };
    for (auto [name, k] : expected) EXPECT_EQ(kind(name), k) << name << " is " << fieldClassName(kind(name));
    EXPECT_EQ(query.fieldByName("f")->className(), std::string("TWideStringField"));
}

TEST(FieldKinds, DerivedAndExactTests)
{
    EXPECT_TRUE(isKindOf(FieldKind::WideString, FieldKind::String));
    EXPECT_TRUE(isKindOf(FieldKind::AutoInc, FieldKind::Integer));
    EXPECT_TRUE(isKindOf(FieldKind::Date, FieldKind::DateTime));
    EXPECT_TRUE(isKindOf(FieldKind::VarBytes, FieldKind::Bytes));
    EXPECT_TRUE(isKindOf(FieldKind::Memo, FieldKind::Field));
    EXPECT_FALSE(isKindOf(FieldKind::String, FieldKind::WideString));
    EXPECT_FALSE(isKindOf(FieldKind::LargeInt, FieldKind::Integer));
    EXPECT_FALSE(isKindOf(FieldKind::Memo, FieldKind::String));
}

TEST_F(DataAccess, ParametersMatchQuotesAndSqlTextExactly)
{
    exec("INSERT INTO UserTable (UserLogin, UserPasswd, UserGroupID) VALUES ('o''brien', 'x'' or ''1''=''1', 1)");
    exec("INSERT INTO UserTable (UserLogin, UserPasswd, UserGroupID) VALUES ('[a]; drop table Fields;--', ':p', 2)");
    auto login = [&](const std::string& name, const std::string& password) {
        query.close();
        query.setSqlText(velmora::sql::login);
        query.parameters().paramByName("@UserLogin").setValue(tk::Value(name));
        query.parameters().paramByName("@UserPasswd").setValue(tk::Value(password));
        query.open();
        return query.recordCount();
    };
    EXPECT_EQ(login("demo", "demo"), 1);
    EXPECT_EQ(query.parameters().count(), 2);
    EXPECT_EQ(query.fieldByName("UserGroupID")->asInteger(), 1);
    EXPECT_EQ(login("demo", "Demo"), 0);
    EXPECT_EQ(login("o'brien", "x' or '1'='1"), 1);
    EXPECT_EQ(login("o'brien", "' or '1'='1"), 0);
    EXPECT_EQ(login("[a]; drop table Fields;--", ":p"), 1);
    EXPECT_EQ(query.fieldByName("UserGroupID")->asInteger(), 2);
    select("Select * from Fields");  // still there
    EXPECT_THROW(query.parameters().paramByName("@Nobody"), EDatabaseError);
}

TEST_F(DataAccess, ATransactionInsideAnotherUndoesOnlyItsOwnWorkAndNothingStaysWithoutTheOuterCommit)
{
    auto names = [&] {
        select("Select UserGroupName from UserGroup where UserGroupName like 'T%' order by UserGroupName");
        std::string all;
        for (; !query.eof(); query.next()) all += query.field(0)->asString() + ";";
        return all;
    };
    connection.beginTrans();
    exec("INSERT INTO UserGroup (UserGroupName) VALUES ('T1')");
    connection.beginTrans();
    exec("INSERT INTO UserGroup (UserGroupName) VALUES ('T2')");
    // A failed statement inside the inner one: its rollback leaves the
    // outer transaction working (PostgreSQL would refuse every statement
    // after the failure without a savepoint).
    EXPECT_THROW(exec("INSERT INTO NoSuchTable VALUES (1)"), EDatabaseError);
    connection.rollbackTrans();
    connection.beginTrans();
    exec("INSERT INTO UserGroup (UserGroupName) VALUES ('T3')");
    connection.commitTrans();
    EXPECT_EQ(names(), "T1;T3;");
    connection.commitTrans();
    EXPECT_EQ(names(), "T1;T3;");

    connection.beginTrans();
    connection.beginTrans();
    exec("INSERT INTO UserGroup (UserGroupName) VALUES ('T4')");
    connection.commitTrans();
    connection.rollbackTrans();
    EXPECT_EQ(names(), "T1;T3;");
}

TEST_F(DataAccess, NavigationStopsAtTheEndsAndLocateHasThreeWays)
{
    exec("INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Budapest')");
    exec("INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('bugac')");
    select("Select * from DictionaryGroup");
    ASSERT_EQ(query.recordCount(), 4);
    EXPECT_EQ(query.recNo(), 0);
    EXPECT_EQ(query.fieldByName("DictionaryGroupName")->asString(), "Ügytípus");
    EXPECT_EQ(query.moveBy(10), 3);
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.moveBy(-10), -3);
    EXPECT_TRUE(query.bof());
    std::vector<std::string> names;
    while (!query.eof()) {
        names.push_back(query.fieldByName("DictionaryGroupName")->asString());
        query.next();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Ügytípus", "Osztály", "Budapest", "bugac"}));

    EXPECT_FALSE(query.locate("DictionaryGroupName", tk::Value("budapest"), 0));
    EXPECT_TRUE(query.locate("DictionaryGroupName", tk::Value("budapest"), loCaseInsensitive));
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_TRUE(query.locate("DictionaryGroupName", tk::Value("BU"), loCaseInsensitive | loPartialKey));
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_TRUE(query.locate("DictionaryGroupName", tk::Value("ügy"), loCaseInsensitive | loPartialKey));
    EXPECT_EQ(query.recNo(), 0);
    EXPECT_FALSE(query.locate("DictionaryGroupName", tk::Value("Bu"), loCaseInsensitive));
    EXPECT_TRUE(query.locate("DictionaryGroupID", tk::Value(int64_t{4}), 0));
    EXPECT_EQ(query.fieldByName("DictionaryGroupName")->asString(), "bugac");
    try {
        query.fieldByName("Nincs");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'Nincs' not found");
    }
}

TEST_F(DataAccess, APagedResultIsReadWhereItIsReachedNewestKeyFirst)
{
    for (int i = 3; i <= 23; ++i)
        exec("INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('g" + std::to_string(i) + "')");
    query.setSqlText(
        "Select DictionaryGroupID, DictionaryGroupName from DictionaryGroup where DictionaryGroupID > :low");
    query.setPaging("DictionaryGroupID", 5);
    query.parameters().paramByName("low").setValue(tk::Value(int64_t{1}));
    query.open();
    ASSERT_EQ(query.recordCount(), 22);
    EXPECT_EQ(query.fieldByName("DictionaryGroupID")->asInteger(), 23);
    EXPECT_EQ(query.displayText(4, 1), "g19");
    EXPECT_THROW(query.edit(), EDatabaseError);

    // Rows not read yet are read as they are now: the deleted ones are gone
    // and the count shrinks to what was there; a row added is not seen.
    exec("DELETE FROM DictionaryGroup WHERE DictionaryGroupID IN (17, 3)");
    exec("INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('new')");
    std::vector<int64_t> ids;
    while (!query.eof()) {
        ids.push_back(query.fieldByName("DictionaryGroupID")->asInteger());
        query.next();
    }
    std::vector<int64_t> expected;
    for (int64_t id = 23; id >= 2; --id)
        if (id != 17 && id != 3) expected.push_back(id);
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(query.recordCount(), 20);
    EXPECT_EQ(query.displayText(21, 1), "");

    // Locate reads on to a row not read yet; the same query reads whole
    // again without paging.
    query.close();
    query.open();
    EXPECT_TRUE(query.locate("DictionaryGroupName", tk::Value("G4"), loCaseInsensitive));
    EXPECT_EQ(query.recNo(), 19);
    query.setPaging("", 0);
    query.open();
    EXPECT_EQ(query.recordCount(), 21);
    EXPECT_EQ(query.fieldByName("DictionaryGroupID")->asInteger(), 2);

    query.setPaging("Nincs", 5);
    EXPECT_THROW(query.open(), EDatabaseError);
}

TEST_F(DataAccess, APagedResultOrderedByAColumnPutsTiesByKeyAndEmptyValuesLastBothWays)
{
    // Values with ties and gaps that fall across the pages' edges.
    std::vector<std::pair<std::optional<int>, int64_t>> stored;  // (value, DocumentID)
    for (int i = 1; i <= 23; ++i) {
        std::optional<int> value;
        if (i % 4 != 0) value = (i * 7) % 5;
        exec("INSERT INTO Document (Iktatoszam) VALUES (" + (value ? std::to_string(*value) : "NULL") + ")");
        stored.emplace_back(value, i);
    }
    for (bool descending : {false, true}) {
        query.close();
        query.setSqlText("Select DocumentID, Iktatoszam as Szam, Targy from Document where DocumentID > :low");
        query.setPaging("DocumentID", 3, {"Szam", descending});
        query.parameters().paramByName("low").setValue(tk::Value(int64_t{0}));
        query.open();
        std::vector<std::pair<std::optional<int>, int64_t>> expected = stored;
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            if (a.first.has_value() != b.first.has_value()) return a.first.has_value();
            if (a.first != b.first) return descending ? a.first > b.first : a.first < b.first;
            return descending ? a.second > b.second : a.second < b.second;
        });
        std::vector<std::pair<std::optional<int>, int64_t>> read;
        for (; !query.eof(); query.next()) {
            TField* value = query.fieldByName("Szam");
            read.emplace_back(value->isNull() ? std::nullopt : std::optional<int>(value->asInteger()),
                              query.fieldByName("DocumentID")->asInteger());
        }
        EXPECT_EQ(read, expected) << (descending ? "descending" : "ascending");
        EXPECT_EQ(query.recordCount(), 23);
    }

    // Texts: on SQLite without regard to case and accents first, then as
    // stored; on PostgreSQL by the database's collation (the test server's
    // is C.UTF-8, the letters' order).
    const char* subjects[] = {"alma", "Álma", "NULL", "Alma", "beta", "álma", "Béta", "alma", "NULL", "Alma", "b"};
    std::vector<std::pair<std::optional<std::string>, int64_t>> texts;
    for (size_t i = 0; i < std::size(subjects); ++i) {
        std::string s = subjects[i];
        exec("UPDATE Document SET Targy = " + (s == "NULL" ? s : "'" + s + "'") +
             " WHERE DocumentID = " + std::to_string(i + 1));
        texts.emplace_back(s == "NULL" ? std::nullopt : std::optional<std::string>(s), i + 1);
    }
    for (size_t i = std::size(subjects); i < 23; ++i) texts.emplace_back(std::nullopt, i + 1);
    for (bool descending : {false, true}) {
        query.close();
        query.setPaging("DocumentID", 2, {"Targy", descending, true});
        query.open();
        auto expected = texts;
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            if (a.first.has_value() != b.first.has_value()) return a.first.has_value();
            if (a.first && *a.first != *b.first) {
                auto ka = std::pair(onPostgres() ? "" : db::plainedText(*a.first), *a.first);
                auto kb = std::pair(onPostgres() ? "" : db::plainedText(*b.first), *b.first);
                return descending ? ka > kb : ka < kb;
            }
            return descending ? a.second > b.second : a.second < b.second;
        });
        std::vector<std::pair<std::optional<std::string>, int64_t>> read;
        for (; !query.eof(); query.next()) {
            TField* value = query.fieldByName("Targy");
            read.emplace_back(value->isNull() ? std::nullopt : std::optional<std::string>(value->asString()),
                              query.fieldByName("DocumentID")->asInteger());
        }
        EXPECT_EQ(read, expected) << (descending ? "descending" : "ascending");
    }

    // Ordered by the key itself, the key's pages in that direction.
    query.close();
    query.setPaging("DocumentID", 4, {"documentid", false});
    query.open();
    query.last();
    EXPECT_EQ(query.recNo(), 22);
    EXPECT_EQ(query.fieldByName("DocumentID")->asInteger(), 23);
    query.close();
    query.setPaging("DocumentID", 4, {"Nincs", false});
    EXPECT_THROW(query.open(), EDatabaseError);
}

TEST_F(DataAccess, NullReadsAsZeroButCannotBecomeText)
{
    exec("INSERT INTO Fields (FieldName, DictionaryGroupID) VALUES ('Targy', NULL)");
    select("Select * from Fields");
    TField* id = query.fieldByName("DictionaryGroupID");
    EXPECT_TRUE(id->isNull());
    EXPECT_EQ(id->asInteger(), 0);
    EXPECT_THROW(id->asString(), tk::EConvertError);
    select("Select * from Fields where 1 = 0");
    EXPECT_EQ(query.fieldByName("FieldName")->asInteger(), 0);
}

TEST_F(DataAccess, EditAndPostWriteTheRowAndBlobsKeepEveryByte)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    bytes += std::string("\0\0object frmClientMain: TfrmClientMain\r\n", 41);

    select("Select * from UserGroup");
    ASSERT_TRUE(query.locate("UserGroupID", tk::Value(int64_t{2}), 0));
    query.edit();
    query.fieldByName("FormData")->clear();
    query.post();
    query.edit();
    {
        auto stream = query.createBlobStream(query.fieldByName("FormData"), BlobMode::ReadWrite);
        stream->write(bytes);
    }  // released: the bytes go to the column
    query.post();

    // A new connection, as the next session would read it.
    TADOConnection again(nullptr);
    again.setConnectionString("FILE NAME=" + folder.file("VelmoraDSC.udl"));
    again.open();
    TADOQuery check(nullptr);
    check.setConnection(&again);
    check.setSqlText("Select * from UserGroup where FormData is not null");
    check.open();
    ASSERT_EQ(check.recordCount(), 1);
    EXPECT_EQ(check.fieldByName("UserGroupName")->asString(), "Pénzügy");
    auto stream = check.createBlobStream(check.fieldByName("FormData"), BlobMode::Read);
    EXPECT_EQ(stream->size(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(stream->bytes(), bytes);
    EXPECT_THROW(stream->write("x"), EDatabaseError);
    EXPECT_THROW(check.createBlobStream(check.fieldByName("FormData"), BlobMode::ReadWrite), EDatabaseError);

    // Setting the column to null is written by the post as well.
    select("Select * from UserGroup");
    query.locate("UserGroupID", tk::Value(int64_t{2}), 0);
    query.edit();
    query.fieldByName("FormData")->clear();
    query.post();
    check.close();
    check.open();
    EXPECT_EQ(check.recordCount(), 0);
}

TEST_F(DataAccess, RefusedStatementsRaiseTheirError)
{
    EXPECT_THROW(exec("Alter Table Nincs Add [x] int "), EDatabaseError);
    EXPECT_THROW(exec("Insert into Fields (FieldName,DictionaryGroupID) Values ('it's',1)"), EDatabaseError);
    query.setSqlText("Select * from Nincs");
    try {
        query.open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("Nincs"), std::string::npos);
    }
    EXPECT_FALSE(query.active());
    EXPECT_THROW(query.next(), EDatabaseError);
    // A column that is already there, in any letter case, as saving adds it.
    command.setCommandText("Alter Table Document Add [Targy2] int ");
    command.execute();
    command.setCommandText("Alter Table Document Add [targy2] int ");
    EXPECT_THROW(command.execute(), EDatabaseError);
    select("Select* from Document where DocumentID is null");
    EXPECT_TRUE(query.findField("Targy2"));
    EXPECT_EQ(query.fieldCount(), 6);
}

TEST(DataLinkFiles, AreReadInTheirEncodingsAndRefuseOtherProviders)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.file("sub dir"));
    auto open = [&](const std::string& bytes) {
        writeFile(folder.file("link.udl"), bytes);
        TADOConnection c(nullptr);
        c.setConnectionString("FILE NAME=" + folder.file("link.udl"));
        c.open();
        return c.databasePath();
    };
    // UTF-16LE with a byte-order mark, as Windows writes it.
    std::string text =
        "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
        "Provider=SQLite.1;Persist Security Info=False;Data Source=\"sub dir/velmora.db\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_THROW(open(utf16), EDatabaseError);  // "SQLite.1" is no provider we know
    std::string good = "[oledb]\r\n; comment\r\nprovider = sqlite ; data source='sub dir/velmora.db'\r\n";
    std::string good16 = "\xFF\xFE";
    for (char c : good) {
        good16 += c;
        good16 += '\0';
    }
    EXPECT_EQ(open(good16), folder.file("sub dir/velmora.db"));
    EXPECT_EQ(open(good), folder.file("sub dir/velmora.db"));

    try {
        open("[oledb]\r\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\velmora.mdb\r\n");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("Microsoft.Jet.OLEDB.4.0"), std::string::npos);
    }
    EXPECT_THROW(open("Provider=SQLite;Data Source=velmora.db\r\n"), EDatabaseError);  // no [oledb]
    EXPECT_THROW(open("[oledb]\r\nProvider=SQLite\r\n"), EDatabaseError);              // no database
    EXPECT_THROW(open("[oledb]\r\nProvider=SQLite;Data Source=nincs.db\r\n"), EDatabaseError);
    writeFile(folder.file("not a db.db"), "this is not a database file at all, just text.....................");
    EXPECT_THROW(open("[oledb]\r\nProvider=SQLite;Data Source=not a db.db\r\n"), EDatabaseError);

    TADOConnection missing(nullptr);
    missing.setConnectionString("FILE NAME=" + folder.file("missing.udl"));
    try {
        missing.open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find(folder.file("missing.udl")), std::string::npos);
    }
    // Quoted values keep their semicolons; keys ignore case.
    auto kv = parseKeyValues("A=1; b = \"x;y\" ;C='it''s'");
    EXPECT_EQ(kv["a"], "1");
    EXPECT_EQ(kv["b"], "x;y");
    EXPECT_EQ(kv["c"], "it's");
}

TEST(DemoDatabase, RefusesToOverwriteAnExistingDatabase)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.path());
    EXPECT_THROW(velmora::createDemoDatabase(folder.path()), EDatabaseError);
}

TEST_F(DataAccess, ARepeatedStatementNeverShowsARowColumnOrValueThatHasChanged)
{
    select("Select * from DictionaryGroup");
    ASSERT_EQ(query.recordCount(), 2);
    // A row added through the same connection.
    exec("INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Harmadik')");
    select("Select * from DictionaryGroup");
    EXPECT_EQ(query.recordCount(), 3);
    // A column added by ALTER TABLE.
    select("Select* from Document where DocumentID is null");
    int columns = query.fieldCount();
    exec("Alter Table Document Add [Uj] int ");
    select("Select* from Document where DocumentID is null");
    EXPECT_EQ(query.fieldCount(), columns + 1);
    // A commit by another connection, as another program's.
    TADOConnection other(nullptr);
    other.setConnectionString("FILE NAME=" + folder.file("VelmoraDSC.udl"));
    other.open();
    TADOCommand write(nullptr);
    write.setConnection(&other);
    write.setCommandText("DELETE FROM DictionaryGroup WHERE DictionaryGroupName = 'Harmadik'");
    write.execute();
    select("Select * from DictionaryGroup");
    EXPECT_EQ(query.recordCount(), 2);
    // An edit of a row read before changes nothing another reader sees
    // until it is posted, and a posted value is what the next reader gets.
    ASSERT_TRUE(query.locate("DictionaryGroupName", tk::Value("Osztály"), 0));
    query.edit();
    query.fieldByName("DictionaryGroupName")->setAsString("Osztályok");
    TADOQuery second(nullptr);
    second.setConnection(&connection);
    second.setSqlText("Select * from DictionaryGroup");
    second.open();
    ASSERT_TRUE(second.locate("DictionaryGroupName", tk::Value("Osztály"), 0));
    query.post();
    second.close();
    second.open();
    EXPECT_TRUE(second.locate("DictionaryGroupName", tk::Value("Osztályok"), 0));
    EXPECT_FALSE(second.locate("DictionaryGroupName", tk::Value("Osztály"), 0));
}
