// The steps view and the answer panel with the real formula control:
// positions of the steps in both displays, scrolling, the current step,
// clicks on steps, the mark and the lights, and the answer panel's strip.
// Screenshots: stepwell_*.png in this build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

#include <filesystem>
#include <memory>

#include "platform/com/com.h"
#include "shared/language.h"
#include "stepwell/app/answer_wnd.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/custom_scroll_bar.h"
#include "stepwell/app/solve_wnd.h"
#include "stepwell/app/condition_editor_ctrl.h"
#include "stepwell/app/task_dialogs.h"
#include "stepwell/app/theme.h"
#include "testsupport/temp_dir.h"

namespace stepwell {
namespace {

const std::string kSum =
    "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi><mo>+</mo><mn>1</mn></math>";
const std::string kFraction =
    "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mfrac><mrow><mi>a</mi><mo>+</mo><mn>2</mn></mrow>"
    "<mn>3</mn></mfrac></math>";

struct RecordingDialogs : ITaskDialogHost {
    void RegisterTaskDialog(QDialog* dialog) override { registered.emplace_back(dialog); }
    platform::MessageAnswer ShowDialogMessage(const std::string& text) override
    {
        shown.push_back(text);
        return platform::MessageAnswer::Ok;
    }
    const QFont& frameFont() const override { return font; }
    std::vector<QPointer<QDialog>> registered;
    std::vector<std::string> shown;
    QFont font;
};

struct RecordingHost : ISolveHost {
    ITaskDialogHost* dialogHost() override { return &dialogs; }
    RecordingDialogs dialogs;
    platform::MessageAnswer AskUser(const std::string& key, platform::MessageButtons) override
    {
        asked.push_back(key);
        if (answers.empty())
            return platform::MessageAnswer::Ok;
        const platform::MessageAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void EnableCommand(int id, bool enable) override { commands.emplace_back(id, enable); }
    void ClearOperationState() override { ++cleared; }

    std::vector<std::string> asked;
    std::vector<platform::MessageAnswer> answers;
    std::vector<std::pair<int, bool>> commands;
    int cleared = 0;
};

QFont frameFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(14);
    font.setBold(true);
    return font;
}

void save(QWidget& widget, const char* name)
{
    widget.grab().save(QString(STEPWELL_PNG_DIR "/") + name);
}

class StepsView : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);
        ASSERT_TRUE(shared::LoadLanguageFile(STEPWELL_LNG));
        window = std::make_unique<QWidget>();
        window->resize(600, 520);
        view = new CStepwellSolveWnd(window.get(), &host, frameFont());
        view->setGeometry(0, 0, 600, 400);
        answer = new CStepwellAnswerWnd(window.get(), frameFont());
        answer->setGeometry(0, 410, 600, 110);
        solution = std::make_unique<CTaskSolution>("<TASK id=\"1\"><CONDITION/></TASK>", view);
        view->SetSolution(solution.get());
        answer->SetSolution(solution.get());
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        solution.reset();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        testsupport::resetHives();
    }

    CSolutionStep* add(StepKind kind, const std::string& mathml, const std::string& description, int state)
    {
        QWidget* parent = kind == StepKind::Answer ? static_cast<QWidget*>(answer) : view;
        auto step = std::make_unique<CSolutionStep>(parent, kind);
        step->control()->SetMathMLText(mathml);
        step->formula().UpdateSize();
        step->formula().StoreLexemText();
        step->SetDescription(description);
        step->state = state;
        CSolutionStep* added = step.get();
        solution->Append(std::move(step), kind != StepKind::Answer);
        return added;
    }
    CTransformationStep* addTransformation(const std::string& received, const std::string& typed = {})
    {
        auto step = std::make_unique<CTransformationStep>(view);
        if (!typed.empty())
            step->control()->SetMathMLText(typed);  // what the pupil has typed so far
        step->transformation().GetControl()->SetMathMLText(kSum);
        step->transformation().UpdateSize();
        step->SetDescription("Виконайте перетворення");
        step->SetReceived(received);
        step->formula().UpdateSize();
        CTransformationStep* added = step.get();
        solution->Append(std::move(step), true);
        return added;
    }
    void steps(int count)
    {
        for (int i = 0; i < count; ++i)
            add(StepKind::Single, i % 2 ? kFraction : kSum, "Крок " + std::to_string(i + 1), 2);
    }

    RecordingHost host;
    std::unique_ptr<QWidget> window;
    // The view's bar as the library keeps it, and whether it shows.
    ScrollInfo barInfo() const
    {
        CustomScrollInfo got;
        EXPECT_TRUE(CustomScrollBar_GetInfo(view, SB_VERT, got));
        return {got.min, got.max, got.page, got.pos, CustomScrollBar_Bar(view, SB_VERT)->isVisible()};
    }
    CStepwellSolveWnd* view = nullptr;
    CStepwellAnswerWnd* answer = nullptr;
    std::unique_ptr<CTaskSolution> solution;
};

