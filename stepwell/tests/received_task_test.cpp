#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "stepwell/model/received_task.h"

namespace stepwell {
namespace {

struct CutCase {
    const char* name;
    std::string text;
    bool cut;
    std::string task;
    std::string solution;
};

TEST(ReceivedTask, CutTable)
{
    const std::string task = "<TASK id=\"1\" type=\"linear\"><CONDITION><TEXT>Розв'яжіть</TEXT></CONDITION></TASK>";
    const std::string solution = "<SOLUTION><STEP type=\"single\"/></SOLUTION>";
    const CutCase cases[] = {
        {"as sent", task, true, task, ""},
        {"declaration before the task", "<?xml version='1.0'?>\n" + task, true, task, ""},
        {"line breaks and tabs inside formulas",
         "<TASK id=\"1\" type=\"linear\">\r\n\t<CONDITION><TEXT>Розв'яжіть</TEXT>\r\n</CONDITION>\n</TASK>", true, task,
         ""},
        {"U+00AC removed, the byte AC of Ь kept",
         "<TASK id=\"1\" type=\"linear\"><CONDITION><TEXT>Розв\xC2\xAC'яжіть</TEXT></CONDITION></TASK>", true, task, ""},
        {"U+00AC brought together by a removal goes too",
         "<TASK a=\"\xC2\xC2\xAC\xAC\xC2\n\xAC\"><CONDITION></CONDITION></TASK>", true,
         "<TASK a=\"\"><CONDITION></CONDITION></TASK>", ""},
        {"Ь stays", "<TASK a=\"Ь\"><CONDITION></CONDITION></TASK>", true,
         "<TASK a=\"Ь\"><CONDITION></CONDITION></TASK>", ""},
        {"two conditions: the first up to its end",
         "<TASK id=\"1\"><CONDITION>a</CONDITION><CONDITION>b</CONDITION></TASK>", true,
         "<TASK id=\"1\"><CONDITION>a</CONDITION></TASK>", ""},
        {"anything between the condition and the task's end dropped",
         "<TASK id=\"1\"><CONDITION>a</CONDITION><EXTRA/></TASK>", true, "<TASK id=\"1\"><CONDITION>a</CONDITION></TASK>",
         ""},
        {"with a solution", task.substr(0, task.size() - 7) + solution + "</TASK>", true, task, solution},
        {"solution broken over lines", task.substr(0, task.size() - 7) + "<SOLUTION>\r\n<STEP type=\"single\"/>\r\n</SOLUTION></TASK>",
         true, task, solution},
        {"solution not closed", task.substr(0, task.size() - 7) + "<SOLUTION><STEP/></TASK>", true, task, ""},
        {"solution inside the condition is not one",
         "<TASK id=\"1\"><CONDITION><SOLUTION></SOLUTION></CONDITION></TASK>", true,
         "<TASK id=\"1\"><CONDITION><SOLUTION></SOLUTION></CONDITION></TASK>", ""},
        {"no task element", "<TAS id=\"1\"><CONDITION></CONDITION>", false, "", ""},
        {"no condition end", "<TASK id=\"1\"><CONDITION></TASK>", false, "", ""},
        {"condition end before the task", "</CONDITION><TASK id=\"1\"><CONDITION>", false, "", ""},
        {"empty", "", false, "", ""},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ReceivedTask> result = CutReceivedText(c.text);
        ASSERT_EQ(result.has_value(), c.cut);
        if (!result)
            continue;
        EXPECT_EQ(result->task, c.task);
        EXPECT_EQ(result->solution, c.solution);
    }
}

TEST(ReceivedTask, TaskTypeAndDecimalTables)
{
    const std::pair<const char*, std::optional<std::string>> types[] = {
        {"<TASK id=\"1\" type=\"linear\" title=\"x\">", "linear"},
        {"<TASK type=\"\">", ""},
        {"<TASK id=\"1\" type=\"a\"><JOB type=\"b\">", "a"},
        {"<TASK tasktype=\"a\" type=\"b\">", "b"},
        {"<TASK id=\"1\">", std::nullopt},
        {"<TASK type=\"open", std::nullopt},
    };
    for (const auto& [text, type] : types)
        EXPECT_EQ(ReadTaskType(text), type) << text;

    const std::pair<const char*, int> numbers[] = {
        {"2101", 2101},   {" \t12x", 12},  {"-5", -5},         {"+7", 7},
        {"abc", 0},       {"", 0},         {"1.5", 1},         {"- 3", 0},
        {"99999999999", INT_MAX},          {"-99999999999", INT_MIN},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseDecimal(text), value) << text;
}

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<std::string> formulas;  // none: the text does not read
    bool reads = true;
};

// The whole text read before the open task is given up: the formulas in the
// order they show, or no task at all.
TEST(ReceivedTask, ReadingTheWholeTaskTable)
{
    const std::string x = "<math><mi>x</mi></math>";
    const std::string y = "<math><mi>y</mi></math>";
    const std::string mathml = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mn>1</mn></math>";
    const std::string store = "<FSTORAGE><FORMULA id=\"1\">" + x + "</FORMULA><FORMULA id=\"2\">" + y +
                              "</FORMULA><FORMULA id=\"3\">text</FORMULA></FSTORAGE>";
    auto task = [](const std::string& condition, const std::string& solution = "") {
        return "<TASK id=\"1\" type=\"linear\" title=\"t\"><CONDITION>" + condition + "</CONDITION>" + solution +
               "</TASK>";
    };
    auto step = [](const std::string& type, const std::string& content) {
        return "<STEP type=\"" + type + "\" id=\"1\" result=\"2\" executor=\"1\"><DESCRIPTION>d</DESCRIPTION>" +
               content + "</STEP>";
    };
    const ReadCase cases[] = {
        {"words only", task("<TEXT>Розв'яжіть</TEXT>"), {}},
        {"statement, then the job",
         task("<TEXT>a " + mathml + " b <FORMULA>" + x + "</FORMULA></TEXT><JOBSLIST><JOB id=\"1\" asTask=\"yes\">"
              "<FORMULA>" + y + "</FORMULA></JOB></JOBSLIST>"),
         {mathml, x, y}},
        {"links and the job's formulas by id",
         task("<TEXT><FORMULALINK id=\"2\"/></TEXT>" + store + "<JOBSLIST><JOB id=\"1\" asTask=\"yes\">"
              "<START id=\"1\"/><HIDDENFORMULA id=\"2\"/><ANSWER id=\"1\"/></JOB></JOBSLIST>"),
         {y, x, y, x}},
        {"a link without an id shows nothing", task("<TEXT><FORMULALINK/></TEXT>"), {}},
        {"a job that is not the task's is not read",
         task("<TEXT>a</TEXT><JOBSLIST><JOB id=\"1\"><FORMULALINK id=\"9\"/></JOB></JOBSLIST>"), {}},
        {"steps' formulas, the transformation first",
         task("<TEXT>a</TEXT>", "<SOLUTION>" + step("single", "<EXPR>" + x + "</EXPR>") +
                                    step("double", "<USERTR>" + y + "</USERTR><RECEIVE>r</RECEIVE><EXPR>" + x +
                                                       "</EXPR>") + "</SOLUTION>"),
         {x, y, x}},
        {"a formula that is not XML", task("<TEXT><FORMULA><math><mi>x</mo></math></FORMULA></TEXT>"), {}, false},
        {"a character that is not escaped", task("<TEXT><FORMULA><math><mo><</mo></math></FORMULA></TEXT>"), {}, false},
        {"a FORMULA without math", task("<TEXT><FORMULA>x</FORMULA></TEXT>"), {}, false},
        {"a link to a missing formula", task("<TEXT><FORMULALINK id=\"9\"/></TEXT>" + store), {}, false},
        {"a link to a stored formula without math", task("<TEXT><FORMULALINK id=\"3\"/></TEXT>" + store), {}, false},
        {"a job's broken link",
         task("<TEXT>a</TEXT>" + store + "<JOBSLIST><JOB id=\"1\" asTask=\"yes\"><FORMULALINK id=\"7\"/></JOB>"
              "</JOBSLIST>"),
         {}, false},
        {"a start formula that is not stored",
         task("<TEXT>a</TEXT>" + store + "<JOBSLIST><JOB id=\"1\" asTask=\"yes\"><START id=\"8\"/></JOB></JOBSLIST>"),
         {}, false},
        {"a step without its formula", task("<TEXT>a</TEXT>", "<SOLUTION>" + step("single", "") + "</SOLUTION>"), {},
         false},
        {"a solution that is not XML", task("<TEXT>a</TEXT>", "<SOLUTION><STEP></SOLUTION>"), {}, false},
        {"an entity XML does not know", task("<TEXT>a&nbsp;b</TEXT>"), {}, false},
        {"a condition cut off", task("<TEXT>a</TEXT>").substr(0, 40), {}, false},
        {"empty", "", {}, false},
        {"binary", std::string("\x00\xFF\x01<TASK \xC3\x28</CONDITION>", 23), {}, false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ReceivedTask> read = ReadReceivedTask(c.text);
        ASSERT_EQ(read.has_value(), c.reads);
        if (!read)
            continue;
        EXPECT_EQ(read->formulas, c.formulas);
        const std::optional<ReceivedTask> cut = CutReceivedText(c.text);
        ASSERT_TRUE(cut.has_value());
        EXPECT_EQ(read->task, cut->task);
        EXPECT_EQ(read->solution, cut->solution);
    }
}

// Every task of the sample module, as its task book and library hold it, reads.
TEST(ReceivedTask, EveryTaskOfTheSampleModuleReads)
{
    int tasks = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SAMPLE_MODULE)) {
        if (entry.path().extension() != ".xml")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::size_t at = file.find("<TASK "); at != std::string::npos; at = file.find("<TASK ", at + 1)) {
            const std::size_t end = file.find("</TASK>", at);
            ASSERT_NE(end, std::string::npos) << entry.path();
            const std::optional<ReceivedTask> read = ReadReceivedTask(file.substr(at, end + 7 - at));
            EXPECT_TRUE(read.has_value()) << entry.path() << " at " << at;
            if (read) {
                EXPECT_FALSE(read->formulas.empty()) << entry.path() << " at " << at;
            }
            ++tasks;
        }
    }
    EXPECT_GT(tasks, 20);
}

}  // namespace
}  // namespace stepwell
