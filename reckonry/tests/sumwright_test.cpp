// The calculator's differences: its calculation and mode codes, the
// condition's events, the remove question and its message boxes.
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "frame_fixture.h"
#include "reckonry/task_wnd.h"
#include "shared/widgets/flat_tab_ctrl.h"

namespace reckonry::test {
namespace {

using Requests = std::vector<std::pair<std::string, int>>;

class Calculator : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        makeRoot({});
        makeFrame(Program::Sumwright);
        EXPECT_TRUE(takeMessages().empty());
        log = kernelLog();
        ASSERT_NE(log, nullptr);
        log->requests.clear();
    }
    void TearDown() override
    {
        if (log) {
            EXPECT_EQ(log->repliesRemoved, log->repliesGiven);
        }
        // The frame unloads the kernel: its record goes with it.
        FrameTest::TearDown();
    }
    ScriptedLog* log = nullptr;
};

TEST_F(Calculator, StartsAsTheCalculator)
{
    EXPECT_EQ(kernelLog()->initArguments, "-l modules\\tessaly\\reckonry.clew");
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8(CReckonryMainFrame::kSumwrightTitle));
    EXPECT_EQ(frame->GetGuideBar(), nullptr);
    EXPECT_EQ(frame->GetTaskTabs()->GetDrawMode(), 2);
    EXPECT_TRUE(frame->GetTaskTabs()->IsOwnerDrawn());
    EXPECT_EQ(shared::GetFlatTabStyleFlags(), 14u);
    EXPECT_EQ(frame->GetTaskTabs()->GetBkColor(), QColor(205, 220, 242));
    EXPECT_TRUE(frame->GetTaskTabs()->GetCurrentPage()->Events()->IsConnected());
}

TEST_F(FrameTest, CalculatorsKernelMessageIsOneOfItsBoxes)
{
    makeRoot({.kernel = false, .language = true, .guide = true});
    makeFrame(Program::Sumwright);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Сервер обчислень не запущено: перевірте встановлення.");
    EXPECT_EQ(messages.messages[0].caption, "Калькулятор");
    EXPECT_EQ(messages.messages[0].parent, frame.get());
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);
}

TEST_F(Calculator, CalculatesWithCodeOne)
{
    typeCondition("7+8");
    const std::string aplan = condition().GetAplanText();
    log->answers[1] = "15";
    trigger(ID_CALCULATE);
    EXPECT_EQ(log->requests, (Requests{{aplan, 1}}));
    EXPECT_EQ(answer().GetLexemText(), "15");

    // No value, in either spelling, and a failed call: "ErExpr", answer kept.
    for (const char* reply : {"NORESE", "\"NORES\""}) {
        log->answers[1] = reply;
        trigger(ID_CALCULATE);
        EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Сервер обчислень не зміг опрацювати вираз."})) << reply;
        EXPECT_EQ(answer().GetLexemText(), "15") << reply;
    }
    log->failing.insert(1);
    trigger(ID_CALCULATE);
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Сервер обчислень не зміг опрацювати вираз."}));
    EXPECT_EQ(answer().GetLexemText(), "15");
    // The calculator's boxes: its caption, owned by the frame, exclamation.
    trigger(ID_CALCULATE);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Калькулятор");
    EXPECT_EQ(messages.messages[0].parent, frame.get());
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);
}

TEST_F(Calculator, InvalidConditionIsNotSent)
{
    typeCondition("1+");
    frame->OnCalculate();
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Умову записано неправильно або задачі немає."}));
    EXPECT_TRUE(log->requests.empty());
}

TEST_F(Calculator, ModesUseTheCalculatorsCodes)
{
    trigger(ID_EXACT_MODE);
    log->answers[1002] = "2";
    onNextDialog([](QDialog& dialog) { pressButton(dialog, 1); });
    trigger(ID_APPROXIMATE_MODE);
    EXPECT_EQ(log->requests, (Requests{{"0", 1001}, {"1", 1002}, {"1", 1001}, {"2", 1003}}));
    EXPECT_TRUE(checked(ID_APPROXIMATE_MODE));
}

TEST_F(Calculator, TypingEmptiesTheAnswer)
{
    typeCondition("2+3");
    log->answers[1] = "5";
    trigger(ID_CALCULATE);
    ASSERT_EQ(answer().GetLexemText(), "5");
    typeCondition("4");
    EXPECT_EQ(answer().GetLexemText(), "");
}

TEST_F(Calculator, RemoveAsksFirst)
{
    messages.answers.push_back(platform::MessageAnswer::Cancel);
    trigger(ID_REMOVE_TASK);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Вилучити поточну задачу?");
    EXPECT_EQ(messages.messages[0].caption, "Калькулятор");
    EXPECT_EQ(messages.messages[0].buttons, platform::MessageButtons::OkCancel);
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(frame->GetTaskTabs()->GetItemCount(), 1);
    messages.answers.push_back(platform::MessageAnswer::Ok);
    trigger(ID_REMOVE_TASK);
    EXPECT_EQ(frame->GetTaskTabs()->GetItemCount(), 0);
}

TEST_F(Calculator, ClosingThePaletteUnchecksTheToolsPanel)
{
    trigger(ID_TOOLS_PANEL);
    ASSERT_TRUE(checked(ID_TOOLS_PANEL));
    QWidget* palette = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != frame.get() && top->isVisible() && top->isWindow() && !qobject_cast<QMenu*>(top))
            palette = top;
    ASSERT_NE(palette, nullptr);
    palette->close();
    EXPECT_FALSE(checked(ID_TOOLS_PANEL));
}

}  // namespace
}  // namespace reckonry::test