TEST_F(StepsView, AllStepsOneUnderTheOtherAndScrolledToTheEnd)
{
    view->SetStepMode(false);
    steps(3);
    view->RecalcLayout(true);
    ASSERT_EQ(view->geometry().tops().size(), 3u);
    int expectedTop = 40;
    for (int i = 1; i <= 3; ++i) {
        const CSolutionStep* step = solution->StepAt(i);
        EXPECT_EQ(step->rect.top(), expectedTop) << i;
        EXPECT_EQ(step->rect.left(), 20);
        EXPECT_EQ(step->rect.width(), 600 - 56);
        EXPECT_EQ(step->control()->geometry().left(), 30);
        EXPECT_GT(step->control()->height(), 10);
        expectedTop += step->rect.height() + 10;
    }
    EXPECT_FALSE(barInfo().shown);
    save(*window, "stepwell_all_steps.png");

    steps(12);
    view->EnsureLastVisible();
    const ScrollInfo info = barInfo();
    const int total = view->geometry().totalHeight();
    EXPECT_TRUE(info.shown);
    EXPECT_TRUE(CustomScrollBar_Bar(view, SB_VERT)->isVisible());
    EXPECT_EQ(info, (ScrollInfo{0, total - 400 + 19, 20, total - 400, true}));
    EXPECT_EQ(solution->StepAt(15)->rect.bottom() + 1, 400);  // the end shows, and no further

    // The wheel: a tenth of the delta; a notch back up moves 12 pixels.
    const int offset = view->geometry().offset();
    QWheelEvent wheel(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_EQ(view->geometry().offset(), offset + 12);
    save(*window, "stepwell_all_steps_scrolled.png");
}

TEST_F(StepsView, OneStepAtATime)
{
    steps(4);
    view->SetCurrentStep(solution->StepAt(3));
    EXPECT_EQ(solution->StepAt(3)->rect.top(), 40);
    EXPECT_EQ(solution->StepAt(1)->rect.top(), -1000);
    EXPECT_FALSE(solution->StepAt(1)->control()->isVisible());
    EXPECT_TRUE(solution->StepAt(4)->control()->isVisible());
    EXPECT_EQ(barInfo(), (ScrollInfo{0, 2, 1, 2, true}));
    save(*window, "stepwell_one_at_a_time.png");

    QWheelEvent up(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &up);
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(2));
    EXPECT_TRUE(view->MoveCurrent(1));
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(3));
    EXPECT_TRUE(view->MoveCurrent(1));  // stays before the last
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(3));

    // A current step cut from under the view: the message, and the first step.
    view->SetCurrentStep(solution->StepAt(3));
    solution->DeleteAfter(solution->StepAt(2));
    EXPECT_FALSE(view->MoveCurrent(0));
    EXPECT_EQ(host.asked, (std::vector<std::string>{"erStepNotFound"}));
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(1));

    // Back to all steps and on again: the first step below the margin.
    view->SetStepMode(false);
    view->SetCurrentStep(nullptr);
    EXPECT_TRUE(solution->StepAt(1)->control()->isVisible());
    view->SetStepMode(true);
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(1));

    // Two steps: no bar.
    view->RecalcLayout(true);
    EXPECT_FALSE(barInfo().shown);
}

