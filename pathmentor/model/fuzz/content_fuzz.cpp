// libFuzzer target over the guide content's scanner: any bytes are applied
// to a small fixed chapter list, with and without the recommended chapter.
// Nothing may crash; every chosen chapter and answer item is one of the list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pathmentor/model/guide_content.h"
#include "platform/message_box.h"

namespace {

using namespace pathmentor;

std::unique_ptr<TransformationItem> makeItem(int aplan)
{
    auto item = std::make_unique<TransformationItem>();
    item->aplan = aplan;
    return item;
}

const ChapterList& chapters()
{
    static const ChapterList list = [] {
        ChapterList result;
        for (int id : {0, 1, 3, 11, 21, 9}) {
            auto chapter = std::make_unique<GuideChapter>();
            chapter->id = id;
            for (int g = 0; g < 2; ++g) {
                auto group = std::make_unique<GuideGroup>();
                group->items.push_back(makeItem(5351));
                group->items.push_back(makeItem(id * 100 + g));
                group->items.push_back(makeItem(0));
                chapter->groups.push_back(std::move(group));
            }
            result.push_back(std::move(chapter));
        }
        return result;
    }();
    return list;
}

bool inList(const GuideChapter* chapter)
{
    return std::any_of(chapters().begin(), chapters().end(), [&](const auto& c) { return c.get() == chapter; });
}

bool inLastChapter(const TransformationItem* item)
{
    for (const auto& group : chapters().back()->groups)
        for (const auto& it : group->items)
            if (it.get() == item)
                return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static platform::MessageRecorder recorder;
    platform::setMessageRecorder(&recorder);
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    for (bool showRecommended : {false, true}) {
        recorder.messages.clear();
        const ContentSelection selection = selectGuideContent(content, chapters(), showRecommended);
        if (selection.outcome != ContentOutcome::Applied && !selection.answers.empty())
            std::abort();
        if (!std::all_of(selection.shownChapters.begin(), selection.shownChapters.end(), inList) ||
            !std::all_of(selection.answers.begin(), selection.answers.end(), inLastChapter))
            std::abort();
        if (showRecommended && selection.outcome >= ContentOutcome::NoAnswers &&
            (selection.shownChapters.empty() || selection.shownChapters.front()->id != 0))
            std::abort();
    }
    return 0;
}
