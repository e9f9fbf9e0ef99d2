// Speed of the toolkit paths a drag and a design load lean on: input
// dispatch over a window holding many controls, and property access by name.
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

namespace {

struct Scene {
    tk::HeadlessPlatform platform;
    tk::TApplication app{platform};
    tk::TForm* form = nullptr;
    std::vector<tk::TEdit*> edits;

    explicit Scene(int controls)
    {
        form = tk::createForm<tk::TForm>(&app);
        form->setBounds(0, 0, 1200, 1000);
        for (int i = 0; i < controls; ++i) {
            auto* e = new tk::TEdit(form);
            e->setName("TZEDit" + std::to_string(i + 1));
            e->setParent(form);
            e->setBounds(4 + (i % 40) * 29, 4 + (i / 40) * 37, 25, 21);
            edits.push_back(e);
        }
        form->show();
    }
};

// One mouse movement while a control is dragged: hit testing and the
// control's move handler.
void BM_DragMove(benchmark::State& state)
{
    Scene s(static_cast<int>(state.range(0)));
    tk::TEdit* dragged = s.edits.back();
    dragged->OnMouseMove = tk::Handler::mouseMove([&](tk::TObject*, tk::TShiftState, int, int) {
        tk::TPoint p = s.form->screenToClient(s.app.cursorPos());
        dragged->setBounds(p.x / 4 * 4, p.y / 4 * 4, dragged->width(), dragged->height());
    });
    tk::TPoint start = dragged->clientToScreen({3, 3});
    s.app.mouseDown(tk::TMouseButton::mbLeft, 0, start);
    int step = 0;
    for (auto _ : state) {
        ++step;
        s.app.mouseMove(tk::ssLeft, {start.x + step % 200, start.y + step % 50});
    }
    s.app.mouseUp(tk::TMouseButton::mbLeft, 0, start);
}
BENCHMARK(BM_DragMove)->Arg(10)->Arg(1000);

// Hit testing without capture: the control under the cursor among many.
void BM_HoverHitTest(benchmark::State& state)
{
    Scene s(static_cast<int>(state.range(0)));
    int step = 0;
    for (auto _ : state) {
        ++step;
        s.app.mouseMove(0, {20 + step % 1100, 40 + step % 900});
    }
}
BENCHMARK(BM_HoverHitTest)->Arg(1000);

void BM_SetPropertyByName(benchmark::State& state)
{
    Scene s(1);
    tk::TEdit* e = s.edits.front();
    int i = 0;
    for (auto _ : state) {
        tk::setPropText(*e, "Tag", (++i & 1) ? "1" : "0");
        benchmark::DoNotOptimize(tk::getPropText(*e, "ReadOnly"));
    }
}
BENCHMARK(BM_SetPropertyByName);

}  // namespace

BENCHMARK_MAIN();
