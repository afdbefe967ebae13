// The graph task's whole redraw for one drag step: a 1000 by 700 view with
// its grid, a quadratic and the arbitrary graph sin(x)*x^2+1, the origin
// moved by a few pixels each time (goal: under 16 ms, a frame at 60 Hz).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "constructions/plotwise/component/arbitrary_construction.h"
#include "constructions/plotwise/component/curves.h"
#include "constructions/plotwise/component/task.h"
#include "constructions/plotwise/component/tasks.h"
#include "platform/handles.h"

namespace {

using namespace constructions::plotwise;
using platform::com::make;

void BM_DragStepUpdate(benchmark::State& state)
{
    QWidget window;
    window.resize(1000, 700);
    QImage canvas(1000, 700, QImage::Format_RGB32);
    QPainter painter(&canvas);
    const platform::handles::DeviceContext dc(&painter);
    const auto tasks = make<CTasks>();
    tasks->put_hWND(platform::handles::windowHandle(&window));
    tasks->put_hDc(dc.handle());
    const auto task = make<CTask>();
    tasks->Add(task.get());
    tasks->put_ActiveTask(task.get());
    task->put_ClientOriginPointX(500);
    task->put_ClientOriginPointY(350);
    const auto quadric = make<CQuadricConstruction>();
    const auto graph = make<CArbitraryConstruction>();
    graph->put_VarName("x");
    graph->put_Expression("sin(x)*x^2+1");
    task->Add(quadric.get());
    task->Add(graph.get());
    task->Update(kPaintUpdate);
    std::int32_t origin = 500;
    for (auto _ : state) {
        origin -= 7;
        task->put_ClientOriginPointX(origin);
        if (task->Update(kDragUpdate) != platform::S_OK) {
            state.SkipWithError("the task did not redraw");
            break;
        }
    }
    state.counters["samples"] = double(graph->Cache().Samples().size());
}
BENCHMARK(BM_DragStepUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
