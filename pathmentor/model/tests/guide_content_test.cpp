// The guide content's scan and what it chooses from a chapter list.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "pathmentor/model/guide_content.h"
#include "pathmentor/model/tests/chapter_builder.h"
#include "platform/message_box.h"

namespace pathmentor {
namespace {

using namespace pathmentor::testing;

const std::string kNotFound = "Answer transformation not Found";

// Chapters 0 (recommended), 1, 11, 21 and, last, 9 holding the answers: 7
// in its first group, 5351 in both groups (the second group's counts) and
// twice in the second group (its first counts).
ChapterList sampleChapters()
{
    ChapterList chapters;
    chapters.push_back(chapter(0));
    chapters.push_back(chapter(1, list(group("g", list(item("ch1-7", 7))))));
    chapters.push_back(chapter(11));
    chapters.push_back(chapter(21));
    chapters.push_back(chapter(9, list(group("a", list(item("first-7", 7), item("first-5351", 5351))),
                                       group("b", list(item("second-5351", 5351, 3, ItemView::Plain),
                                                       item("second-5351-again", 5351))))));
    return chapters;
}

std::vector<int> idsOf(const std::vector<GuideChapter*>& chapters)
{
    std::vector<int> ids;
    for (const auto* c : chapters)
        ids.push_back(c->id);
    return ids;
}

class GuideContentTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setMessageRecorder(&m_recorder); }
    void TearDown() override { platform::setMessageRecorder(nullptr); }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto& message : m_recorder.messages)
            texts.push_back(message.text);
        return texts;
    }
    platform::MessageRecorder m_recorder;
};

TEST(GuideContentScan, FindsEachMarkerOnceAndExactly)
{
    struct Case {
        const char* name;
        std::string content;
        std::optional<std::string> version, chapters, answers;
    };
    const std::vector<Case> cases = {
        {"all three", R"(<GUIDE version="1.0" cch=";1;3;" answers="5351;815;"/>)", "1.0", ";1;3;", "5351;815;"},
        {"first occurrence only", R"(<GUIDE version="1.0" cch=";1;" cch=";2;" answers="" answers="7;"/>)", "1.0", ";1;",
         ""},
        {"any order, any text around", R"(x answers="7;" y cch=";2;" <GUIDE version="2.0")", "2.0", ";2;", "7;"},
        {"no blank before the markers", R"(<GUIDE version="1.0"cch=";1;"answers="7;")", "1.0", std::nullopt,
         std::nullopt},
        {"markers in another case", R"(<guide version="1.0" CCH=";1;" Answers="7;")", std::nullopt, std::nullopt,
         std::nullopt},
        {"single quotes are no marker", R"(<GUIDE version='1.0' cch=';1;' answers='7;')", std::nullopt, std::nullopt,
         std::nullopt},
        {"a value without its closing quotation mark", R"(<GUIDE version="1.0" cch=";1;)", "1.0", std::nullopt,
         std::nullopt},
        {"empty", "", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GuideContentText text = scanGuideContent(c.content);
        EXPECT_EQ(text.version, c.version);
        EXPECT_EQ(text.chapters, c.chapters);
        EXPECT_EQ(text.answers, c.answers);
    }
}

