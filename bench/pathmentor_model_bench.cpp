// The guide's model without windows: reading the sample module's guide with
// its seven chapter pairs (the windows side adds its pages on top; goal for
// the whole load with windows: 300 ms), and one task's content applied to it
// with the recommendation for a sign.
#include <benchmark/benchmark.h>

#include "pathmentor/model/guide_content.h"
#include "pathmentor/model/guide_loader.h"
#include "pathmentor/model/recommendation.h"
#include "platform/message_box.h"

namespace {

const char* const kStepwellGuide = PATHMENTOR_MODULE_DIR "/lang/ua/guide/stepwell.xml";

void BM_LoadSampleGuide(benchmark::State& state)
{
    for (auto _ : state) {
        pathmentor::ChapterList chapters;
        if (!pathmentor::loadGuide(kStepwellGuide, chapters) || chapters.size() != 7)
            state.SkipWithError("the sample guide did not load");
        benchmark::DoNotOptimize(chapters.data());
    }
}
BENCHMARK(BM_LoadSampleGuide)->Unit(benchmark::kMillisecond);

void BM_ContentAndRecommendation(benchmark::State& state)
{
    platform::MessageRecorder recorder;
    platform::setMessageRecorder(&recorder);
    pathmentor::ChapterList chapters;
    if (!pathmentor::loadGuide(kStepwellGuide, chapters))
        state.SkipWithError("the sample guide did not load");
    for (auto _ : state) {
        const auto selection = pathmentor::selectGuideContent(
            R"(<GUIDE version="1.0" cch=";1;3;" answers="1371;1372;"/>)", chapters, false);
        auto copies = pathmentor::selectRecommendedItems(selection.shownChapters, 4);
        benchmark::DoNotOptimize(copies.data());
    }
    if (!recorder.messages.empty())
        state.SkipWithError(recorder.messages.front().text.c_str());
    platform::setMessageRecorder(nullptr);
}
BENCHMARK(BM_ContentAndRecommendation)->Unit(benchmark::kMicrosecond);

}  // namespace
