// One double click's road in the frame with 50 steps: the real formula
// control reports the click, the stand-in kernel answers, ApplyResult
// updates the active step and the view is laid out again (goal: under
// 30 ms). Runs on the staged install tree with the guide's stand-in.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "formula/layout/qt_canvas.h"
#include "formula/tests/transformer_test_util.h"
#include "platform/com/com.h"
#include "platform/html/html_view.h"
#include "platform/registry.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "stepwell/app/main_frame.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace stepwell;
namespace fs = std::filesystem;

// Where a lexeme of a formula lies in its control.
QPoint pointOf(const std::string& text, std::string_view lexeme, int nth)
{
    formula::test::TransformerFixture layout(text);
    formula::QtCanvas canvas;
    layout.env.Layout(canvas);
    const formula::Point at = layout.At(lexeme, nth);
    return {at.x, at.y};
}

void BM_DoubleClickRoad50Steps(benchmark::State& state)
{
    testsupport::TempDir work;
    const fs::path oldDir = fs::current_path();
    fs::current_path(work.path());
    {
        CStepwellMainFrame frame;
        if (frame.OnCreate() != 0) {
            state.SkipWithError("no frame");
            return;
        }
        frame.resize(1000, 700);
        frame.show();
        frame.SetTaskCondition(
            "<TASK id=\"1\" type=\"linear\" title=\"Задача\"><CONDITION><TEXT>Розв'яжіть</TEXT><JOBSLIST><JOB id=\"1\" "
            "asTask=\"yes\" number=\"yes\"><FORMULA><math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mn>2</mn>"
            "<mo>*</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>=</mo><mn>7</mn></math></FORMULA></JOB></JOBSLIST>"
            "</CONDITION></TASK>");
        frame.OnBeginSolution();
        const std::string simplify = shared::GetLangString("msgSolveExprSimplify");
        for (int i = 2; i <= 50; ++i)
            frame.AddStep("2*x+3+4=7", simplify, 1, 2, 1, true);
        QApplication::processEvents();
        CSolutionStep* active = frame.solution()->GetActiveStep();
        for (auto _ : state) {
            state.PauseTiming();
            active->formula().SetFormula("2*x+3+4=7", true);
            active->control()->UseTransformer();
            QWidget* window = active->control()->GetControlWindow();
            const QPoint plus = pointOf(active->control()->GetLexemText(), "+", 1);
            QTest::mouseMove(window, plus);
            state.ResumeTiming();
            // Same description: the active step is updated in place, the count stays 50.
            QTest::mouseDClick(window, Qt::LeftButton, {}, plus);
            state.PauseTiming();
            if (frame.solution()->Count() != 50 || active->control()->GetLexemText() != "2*x+7=7") {
                state.SkipWithError("the double click did not update the step");
                break;
            }
            state.ResumeTiming();
        }
    }
    fs::current_path(oldDir);
}
BENCHMARK(BM_DoubleClickRoad50Steps)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    testsupport::enterSandbox();
    platform::html::prepareApplication();
    QApplication app(argc, argv);
    const std::string stage = std::string(STAGE_DIR) + "/";
    for (const char* library : {TEST_COMPONENTS, FORMAVEL_LIBRARY, PREMISCOPE_LIBRARY})
        if (platform::com::registerLibrary(fs::absolute(library).string()) != platform::S_OK)
            return 1;
    platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath",
                                    stage);
    if (!shared::LoadLanguageFile(stage + "kernel/data/lang/ua/stepwell.lng"))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
