// One paint of the main window holding 1,000 placed field controls, on
// Qt's offscreen platform: the goal is well under 16 ms (one frame).
#include "controls/ClassRegistry.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "gui/Painter.h"
#include "gui/QtPlatform.h"
#include "toolkit/Application.h"
#include "toolkit/PageControl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdlib>

namespace {

void BM_PaintMainWindow1000Controls(benchmark::State& state)
{
    gui::QtPlatform platform;
    tk::TApplication app(platform);
    app.createForm(velmora::frmClientMain);
    velmora::TfrmClientMain& window = *velmora::frmClientMain;
    auto* pages = tk::as<tk::TPageControl>(window.findComponent("pcData"));
    auto* sheet = tk::as<tk::TTabSheet>(window.findComponent("tsEdit"));
    pages->setActivePage(sheet);
    for (int i = 0; i < state.range(0); ++i) {
        auto* e = new velmora::TZEDit(&window);
        e->setName("TZEDit" + std::to_string(i + 1));
        e->setParent(sheet);
        e->setBounds(4 + (i % 20) * 21, 4 + (i / 20) * 5, 60, 21);
        e->setText("Mező " + std::to_string(i));
    }
    QImage image(window.clientWidth(), window.clientHeight(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        gui::paintWindow(p, window);
    }
    state.counters["controls"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_PaintMainWindow1000Controls)->Arg(1000)->Unit(benchmark::kMillisecond);

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
