// Costs of the catalogue reads the property page makes on every selection:
// the column list of a wide Document table, and a locate in a long
// dictionary table.
#include "../tests/TestDatabase.h"
#include "db/Command.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "startup/DemoDatabase.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct Database {
    std::string folder;
    db::TADOConnection connection{nullptr};
    db::TADOCommand command{nullptr};
    db::TADOQuery query{nullptr};

    Database()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora bench XXXXXX").string();
        folder = mkdtemp(pattern.data());
        makeDemoDatabase(folder);
        connection.setConnectionString("FILE NAME=" + folder + "/VelmoraDSC.udl");
        connection.open();
        command.setConnection(&connection);
        query.setConnection(&connection);
    }
    ~Database()
    {
        connection.close();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    void exec(const std::string& sql)
    {
        command.setCommandText(sql);
        command.executeScript();
    }
};

void BM_DocumentColumnList500(benchmark::State& state)
{
    Database d;
    std::string sql = "BEGIN;";
    for (int i = 0; i < 500; ++i)
        sql += "Alter Table Document Add [Field" + std::to_string(i) + "] " + (i % 2 ? "varchar(50)" : "int") + ";";
    d.exec(sql + "COMMIT;");
    for (auto _ : state) {
        d.query.close();
        d.query.setSqlText("Select* from Document where DocumentID is null");
        d.query.open();
        benchmark::DoNotOptimize(d.query.fieldCount());
    }
    state.counters["columns"] = d.query.fieldCount();
}
BENCHMARK(BM_DocumentColumnList500)->Unit(benchmark::kMicrosecond);

void BM_LocateIn10000Dictionaries(benchmark::State& state)
{
    Database d;
    std::string sql = "BEGIN;";
    for (int i = 0; i < 10000; ++i)
        sql += "Insert into DictionaryGroup (DictionaryGroupName) Values ('Szótár " + std::to_string(i) + "');";
    d.exec(sql + "COMMIT;");
    d.query.setSqlText("Select * from DictionaryGroup");
    d.query.open();
    for (auto _ : state) {
        // The last row, found ignoring case: the longest search.
        bool found = d.query.locate("DictionaryGroupName", tk::Value("SZÓTÁR 9999"), db::loCaseInsensitive);
        benchmark::DoNotOptimize(found);
    }
    state.counters["rows"] = d.query.recordCount();
}
BENCHMARK(BM_LocateIn10000Dictionaries)->Unit(benchmark::kMicrosecond);

void BM_OpenDictionaryTable10000(benchmark::State& state)
{
    Database d;
    std::string sql = "BEGIN;";
    for (int i = 0; i < 10000; ++i)
        sql += "Insert into DictionaryGroup (DictionaryGroupName) Values ('Szótár " + std::to_string(i) + "');";
    d.exec(sql + "COMMIT;");
    for (auto _ : state) {
        d.query.close();
        d.query.setSqlText("Select * from DictionaryGroup");
        d.query.open();
    }
}
BENCHMARK(BM_OpenDictionaryTable10000)->Unit(benchmark::kMicrosecond);

}  // namespace
