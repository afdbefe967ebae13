#include <gtest/gtest.h>

#include <climits>

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

}  // namespace
}  // namespace stepwell
