#include "pathmentor/model/guide_content.h"

#include <algorithm>

#include "pathmentor/model/model_text.h"
#include "platform/message_box.h"

namespace pathmentor {

namespace {

// The text between the marker's first occurrence and the next quotation mark.
std::optional<std::string> valueAfter(std::string_view content, std::string_view marker)
{
    const auto start = content.find(marker);
    if (start == std::string_view::npos)
        return std::nullopt;
    const auto from = start + marker.size();
    const auto end = content.find('"', from);
    if (end == std::string_view::npos)
        return std::nullopt;
    return std::string(content.substr(from, end - from));
}

}  // namespace

GuideContentText scanGuideContent(std::string_view content)
{
    return {valueAfter(content, "<GUIDE version=\""), valueAfter(content, " cch=\""),
            valueAfter(content, " answers=\"")};
}

ContentSelection selectGuideContent(std::string_view content, const ChapterList& chapters, bool showRecommended)
{
    const GuideContentText text = scanGuideContent(content);
    ContentSelection selection;
    if (!text.version)
        return selection;
    if (*text.version != "1.0") {
        selection.outcome = ContentOutcome::WrongVersion;
        return selection;
    }
    if (!text.chapters) {
        selection.outcome = ContentOutcome::NoChapters;
        return selection;
    }
    selection.shownChapters = selectShownChapters(chapters, *text.chapters, showRecommended);
    if (!text.answers) {
        selection.outcome = ContentOutcome::NoAnswers;
        return selection;
    }
    selection.answers = findAnswerItems(chapters, *text.answers);
    selection.outcome = ContentOutcome::Applied;
    return selection;
}

std::vector<GuideChapter*> selectShownChapters(const ChapterList& chapters, std::string_view chaptersText,
                                               bool showRecommended)
{
    std::vector<GuideChapter*> shown;
    for (const auto& chapter : chapters) {
        if (showRecommended && chapter->id == 0) {
            shown.insert(shown.begin(), chapter.get());
            continue;
        }
        const std::string needle = ";" + std::to_string(chapter->id) + ";";
        if (chaptersText.find(needle) != std::string_view::npos)
            shown.push_back(chapter.get());
    }
    return shown;
}

std::vector<TransformationItem*> findAnswerItems(const ChapterList& chapters, std::string_view answersText)
{
    std::vector<TransformationItem*> answers;
    std::size_t from = 0;
    for (auto semicolon = answersText.find(';'); semicolon != std::string_view::npos;
         from = semicolon + 1, semicolon = answersText.find(';', from)) {
        const int id = detail::readInt(answersText.substr(from, semicolon - from));
        TransformationItem* found = nullptr;
        if (!chapters.empty()) {
            for (const auto& group : chapters.back()->groups) {
                const auto item = std::find_if(group->items.begin(), group->items.end(),
                                               [id](const auto& it) { return it->aplan == id; });
                if (item != group->items.end())
                    found = item->get();
            }
        }
        if (!found) {
            platform::showMessage("Answer transformation not Found", "");
            continue;
        }
        if (std::find(answers.begin(), answers.end(), found) == answers.end())
            answers.push_back(found);
    }
    return answers;
}

}  // namespace pathmentor