TEST_F(StepsView, TheDrawnBarScrollsByArrowsPagesAndThumbInBothDisplays)
{
    CCustomScrollBar& bar = *CustomScrollBar_Bar(view, SB_VERT);
    const int arrow = CCustomScrollBar::SystemExtent();
    auto click = [&bar](int along) {
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, along));
    };
    // All steps: the end shows; arrows move a pixel, pages 20.
    view->SetStepMode(false);
    steps(12);
    view->EnsureLastVisible();
    ASSERT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.bar().style, 1);
    const int end = view->geometry().offset();
    ASSERT_LT(end, -40);
    click(1);
    EXPECT_EQ(view->geometry().offset(), end + 1);
    click(bar.height() - 1);
    EXPECT_EQ(view->geometry().offset(), end);
    const scrollbar::Thumb thumb = scrollbar::ThumbOf(bar.bar().info, bar.height(), arrow, bar.bar().minThumb);
    click(arrow + thumb.offset - 2);
    EXPECT_EQ(view->geometry().offset(), end + 20);
    // The thumb dragged to the top shows the first step at the top.
    const int grabAt = arrow + scrollbar::ThumbOf(bar.bar().info, bar.height(), arrow, 6).offset + 2;
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, grabAt));
    QTest::mouseMove(&bar, QPoint(bar.width() / 2, 0));
    EXPECT_EQ(view->geometry().offset(), 0);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, 0));
    EXPECT_EQ(view->geometry().offset(), 0);
    EXPECT_EQ(bar.bar().info.pos, 0);
    save(*window, "stepwell_drawn_bar_all_steps.png");

    // One step at a time: arrows and pages go a step back and on; the thumb
    // dragged to the end makes the step before the last current.
    view->SetStepMode(true);
    view->SetCurrentStep(solution->StepAt(6));
    click(1);
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(5));
    click(bar.height() - 1);
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(6));
    const int at = arrow + scrollbar::ThumbOf(bar.bar().info, bar.height(), arrow, 6).offset + 2;
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, at));
    QTest::mouseMove(&bar, QPoint(bar.width() / 2, bar.height() - 1));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, bar.height() - 1));
    EXPECT_EQ(view->GetCurrentStep(), solution->StepAt(11));
    save(*window, "stepwell_drawn_bar_one_at_a_time.png");
}

// Answers the description dialog that opens next: clears it, types the
// text and clicks OK (or Cancel when cancel is set).
void answerDescriptionDialog(const QString& typed, bool cancel, std::string* seen)
{
    QTimer::singleShot(0, [typed, cancel, seen] {
        auto* dialog = dynamic_cast<CEditDescriptionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->editor()->GetText(*seen);
        QTest::keyClick(dialog->editor(), Qt::Key_End);
        while (dialog->editor()->layout().Items().head)
            QTest::keyClick(dialog->editor(), Qt::Key_Backspace);
        QTest::keyClicks(dialog->editor(), typed);
        QTest::mouseClick(dialog->button(cancel ? 2 : 1007), Qt::LeftButton);
    });
}

TEST_F(StepsView, RightClickMenuEditsTheActiveStepsDescription)
{
    view->SetStepMode(false);
    steps(3);
    view->RecalcLayout(true);
    CSolutionStep* second = solution->StepAt(2);
    ASSERT_NE(solution->GetActiveStep(), second);
    const QPoint on(300, second->rect.top() + 2);
    QTest::mouseClick(view, Qt::RightButton, {}, on);
    EXPECT_EQ(solution->GetActiveStep(), second);
    ASSERT_TRUE(view->stepMenu()->isVisible());
    QAction* edit = view->stepMenu()->actions().first();
    EXPECT_EQ(edit->data().toInt(), kCmdStepDescrEdit);
    EXPECT_EQ(edit->text().toStdString(), shared::GetLangString("stepDescrEdit"));
    view->stepMenu()->hide();

    // Cancel: the description stays.
    std::string seen;
    answerDescriptionDialog("other", true, &seen);
    edit->trigger();
    EXPECT_EQ(seen, "Крок 2");
    EXPECT_EQ(second->GetDescription(), "Крок 2");
    ASSERT_EQ(host.dialogs.registered.size(), 1u);
    EXPECT_TRUE(host.dialogs.registered[0].isNull());

    // OK: the new text, laid out again below it.
    const int thirdTop = solution->StepAt(3)->rect.top();
    answerDescriptionDialog("new words for the second step that run on and on past the end of the line", false,
                            &seen);
    edit->trigger();
    EXPECT_EQ(second->GetDescription().rfind("new words", 0), 0u);
    EXPECT_GT(solution->StepAt(3)->rect.top(), thirdTop);
    // OK with the text as it was: the same description, blanks and all.
    const std::string now = second->GetDescription();
    answerDescriptionDialog(QString::fromStdString(now), false, &seen);
    edit->trigger();
    EXPECT_EQ(seen, now);
    EXPECT_EQ(second->GetDescription(), now);
}

