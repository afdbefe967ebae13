// The solver against a scripted kernel: the guide's events, the kernel's
// replies and the exact and approximate modes.
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "frame_fixture.h"
#include "reckonry/dialogs.h"

namespace reckonry::test {
namespace {

using Requests = std::vector<std::pair<std::string, int>>;

class Solving : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        makeRoot({});
        makeFrame(Program::Reckonry);
        takeMessages();
        log = kernelLog();
        ASSERT_NE(log, nullptr);
        log->requests.clear();
    }
    void TearDown() override
    {
        // Every reply the kernel handed out went back to it once.
        if (log) {
            EXPECT_EQ(log->repliesRemoved, log->repliesGiven);
        }
        // The frame unloads the kernel: its record goes with it.
        FrameTest::TearDown();
    }
    ScriptedLog* log = nullptr;
};

TEST_F(Solving, GuideEventSendsTheConditionWithItsCode)
{
    typeCondition("2*x+3=7");
    const std::string aplan = condition().GetAplanText();
    ASSERT_FALSE(aplan.empty());
    log->answers[2001] = "x=2";
    fireGuide(1, std::uint32_t{2001}, "Розв'язати", "");
    EXPECT_EQ(log->requests, (Requests{{aplan, 2001}}));
    EXPECT_EQ(answer().GetLexemText(), "x=2");
    EXPECT_TRUE(takeMessages().empty());

    // Another code, another reply.
    log->answers[2002] = "2*x";
    fireGuide(1, std::uint32_t{2002}, "Спростити", "");
    EXPECT_EQ(log->requests.back(), std::make_pair(aplan, 2002));
    EXPECT_EQ(answer().GetLexemText(), "2*x");
}

TEST_F(Solving, NoResultAndFailuresKeepTheAnswer)
{
    typeCondition("x+1=x");
    log->answers[2001] = "x=5";
    fireGuide(1, std::uint32_t{2001}, "", "");
    ASSERT_EQ(answer().GetLexemText(), "x=5");

    log->answers[2001] = "\"NORES\"";
    fireGuide(1, std::uint32_t{2001}, "", "");
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Некоректна постановка задачі"}));
    EXPECT_EQ(answer().GetLexemText(), "x=5");

    log->failing.insert(2001);
    fireGuide(1, std::uint32_t{2001}, "", "");
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Сервер обчислень не зміг опрацювати вираз."}));
    EXPECT_EQ(answer().GetLexemText(), "x=5");
    EXPECT_EQ(log->requests.size(), 3u);
}

TEST_F(Solving, InvalidConditionOrNoTaskSendsNothing)
{
    typeCondition("2*x+");
    fireGuide(1, std::uint32_t{2001}, "", "");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Умову записано неправильно або задачі немає.");
    EXPECT_EQ(messages.messages[0].caption, "Розв'язувач рівнянь");
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(messages.messages[0].parent, frame.get());
    takeMessages();
    trigger(ID_REMOVE_TASK);
    fireGuide(1, std::uint32_t{2001}, "", "");
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Умову записано неправильно або задачі немає."}));
    EXPECT_TRUE(log->requests.empty());
}

TEST_F(Solving, ExtendedEventIsRefusedAndHowToDoReusesItsWindow)
{
    typeCondition("1");
    testing::internal::CaptureStderr();
    fireGuide(2, std::uint32_t{2001}, std::uint8_t{0}, "a", platform::com::VARIANT_FALSE,
              platform::com::VARIANT_FALSE, platform::com::VARIANT_FALSE, std::uint8_t{0}, "");
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Це перетворення тут не виконується."}));
    EXPECT_NE(errors.find("OnApplyingTransformationEx does not support in this module"), std::string::npos) << errors;
    EXPECT_TRUE(log->requests.empty());

    // The how-to-do texts go to one window, made on first use.
    std::vector<std::pair<QWidget*, std::string>> shown;
    auto window = std::make_unique<QWidget>();
    CReckonryMainFrame::SetHowTodoPresenter([&](QWidget* parent, QWidget* existing, const std::string& text) {
        EXPECT_EQ(parent, frame.get());
        shown.emplace_back(existing, text);
        return window.get();
    });
    fireGuide(3, "solve.xml");
    fireGuide(3, "factor.xml");
    CReckonryMainFrame::SetHowTodoPresenter({});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], std::make_pair(static_cast<QWidget*>(nullptr), std::string("solve.xml")));
    EXPECT_EQ(shown[1], std::make_pair(window.get(), std::string("factor.xml")));
    EXPECT_EQ(frame->GetAnimWindow(), window.get());
    window.reset();
}

TEST_F(Solving, ExactAndApproximateModes)
{
    log->answers[10] = "4";
    trigger(ID_EXACT_MODE);
    EXPECT_EQ(log->requests, (Requests{{"0", 9}}));
    EXPECT_TRUE(checked(ID_EXACT_MODE));

    // Cancel: only the precision was read; exact stays checked.
    log->requests.clear();
    onNextDialog([](QDialog& dialog) {
        auto* upDown = dialog.findChild<QSpinBox*>();
        EXPECT_EQ(upDown->value(), 4);
        pressButton(dialog, 2);
    });
    trigger(ID_APPROXIMATE_MODE);
    EXPECT_EQ(log->requests, (Requests{{"", 10}}));
    EXPECT_TRUE(checked(ID_EXACT_MODE));
    EXPECT_FALSE(checked(ID_APPROXIMATE_MODE));
    EXPECT_TRUE(frame->IsExactMode());

    // OK with a precision typed: the mode, then the precision.
    log->requests.clear();
    onNextDialog([](QDialog& dialog) {
        auto* upDown = dialog.findChild<QSpinBox*>();
        upDown->selectAll();
        QTest::keyClicks(upDown, "3");
        pressButton(dialog, 1);
    });
    trigger(ID_APPROXIMATE_MODE);
    EXPECT_EQ(log->requests, (Requests{{"", 10}, {"1", 9}, {"3", 11}}));
    EXPECT_FALSE(checked(ID_EXACT_MODE));
    EXPECT_TRUE(checked(ID_APPROXIMATE_MODE));

    // The up-down stops at 33.
    log->requests.clear();
    log->answers[10] = "33";
    onNextDialog([](QDialog& dialog) {
        auto* upDown = dialog.findChild<QSpinBox*>();
        QTest::keyClick(upDown, Qt::Key_Up);
        pressButton(dialog, 1);
    });
    trigger(ID_APPROXIMATE_MODE);
    EXPECT_EQ(log->requests.back(), std::make_pair(std::string("33"), 11));
}

}  // namespace
}  // namespace reckonry::test
