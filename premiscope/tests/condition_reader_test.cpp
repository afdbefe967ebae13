// Reading a task's condition and job over small task texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "premiscope/condition_reader.h"

namespace premiscope {
namespace {

using Kind = ConditionItem::Kind;

const std::string kMathX = R"(<math xmlns="http://www.w3.org/1998/Math/MathML"><mi>x</mi></math>)";
const std::string kMathY = R"(<math xmlns="http://www.w3.org/1998/Math/MathML"><mi>y</mi></math>)";

std::string task(const std::string& text, const std::string& job, const std::string& root = "TASK",
                 const std::string& rootAttributes = "")
{
    return "<" + root + rootAttributes + "><CONDITION><TEXT>" + text + "</TEXT><FSTORAGE><FORMULA id=\"1\">" + kMathX +
           "</FORMULA><FORMULA id=\"it's\">" + kMathY +
           "</FORMULA><FORMULA id=\"bare\"><mi>z</mi></FORMULA><FORMULA id=\"empty\"/></FSTORAGE>"
           "<JOBSLIST><JOB asTask=\"no\"><START id=\"bare\"/></JOB>" +
           job + "</JOBSLIST></CONDITION></" + root + ">";
}

ConditionItem words(std::string text) { return {Kind::Words, std::move(text)}; }
ConditionItem formula(std::string text) { return {Kind::Formula, std::move(text)}; }
const ConditionItem kBreak{Kind::LineBreak, {}};

struct StatementCase {
    const char* name;
    std::string text;
    bool ok;
    std::vector<ConditionItem> items;
};

TEST(ConditionReader, ReadsTheStatementAsItems)
{
    const std::string job = R"(<JOB asTask="yes"><FORMULALINK id="1"/></JOB>)";
    const std::vector<StatementCase> cases = {
        {"words, a link and the stop on one line, the job on a new one",
         task(R"(Solve <FORMULALINK id="1"/>.)", job), true,
         {words("Solve "), formula(kMathX), words("."), kBreak, formula(kMathX)}},
        {"an inline FORMULA, a plain math and a skipped JOBLINK and link without id",
         task(R"(A <FORMULA><math><mn>2</mn></math></FORMULA><math><mn>3</mn></math><JOBLINK id="1"/><FORMULALINK/>)",
              R"(<JOB asTask="yes"/>)"),
         true, {words("A "), formula("<math><mn>2</mn></math>"), formula("<math><mn>3</mn></math>")}},
        {"a link to a missing id fails after the words", task(R"(Solve <FORMULALINK id="9"/>.)", job), false,
         {words("Solve ")}},
        {"a link to a FORMULA without math fails", task(R"(<FORMULALINK id="bare"/>)", job), false, {}},
        {"a FORMULA without math fails", task(R"(A<FORMULA>x</FORMULA>)", job), false, {words("A")}},
        {"an id holding a quote finds its FORMULA", task(R"(<FORMULALINK id="it's"/>)", R"(<JOB asTask="yes"/>)"),
         true, {formula(kMathY)}},
        {"a job whose first child adds nothing: no line break",
         task("T", R"(<JOB asTask="yes"><START id="1"/>then <FORMULALINK id="1"/></JOB>)"), true,
         {words("T"), words("then "), formula(kMathX)}},
        {"a job starting with white space breaks before it",
         task("T", R"(<JOB asTask="yes"> <FORMULALINK id="1"/></JOB>)"), true,
         {words("T"), kBreak, words(" "), formula(kMathX)}},
        {"math standing in the job is skipped",
         task("T", R"(<JOB asTask="yes"><math><mi>q</mi></math><FORMULA><math><mi>r</mi></math></FORMULA></JOB>)"),
         true, {words("T"), formula("<math><mi>r</mi></math>")}},
        {"a FORMULA without math in the job fails",
         task("T", R"(<JOB asTask="yes">go <FORMULA>x</FORMULA></JOB>)"), false, {words("T"), kBreak, words("go ")}},
        {"only a job with asTask='no': the text alone", task("T", ""), true, {words("T")}},
        {"any name of the document element", task("T", job, "Zadacha"), true,
         {words("T"), kBreak, formula(kMathX)}},
    };
    for (const StatementCase& c : cases) {
        SCOPED_TRACE(c.name);
        CConditionReader reader;
        ASSERT_TRUE(reader.Load(c.text));
        std::vector<ConditionItem> items;
        EXPECT_EQ(reader.ReadStatement(items), c.ok);
        EXPECT_EQ(items, c.items);
    }
}

TEST(ConditionReader, CaptionFollowsTheLoadedTask)
{
    CConditionReader reader;
    EXPECT_EQ(reader.Caption(), "Завдання");
    ASSERT_TRUE(reader.Load(task("T", "", "TASK", " num=\"3\"")));
    EXPECT_EQ(reader.Caption(), "Завдання 3.");
    ASSERT_TRUE(reader.Load(task("T", "")));
    EXPECT_EQ(reader.Caption(), "Завдання.");
    // Text that is not XML: no document, nothing answered.
    EXPECT_FALSE(reader.Load("<TASK><CONDITION>"));
    EXPECT_FALSE(reader.IsLoaded());
    std::vector<ConditionItem> items;
    EXPECT_FALSE(reader.ReadStatement(items));
    EXPECT_TRUE(items.empty());
    EXPECT_FALSE(reader.Load(""));
}

struct StartCase {
    const char* name;
    std::string job;
    std::string start;
};

TEST(ConditionReader, StartFormula)
{
    const std::vector<StartCase> cases = {
        {"START with id", R"(<JOB asTask="yes">go<START id="1"/></JOB>)", kMathX},
        {"START with id of a FORMULA without math: its first child's XML",
         R"(<JOB asTask="yes"><START id="bare"/></JOB>)", "<mi>z</mi>"},
        {"START with id of an empty FORMULA", R"(<JOB asTask="yes"><START id="empty"/></JOB>)", ""},
        {"START with a missing id", R"(<JOB asTask="yes"><START id="9"/></JOB>)", ""},
        {"START holding a link", R"(<JOB asTask="yes"><START><FORMULALINK id="1"/></START></JOB>)", kMathX},
        {"START holding an inline FORMULA with math",
         R"(<JOB asTask="yes"><START><FORMULA><math><mn>7</mn></math></FORMULA></START></JOB>)",
         "<math><mn>7</mn></math>"},
        {"START holding a FORMULA without math: its text",
         R"(<JOB asTask="yes"><START><FORMULA>x+1</FORMULA></START></JOB>)", "x+1"},
        {"START holding text", R"(<JOB asTask="yes"><START>x</START></JOB>)", ""},
        {"a job of one child", R"(<JOB asTask="yes"><FORMULALINK id="it's"/></JOB>)", kMathY},
        {"a job of two children without START", R"(<JOB asTask="yes">a<FORMULALINK id="1"/></JOB>)", ""},
        {"a job of none", R"(<JOB asTask="yes"/>)", ""},
        {"no job with asTask='yes'", "", ""},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        CConditionReader reader;
        ASSERT_TRUE(reader.Load(task("T", c.job)));
        EXPECT_EQ(reader.GetStartFormula(), c.start);
    }
}

TEST(ConditionReader, JobAnswers)
{
    CConditionReader reader;
    ASSERT_TRUE(reader.Load(task("T", R"(<JOB asTask="yes" check="yes" aplan="2101" x="1"><HIDDENFORMULA id="1"/>)"
                                      R"(<ANSWER><FORMULA>5</FORMULA></ANSWER><a/></JOB>)")));
    EXPECT_TRUE(reader.IsNeedUserInputToBegin());
    EXPECT_EQ(reader.GetTaskJobAttribute("aplan"), "2101");
    EXPECT_EQ(reader.GetTaskJobAttribute("checkType"), "");
    EXPECT_EQ(reader.GetTaskJobFormulaByType("HIDDENFORMULA"), kMathX);
    EXPECT_EQ(reader.GetTaskJobFormulaByType("ANSWER"), "5");
    EXPECT_EQ(reader.GetTaskJobFormulaByType("START"), "");
    // Only XML names: nothing is spliced into a query.
    for (const char* name : {"a/b", "@x", "", "x]", "x'", "1x", "x y"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(reader.GetTaskJobAttribute(name), "");
        EXPECT_EQ(reader.GetTaskJobFormulaByType(name), "");
    }

    for (const char* check : {"no", "YES", ""}) {
        ASSERT_TRUE(reader.Load(task("T", std::string(R"(<JOB asTask="yes" check=")") + check + "\"/>")));
        EXPECT_FALSE(reader.IsNeedUserInputToBegin()) << check;
    }
    // A job with asTask="no" only is no job.
    ASSERT_TRUE(reader.Load(task("T", "")));
    EXPECT_FALSE(reader.IsNeedUserInputToBegin());
    EXPECT_EQ(reader.GetStartFormula(), "");
    EXPECT_EQ(reader.GetTaskJobAttribute("asTask"), "");
}

}  // namespace
}  // namespace premiscope
