// The guides of the sample module and Stepwell's configuration: read with
// the guide loader's rules, every code known to the program's rule file,
// every formula usable by the formula control, and every task type's guide
// content showing chapters that exist with the answers of the last one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "module_data.h"
#include "platform/xml.h"
#include "testsupport/temp_dir.h"

namespace moduledata {
namespace {

namespace xml = platform::xml;

const Guide& stepwellGuide()
{
    static const Guide guide = loadGuide(modulePath("lang/ua/guide/stepwell.xml"));
    return guide;
}

// The guide's transformations per chapter, in list order (own steps and the
// graph items aside).
TEST(StepwellGuide, ChaptersHoldTheirTransformations)
{
    const std::vector<std::pair<int, std::vector<int>>> expected = {
        {1, {101, 102, 103, 104, 105}}, {2, {513, 512, 106, 102}}, {3, {106, 104, 107, 101}},
        {4, {105, 512, 106, 107}},      {5, {108, 512, 513}},      {6, {513, 611, 1035}},
        {9, {1371, 1372}},
    };
    const Guide& guide = stepwellGuide();
    ASSERT_EQ(guide.chapters.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const GuideChapter& chapter = guide.chapters[i];
        SCOPED_TRACE(chapter.name);
        EXPECT_EQ(chapter.id, expected[i].first);
        EXPECT_FALSE(chapter.name.empty());
        EXPECT_FALSE(chapter.tabName.empty());
        std::vector<int> codes;
        int ownSteps = 0;
        for (const auto& group : chapter.groups) {
            EXPECT_FALSE(group.name.empty());
            for (const auto& item : group.items) {
                if (item.aplan == 5351)
                    ++ownSteps;
                else if (item.view != 2)
                    codes.push_back(item.aplan);
            }
        }
        EXPECT_EQ(codes, expected[i].second);
        EXPECT_EQ(ownSteps, chapter.id == 9 ? 0 : 1);
    }
    const char* const names[] = {"Вирази", "Лінійні рівняння", "Квадратні рівняння", "Дробові раціональні рівняння",
                                 "Системи рівнянь", "Нерівності", "Відповіді"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(guide.chapters[i].name, names[i]);
}

TEST(StepwellGuide, ItemsFollowTheirKinds)
{
    const std::set<int> codes = ruleCodes("stepwell.clew");
    int choices = 0;
    int extended = 0;
    for (const GuideItem* item : stepwellGuide().items()) {
        SCOPED_TRACE(item->guid);
        EXPECT_TRUE(item->aplan == 1371 || codes.count(item->aplan)) << item->aplan;
        EXPECT_FALSE(item->name.empty() || item->action.empty() || item->howtodo.empty() || item->mathexpl.empty());
        const std::set<int> dialog = {512, 513, 611, 5351};
        const std::set<int> whole = {106, 108};
        EXPECT_EQ(item->needDialog, dialog.count(item->aplan) == 1);
        EXPECT_EQ(item->needAllExpr, whole.count(item->aplan) == 1);
        choices += item->choice;
        extended += !item->howToDoExtended.empty();
        if (item->view == 2) {
            EXPECT_EQ(item->aplan, 107);
            EXPECT_NE(item->graph.find("<gr:task xmlns:gr=\"urn:pelmarin:tessaly:graph\" "), std::string::npos);
            EXPECT_NE(item->graph.find("<gr:quadricConstr "), std::string::npos);
            EXPECT_NE(item->graph.find("</gr:task>"), std::string::npos);
            continue;
        }
        if (item->aplan == 1371 || item->aplan == 1372) {
            EXPECT_EQ(item->type, 3);
            EXPECT_EQ(item->view, 3);
        } else if (item->aplan == 1035) {
            EXPECT_EQ(item->type, 2);
        } else {
            EXPECT_EQ(item->type, 1);
            EXPECT_EQ(item->view, 1);
            EXPECT_FALSE(item->formulas.empty());
        }
        for (const GuideFormula& f : item->formulas) {
            EXPECT_TRUE(usableFormula(f.text));
            EXPECT_TRUE(f.sign1 > 0 && f.sign1 <= 19) << f.text;
            EXPECT_TRUE(f.sign2 >= 0 && f.sign2 <= 19) << f.text;
        }
        if (item->choice) {
            EXPECT_GE(item->formulas.size(), 2u);
        }
    }
    EXPECT_EQ(choices, 1);
    EXPECT_GE(extended, 1);
}

const GuideItem* findItem(const std::string& guid)
{
    for (const GuideItem* item : stepwellGuide().items())
        if (item->guid == guid)
            return item;
    return nullptr;
}

// A card of a rule whose result depends on a sign shows every case: the root
// formula of a quadratic equation takes both signs before the square root (a
// card with "+" alone loses a root), and multiplying an inequality keeps its
// sign for a positive factor and turns it for a negative one.
TEST(StepwellGuide, RuleCardsShowEveryCase)
{
    for (const char* guid : {"sw-ch3-107", "sw-ch4-107"}) {
        SCOPED_TRACE(guid);
        const GuideItem* item = findItem(guid);
        ASSERT_NE(item, nullptr);
        int roots = 0;
        for (const GuideFormula& formula : item->formulas) {
            if (formula.text.find("@sqrroot$") == std::string::npos)
                continue;
            ++roots;
            EXPECT_EQ(formula.text.rfind("x=@hor_frac$-b@spec$+-#@sqrroot$", 0), 0u) << formula.text;
        }
        EXPECT_EQ(roots, 1);
    }

    const GuideItem* multiply = findItem("sw-ch6-611");
    ASSERT_NE(multiply, nullptr);
    const std::string premise = "@system$a<b$";
    const std::string implies = "#@spec$lrarrow#";
    std::map<std::string, std::string> conclusions;  // the condition on c -> what follows
    for (const GuideFormula& formula : multiply->formulas) {
        SCOPED_TRACE(formula.text);
        ASSERT_EQ(formula.text.rfind(premise, 0), 0u);
        const auto close = formula.text.find(implies, premise.size());
        ASSERT_NE(close, std::string::npos);
        conclusions[formula.text.substr(premise.size(), close - premise.size())] =
            formula.text.substr(close + implies.size());
    }
    EXPECT_EQ(conclusions, (std::map<std::string, std::string>{{"c>0", "a*c<b*c"}, {"c<0", "a*c>b*c"}}));
}

// What the guide shows for a content string: the chapters named, the
// answer items found in the last chapter, and the own-step formula item the
// recommendation copies.
struct ShownSet {
    std::vector<int> chapters;
    std::vector<const GuideItem*> answers;
    const GuideItem* ownStep = nullptr;
};

ShownSet applyContent(const Guide& guide, const std::string& content)
{
    const GuideContent scan = scanGuideContent(content);
    EXPECT_TRUE(scan.hasVersion && scan.hasChapters && scan.hasAnswers) << content;
    EXPECT_EQ(scan.version, "1.0");
    ShownSet shown;
    for (const auto& chapter : guide.chapters) {
        if (scan.chapters.find(";" + std::to_string(chapter.id) + ";") == std::string::npos)
            continue;
        shown.chapters.push_back(chapter.id);
        for (const auto& group : chapter.groups)
            for (const auto& item : group.items)
                if (!shown.ownStep && item.type == 1 && item.aplan == 5351)
                    shown.ownStep = &item;
    }
    for (int id : scan.answers) {
        const GuideItem* found = nullptr;
        for (const auto& group : guide.chapters.back().groups)
            for (const auto& item : group.items)
                if (item.aplan == id && !found)
                    found = &item;
        EXPECT_NE(found, nullptr) << "answer " << id;
        if (found)
            shown.answers.push_back(found);
    }
    return shown;
}

TEST(StepwellConfig, TaskTypesShowTheirChapters)
{
    const std::map<std::string, std::vector<int>> expected = {
        {"expression", {1}}, {"linear", {1, 2}}, {"quadratic", {1, 3}}, {"fractional", {1, 4}},
        {"system", {1, 5}},  {"inequality", {1, 6}}, {"textequation", {1, 2, 5}},
    };
    const xml::Document config = xml::Document::loadFile(modulePath("lang/ua/stepwellcfg.xml"));
    const auto types = xml::selectList(*config.root(), "/CONFIG/TASKTYPES/TASKTYPE");
    ASSERT_EQ(types.size(), expected.size());
    const std::set<int> codes = ruleCodes("stepwell.clew");
    for (const xml::Node& type : types) {
        const std::string id = type.attribute("id").value_or("");
        SCOPED_TRACE(id);
        ASSERT_TRUE(expected.count(id));
        const auto guide = xml::selectSingle(type, "GUIDE");
        ASSERT_TRUE(guide);
        const ShownSet shown = applyContent(stepwellGuide(), guide->xml());
        EXPECT_EQ(shown.chapters, expected.at(id));
        // A graph card draws one fixed curve: it fits one task, never every
        // task of a type.
        for (int chapter : shown.chapters)
            for (const auto& group : stepwellGuide().chapter(chapter)->groups)
                for (const auto& item : group.items)
                    EXPECT_NE(item.view, 2) << item.guid;
        ASSERT_EQ(shown.answers.size(), 2u);
        EXPECT_EQ(shown.answers[0]->aplan, 1371);
        EXPECT_EQ(shown.answers[1]->aplan, 1372);
        ASSERT_NE(shown.ownStep, nullptr);
        EXPECT_FALSE(shown.ownStep->formulas.empty());
        if (id == "textequation") {
            EXPECT_EQ(type.attribute("checkType"), "hidans");
            EXPECT_EQ(type.attribute("aplan"), "2101");
            EXPECT_TRUE(codes.count(2101));
        }
    }
}

TEST(StepwellConfig, NewTaskMenuOffersEachTypeOnce)
{
    const xml::Document config = xml::Document::loadFile(modulePath("lang/ua/stepwellcfg.xml"));
    const auto items = xml::selectList(*config.root(), "/CONFIG/NEWTASKMENU//MENUITEM");
    EXPECT_LE(items.size(), 31u);
    std::set<std::string> seen;
    for (const xml::Node& item : items) {
        const std::string type = item.attribute("tasktype").value_or("");
        EXPECT_TRUE(seen.insert(type).second) << type;
        EXPECT_TRUE(xml::selectSingle(*config.root(), "TASKTYPES/TASKTYPE[@id=$t]", {{"t", type}})) << type;
        EXPECT_FALSE(item.attribute("caption").value_or("").empty());
        EXPECT_FALSE(item.text().empty());
        ASSERT_TRUE(item.parent());
        EXPECT_EQ(item.parent()->name(), "MENUGROUP");
    }
    EXPECT_EQ(seen.size(), 7u);
}

TEST(ReckonryGuide, PlainItemsOfTheSolversCodes)
{
    const Guide guide = loadGuide(modulePath("lang/ua/reckonry/reckonry.xml"));
    const std::set<int> codes = ruleCodes("reckonry.clew");
    std::vector<std::pair<int, std::string>> items;
    int extended = 0;
    for (const GuideItem* item : guide.items()) {
        EXPECT_EQ(item->view, 3);
        EXPECT_TRUE(codes.count(item->aplan)) << item->aplan;
        items.emplace_back(item->aplan, item->name);
        extended += !item->howToDoExtended.empty();
    }
    const std::vector<std::pair<int, std::string>> expected = {
        {2001, "Розв'язати"}, {2002, "Спростити"}, {2003, "Розкласти на множники"}};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(extended, 1);
}

// The loader refuses data that the guide control would misread.
TEST(GuideLoader, RefusesMisplacedParts)
{
    const std::string guideText =
        "<guide version=\"1\" basepath=\"./\"><cchfile fileName=\"c\"/></guide>";
    const std::string good =
        "<CCH id=\"1\" guid=\"c1\"><GCH guid=\"g1\"><TR guid=\"t1\" view=\"1\" type=\"1\" needDialog=\"0\" "
        "needAllExpr=\"0\" aplan=\"101\"><FORMULAS oneForm=\"1\"><FORMULA sign1=\"4\" sign2=\"0\">a*b</FORMULA>"
        "</FORMULAS></TR></GCH></CCH>";
    const std::string goodText =
        "<CCH name=\"n\" tabname=\"t\"><GCH guid=\"g1\" name=\"g\"><TR guid=\"t1\" name=\"a\" action=\"b\" "
        "howtodo=\"c\" mathexpl=\"d\"/></GCH></CCH>";
    struct Case {
        const char* what;
        std::string structure;
        std::string text;
        bool loads;
    };
    const std::vector<Case> cases = {
        {"the sound pair", good, goodText, true},
        {"a formula in the text file", good,
         "<CCH name=\"n\" tabname=\"t\"><GCH guid=\"g1\" name=\"g\"><TR guid=\"t1\" name=\"a\" action=\"b\" "
         "howtodo=\"c\" mathexpl=\"d\"><FORMULAS oneForm=\"1\"><FORMULA sign1=\"1\" sign2=\"0\">x</FORMULA>"
         "</FORMULAS></TR></GCH></CCH>",
         false},
        {"an item the structure did not make", good,
         "<CCH name=\"n\" tabname=\"t\"><GCH guid=\"g1\" name=\"g\"><TR guid=\"t2\" name=\"a\" action=\"b\" "
         "howtodo=\"c\" mathexpl=\"d\"/></GCH></CCH>",
         false},
        {"a text item without its explanation", good,
         "<CCH name=\"n\" tabname=\"t\"><GCH guid=\"g1\" name=\"g\"><TR guid=\"t1\" name=\"a\" action=\"b\" "
         "howtodo=\"c\"/></GCH></CCH>",
         false},
        {"white space before a graph",
         "<CCH id=\"1\" guid=\"c1\"><GCH guid=\"g1\"><TR guid=\"t1\" view=\"2\" type=\"1\" needDialog=\"0\" "
         "needAllExpr=\"0\" aplan=\"107\"> <GRAPH>&lt;gr:task/&gt;</GRAPH></TR></GCH></CCH>",
         goodText, false},
        {"a formula without its signs",
         "<CCH id=\"1\" guid=\"c1\"><GCH guid=\"g1\"><TR guid=\"t1\" view=\"1\" type=\"1\" needDialog=\"0\" "
         "needAllExpr=\"0\" aplan=\"101\"><FORMULAS oneForm=\"1\"><FORMULA>a*b</FORMULA></FORMULAS></TR></GCH></CCH>",
         goodText, false},
        {"one guid twice",
         "<CCH id=\"1\" guid=\"g1\"><GCH guid=\"G1\"><TR guid=\"t1\" view=\"3\" type=\"3\" needDialog=\"0\" "
         "needAllExpr=\"0\" aplan=\"1371\"/></GCH></CCH>",
         goodText, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempDir dir;
        std::ofstream(dir.path() + "guide.xml") << guideText;
        std::ofstream(dir.path() + "c.xcch") << c.structure;
        std::ofstream(dir.path() + "c.xccl") << c.text;
        bool loaded = true;
        try {
            loadGuide(dir.path() + "guide.xml");
        } catch (const std::runtime_error&) {
            loaded = false;
        }
        EXPECT_EQ(loaded, c.loads);
    }
}

}  // namespace
}  // namespace moduledata
