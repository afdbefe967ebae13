// The drill end to end: the real start, formula control and kernel over the
// sample module in a temporary install root; answers typed as a pupil types
// them. Screenshots: rivodadi_before_check.png, rivodadi_after_check.png,
// rivodadi_after_repeat.png, rivodadi_mixed_number.png.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include <signal.h>

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "exercise/esf_bitmap.h"
#include "exercise/exercise_app.h"
#include "exercise/exercise_task_wnd.h"
#include "exercise/tests/drill_fixture.h"
#include "formula/control/tests/palette_tips.h"
#include "testsupport/temp_dir.h"

namespace exercise {
namespace {

namespace fs = std::filesystem;
using testing::lang;
using testing::texts;

struct Answers {
    const char* final;   // the solution: green
    const char* step;    // equivalent, not yet solved: yellow
    const char* wrong;   // not equivalent: red
};

// The pool of exercise 1 in the sample module.
const std::map<std::string, Answers> kPool = {
    {"x+5=12", {"x=7", "x=12-5", "x=6"}},   {"x+8=3", {"x=-5", "x=3-8", "x=5"}},
    {"x-4=9", {"x=13", "x=9+4", "x=5"}},    {"3*x=12", {"x=4", "x*3=12", "x=3"}},
    {"5*x=-20", {"x=-4", "x*5=-20", "x=4"}}, {"4*x=10", {"x=2,5", "2*x=5", "x=2"}},
};

void typeInto(solvehost::CSymbrantCtrl& control, const char* text)
{
    QWidget* window = control.GetControlWindow();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(10, window->height() / 2));
    window->setFocus();
    QTest::keyClicks(window, text);
}

// The drill started on exercise 1 with its three rows.
class DrillEndToEnd : public ::testing::Test {
protected:
    void open(const char* commandLine)
    {
        frame = app.InitInstance(commandLine);
        ASSERT_NE(frame, nullptr);
        ASSERT_EQ(frame->Panel()->Rows().size(), 3u);
    }

    // Check pressed: the drill says it has checked (its only message); the
    // rows' lights.
    std::vector<int> checkedLights()
    {
        QTest::mouseClick(frame->Panel()->CheckButton(), Qt::LeftButton);
        EXPECT_EQ(texts(root.recorder), std::vector<std::string>{lang("checkComplete")});
        std::vector<int> lights;
        for (CExerciseTaskWnd* row : frame->Panel()->Rows())
            lights.push_back(row->GetLightState());
        return lights;
    }

    testing::DrillRoot root;
    CExerciseApp app;
    std::unique_ptr<CExerciseFrame> frame;
};

TEST_F(DrillEndToEnd, TypedAnswersGetTheirLightsFromTheKernel)
{
    open("/x/kernel/bin/Rivodadi /t:1");
    ASSERT_TRUE(root.recorder.messages.empty()) << root.recorder.messages[0].text;
    frame->resize(800, 760);
    QApplication::processEvents();
    CExercisePanel& panel = *frame->Panel();
    QString statement;
    panel.StatementLayout().GetText(statement);
    EXPECT_TRUE(statement.contains(QString::fromUtf8("Розв'яжіть рівняння"))) << statement.toStdString();
    EXPECT_EQ(panel.ExampleRow()->Statement().GetLexemText(), "x+3=10");

    // Row 0 gets its solution, row 1 a step, row 2 a wrong answer.
    for (int i = 0; i < 3; ++i) {
        CExerciseTaskWnd* row = panel.Rows()[std::size_t(i)];
        const std::string task = row->Statement().GetLexemText();
        ASSERT_TRUE(kPool.count(task)) << task;
        const Answers& answers = kPool.at(task);
        const char* typed = i == 0 ? answers.final : i == 1 ? answers.step : answers.wrong;
        typeInto(row->Answer(), typed);
        EXPECT_EQ(row->Answer().GetLexemText(), typed) << task;
    }
    QApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(RIVODADI_PNG_DIR "/rivodadi_before_check.png"));

    EXPECT_EQ(checkedLights(), (std::vector<int>{0, 1, 2}));
    QApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(RIVODADI_PNG_DIR "/rivodadi_after_check.png"));

    // Repeat: three tasks of the pool, empty answers, the lights kept.
    frame->OnExerciseRepeat();
    ASSERT_EQ(panel.Rows().size(), 3u);
    for (CExerciseTaskWnd* row : panel.Rows()) {
        EXPECT_TRUE(kPool.count(row->Statement().GetLexemText())) << row->Statement().GetLexemText();
        EXPECT_EQ(row->Answer().GetLexemText(), "");
    }
    std::vector<int> lights;
    for (CExerciseTaskWnd* row : panel.Rows())
        lights.push_back(row->GetLightState());
    EXPECT_EQ(lights, (std::vector<int>{0, 1, 2}));
    QApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(RIVODADI_PNG_DIR "/rivodadi_after_repeat.png"));
}

