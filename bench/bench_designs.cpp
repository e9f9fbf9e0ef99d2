// Stored designs at 10 to 20,000 field controls (half edits, half their
// caption labels on tsEdit): form text to component image, image to text,
// the whole load of a stored text into the main window, and the image part
// of that load on its own (image to live controls). Each reports
// MB/s of form text, time per control and the peak heap the step took.
// BM_QUiLoader builds the equivalent Qt Designer form (QLineEdits and
// QLabels on a tab page) with Qt's run-time loader, for comparison.
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "designs/ClassRegistry.h"
#include "designs/ComponentImage.h"
#include "designs/Design.h"
#include "designs/FormText.h"
#include "startup/DataModule.h"
#include "startup/DesignClasses.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <QApplication>
#include <QBuffer>
#include <QWidget>
#include <QtUiTools/QUiLoader>

#include <benchmark/benchmark.h>

#include <atomic>
#include <clocale>
#include <cstdlib>
#include <malloc.h>
#include <new>

// Heap accounting for the peak-memory counters.
namespace {
std::atomic<long long> heapNow{0};
std::atomic<long long> heapPeak{0};
// Counting is off while times are taken (it costs a look at each block's
// header); the peak-memory runs switch it on.
bool counting = false;

void* countedAlloc(size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    if (!counting) return p;
    long long now = heapNow += static_cast<long long>(malloc_usable_size(p));
    long long peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return p;
}
void countedFree(void* p)
{
    if (!p) return;
    if (counting) heapNow -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
}  // namespace

void* operator new(size_t n)
{
    return countedAlloc(n);
}
void* operator new[](size_t n)
{
    return countedAlloc(n);
}
void operator delete(void* p) noexcept
{
    countedFree(p);
}
void operator delete[](void* p) noexcept
{
    countedFree(p);
}
void operator delete(void* p, size_t) noexcept
{
    countedFree(p);
}
void operator delete[](void* p, size_t) noexcept
{
    countedFree(p);
}

namespace {

// The most heap that `step` held at once above what was held before it,
// in MB; measured in one extra run outside the timed loop.
template <class Step>
double peakMegabytes(Step step)
{
    counting = true;
    heapNow = 0;
    heapPeak = 0;
    step();
    counting = false;
    return static_cast<double>(heapPeak.load()) / (1024.0 * 1024.0);
}

// The main window with `controls` field controls: a TZEDit and its caption
// label per pair, as placing leaves them.
struct DesignScene {
    tk::HeadlessPlatform platform;
    tk::TApplication app{platform};
    velmora::TfrmClientMain* window = nullptr;

    DesignScene()
    {
        velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
        new velmora::TdmClientMain(&app);
        app.createForm(velmora::frmClientMain);
        window = velmora::frmClientMain.get();
    }