TEST_F(GuideContentTest, OutcomesFollowTheChecksInOrder)
{
    const ChapterList chapters = sampleChapters();
    struct Case {
        const char* name;
        std::string content;
        ContentOutcome outcome;
        bool tabsRemoved;
        std::vector<int> shown;
        std::vector<std::string> answers;
    };
    const std::vector<Case> cases = {
        {"applied", R"(<GUIDE version="1.0" cch=";1;9;" answers="7;"/>)", ContentOutcome::Applied, true, {0, 1, 9},
         {"first-7"}},
        {"no version marker", R"(<GUIDE cch=";1;" answers="7;"/>)", ContentOutcome::NoVersion, false, {}, {}},
        {"version 2.0", R"(<GUIDE version="2.0" cch=";1;" answers="7;"/>)", ContentOutcome::WrongVersion, true, {},
         {}},
        {"version 1", R"(<GUIDE version="1" cch=";1;" answers="7;"/>)", ContentOutcome::WrongVersion, true, {}, {}},
        {"no chapters marker", R"(<GUIDE version="1.0" answers="7;"/>)", ContentOutcome::NoChapters, true, {}, {}},
        {"no answers marker", R"(<GUIDE version="1.0" cch=";21;"/>)", ContentOutcome::NoAnswers, true, {0, 21}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ContentSelection selection = selectGuideContent(c.content, chapters, true);
        EXPECT_EQ(selection.outcome, c.outcome);
        EXPECT_EQ(selection.applied(), c.outcome == ContentOutcome::Applied);
        EXPECT_EQ(selection.tabsRemoved(), c.tabsRemoved);
        EXPECT_EQ(idsOf(selection.shownChapters), c.shown);
        EXPECT_EQ(guidsOf(selection.answers), c.answers);
    }
    EXPECT_TRUE(messages().empty());

    // The same content twice chooses the same.
    const std::string content = R"(<GUIDE version="1.0" cch=";11;1;" answers="7;5351;"/>)";
    const ContentSelection first = selectGuideContent(content, chapters, false);
    const ContentSelection second = selectGuideContent(content, chapters, false);
    EXPECT_EQ(first.shownChapters, second.shownChapters);
    EXPECT_EQ(first.answers, second.answers);
}

TEST(GuideContentChapters, AnIdMatchesOnlyBetweenSemicolons)
{
    const ChapterList chapters = sampleChapters();
    struct Case {
        std::string text;
        bool showRecommended;
        std::vector<int> shown;
    };
    const std::vector<Case> cases = {
        {";1;", false, {1}},
        {";1;", true, {0, 1}},
        {";11;", false, {11}},
        {";21;1;", false, {1, 21}},  // list order, not the text's
        {"1;11;21", false, {11}},
        {";0;", false, {0}},
        {";0;", true, {0}},
        {"", true, {0}},
        {";01;", false, {}},
        {"; 1;", false, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(idsOf(selectShownChapters(chapters, c.text, c.showRecommended)), c.shown)
            << c.text << " " << c.showRecommended;

    // With the recommended chapter anywhere in the list, it heads the tabs.
    ChapterList late;
    late.push_back(chapter(1));
    late.push_back(chapter(0));
    EXPECT_EQ(idsOf(selectShownChapters(late, ";1;", true)), (std::vector<int>{0, 1}));
}

TEST_F(GuideContentTest, AnswersComeFromTheLastChapter)
{
    const ChapterList chapters = sampleChapters();
    struct Case {
        std::string text;
        std::vector<std::string> answers;
        int notFound;
    };
    const std::vector<Case> cases = {
        {"5351", {}, 0},  // text after the last semicolon is not read
        {"5351;", {"second-5351"}, 0},
        {"7;5351;", {"first-7", "second-5351"}, 0},
        {"7;5351;99", {"first-7", "second-5351"}, 0},
        {" 7x;", {"first-7"}, 0},
        {"42;", {}, 1},
        {"42;7;43;", {"first-7"}, 2},
        {"7;7;", {"first-7"}, 0},
        {";", {}, 1},  // an empty id reads as 0
        {"", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_recorder.messages.clear();
        EXPECT_EQ(guidsOf(findAnswerItems(chapters, c.text)), c.answers);
        EXPECT_EQ(messages(), std::vector<std::string>(c.notFound, kNotFound));
    }
    // Chapter 1's item 7 is not the last chapter's.
    ChapterList withoutAnswers;
    withoutAnswers.push_back(chapter(1, list(group("g", list(item("ch1-7", 7))))));
    withoutAnswers.push_back(chapter(2));
    m_recorder.messages.clear();
    EXPECT_TRUE(findAnswerItems(withoutAnswers, "7;").empty());
    EXPECT_EQ(messages(), std::vector<std::string>{kNotFound});
    m_recorder.messages.clear();
    EXPECT_TRUE(findAnswerItems(ChapterList{}, "7;").empty());
    EXPECT_EQ(messages(), std::vector<std::string>{kNotFound});
}

}  // namespace
}  // namespace pathmentor
