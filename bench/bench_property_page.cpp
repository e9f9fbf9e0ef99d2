// ShowControl against a wide catalogue: 500 Document columns and 10,000
// dictionaries, for an entry-page edit (column list by kind, the field's
// dictionary, the dictionary list) and a search-page edit (column list,
// relation list). The goal is under 2 ms a selection.
#include "../tests/TestDatabase.h"
#include "controls/ZEDit.h"
#include "db/Command.h"
#include "designer/ClientMain.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "startup/DesignClasses.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

struct Scene {
    std::string folder;
    tk::HeadlessPlatform platform;
    tk::TApplication app{platform};

    Scene()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora bench XXXXXX").string();
        folder = mkdtemp(pattern.data());
        makeDemoDatabase(folder);
        velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
        velmora::dmClientMain = new velmora::TdmClientMain(&app);
        auto& dm = *velmora::dmClientMain;
        dm.ADOConnection->setConnectionString("FILE NAME=" + folder + "/VelmoraDSC.udl");
        dm.ADOConnection->open();
        std::string sql = "BEGIN;";
        for (int i = 0; i < 496; ++i)
            sql += "ALTER TABLE Document ADD [Mezo" + std::to_string(i) + "] " +
                   (i % 4 == 0   ? "int"
                    : i % 4 == 1 ? "varchar(50)"
                    : i % 4 == 2 ? "datetime"
                                 : "binary(1)") +
                   ";";
        for (int i = 0; i < 10000; ++i)
            sql += "INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Szotar" + std::to_string(i) + "');";
        sql += "INSERT INTO Fields (FieldName, DictionaryGroupID) VALUES ('Mezo0', 5000);COMMIT;";
        dm.cmdAlterTable->setCommandText(sql);
        dm.cmdAlterTable->executeScript();
        app.createForm(velmora::frmClientMain);
        app.createForm(velmora::frmComonentPalette);
        app.createForm(velmora::frmPropertyPage);
        velmora::frmClientMain->show();
        velmora::frmClientMain->PrepareDesignSurface();
    }
    ~Scene()
    {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    tk::TControl* edit(const char* sheetName)
    {
        auto* sheet = tk::as<tk::TWinControl>(velmora::frmClientMain->findComponent(sheetName));
        auto* e = new velmora::TZEDit(velmora::frmClientMain.get());
        e->setName(velmora::frmClientMain->uniqueName("TZEDit"));
        e->setParent(sheet);
        e->setKeyField("Mezo0");
        tk::setProp(*e, "Tag", tk::Value(1));
        return e;
    }
};

void BM_ShowControlEntryField(benchmark::State& state)
{
    Scene s;
    tk::TControl* e = s.edit("tsEdit");
    for (auto _ : state) velmora::frmPropertyPage->ShowControl(e);
}
BENCHMARK(BM_ShowControlEntryField)->Unit(benchmark::kMillisecond);

void BM_ShowControlSearchField(benchmark::State& state)
{
    Scene s;
    tk::TControl* e = s.edit("tsSearch");
    for (auto _ : state) velmora::frmPropertyPage->ShowControl(e);
}
BENCHMARK(BM_ShowControlSearchField)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The catalogue queries one entry-page selection makes, one by one.
void BM_CatalogueStep(benchmark::State& state)
{
    Scene s;
    auto& dm = *velmora::dmClientMain;
    std::vector<std::string> list;
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: dm.ListDictionaries(list); break;
        case 1: velmora::frmPropertyPage->DictionaryOfField("Mezo0"); break;
        case 2: dm.ListColumns(list, db::FieldKind::Integer, std::nullopt); break;
        default: dm.ColumnTypeIndex("mezo0"); break;
        }
    }
    state.SetLabel(state.range(0) == 0   ? "ListDictionaries"
                   : state.range(0) == 1 ? "DictionaryOfField"
                   : state.range(0) == 2 ? "ListColumns"
                                         : "ColumnTypeIndex");
}
BENCHMARK(BM_CatalogueStep)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