    std::string textWith(int controls)
    {
        auto* sheet = tk::as<tk::TWinControl>(window->findComponent("tsEdit"));
        for (int i = 0; i < controls / 2; ++i) {
            int left = 96 + (i % 4) * 100, top = 8 + (i / 4) * 24;
            auto* edit = new velmora::TZEDit(window);
            edit->setName("TZEDit" + std::to_string(i + 1));
            edit->setParent(sheet);
            edit->setBounds(left, top, 60, 21);
            edit->setKeyField("Mezo" + std::to_string(i + 1));
            auto* label = new velmora::TZEDText(window);
            label->setName("TZEDText" + std::to_string(i + 1));
            label->setParent(sheet);
            label->setBounds(left - 50, top + 4, 46, 17);
            label->setCaption("Mezőnév:");
            label->setFocusControl(edit);
        }
        return velmora::designText(*window);
    }
};

void report(benchmark::State& state, size_t textBytes, double peakMB)
{
    double controls = static_cast<double>(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * textBytes));
    state.counters["per_control"] =
        benchmark::Counter(controls, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["peak_MB"] = peakMB;
}

void BM_TextToImage(benchmark::State& state)
{
    DesignScene scene;
    std::string text = scene.textWith(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(velmora::formTextToImage(text));
    report(state, text.size(), peakMegabytes([&] { velmora::formTextToImage(text); }));
}

void BM_ImageToText(benchmark::State& state)
{
    DesignScene scene;
    std::string text = scene.textWith(static_cast<int>(state.range(0)));
    std::string image = velmora::formTextToImage(text);
    for (auto _ : state) benchmark::DoNotOptimize(velmora::imageToFormText(image));
    report(state, text.size(), peakMegabytes([&] { velmora::imageToFormText(image); }));
}

// Text to a window full of live controls: conversion, creation, naming,
// parenting, properties and references, as start-up and opening do it.
void BM_LoadIntoWindow(benchmark::State& state)
{
    DesignScene scene;
    std::string text = scene.textWith(static_cast<int>(state.range(0)));
    auto load = [&] { velmora::readComponentImage(velmora::formTextToImage(text), *scene.window); };
    for (auto _ : state) {
        state.PauseTiming();
        scene.window->destroyComponents();
        state.ResumeTiming();
        load();
    }
    scene.window->destroyComponents();
    report(state, text.size(), peakMegabytes(load));
}

// The second half of a load: an image already converted, read into the window.
void BM_ImageIntoWindow(benchmark::State& state)
{
    DesignScene scene;
    std::string image = velmora::formTextToImage(scene.textWith(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        scene.window->destroyComponents();
        state.ResumeTiming();
        velmora::readComponentImage(image, *scene.window);
    }
    scene.window->destroyComponents();
    double peak = peakMegabytes([&] { velmora::readComponentImage(image, *scene.window); });
    scene.window->destroyComponents();
    report(state, image.size(), peak);
}

// The same form for Qt Designer: half QLineEdits, half QLabels on a tab page.
QByteArray uiWith(int controls)
{
    QByteArray ui =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\"><class>frmClientMain</class>"
        "<widget class=\"QWidget\" name=\"frmClientMain\"><property name=\"geometry\"><rect><x>0</x><y>0</y>"
        "<width>544</width><height>375</height></rect></property>"
        "<widget class=\"QTabWidget\" name=\"pcData\"><widget class=\"QWidget\" name=\"tsEdit\">"
        "<attribute name=\"title\"><string>Felvitel</string></attribute>";
    for (int i = 0; i < controls / 2; ++i) {
        int left = 96 + (i % 4) * 100, top = 8 + (i / 4) * 24;
        QByteArray n = QByteArray::number(i + 1);
        auto rect = [](int x, int y, int w, int h) {
            return "<property name=\"geometry\"><rect><x>" + QByteArray::number(x) + "</x><y>" + QByteArray::number(y) +
                   "</y><width>" + QByteArray::number(w) + "</width><height>" + QByteArray::number(h) +
                   "</height></rect></property>";
        };
        ui += "<widget class=\"QLineEdit\" name=\"TZEDit" + n + "\">" + rect(left, top, 60, 21) + "</widget>";
        ui += "<widget class=\"QLabel\" name=\"TZEDText" + n + "\">" + rect(left - 50, top + 4, 46, 17) +
              "<property name=\"text\"><string>Mezőnév:</string></property><property name=\"buddy\"><cstring>TZEDit" +
              n + "</cstring></property></widget>";
    }
    ui += "</widget></widget></widget></ui>\n";
    return ui;
}

void BM_QUiLoader(benchmark::State& state)
{
    QByteArray ui = uiWith(static_cast<int>(state.range(0)));
    QUiLoader loader;
    QWidget* w = nullptr;
    auto load = [&] {
        QBuffer buffer(&ui);
        buffer.open(QIODevice::ReadOnly);
        w = loader.load(&buffer);
    };
    for (auto _ : state) {
        load();
        state.PauseTiming();
        delete w;
        state.ResumeTiming();
    }
    double peak = peakMegabytes(load);
    delete w;
    report(state, static_cast<size_t>(ui.size()), peak);
}

// Ours from 10 to 20,000 controls, so that the cost per control can be seen
// to stay flat; Qt's loader, whose cost grows faster, up to 10,000.
#define SIZES                                                                                     \
    ->Arg(10)->Arg(100)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(10000)->Arg(20000)->Unit( \
        benchmark::kMillisecond)
BENCHMARK(BM_TextToImage) SIZES;
BENCHMARK(BM_ImageToText) SIZES;
BENCHMARK(BM_LoadIntoWindow) SIZES;
BENCHMARK(BM_ImageIntoWindow) SIZES;
BENCHMARK(BM_QUiLoader)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

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
