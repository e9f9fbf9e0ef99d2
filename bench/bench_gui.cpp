// One paint of the main window holding 1,000 placed field controls, on
// Qt's offscreen platform: the goal is well under 16 ms (one frame); and a
// mouse movement with its repaint while dragging one control, 50 selected
// controls, or a sizing handle (each within a frame too).
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "designs/ClassRegistry.h"
#include "gui/Painter.h"
#include "gui/QtPlatform.h"
#include "model/DesignModel.h"
#include "model/SelectionGestures.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdlib>

namespace {

// The main window with `controls` edits on its entry page, in rows from
// `top` down; `withText` gives each a text to draw.
velmora::TfrmClientMain& mainWindowWith(tk::TApplication& app, int controls, int top, bool withText)
{
    app.createForm(velmora::frmClientMain);
    velmora::TfrmClientMain& window = *velmora::frmClientMain;
    auto* pages = tk::as<tk::TPageControl>(window.findComponent("pcData"));
    auto* sheet = tk::as<tk::TTabSheet>(window.findComponent("tsEdit"));
    pages->setActivePage(sheet);
    for (int i = 0; i < controls; ++i) {
        auto* e = new velmora::TZEDit(&window);
        e->setName("TZEDit" + std::to_string(i + 1));
        e->setParent(sheet);
        e->setBounds(4 + (i % 20) * 21, top + (i / 20) * 5, 60, 21);
        if (withText) e->setText("Mező " + std::to_string(i));
    }
    return window;
}

void BM_PaintMainWindow1000Controls(benchmark::State& state)
{
    gui::QtPlatform platform;
    tk::TApplication app(platform);
    velmora::TfrmClientMain& window = mainWindowWith(app, static_cast<int>(state.range(0)), 4, true);
    QImage image(window.clientWidth(), window.clientHeight(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        gui::paintWindow(p, window);
    }
    state.counters["controls"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_PaintMainWindow1000Controls)->Arg(1000)->Unit(benchmark::kMillisecond);

// Presses the left button at `at`, then measures mouse movements back and
// forth by one grid step, each with the repaint of the window that
// follows, and releases the button.
void dragBackAndForth(benchmark::State& state, tk::TApplication& app, velmora::TfrmClientMain& window, tk::TPoint at)
{
    app.mouseMove(0, at);
    app.mouseDown(tk::TMouseButton::mbLeft, tk::ssLeft, at);
    QImage image(window.clientWidth(), window.clientHeight(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        step = 1 - step;
        app.mouseMove(tk::ssLeft, {at.x + 4 * step, at.y});
        QPainter p(&image);
        gui::paintWindow(p, window);
    }
    state.counters["selected"] = static_cast<double>(velmora::designModel().selection().size());
    app.mouseUp(tk::TMouseButton::mbLeft, 0, at);
}

// The main window with 1,000 wired field controls, shown in design mode.
velmora::TfrmClientMain& designSurfaceWith(tk::TApplication& app, int controls)
{
    velmora::TfrmClientMain& window = mainWindowWith(app, controls, 40, false);
    window.show();
    window.PrepareDesignSurface();
    return window;
}

// One mouse movement of a drag on the design surface holding 1,000 wired
// field controls: the input API, the designer's move handler on the grid,
// and the repaint of the window that follows. The goal is a frame at 60
// frames a second (16.7 ms).
void BM_DragMoveWithRepaint(benchmark::State& state)
{
    gui::QtPlatform platform;
    tk::TApplication app(platform);
    velmora::TfrmClientMain& window = designSurfaceWith(app, static_cast<int>(state.range(0)));
    auto* dragged = tk::as<tk::TControl>(window.findComponent("TZEDit1"));
    dragBackAndForth(state, app, window, dragged->clientToScreen({5, 5}));
}
BENCHMARK(BM_DragMoveWithRepaint)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same with 50 of the controls selected together: every one of them
// moves with the one dragged, and the repaint draws their handles.
void BM_DragFiftySelectedWithRepaint(benchmark::State& state)
{
    gui::QtPlatform platform;
    tk::TApplication app(platform);
    velmora::TfrmClientMain& window = designSurfaceWith(app, static_cast<int>(state.range(0)));
    std::vector<tk::TControl*> selected;
    for (int i = 1; i <= 50; ++i)
        selected.push_back(tk::as<tk::TControl>(window.findComponent("TZEDit" + std::to_string(i))));
    velmora::designModel().select(selected);
    dragBackAndForth(state, app, window, selected.front()->clientToScreen({5, 5}));
}
BENCHMARK(BM_DragFiftySelectedWithRepaint)->Arg(1000)->Unit(benchmark::kMillisecond);

// One mouse movement while a handle sizes the topmost control, with the
// repaint: the cost of a drag.
void BM_HandleSizingWithRepaint(benchmark::State& state)
{
    gui::QtPlatform platform;
    tk::TApplication app(platform);
    int controls = static_cast<int>(state.range(0));
    velmora::TfrmClientMain& window = designSurfaceWith(app, controls);
    auto* sized = tk::as<tk::TControl>(window.findComponent("TZEDit" + std::to_string(controls)));
    velmora::designModel().select({sized});
    tk::TRect right = velmora::SelectionGestures::screenHandles(*sized)[static_cast<int>(velmora::Handle::Right)];
    dragBackAndForth(state, app, window, {right.left + 2, right.top + 2});
}
BENCHMARK(BM_HandleSizingWithRepaint)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
