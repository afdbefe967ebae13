// The guide control with the sample module's Stepwell guide: loading the
// guide with all its windows (goal: under 300 ms) and one switch of the
// guide content between two task types (goal: under 30 ms). The control is
// made by CLSID from a temporary machine hive with the real formula and
// graph controls registered, as a host makes it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <filesystem>
#include <memory>

#include "platform/com/com.h"
#include "platform/message_box.h"
#include "solvehost/pathmentor_ctrl.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace solvehost;

const std::string kGuide = std::string(STAGE_DIR) + "/modules/tessaly/lang/ua/guide/stepwell.xml";
const std::string kLinear = "<GUIDE version=\"1.0\" cch=\";1;2;\" answers=\"1371;1372;\"/>";
const std::string kQuadratic = "<GUIDE version=\"1.0\" cch=\";1;3;\" answers=\"1371;1372;\"/>";

void flush()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

struct Host {
    QWidget parent;
    CPathmentorCtrl guide;
    Host()
    {
        parent.resize(420, 560);
        guide.Create("guide", WS_CHILD | WS_VISIBLE, QRect(0, 0, 420, 560), &parent, 5);
        guide.SetShowRecomendedChapter(1);
        guide.SetGuideDocFile(kGuide);
        parent.show();
    }
};

void BM_LoadStepwellGuide(benchmark::State& state)
{
    Host host;
    for (auto _ : state) {
        if (!host.guide.InitializeGuide()) {
            state.SkipWithError("the guide did not load");
            break;
        }
        QApplication::processEvents();
        state.PauseTiming();
        flush();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadStepwellGuide)->Unit(benchmark::kMillisecond);

void BM_SwitchGuideContent(benchmark::State& state)
{
    Host host;
    if (!host.guide.InitializeGuide()) {
        state.SkipWithError("the guide did not load");
        return;
    }
    bool linear = false;
    for (auto _ : state) {
        linear = !linear;
        if (!host.guide.InitializeGuideContent(linear ? kLinear : kQuadratic)) {
            state.SkipWithError("the content was not applied");
            break;
        }
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchGuideContent)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testsupport::enterSandbox();
    QApplication app(argc, argv);
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    for (const char* library : {PATHMENTOR_LIBRARY, FORMAVEL_LIBRARY, PLOTWISE_LIBRARY})
        if (platform::com::registerLibrary(std::filesystem::absolute(library).string()) != platform::S_OK)
            return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::setMessageRecorder(nullptr);
    return 0;
}
