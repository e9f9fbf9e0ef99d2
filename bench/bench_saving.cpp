// Saving a design of 1,000 field controls (half of them naming a
// dictionary) for a group: the lookup list confirmed, the design written
// whole, and for every component the checks that bring the database in
// line (its column, its dictionary, its field name). The goal is under
// 100 ms on SQLite. The first save adds the columns and registers the
// names; the benchmark measures the saves after it, which find them all.
#include "../tests/TestDatabase.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "lookup/SearchList.h"
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

void BM_SaveDesign(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora bench XXXXXX").string();
    std::string folder = mkdtemp(pattern.data());
    makeDemoDatabase(folder);
    tk::HeadlessPlatform platform;
    tk::TApplication app(platform);
    velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
    velmora::dmClientMain = new velmora::TdmClientMain(&app);
    velmora::dmClientMain->ADOConnection->setConnectionString("FILE NAME=" + folder + "/VelmoraDSC.udl");
    velmora::dmClientMain->ADOConnection->open();
    app.createForm(velmora::frmClientMain);
    app.createForm(velmora::frmComonentPalette);
    app.createForm(velmora::frmPropertyPage);
    app.createForm(velmora::frmSearchList);
    auto& window = *velmora::frmClientMain;
    window.show();
    window.PrepareDesignSurface();
    auto* sheet = tk::as<tk::TWinControl>(window.findComponent("tsEdit"));
    for (int i = 0; i < state.range(0); ++i) {
        auto* e = new velmora::TZEDit(&window);
        e->setName("TZEDit" + std::to_string(i + 1));
        e->setParent(sheet);
        e->setBounds(8 + (i % 8) * 60, 8 + (i / 8) * 24, 56, 21);
        e->setKeyField("Mezo" + std::to_string(i + 1));
        tk::setPropText(*e, "FieldType", std::to_string(i % 2));
        if (i % 2) tk::setPropText(*e, "Dictionary", "Szotar" + std::to_string(i % 20));
        window.HookComponent(e);
    }
    auto save = [&] {
        platform.script([&] {
            app.typeText("Ikt");
            app.pressKey(tk::vk::Return);
        });
        velmora::frmComonentPalette->btnSaveClick(nullptr);
    };
    save();  // adds the columns and registers the names
    for (auto _ : state) save();
    state.counters["controls"] = static_cast<double>(state.range(0));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_SaveDesign)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
