// Undo, redo and paste on a design surface holding 1,000 wired field
// controls (edits with their caption labels): one undo or redo of one step
// (goal 20 ms), recording a step after a gesture, a paste of 100 controls
// (goal 20 ms), and what one kept step costs in memory.
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "model/DesignClipboard.h"
#include "model/DesignHistory.h"
#include "model/DesignModel.h"
#include "startup/DesignClasses.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

namespace {

// The main window with `fields` edits, each with its caption label, on the
// entry page, wired for design.
struct Surface {
    tk::HeadlessPlatform platform;
    tk::TApplication app{platform};
    velmora::TfrmClientMain* window;
    explicit Surface(int fields)
    {
        velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
        app.createForm(velmora::frmClientMain);
        window = velmora::frmClientMain.get();
        auto* pages = tk::as<tk::TPageControl>(window->findComponent("pcData"));
        auto* sheet = tk::as<tk::TTabSheet>(window->findComponent("tsEdit"));
        pages->setActivePage(sheet);
        for (int i = 0; i < fields; ++i) {
            auto* e = new velmora::TZEDit(window);
            e->setName("TZEDit" + std::to_string(i + 1));
            e->setParent(sheet);
            e->setBounds(60 + (i % 10) * 36, 4 + (i / 10) * 3, 30, 21);
            auto* l = new velmora::TZEDText(window);
            l->setName("TZEDText" + std::to_string(i + 1));
            l->setParent(sheet);
            l->setCaption("Mező:");
            l->setBounds(4, 4 + (i / 10) * 3, 40, 17);
            l->setFocusControl(e);
        }
        window->show();
        window->PrepareDesignSurface();
    }
    velmora::DesignModel& model() { return velmora::designModel(); }
    tk::TControl* field(int i) { return tk::as<tk::TControl>(window->findComponent("TZEDit" + std::to_string(i))); }
};

// Two steps (a control moved by a key), then undo and redo in turn.
void BM_UndoOrRedoOneStep(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)));
    s.model().history().start();
    s.field(1)->setLeft(s.field(1)->left() + 4);
    s.model().history().record();
    bool undo = true;
    for (auto _ : state) {
        if (undo) s.model().history().undo();
        else s.model().history().redo();
        undo = !undo;
    }
    state.counters["controls"] = s.window->componentCount();
}
BENCHMARK(BM_UndoOrRedoOneStep)->Arg(1000)->Unit(benchmark::kMillisecond);

// What the history does after every press, release and key: write the
// window and compare it with the current step (here a changed one, so a
// step is kept each time); and the memory one step takes.
void BM_RecordAStep(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)));
    velmora::DesignHistory& history = s.model().history();
    history.start();
    int step = 0;
    for (auto _ : state) {
        s.field(1)->setLeft(s.field(1)->left() + (++step % 2 ? 4 : -4));
        history.record();
    }
    state.counters["bytes_per_step"] = static_cast<double>(history.bytes()) / history.stepCount();
    state.counters["steps"] = static_cast<double>(history.stepCount());
}
BENCHMARK(BM_RecordAStep)->Arg(1000)->Unit(benchmark::kMillisecond);

// Copying 100 fields with their labels, then pasting them, taken back
// after each paste.
void BM_Paste100Controls(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)));
    std::vector<tk::TControl*> fields;
    for (int i = 1; i <= 100; ++i) fields.push_back(s.field(i));
    s.model().select(fields);
    std::string text = velmora::copiedText(s.model());
    size_t pasted = 0;
    for (auto _ : state) {
        s.model().select(fields);
        std::vector<tk::TControl*> made = velmora::paste(s.model(), text);
        pasted = made.size();
        state.PauseTiming();
        for (tk::TControl* c : made) c->free();
        state.ResumeTiming();
    }
    state.counters["pasted"] = static_cast<double>(pasted);
    state.counters["text_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_Paste100Controls)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
