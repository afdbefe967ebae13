// The steps view with the real formula control: a saved solution of 100
// steps read, its steps made and laid out one by one as the frame receives
// them (goal: under 1 s), and one relayout of all 100 (goal: under 5 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <filesystem>
#include <memory>

#include "platform/com/com.h"
#include "stepwell/app/solve_wnd.h"
#include "stepwell/model/solution_xml.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace stepwell;

struct NoHost : ISolveHost {
    platform::MessageAnswer AskUser(const std::string&, platform::MessageButtons) override
    {
        return platform::MessageAnswer::Ok;
    }
    void EnableCommand(int, bool) override {}
    void ClearOperationState() override {}
};

std::string solution100()
{
    const std::string math =
        "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mfrac><mrow><mi>x</mi><mo>+</mo><mn>1</mn></mrow>"
        "<mn>2</mn></mfrac><mo>=</mo><mn>3</mn></math>";
    std::string text = "<SOLUTION>";
    for (int i = 1; i <= 100; ++i)
        text += WriteStep({StepKind::Single, 2, 1, "Крок " + std::to_string(i) + " спрощення", math, "", ""}, i);
    return text + "</SOLUTION>";
}

struct Scene {
    NoHost host;
    QWidget window;
    CStepwellSolveWnd* view;
    std::unique_ptr<CTaskSolution> solution;

    Scene()
    {
        window.resize(800, 600);
        QFont font = QApplication::font();
        font.setPixelSize(14);
        font.setBold(true);
        view = new CStepwellSolveWnd(&window, &host, font);
        view->setGeometry(0, 0, 800, 600);
        view->SetStepMode(false);
        solution = std::make_unique<CTaskSolution>("<TASK id=\"1\"><CONDITION/></TASK>", view);
        view->SetSolution(solution.get());
    }
    ~Scene()
    {
        view->SetSolution(nullptr);
        solution.reset();
    }
    // As the frame adds a received step.
    void add(const StepRecord& record)
    {
        auto step = std::make_unique<CSolutionStep>(view, record.kind);
        step->control()->SetMathMLText(record.formula);
        step->formula().UpdateSize();
        step->formula().StoreLexemText();
        step->SetDescription(record.description);
        step->state = record.state;
        solution->Append(std::move(step), true);
        view->SetCheckState(record.state);
        view->EnsureLastVisible();
    }
};

void BM_Receive100Steps(benchmark::State& state)
{
    const std::string text = solution100();
    for (auto _ : state) {
        Scene scene;
        for (const StepRecord& record : ReadSolution(text))
            scene.add(record);
        benchmark::DoNotOptimize(scene.view->geometry().totalHeight());
    }
}
BENCHMARK(BM_Receive100Steps)->Unit(benchmark::kMillisecond);

void BM_RecalcLayout100Steps(benchmark::State& state)
{
    Scene scene;
    for (const StepRecord& record : ReadSolution(solution100()))
        scene.add(record);
    for (auto _ : state) {
        scene.view->RecalcLayout(false);
        benchmark::DoNotOptimize(scene.view->geometry().totalHeight());
    }
}
BENCHMARK(BM_RecalcLayout100Steps)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testsupport::enterSandbox();  // the formula control registered in a temporary hive
    QApplication app(argc, argv);
    if (platform::com::registerLibrary(std::filesystem::absolute(FORMAVEL_LIBRARY).string()) != platform::S_OK)
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
