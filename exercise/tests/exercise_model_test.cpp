#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

#include <QDir>
#include <QTemporaryDir>

#include "exercise/exercise_command_line.h"
#include "exercise/exercise_model.h"
#include "platform/message_box.h"

namespace exercise {
namespace {

namespace xml = platform::xml;

TEST(ExerciseCommandLine, FindsTheNumberAfterABlankAndSlashT)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"/opt/t/kernel/bin/Rivodadi /t:12", 12},
        {"Rivodadi /t:3 extra", 3},
        {"Rivodadi /t:ab", 0},
        {"Rivodadi /t:", 0},
        {"Rivodadi /t:7x", 7},
        {"Rivodadi /t:-4", -4},
        {"Rivodadi /t:+4", 4},
        {"Rivodadi /t:+-4", 0},
        {"x/t:12", std::nullopt},
        {"Rivodadi /T:12", std::nullopt},
        {"Rivodadi", std::nullopt},
    };
    for (const auto& [line, number] : cases)
        EXPECT_EQ(ExerciseNumberFromCommandLine(line), number) << line;
    const char* argv[] = {"/root/kernel/bin/Rivodadi", "/t:12"};
    EXPECT_EQ(CommandLineOf(2, argv), "/root/kernel/bin/Rivodadi /t:12");
}

class ExerciseModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::setMessageRecorder(&recorder);
        QDir(dir.path()).mkpath("exercise");
        QDir(dir.path()).mkpath("lang/ua/exercise");
        write("exercise/exercise.cfg",
              "<CONFIG><GROUP><NUMS end=\"5\" task=\"t.xml\" level1=\"five.xml\" level2=\"x.xml\"/></GROUP>"
              "<NUMS end=\"10\" task=\"t.xml\" level1=\"ten.xml\" level2=\"x.xml\"/></CONFIG>");
        std::string tests = "<TESTS>";
        for (int id = 1; id <= 10; ++id)
            tests += "<TEST id=\"" + std::to_string(id) + "\"><TESTTASK>Statement " + std::to_string(id) +
                     "</TESTTASK></TEST>";
        write("lang/ua/exercise/t.xml", tests + "</TESTS>");
        std::string five = "<LEVEL>";
        for (int id = 1; id <= 5; ++id) {
            five += "<TASKS id=\"" + std::to_string(id) + "\" applan=\"50" + std::to_string(id) + "\">";
            for (int t = 1; t <= 7; ++t)
                five += "<TASK>t" + std::to_string(t) + "</TASK>";
            five += "<EXAMPLE><EXAMPLETASK>x+1=2</EXAMPLETASK><EXAMPLEANSWER>x=1</EXAMPLEANSWER></EXAMPLE></TASKS>";
        }
        write("exercise/five.xml", five + "</LEVEL>");
        std::string ten = "<LEVEL>";
        for (int id = 6; id <= 10; ++id)
            ten += "<TASKS id=\"" + std::to_string(id) + "\" applan=\"77\"><TASK>a</TASK><TASK>b</TASK></TASKS>";
        write("exercise/ten.xml", ten + "</LEVEL>");
    }
    void TearDown() override { platform::setMessageRecorder(nullptr); }

    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir.filePath(QString::fromStdString(name)).toStdString()) << text;
    }
    std::string module() const { return dir.path().toStdString() + "/"; }
    static std::vector<std::string> tasks(const CExerciseModel& model)
    {
        std::vector<std::string> out;
        for (const xml::Node& task : xml::selectList(*model.GetWorkingExercise(), "TASKS/TASK"))
            out.push_back(task.text());
        return out;
    }

    QTemporaryDir dir;
    platform::MessageRecorder recorder;
};

TEST_F(ExerciseModelTest, TheFirstNumsWhoseEndIsAtLeastTheNumberChoosesTheFiles)
{
    for (int number = 0; number <= 11; ++number) {
        CExerciseModel model(module(), "ua");
        const bool found = model.LoadExerciseConfig(number);
        EXPECT_EQ(found, number <= 10) << number;
        if (found) {
            EXPECT_EQ(model.GetLevelPath(), module() + "exercise/" + (number <= 5 ? "five.xml" : "ten.xml")) << number;
            EXPECT_EQ(model.GetTaskPath(), module() + "lang/ua/exercise/t.xml");
        }
    }
    CExerciseModel none(module(), "ua");
    EXPECT_FALSE(none.LoadExercise(11));
    EXPECT_FALSE(none.IsLoaded());
    EXPECT_FALSE(none.createWorkingExercise());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ExerciseModelTest, TheExerciseCarriesItsPoolAndKeepsThreeTasksInOrder)
{
    CExerciseModel seven(module(), "ua");
    ASSERT_TRUE(seven.LoadExercise(4));
    EXPECT_EQ(seven.GetKernelCode(), 504);
    EXPECT_EQ(xml::evaluateString(*seven.GetExerciseNode(), "TESTTASK"), "Statement 4");
    EXPECT_EQ(xml::selectList(*seven.GetExerciseNode(), "TASKS/TASK").size(), 7u);
    for (int round = 0; round < 5; ++round) {
        const auto chosen = tasks(seven);
        ASSERT_EQ(chosen.size(), 3u);
        EXPECT_LT(chosen[0], chosen[1]);  // "t1" ... "t7": document order
        EXPECT_LT(chosen[1], chosen[2]);
        EXPECT_EQ(xml::evaluateString(*seven.GetWorkingExercise(), "TASKS/EXAMPLE/EXAMPLEANSWER"), "x=1");
        seven.createWorkingExercise();
    }
    CExerciseModel two(module(), "ua");
    ASSERT_TRUE(two.LoadExercise(9));
    EXPECT_EQ(two.GetKernelCode(), 77);
    EXPECT_EQ(tasks(two), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ExerciseModelTest, TwoDrawsInTheSameSecondChooseTheSameTasks)
{
    CExerciseModel model(module(), "ua");
    ASSERT_TRUE(model.LoadExercise(1));
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        model.createWorkingExercise();
        const auto first = tasks(model);
        model.createWorkingExercise();
        const auto second = tasks(model);
        if (std::time(nullptr) != before)
            continue;  // the second turned over between the draws
        EXPECT_EQ(first, second);
        return;
    }
    FAIL() << "no two draws within one second";
}

TEST_F(ExerciseModelTest, AFileThatFailsLeavesNoExercise)
{
    struct Case {
        const char* what;
        const char* file;
        const char* text;
    };
    const Case cases[] = {
        {"damaged task file", "lang/ua/exercise/t.xml", "<TESTS><TEST"},
        {"damaged level file", "exercise/five.xml", "<LEVEL>"},
        {"no such TEST", "lang/ua/exercise/t.xml", "<TESTS/>"},
        {"no such TASKS", "exercise/five.xml", "<LEVEL/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        write(c.file, c.text);
        recorder.messages.clear();
        CExerciseModel model(module(), "ua");
        EXPECT_FALSE(model.LoadExercise(2));
        EXPECT_FALSE(model.IsLoaded());
        EXPECT_FALSE(model.GetWorkingExercise().has_value());
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, "Помилка завантаження вправ.");
    }
    QFile::remove(dir.filePath("exercise/five.xml"));
    recorder.messages.clear();
    CExerciseModel missing(module(), "ua");
    EXPECT_FALSE(missing.LoadExercise(2));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Помилка завантаження вправ.");
}

}  // namespace
}  // namespace exercise
