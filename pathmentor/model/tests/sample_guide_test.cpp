// The sample module's guides read by the loader, and what the guide content
// of a task type and the recommendation choose from them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pathmentor/model/guide_content.h"
#include "pathmentor/model/guide_loader.h"
#include "pathmentor/model/recommendation.h"
#include "platform/message_box.h"

namespace pathmentor {
namespace {

class SampleGuideTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setMessageRecorder(&m_recorder); }
    void TearDown() override
    {
        EXPECT_TRUE(m_recorder.messages.empty()) << m_recorder.messages.front().text;
        platform::setMessageRecorder(nullptr);
    }
    platform::MessageRecorder m_recorder;
};

const TransformationItem* findItem(const ChapterList& chapters, const std::string& guid)
{
    for (const auto& chapter : chapters)
        for (const auto& group : chapter->groups)
            for (const auto& item : group->items)
                if (item->guid == guid)
                    return item.get();
    return nullptr;
}

TEST_F(SampleGuideTest, StepwellGuide)
{
    ChapterList chapters;
    ASSERT_TRUE(loadGuide(PATHMENTOR_MODULE_DIR "/lang/ua/guide/stepwell.xml", chapters));

    struct Expected {
        int id;
        std::string name, tabName;
        std::vector<int> codes;  // every item's aplan, group by group
    };
    const std::vector<Expected> expected = {
        {1, "Вирази", "Вирази", {101, 102, 103, 104, 105, 5351}},
        {2, "Лінійні рівняння", "Лінійні", {513, 512, 106, 102, 5351}},
        {3, "Квадратні рівняння", "Квадратні", {106, 104, 107, 101, 5351}},
        {4, "Дробові раціональні рівняння", "Дробові", {105, 512, 106, 107, 5351}},
        {5, "Системи рівнянь", "Системи", {108, 512, 513, 5351}},
        {6, "Нерівності", "Нерівності", {513, 611, 1035, 5351}},
        {9, "Відповіді", "Відповіді", {1371, 1372}},
    };
    ASSERT_EQ(chapters.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const GuideChapter& chapter = *chapters[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(chapter.id, expected[i].id);
        EXPECT_EQ(chapter.guid, "sw-ch" + std::to_string(expected[i].id));
        EXPECT_EQ(chapter.name, expected[i].name);
        EXPECT_EQ(chapter.tabName, expected[i].tabName);
        std::vector<int> codes;
        for (const auto& group : chapter.groups) {
            EXPECT_FALSE(group->name.empty());
            for (const auto& item : group->items) {
                codes.push_back(item->aplan);
                EXPECT_FALSE(item->name.empty() || item->action.empty() || item->howtodo.empty() ||
                             item->mathexpl.empty())
                    << item->guid;
            }
        }
        EXPECT_EQ(codes, expected[i].codes);
    }

    EXPECT_EQ(chapters[1]->groups[0]->name, "Рівносильні перетворення рівняння");
    const TransformationItem* factor = findItem(chapters, "sw-ch1-104");
    ASSERT_NE(factor, nullptr);
    EXPECT_EQ(factor->name, "Розкласти на множники за формулою");
    EXPECT_TRUE(factor->formulaChoice);
    ASSERT_EQ(factor->formulas.size(), 2u);
    EXPECT_EQ(factor->formulas[0].text, "@index_up$a$2#-@index_up$b$2#=(a-b)*(a+b)");
    EXPECT_EQ(factor->formulas[0].sign1, 2);
    EXPECT_EQ(factor->formulas[0].sign2, 1);

    const TransformationItem* quadratic = findItem(chapters, "sw-ch3-107");
    ASSERT_NE(quadratic, nullptr);
    EXPECT_EQ(quadratic->howToDoExtended, "quadratic");
    EXPECT_TRUE(findItem(chapters, "sw-ch4-107")->howToDoExtended.empty());
    const TransformationItem* answer = findItem(chapters, "sw-ch9-1371");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->view, ItemView::Plain);
    EXPECT_EQ(answer->type, 3);

    // The quadratic task type's content: chapters 1 and 3, the two answers
    // of the last chapter; then the recommendation for sign 4.
    const ContentSelection selection =
        selectGuideContent(R"(<GUIDE version="1.0" cch=";1;3;" answers="1371;1372;"/>)", chapters, false);
    ASSERT_TRUE(selection.applied());
    ASSERT_EQ(selection.shownChapters.size(), 2u);
    EXPECT_EQ(selection.shownChapters[0]->id, 1);
    EXPECT_EQ(selection.shownChapters[1]->id, 3);
    ASSERT_EQ(selection.answers.size(), 2u);
    EXPECT_EQ(selection.answers[0], answer);
    EXPECT_EQ(selection.answers[1]->guid, "sw-ch9-1372");

    const auto copies = selectRecommendedItems(selection.shownChapters, 4);
    std::vector<std::string> guids;
    for (const auto& copy : copies)
        guids.push_back(copy->guid + "/" + std::to_string(copy->formulas.size()));
    EXPECT_EQ(guids, (std::vector<std::string>{"sw-ch1-5351/1", "sw-ch1-101/1", "sw-ch1-105/1", "sw-ch3-101/1"}));
}

TEST_F(SampleGuideTest, ReckonryGuide)
{
    ChapterList chapters;
    ASSERT_TRUE(loadGuide(PATHMENTOR_MODULE_DIR "/lang/ua/reckonry/reckonry.xml", chapters));
    ASSERT_EQ(chapters.size(), 1u);
    const GuideChapter& chapter = *chapters[0];
    EXPECT_EQ(chapter.id, 1);
    EXPECT_EQ(chapter.name, "Розв'язувач");
    EXPECT_EQ(chapter.tabName, "Дії");
    ASSERT_EQ(chapter.groups.size(), 1u);
    EXPECT_EQ(chapter.groups[0]->name, "Що зробити з умовою");
    const auto& items = chapter.groups[0]->items;
    ASSERT_EQ(items.size(), 3u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i]->view, ItemView::Plain);
        EXPECT_EQ(items[i]->aplan, 2001 + static_cast<int>(i));
        EXPECT_EQ(items[i]->type, 1);
    }
    EXPECT_EQ(items[0]->name, "Розв'язати");
    EXPECT_EQ(items[0]->howToDoExtended, "solve");
    EXPECT_TRUE(items[1]->howToDoExtended.empty());
}

}  // namespace
}  // namespace pathmentor