// Each task of the pool, whichever rows the draw puts it in, gets its lights
// from the answers of the table.
TEST_F(DrillEndToEnd, EveryTaskOfThePoolIsJudgedByItsAnswers)
{
    open("Rivodadi /t:1");
    CExercisePanel& panel = *frame->Panel();
    for (const auto& [task, answers] : kPool) {
        SCOPED_TRACE(task);
        const char* typed[] = {answers.final, answers.step, answers.wrong};
        for (int i = 0; i < 3; ++i) {
            CExerciseTaskWnd* row = panel.Rows()[std::size_t(i)];
            row->Statement().SetLexemText(task);
            row->Answer().SetLexemText("");
            typeInto(row->Answer(), typed[i]);
        }
        root.recorder.messages.clear();
        EXPECT_EQ(checkedLights(), (std::vector<int>{0, 1, 2}));
    }
}

// A mixed number typed as a pupil types it (Alt+X, the whole part, Right,
// the numerator, Down, the denominator) is a final answer when its fraction
// part is proper and reduced, as 2,5 is; 2 2/4 is not yet.
TEST_F(DrillEndToEnd, AMixedNumberIsAFinalAnswer)
{
    open("Rivodadi /t:1");
    CExercisePanel& panel = *frame->Panel();
    const auto typeMixed = [](solvehost::CSymbrantCtrl& control, const char* whole, const char* num, const char* den) {
        typeInto(control, "x=");
        QWidget* window = control.GetControlWindow();
        QTest::keyClick(window, Qt::Key_X, Qt::AltModifier);
        QTest::keyClicks(window, whole);
        QTest::keyClick(window, Qt::Key_Right);
        QTest::keyClicks(window, num);
        QTest::keyClick(window, Qt::Key_Down);
        QTest::keyClicks(window, den);
    };
    for (CExerciseTaskWnd* row : panel.Rows()) {
        row->Statement().SetLexemText("4*x=10");
        row->Answer().SetLexemText("");
    }
    typeMixed(panel.Rows()[0]->Answer(), "2", "1", "2");
    typeInto(panel.Rows()[1]->Answer(), "x=2,5");
    typeMixed(panel.Rows()[2]->Answer(), "2", "2", "4");
    EXPECT_EQ(panel.Rows()[0]->Answer().GetLexemText(), "x=@mixed_frac$2$1$2#");
    EXPECT_EQ(panel.Rows()[2]->Answer().GetLexemText(), "x=@mixed_frac$2$2$4#");
    root.recorder.messages.clear();
    EXPECT_EQ(checkedLights(), (std::vector<int>{0, 0, 1}));
    QApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(RIVODADI_PNG_DIR "/rivodadi_mixed_number.png"));
}

// Exercise 3's inequalities answered as a pupil types them ("x>=2" is one
// sign); the answer's palette offers less or equal and greater or equal.
TEST_F(DrillEndToEnd, TypedInequalitiesLightGreen)
{
    open("Rivodadi /t:3");
    ASSERT_TRUE(root.recorder.messages.empty()) << root.recorder.messages[0].text;
    CExercisePanel& panel = *frame->Panel();
    struct Row {
        const char* task;
        const char* typed;
        const char* answer;
    };
    const Row rows[] = {
        {"3*x+1@spec$>=#7", "x>=2", "x@spec$>=#2"},
        {"2*x-3<5", "x<4", "x<4"},
        {"5*x-2@spec$<=#3*x+6", "x<=4", "x@spec$<=#4"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        CExerciseTaskWnd* row = panel.Rows()[i];
        row->Statement().SetLexemText(rows[i].task);
        typeInto(row->Answer(), rows[i].typed);
        EXPECT_EQ(row->Answer().GetLexemText(), rows[i].answer) << rows[i].task;
    }
    const int green = CExerciseTaskWnd::lightGreen;
    EXPECT_EQ(checkedLights(), (std::vector<int>{green, green, green}));

    QTest::mouseClick(panel.EditorPanelButton(), Qt::LeftButton);
    QApplication::processEvents();
    QWidget* palette = formula::control::test::shownPalette();
    ASSERT_NE(palette, nullptr);
    for (const char* tool : {"tool_227", "tool_229"}) {
        auto* button = palette->findChild<QWidget*>(tool);
        ASSERT_NE(button, nullptr) << tool;
        EXPECT_TRUE(button->isVisible()) << tool;
    }
    QTest::mouseClick(panel.EditorPanelButton(), Qt::LeftButton);
}

}  // namespace
}  // namespace exercise