TEST_F(StepsView, ClicksMakeAStepActive)
{
    view->SetStepMode(false);
    add(StepKind::Single, kSum, "Перший", -1);
    add(StepKind::Single, kFraction, "Другий", 2);
    view->RecalcLayout(true);
    CSolutionStep* first = solution->StepAt(1);
    CSolutionStep* second = solution->StepAt(2);
    ASSERT_EQ(solution->GetActiveStep(), second);

    // On the active step: nothing.
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(300, second->rect.top() + 2));
    EXPECT_EQ(host.cleared, 0);
    // On another step, with the right button too.
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(300, first->rect.top() + 2));
    EXPECT_EQ(solution->GetActiveStep(), first);
    EXPECT_EQ(view->GetCheckState(), -1);
    EXPECT_EQ(host.cleared, 1);
    EXPECT_EQ(first->control()->GetState(), 3);  // transformer
    EXPECT_TRUE(second->control()->GetLocked());
    // With Ctrl: nothing.
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, QPoint(300, second->rect.top() + 2));
    EXPECT_EQ(solution->GetActiveStep(), first);

    // A transformation step being typed: No keeps it and its focus, Yes cuts it.
    solution->SetActiveStep(second);
    CTransformationStep* typing = addTransformation("", kSum);
    view->RecalcLayout(true);
    // Made active unchecked, it keeps its editor.
    ASSERT_EQ(typing->control()->GetState(), 2);
    host.answers = {platform::MessageAnswer::No, platform::MessageAnswer::Yes};
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(300, first->rect.top() + 2));
    EXPECT_EQ(host.asked, (std::vector<std::string>{"confirmDeleteLastSteps"}));
    EXPECT_EQ(solution->Count(), 3);
    EXPECT_EQ(solution->GetActiveStep(), typing);
    EXPECT_TRUE(typing->control()->hasFocus() || typing->control()->isAncestorOf(QApplication::focusWidget()));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(300, first->rect.top() + 2));
    EXPECT_EQ(solution->Count(), 2);
    EXPECT_EQ(solution->GetActiveStep(), first);
    EXPECT_EQ(host.commands, (std::vector<std::pair<int, bool>>{{kCmdSolveStepCheck, false}}));
}

TEST_F(StepsView, TransformationStepLayouts)
{
    view->SetStepMode(false);
    add(StepKind::Single, kSum, "Початок", -1);
    CTransformationStep* step = addTransformation("Отримано результат");
    view->RecalcLayout(true);
    const QRect transformation = step->transformation().GetControl()->geometry();
    QRect result = step->control()->geometry();
    // Being typed: beside the transformation, centred against it.
    EXPECT_GT(result.left(), transformation.right());
    EXPECT_EQ(result.center().y() / 2, transformation.center().y() / 2);
    save(*window, "stepwell_transformation_typing.png");

    step->control()->SetMathMLText(kFraction);
    step->control()->UseTransformer();
    ASSERT_EQ(step->control()->GetState(), 3);
    step->formula().UpdateSize();
    step->state = 2;
    view->RecalcLayout(true);
    result = step->control()->geometry();
    EXPECT_EQ(result.left(), transformation.left());
    EXPECT_GT(result.top(), transformation.bottom() + 10);  // the received text lies between
    save(*window, "stepwell_transformation_checked.png");
}

