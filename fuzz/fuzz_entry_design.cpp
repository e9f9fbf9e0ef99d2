// Fuzz target: any bytes as the clerk's group's stored design, in the
// clerk's program. The program starts on it headless and is played as a
// clerk plays it: New, typing, Save, a message answered, Cancel, Search, a
// double click on the result and Esc. It refuses the design or works; it
// never crashes, and whatever it writes is whole: every document it adds
// has its history row, and the database checks whole.
#include "../tests/TempFolder.h"
#include "../tests/TestDatabase.h"
#include "app/DemoEntryForm.h"
#include "app/EntryComposition.h"
#include "designer/ClientMain.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

constexpr int clerksGroup = 3;  // the clerk's demonstration group

struct Database {
    TempFolder folder;
    Database()
    {
        velmora::createDemoDatabase(folder.path());
        velmora::addEntryDemo(udl());
    }
    std::string udl() const { return folder.file("VelmoraDSC.udl"); }
    int64_t count(const char* sql) const { return std::stoll(readRows(udl(), sql).at(0)); }
};

// The control of the main window named `name`, when the design has it.
tk::TControl* control(const char* name)
{
    tk::TForm* main = velmora::frmClientMain.get();
    return main ? tk::as<tk::TControl>(main->findComponent(name)) : nullptr;
}

void clickIfThere(const char* name)
{
    if (tk::TControl* c = control(name)) tk::Application->click(c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Database made;
    static Database* database = [] {
        // Start-up's refusals go to standard error, once a run; not here.
        if (!std::getenv("VELMORA_FUZZ_VERBOSE")) std::freopen("/dev/null", "w", stderr);
        return &made;
    }();
    storeFormData(database->udl(), clerksGroup, std::string(reinterpret_cast<const char*>(data), size));
    int64_t documents = database->count("Select count(*) from Document");
    int64_t histories = database->count("Select count(*) from DocumentHistory");

    tk::HeadlessPlatform platform;
    auto step = [&](std::function<void()> f) { platform.script(std::move(f)); };
    step([] {
        tk::Application->typeText(velmora::entryDemoLogin);
        tk::Application->pressKey(tk::vk::Tab);
        tk::Application->typeText(velmora::entryDemoPassword);
        tk::Application->pressKey(tk::vk::Return);
    });
    step([] { clickIfThere("btnNew"); });
    step([] {
        // A number, a text and a date, in whatever fields they land.
        tk::Application->typeText("17");
        tk::Application->pressKey(tk::vk::Tab);
        tk::Application->typeText("Fuzz 17");
        tk::Application->pressKey(tk::vk::Tab);
        tk::Application->typeText("2026.12.08.");
    });
    step([] { clickIfThere("btnSave"); });
    // A message window, if the save was refused, takes Enter.
    step([] { tk::Application->pressKey(tk::vk::Return); });
    step([] { clickIfThere("btnCancel"); });
    step([] { tk::Application->pressKey(tk::vk::Return); });
    step([] { clickIfThere("btnSearch"); });
    step([] { tk::Application->pressKey(tk::vk::Return); });
    step([] {
        if (tk::TControl* grid = control("dbgSearch"))
            tk::Application->doubleClick(grid, {grid->width() / 2, std::min(grid->height() - 1, 30)});
    });
    step([] { tk::Application->pressKey(tk::vk::Escape); });
    step([] { tk::Application->pressKey(tk::vk::Return); });
    step([] { tk::Application->terminate(); });
    velmora::runVelmoraEntry(platform, database->folder.file("velmora-entry"));

    // Whatever was added is whole.
    int64_t added = database->count("Select count(*) from Document") - documents;
    int64_t recorded = database->count("Select count(*) from DocumentHistory") - histories;
    if (std::getenv("VELMORA_FUZZ_VERBOSE"))
        std::fprintf(stderr, "%lld documents added, %lld history rows\n", static_cast<long long>(added),
                     static_cast<long long>(recorded));
    if (added < 0 || recorded < added) std::abort();
    if (readRows(database->udl(), "PRAGMA integrity_check") != std::vector<std::string>{"ok"}) std::abort();
    return 0;
}
