// The drill's exercises 1-3: found through the configuration as the drill
// finds them, every statement and pool task readable, and every pool task
// with its right answer accepted by the drill's kernel in one request.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "module_data.h"
#include "platform/message_box.h"
#include "platform/xml.h"
#include "roundtrip_support.h"
#include "solvehost/solve_kernel.h"
#include "testsupport/temp_dir.h"

namespace moduledata {
namespace {

namespace fs = std::filesystem;
namespace xml = platform::xml;

struct Exercise {
    std::string statement;  // TESTTASK
    std::vector<std::string> pool;
    std::string exampleTask;
    std::string exampleAnswer;
    int code = 0;
};

// The exercise of a number, or none when no NUMS covers it.
std::optional<Exercise> findExercise(int number)
{
    const xml::Document config = xml::Document::loadFile(modulePath("exercise/exercise.cfg"));
    const auto nums = xml::selectSingle(*config.root(), "/CONFIG//NUMS[@end >= $n]", {{"n", std::to_string(number)}});
    if (!nums)
        return std::nullopt;
    const xml::Document tasks =
        xml::Document::loadFile(modulePath("lang/ua/exercise/" + nums->attribute("task").value_or("")));
    const xml::Document level = xml::Document::loadFile(modulePath("exercise/" + nums->attribute("level1").value_or("")));
    const auto test = xml::selectSingle(*tasks.root(), "//TEST[@id=$n]", {{"n", std::to_string(number)}});
    const auto pool = xml::selectSingle(*level.root(), "//TASKS[@id=$n]", {{"n", std::to_string(number)}});
    EXPECT_TRUE(test && pool) << number;
    if (!test || !pool)
        return std::nullopt;
    Exercise exercise;
    exercise.statement = xml::selectSingle(*test, "TESTTASK")->xml();
    for (const xml::Node& task : xml::selectList(*pool, "TASK"))
        exercise.pool.push_back(task.text());
    exercise.exampleTask = xml::evaluateString(*pool, "EXAMPLE/EXAMPLETASK");
    exercise.exampleAnswer = xml::evaluateString(*pool, "EXAMPLE/EXAMPLEANSWER");
    exercise.code = std::atoi(pool->attribute("applan").value_or("").c_str());
    return exercise;
}

// Each pool task's right answer and a wrong one, as a pupil types them.
const std::map<std::string, std::pair<std::string, std::string>>& answers()
{
    static const std::map<std::string, std::pair<std::string, std::string>> table = {
        {"x+5=12", {"x=7", "x=17"}},
        {"x+8=3", {"x=-5", "x=5"}},
        {"x-4=9", {"x=13", "x=5"}},
        {"3*x=12", {"x=4", "x=9"}},
        {"5*x=-20", {"x=-4", "x=-15"}},
        {"4*x=10", {"x=2,5", "x=6"}},
        {"2*(x-3)=x+1", {"x=7", "x=4"}},
        {"3*(x+2)-x=10", {"x=2", "x=4"}},
        {"@hor_frac$x$2#+@hor_frac$x$3#=10", {"x=12", "x=2"}},
        {"@hor_frac$x-1$3#=2", {"x=7", "x=5"}},
        {"5-2*(x-1)=x+1", {"x=2", "x=-2"}},
        {"@hor_frac$2*x+1$5#=x-1", {"x=2", "x=0"}},
        {"2*x-3<5", {"x<4", "x>4"}},
        {"3*x+1@spec$>=#7", {"x@spec$>=#2", "x@spec$<=#2"}},
        {"-x+4>1", {"x<3", "x>3"}},
        {"5*x-2@spec$<=#3*x+6", {"x@spec$<=#4", "x@spec$<=#8"}},
        {"@hor_frac$x$2#>3", {"x>6", "x>1,5"}},
    };
    return table;
}

TEST(Exercises, FoundByTheirNumbers)
{
    for (int number : {1, 2, 3}) {
        SCOPED_TRACE(number);
        const auto exercise = findExercise(number);
        ASSERT_TRUE(exercise);
        EXPECT_EQ(exercise->code, 501);
        EXPECT_TRUE(ruleCodes("exercise.clew").count(exercise->code));
        EXPECT_GE(exercise->pool.size(), 5u);
        // The statement: text with formulas set into it.
        const xml::Document statement = xml::Document::loadText(exercise->statement, {true});
        int texts = 0;
        int formulas = 0;
        for (const xml::Node& part : statement.root()->childNodes()) {
            if (part.type() == xml::NodeType::Text) {
                ++texts;
            } else {
                EXPECT_EQ(part.localName(), "math");
                EXPECT_TRUE(usableFormula(lexemTextOf(part.xml())));
                ++formulas;
            }
        }
        EXPECT_GE(texts, 1);
        EXPECT_GE(formulas, 1);
        for (const std::string& task : exercise->pool)
            EXPECT_TRUE(usableFormula(task));
        EXPECT_TRUE(usableFormula(exercise->exampleTask));
        EXPECT_TRUE(usableFormula(exercise->exampleAnswer));
    }
    EXPECT_FALSE(findExercise(4));
}

TEST(Exercises, KernelChecksEveryRowInOneRequest)
{
    installStage();
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    testsupport::TempDir workDir;
    const fs::path oldDir = fs::current_path();
    fs::current_path(workDir.path());
    solvehost::CKernelFuncMgr kernel("exercise.clew");
    kernel.InitKernel();
    EXPECT_TRUE(messages.messages.empty());
    // The drill's request: "#((statement),(answer))" per row, less the first "#".
    const auto check = [&](int code, const std::vector<std::pair<std::string, std::string>>& rows) {
        std::string request;
        for (const auto& [statement, answer] : rows)
            request += "#((" + kerneltest::writeAplan(statement) + "),(" + kerneltest::writeAplan(answer) + "))";
        std::string reply;
        EXPECT_TRUE(kernel.CallKernel(code, request.substr(1), reply)) << request;
        std::string digits;
        for (std::size_t i = 0; i < rows.size(); ++i)
            digits += 2 * i < reply.size() ? reply[2 * i] : '?';
        return digits;
    };
    for (int number : {1, 2, 3}) {
        SCOPED_TRACE(number);
        const auto exercise = findExercise(number);
        ASSERT_TRUE(exercise);
        std::vector<std::pair<std::string, std::string>> right;
        std::vector<std::pair<std::string, std::string>> wrong;
        for (const std::string& task : exercise->pool) {
            ASSERT_TRUE(answers().count(task)) << "no answer for " << task;
            right.emplace_back(task, answers().at(task).first);
            wrong.emplace_back(task, answers().at(task).second);
        }
        EXPECT_EQ(check(exercise->code, right), std::string(right.size(), '2'));
        EXPECT_EQ(check(exercise->code, wrong), std::string(wrong.size(), '0'));
        EXPECT_EQ(check(exercise->code, {{exercise->exampleTask, exercise->exampleAnswer}}), "2");
    }
    fs::current_path(oldDir);
    platform::setMessageRecorder(nullptr);
}

}  // namespace
}  // namespace moduledata