TEST_F(StepsView, MarkAndLights)
{
    view->SetStepMode(false);
    steps(2);
    view->RecalcLayout(true);
    const QRect formula = solution->StepAt(2)->control()->geometry();
    const int centre = formula.top() + formula.height() / 2;
    for (int state : {-1, 0, 1, 2}) {
        view->SetCheckState(state);
        const QImage image = view->Render().toImage();
        const QImage light = QPixmap(QStringLiteral(":/stepwell/bitmap/%1.png").arg(CStepwellSolveWnd::LightBitmapId(state)))
                                 .toImage()
                                 .convertToFormat(image.format());
        ASSERT_FALSE(light.isNull());
        EXPECT_EQ(image.copy(600 - 25, 5, light.width(), light.height()), light) << state;
        QApplication::processEvents();
        save(*window, ("stepwell_light_" + std::to_string(state + 1) + ".png").c_str());
    }
    const QImage image = view->Render().toImage();
    EXPECT_EQ(image.pixelColor(6, centre - 2), themeColor(1));
    EXPECT_EQ(image.pixelColor(6, centre + 3), themeColor(1));
    EXPECT_EQ(image.pixelColor(14, centre), themeColor(1));
    EXPECT_EQ(image.pixelColor(300, 20), themeColor(2));  // the squared paper
    EXPECT_EQ(image.pixelColor(301, 21), QColor(Qt::white));
}

TEST_F(StepsView, DescriptionOfWordFormulaWordHasOneFormulaControl)
{
    // The wrapper has no meta-object of its own: count the view's children by type.
    auto formulas = [this] {
        int count = 0;
        for (QObject* child : view->children())
            count += dynamic_cast<solvehost::CSymbrantCtrl*>(child) != nullptr;
        return count;
    };
    const int before = formulas();
    CSolutionStep* step = add(StepKind::Single, kSum, "слово" + kSum + "слово", 2);
    view->RecalcLayout(true);
    // The step's own formula and the description's one.
    EXPECT_EQ(formulas(), before + 2);
    const int id = step->control()->GetDlgCtrlID();
    EXPECT_GE(id, 40000);
    EXPECT_LE(id, 54001);
}

TEST_F(StepsView, AnswerPanelShowsTheAnswerAndScrolls)
{
    steps(1);
    QApplication::processEvents();
    save(*answer, "stepwell_answer_empty.png");
    EXPECT_EQ(answer->strip().content(), 0);

    CSolutionStep* step = add(StepKind::Answer, kFraction, "Відповідь: " + kSum, 2);
    EXPECT_EQ(solution->CountWithoutAnswer(), 1);
    EXPECT_NE(solution->GetActiveStep(), step);  // an answer never becomes active
    answer->RecalcLayout();
    EXPECT_GT(answer->strip().content(), 0);
    EXPECT_EQ(step->rect.left(), 20);
    EXPECT_EQ(step->rect.top(), 40);
    EXPECT_EQ(step->rect.width(), 600 - 30);
    QApplication::processEvents();
    save(*answer, "stepwell_answer.png");

    // A low pane: the strip shows, the wheel and the strip scroll.
    answer->setGeometry(0, 410, 600, 70);
    QApplication::processEvents();
    ASSERT_TRUE(answer->strip().Shown(70));
    QWheelEvent down(QPointF(100, 50), answer->mapToGlobal(QPointF(100, 50)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(answer, &down);
    EXPECT_EQ(answer->strip().offset(), -12);
    QTest::mousePress(answer, Qt::LeftButton, {}, QPoint(595, 68));
    EXPECT_TRUE(answer->strip().dragging());
    QTest::mouseRelease(answer, Qt::LeftButton, {}, QPoint(595, 68));
    EXPECT_FALSE(answer->strip().dragging());
    EXPECT_EQ(answer->strip().offset(), 70 - 30 - answer->strip().content());
    QApplication::processEvents();
    save(*answer, "stepwell_answer_scrolled.png");

    // A pane of 30 pixels: only the caption; a click takes nothing.
    answer->setGeometry(0, 410, 600, 30);
    QApplication::processEvents();
    QTest::mousePress(answer, Qt::LeftButton, {}, QPoint(595, 29));
    EXPECT_FALSE(answer->strip().dragging());
    QTest::mouseRelease(answer, Qt::LeftButton, {}, QPoint(595, 29));
}

}  // namespace
}  // namespace stepwell
