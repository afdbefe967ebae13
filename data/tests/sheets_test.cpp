// The stylesheets of the install tree through the suite's XSLT layer: the
// MathML sheet keeps every character of every construct the formula
// control writes, the print sheet shows a task with every part of its
// solution, and the animation sheets show every animation the guides and
// tasks name, or the notice for an unknown one.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "formula/model/chars.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/mathml_names.h"
#include "formula/notation/mathml_writer.h"
#include "formula/tests/formula_test_util.h"
#include "mathml_constructs.h"
#include "module_data.h"
#include "platform/xml.h"

namespace moduledata {
namespace {

namespace xml = platform::xml;

std::string mathmlOf(const std::string& lexemText)
{
    auto root = formula::test::Read(lexemText);
    formula::ParseContext context;
    root->Normalize(context);
    return formula::MathMLDocument(*root);
}

// Every text below a node, white space removed.
std::string visibleText(const xml::Node& node)
{
    std::string text;
    for (char c : node.text())
        if (c != ' ' && c != '\n' && c != '\t' && c != '\r')
            text += c;
    return text;
}

int countClass(const xml::Node& node, const std::string& name)
{
    return static_cast<int>(
        xml::selectList(node, "//*[contains(concat(' ', normalize-space(@class), ' '), $c)]", {{"c", " " + name + " "}})
            .size());
}

const xml::Stylesheet& mathmlSheet()
{
    static const xml::Stylesheet sheet = xml::Stylesheet::loadFile(stagePath("kernel/data/common/mathml.xslt"));
    return sheet;
}

std::string rendered(const std::string& mathml)
{
    const xml::Document result = mathmlSheet().transformToDocument(xml::Document::loadText(mathml));
    return visibleText(*result.root());
}

TEST(MathMLSheet, KeepsEveryCharacterInOrder)
{
    for (const auto& [text, expected] : mathmlConstructs()) {
        SCOPED_TRACE(text);
        const std::string mathml = mathmlOf(text);
        EXPECT_EQ(rendered(mathml), expected) << mathml;
    }
}

TEST(MathMLSheet, EverySignAndAtomHasItsCharacter)
{
    // Symbol-font code -> the character shown.
    const std::map<int, std::string> shown = {
        {94, "\xE2\x8A\xA5"},  {163, "\xE2\x89\xA4"}, {174, "\xE2\x86\x92"}, {176, "\xC2\xB0"},
        {177, "\xC2\xB1"},     {179, "\xE2\x89\xA5"}, {185, "\xE2\x89\xA0"}, {199, "\xE2\x88\xA9"},
        {200, "\xE2\x88\xAA"}, {204, "\xE2\x8A\x82"}, {205, "\xE2\x8A\x86"}, {206, "\xE2\x88\x88"},
        {207, "\xE2\x88\x89"}, {208, "\xE2\x88\xA0"}, {219, "\xE2\x87\x94"}, {220, "\xE2\x87\x90"},
        {222, "\xE2\x87\x92"}, {68, "\xCE\x94"},      {97, "\xCE\xB1"},      {98, "\xCE\xB2"},
        {101, "\xCE\xB5"},     {103, "\xCE\xB3"},     {109, "\xCE\xBC"},     {112, "\xCF\x80"},
        {165, "\xE2\x88\x9E"}, {194, "\xE2\x84\x9D"}, {198, "\xE2\x88\x85"},
    };
    for (const auto& row : formula::mathml::kSignTypes) {
        SCOPED_TRACE(row.type);
        ASSERT_TRUE(shown.count(row.code));
        EXPECT_EQ(rendered(mathmlOf("a" + formula::CRelationSign(row.code).LexemText() + "b")),
                  "a" + shown.at(row.code) + "b");
    }
    for (const auto& row : formula::mathml::kAtomTypes) {
        SCOPED_TRACE(row.type);
        ASSERT_TRUE(shown.count(row.code));
        EXPECT_EQ(rendered(mathmlOf("2*" + formula::CSpecAtom(row.code).LexemText())),
                  "2\xC2\xB7" + shown.at(row.code));
    }
}

// A task with a solution of a formula step and a transformation step, and
// its answer, as Stepwell writes it for printing.
std::string withSolution(const std::string& taskXml, const std::string& mathml)
{
    const std::string solution =
        "<SOLUTION><STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\"><DESCRIPTION>Запишемо умову:<BR/>"
        "перший рядок</DESCRIPTION><EXPR>" + mathml + "</EXPR></STEP>"
        "<STEP type=\"double\" id=\"2\" result=\"2\" executor=\"1\"><DESCRIPTION>Виконуємо перетворення самостійно:"
        "</DESCRIPTION><USERTR>" + mathml + "</USERTR><RECEIVE>Отримуємо:</RECEIVE><EXPR>" + mathml +
        "</EXPR></STEP><STEP type=\"answer\" id=\"3\" result=\"2\" executor=\"1\"><DESCRIPTION>Перевірена відповідь"
        "</DESCRIPTION><EXPR>" + mathml + "</EXPR></STEP></SOLUTION>";
    const auto end = taskXml.rfind("</TASK>");
    return taskXml.substr(0, end) + solution + "</TASK>";
}

TEST(PrintSheet, RendersEachTaskWithItsSolution)
{
    const xml::Stylesheet sheet = xml::Stylesheet::loadFile(stagePath("kernel/data/lang/ua/taskbaseprintLang.xslt"));
    int tasks = 0;
    for (const std::string& page : taskPages()) {
        const xml::Document document = xml::Document::loadFile(modulePath("lang/ua/taskbook/doc/" + page));
        for (const xml::Node& task : xml::selectList(*document.root(), "//TASK")) {
            SCOPED_TRACE(page + " " + task.attribute("id").value_or(""));
            ++tasks;
            const std::string step = mathmlOf("x=1");
            const xml::Document input = xml::Document::loadText(withSolution(task.xml(), step));
            const xml::Document html = sheet.transformToDocument(input);
            const xml::Node body = *xml::selectSingle(*html.root(), "//body");
            const std::string text = body.text();
            EXPECT_NE(text.find("Завдання " + task.attribute("num").value_or("") + "."), std::string::npos);
            EXPECT_NE(text.find(task.attribute("title").value_or("")), std::string::npos);
            // The words of the condition.
            std::string words;
            for (const xml::Node& part : xml::selectSingle(task, "CONDITION/TEXT")->childNodes())
                if (part.type() == xml::NodeType::Text)
                    words = part.text();
            EXPECT_NE(text.find(words.substr(0, 40)), std::string::npos) << words;
            // Formulas: those of the text and the job, and four of the
            // solution (the hidden formula and answer of a dialog stay
            // hidden).
            const int shownInCondition =
                static_cast<int>(xml::selectList(task, "CONDITION/TEXT/FORMULA").size() +
                                 xml::selectList(task, "CONDITION/JOBSLIST/JOB[1]/FORMULA").size());
            EXPECT_EQ(countClass(body, "mml"), shownInCondition + 4);
            for (const char* words : {"Запишемо умову:", "перший рядок", "Виконуємо перетворення самостійно:",
                                      "Отримуємо:", "Відповідь:", "Розв'язання"})
                EXPECT_NE(text.find(words), std::string::npos) << words;
            EXPECT_EQ(xml::selectList(body, "//br").size(), 1u);
            EXPECT_EQ(countClass(body, "step"), 2);
        }
    }
    EXPECT_GE(tasks, 21);
}

TEST(PrintSheet, ShowsSavedSolution)
{
    const xml::Stylesheet sheet = xml::Stylesheet::loadFile(stagePath("kernel/data/lang/ua/taskbaseprintLang.xslt"));
    const xml::Document html = sheet.transformToDocument(xml::Document::loadFile(modulePath("libalgt/tasks/task_2.xml")));
    const xml::Node body = *xml::selectSingle(*html.root(), "//body");
    EXPECT_EQ(countClass(body, "step"), 4);
    // Condition, four steps (one with the pupil's transformation) and the answer.
    EXPECT_EQ(countClass(body, "mml"), 1 + 5 + 1);
    EXPECT_NE(visibleText(body).find("Відповідь:[x=-1x=3"), std::string::npos) << visibleText(body);
}

TEST(PrintSheet, FollowsNoLinkFromAStoredFormula)
{
    // The stored formula holds a text that links back to it.
    const std::string math = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>y</mi>"
                             "<TEXT xmlns=\"\"><FORMULALINK id=\"f1\"/></TEXT></math>";
    const xml::Document task = xml::Document::loadText(
        "<TASK num=\"1\"><CONDITION><TEXT>Умова <FORMULALINK id=\"f1\"/></TEXT><FSTORAGE><FORMULA id=\"f1\">" + math +
        "</FORMULA></FSTORAGE><JOBSLIST><JOB asTask=\"yes\"><FORMULALINK id=\"f1\"/></JOB></JOBSLIST></CONDITION>"
        "</TASK>");
    const xml::Stylesheet sheet = xml::Stylesheet::loadFile(stagePath("kernel/data/lang/ua/taskbaseprintLang.xslt"));
    const xml::Document html = sheet.transformToDocument(task);
    const xml::Node body = *xml::selectSingle(*html.root(), "//body");
    EXPECT_EQ(countClass(body, "mml"), 2);  // the text's link and the job's, once each
    EXPECT_NE(visibleText(body).find("Умоваy"), std::string::npos) << visibleText(body);
}

// The animations the guides' "how to do it" and the tasks' begin dialogs name.
std::set<std::string> animationNames()
{
    std::set<std::string> names;
    for (const char* guide : {"lang/ua/guide/stepwell.xml", "lang/ua/reckonry/reckonry.xml"})
        for (const GuideItem* item : loadGuide(modulePath(guide)).items())
            if (!item->howToDoExtended.empty())
                names.insert(item->howToDoExtended);
    for (const std::string& page : taskPages()) {
        const xml::Document document = xml::Document::loadFile(modulePath("lang/ua/taskbook/doc/" + page));
        for (const xml::Node& job : xml::selectList(*document.root(), "//JOB[@animResource]"))
            names.insert(*job.attribute("animResource"));
    }
    return names;
}

// AnimXml as the animation window writes it.
std::string animXml(const std::string& sheet, const std::string& name)
{
    return "<?xml version=\"1.0\"?><?xml-stylesheet type = \"text/xsl\" href = \"" + sheet + "\"?><ANIM file=\"" +
           name + "\"></ANIM>";
}

TEST(AnimationSheets, ShowEveryNamedAnimation)
{
    const std::set<std::string> names = animationNames();
    EXPECT_EQ(names, (std::set<std::string>{"quadratic", "solve", "textequation", "textsystem"}));
    for (const char* file : {"guideanim.xslt", "taskanim.xslt"}) {
        SCOPED_TRACE(file);
        const xml::Stylesheet sheet = xml::Stylesheet::loadFile(stagePath(std::string("kernel/temp/") + file));
        for (const std::string& name : names) {
            SCOPED_TRACE(name);
            const xml::Document html = sheet.transformToDocument(xml::Document::loadText(animXml(file, name)));
            const auto frames = xml::selectList(*html.root(), "//div[@class='anim-frame']");
            ASSERT_GE(frames.size(), 2u);
            for (std::size_t i = 0; i < frames.size(); ++i) {
                EXPECT_FALSE(xml::evaluateString(frames[i], "string(div[@class='anim-caption'])").empty());
                EXPECT_EQ(xml::selectList(frames[i], ".//span[contains(@class, 'mml')]").size(), 1u);
                EXPECT_EQ(frames[i].attribute("style"), "animation-delay: " + std::to_string(4 * i) + "s");
            }
            EXPECT_EQ(html.root()->text().find("Анімацію не знайдено"), std::string::npos);
        }
        const xml::Document missing = sheet.transformToDocument(xml::Document::loadText(animXml(file, "nothere")));
        EXPECT_NE(missing.root()->text().find("Анімацію не знайдено"), std::string::npos);
        EXPECT_TRUE(xml::selectList(*missing.root(), "//div[@class='anim-frame']").empty());
    }
}

}  // namespace
}  // namespace moduledata
