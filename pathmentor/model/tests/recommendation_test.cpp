// Which item copies the recommended chapter offers for a sign.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pathmentor/model/recommendation.h"
#include "pathmentor/model/tests/chapter_builder.h"
#include "platform/message_box.h"

namespace pathmentor {
namespace {

using namespace pathmentor::testing;

const std::string kNoOwnStep = "Error fill of the recomending common chapter";

// One copy as "guid: formula texts".
std::vector<std::string> describe(const std::vector<std::unique_ptr<TransformationItem>>& copies)
{
    std::vector<std::string> lines;
    for (const auto& copy : copies) {
        std::string line = copy->guid + ":";
        for (const GuideFormula& formula : copy->formulas)
            line += " " + formula.text;
        lines.push_back(line);
    }
    return lines;
}

// Two shown chapters. The own-step item (5351) of chapter 1 comes first; the
// one of chapter 2 is never copied.
ChapterList shownChapters()
{
    ChapterList chapters;
    chapters.push_back(chapter(
        1, list(group("g1", list(item("sum", 101, 1, ItemView::Formula,
                                      {{"s3a", 3, 0}, {"s4", 4, 5}, {"s3b", 1, 3}, {"s33", 3, 3}}),
                                 item("plain", 102, 1, ItemView::Plain), item("graph", 103, 1, ItemView::Graph))),
                group("g2", list(item("own", 5351, 1, ItemView::Formula, {{"own-first", 9, 8}, {"own-second", 3, 17}}),
                                 item("type2", 104, 2, ItemView::Formula, {{"t2-3", 3, 0}, {"t2-17", 17, 0}}),
                                 item("big", 5000, 1, ItemView::Formula, {{"big-3", 3, 0}, {"big-17", 0, 17}}),
                                 item("nothing", 105, 1, ItemView::Formula, {{"n", 1, 2}}))))));
    chapters.push_back(chapter(
        2, list(group("g3", list(item("own-2", 5351, 1, ItemView::Formula, {{"own2", 3, 3}}),
                                 item("eight", 106, 1, ItemView::Formula, {{"e8", 8, 0}, {"e3", 0, 3}}))))));
    return chapters;
}

std::vector<GuideChapter*> pointers(const ChapterList& chapters)
{
    std::vector<GuideChapter*> result;
    for (const auto& c : chapters)
        result.push_back(c.get());
    return result;
}

class RecommendationTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setMessageRecorder(&m_recorder); }
    void TearDown() override { platform::setMessageRecorder(nullptr); }
    platform::MessageRecorder m_recorder;
};

TEST_F(RecommendationTest, CopiesCarryTheFormulasOfTheSign)
{
    const ChapterList chapters = shownChapters();
    struct Case {
        int sign;
        std::vector<std::string> copies;
    };
    const std::vector<Case> cases = {
        // The own step with its first formula, then type-1 formula items
        // below 5000 with the formulas carrying 3 in either sign (once each).
        {3, {"own: own-first", "sum: s3a s3b s33", "eight: e3"}},
        {8, {"eight: e8"}},  // no own step for 8
        {9, {}},
        {4, {"own: own-first", "sum: s4"}},
        {5, {"own: own-first", "sum: s4"}},
        // 17: every formula item, whatever its type and aplan.
        {17, {"own: own-second", "type2: t2-17", "big: big-17"}},
        {42, {"own: own-first"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sign);
        EXPECT_EQ(describe(selectRecommendedItems(pointers(chapters), c.sign)), c.copies);
    }
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(RecommendationTest, CopiesKeepTheirItemsFields)
{
    ChapterList chapters = shownChapters();
    TransformationItem& sum = *chapters[0]->groups[0]->items[0];
    sum.name = "Sum";
    sum.action = "act";
    sum.howtodo = "how";
    sum.mathexpl = "why";
    sum.howToDoExtended = "more";
    sum.needDialog = true;
    sum.needAllExpr = true;
    sum.formulaChoice = true;

    const auto copies = selectRecommendedItems(pointers(chapters), 4);
    ASSERT_EQ(copies.size(), 2u);
    const TransformationItem& copy = *copies[1];
    EXPECT_NE(&copy, &sum);
    EXPECT_EQ(copy.view, ItemView::Formula);
    EXPECT_EQ(copy.aplan, 101);
    EXPECT_EQ(copy.type, 1);
    EXPECT_EQ(copy.name, "Sum");
    EXPECT_EQ(copy.action, "act");
    EXPECT_EQ(copy.howtodo, "how");
    EXPECT_EQ(copy.mathexpl, "why");
    EXPECT_EQ(copy.howToDoExtended, "more");
    EXPECT_TRUE(copy.needDialog);
    EXPECT_TRUE(copy.needAllExpr);
    EXPECT_TRUE(copy.formulaChoice);
    ASSERT_EQ(copy.formulas.size(), 1u);
    EXPECT_EQ(copy.formulas[0].sign1, 4);
    EXPECT_EQ(copy.formulas[0].sign2, 5);
    // The items themselves are untouched.
    EXPECT_EQ(sum.formulas.size(), 4u);
}

TEST_F(RecommendationTest, WithoutAnOwnStepItemTheRestIsStillOffered)
{
    // Chapter 2 alone: its 5351 item counts only with type 1.
    ChapterList chapters = shownChapters();
    chapters.erase(chapters.begin());
    EXPECT_EQ(describe(selectRecommendedItems(pointers(chapters), 3)),
              (std::vector<std::string>{"own-2: own2", "eight: e3"}));
    EXPECT_TRUE(m_recorder.messages.empty());

    chapters[0]->groups[0]->items[0]->type = 2;
    for (int sign : {3, 8}) {
        SCOPED_TRACE(sign);
        m_recorder.messages.clear();
        EXPECT_EQ(describe(selectRecommendedItems(pointers(chapters), sign)),
                  std::vector<std::string>{sign == 3 ? "eight: e3" : "eight: e8"});
        ASSERT_EQ(m_recorder.messages.size(), 1u);
        EXPECT_EQ(m_recorder.messages[0].text, kNoOwnStep);
    }
    m_recorder.messages.clear();
    EXPECT_TRUE(selectRecommendedItems({}, 3).empty());
    ASSERT_EQ(m_recorder.messages.size(), 1u);
    EXPECT_EQ(m_recorder.messages[0].text, kNoOwnStep);
}

TEST_F(RecommendationTest, AnOwnStepWithoutFormulasIsCopiedWithoutFormulas)
{
    for (ItemView view : {ItemView::Formula, ItemView::Plain, ItemView::Graph}) {
        SCOPED_TRACE(static_cast<int>(view));
        ChapterList chapters;
        auto own = item("own", 5351, 1, view);
        own->graphText = "<gr:task/>";
        chapters.push_back(chapter(1, list(group("g", list(std::move(own))))));
        const auto copies = selectRecommendedItems(pointers(chapters), 3);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0]->view, ItemView::Formula);
        EXPECT_TRUE(copies[0]->formulas.empty());
        EXPECT_TRUE(copies[0]->graphText.empty());
        EXPECT_TRUE(m_recorder.messages.empty());
    }
}

TEST(Recommendation, OwnStepIsOfferedForAllButFiveSigns)
{
    for (int sign = -1; sign <= 256; ++sign) {
        const bool excluded = sign == 0 || sign == 8 || sign == 9 || sign == 12 || sign == 17;
        EXPECT_EQ(offersOwnStep(sign), !excluded) << sign;
    }
}

}  // namespace
}  // namespace pathmentor
