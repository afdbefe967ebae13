// The transformation workflow in the frame with the real formula control
// and condition viewer, the stand-in kernel on the staged module and the
// guide's recording stand-in: the pupil's gestures on the active step, the
// guide's requests, the own step, the answer check, the modes, the number
// axis and saving. The kernel's log (solution.txt) shows each request and
// reply. Screenshots: stepwell_workflow_*.png. Each case builds one frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "constructions/tickrule/tickrule_ids.h"
#include "formula/control/tests/control_host.h"
#include "platform/com/com.h"
#include "platform/ipc/ipc.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "shared/language.h"
#include "shared/print/print_html_view.h"
#include "shared/settings.h"
#include "shared/widgets/docking_pane_bar.h"
#include "solvehost/anim/task_anim_frame.h"
#include "solvehost/premiscope_ctrl.h"
#include "solvehost/proportional_splitter_wnd.h"
#include "solvehost/tests/test_component_ids.h"
#include "stepwell/app/additional_dialog.h"
#include "stepwell/app/answer_wnd.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/condition_editor_ctrl.h"
#include "stepwell/app/main_frame.h"
#include "stepwell/app/task_begin_dialog.h"
#include "stepwell/app/task_dialogs.h"
#include "testsupport/temp_dir.h"

namespace stepwell {

std::string CheckRelation(int clickedOperation, int code);

namespace {

namespace fs = std::filesystem;
namespace registry = platform::registry;
using platform::MessageAnswer;

const std::string kStage = std::string(STAGE_DIR) + "/";

std::string mathml(const std::string& body)
{
    return "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">" + body + "</math>";
}

// 2*x+3=7
const std::string kLinear =
    mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>=</mo><mn>7</mn>");

std::string task(const std::string& formula, const std::string& type = "linear")
{
    return "<TASK id=\"1\" type=\"" + type + "\" title=\"Задача\"><CONDITION><TEXT>Розв'яжіть</TEXT><JOBSLIST>"
           "<JOB id=\"1\" asTask=\"yes\" number=\"yes\"><FORMULA>" + formula +
           "</FORMULA></JOB></JOBSLIST></CONDITION></TASK>";
}

std::string guideLog(solvehost::CPathmentorCtrl& guide)
{
    platform::com::DispatchDriver driver{platform::com::ComPtr<platform::com::IDispatch>(guide.GetControl())};
    std::string log = driver.getProperty<std::string>(solvehost::test::kDispLog);
    driver.invoke(solvehost::test::kDispClearLog);
    return log;
}

class Workflow : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        m_oldDir = fs::current_path();
        fs::current_path(m_workDir.path());
        auto absolute = [](const std::string& path) { return fs::absolute(path).lexically_normal().string(); };
        std::string root = kStage;
        if (installed()) {
            // The installed tree with all its real components, the guide too.
            root = std::string(TESSALY_INSTALL_ROOT) + "/";
            for (const char* library : {"Formavel.so", "Premiscope.so", "Tickrule.so", "Pathmentor.so", "Plotwise.so"})
                ASSERT_EQ(platform::com::registerLibrary(absolute(root + "kernel/bin/" + library)), platform::S_OK)
                    << library;
        } else {
            // The guide's recording stand-in first: the real controls then take their own CLSIDs back.
            ASSERT_EQ(platform::com::registerLibrary(absolute(TEST_COMPONENTS)), platform::S_OK);
            ASSERT_EQ(platform::com::registerLibrary(absolute(FORMAVEL_LIBRARY)), platform::S_OK);
            ASSERT_EQ(platform::com::registerLibrary(absolute(PREMISCOPE_LIBRARY)), platform::S_OK);
            ASSERT_EQ(platform::com::registerLibrary(absolute(TICKRULE_LIBRARY)), platform::S_OK);
        }
        ASSERT_EQ(registry::writeString(registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath", root), 0);
        ASSERT_TRUE(shared::LoadLanguageFile(root + "kernel/data/lang/ua/stepwell.lng"));
        platform::setMessageRecorder(&messages);
        frame = makeFrame();
        ASSERT_EQ(frame->OnCreate(), 0);
        frame->resize(1000, 700);
        frame->show();
        QApplication::processEvents();
        ASSERT_TRUE(frame->kernel()->solveKernel());
    }
    void TearDown() override
    {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::setMessageRecorder(nullptr);
        fs::current_path(m_oldDir);
        testsupport::resetHives();
    }
    virtual bool installed() const { return false; }
    virtual std::unique_ptr<CStepwellMainFrame> makeFrame() { return std::make_unique<CStepwellMainFrame>(); }

    // A task set and begun: its first step holds the job's formula.
    void begin(const std::string& formula, const std::string& type = "linear")
    {
        frame->SetTaskCondition(task(formula, type));
        frame->OnBeginSolution();
        QApplication::processEvents();
        ASSERT_EQ(frame->solution()->Count(), 1);
        kernelLog();
        messages.messages.clear();
    }

    // The kernel's log lines since the last call ("code request -> reply").
    std::vector<std::string> kernelLog()
    {
        frame->kernel()->solveKernel()->flush();
        std::ifstream in(m_workDir.path() + "solution.txt");
        std::vector<std::string> lines;
        std::string line;
        int read = 0;
        for (; std::getline(in, line); ++read)
            if (read >= m_logLines && line.rfind("tarvik:", 0) != 0)
                lines.push_back(line);
        m_logLines = read;
        return lines;
    }

    std::vector<std::string> texts()
    {
        std::vector<std::string> out;
        for (const platform::MessageRecord& message : messages.messages)
            out.push_back(message.text);
        messages.messages.clear();
        return out;
    }

    // The steps' formulas as lexeme text, the answer marked "answer:".
    std::vector<std::string> steps()
    {
        std::vector<std::string> out;
        for (int i = 1; i <= frame->solution()->Count(); ++i) {
            CSolutionStep* step = frame->solution()->StepAt(i);
            const std::string text = step->control() ? step->control()->GetLexemText() : "";
            out.push_back(step->GetKind() == StepKind::Answer ? "answer:" + text : text);
        }
        return out;
    }

    int checkState() { return frame->solveWnd()->GetCheckState(); }
    CSolutionStep* active() { return frame->solution()->GetActiveStep(); }
    QWidget* activeWindow() { return active()->control()->GetControlWindow(); }
    QPoint at(std::string_view lexeme, int nth)
    {
        return formula::control::test::pointOf(active()->control()->GetLexemText(), lexeme, nth);
    }

    void doubleClick(std::string_view lexeme, int nth)
    {
        const QPoint point = at(lexeme, nth);
        QTest::mouseMove(activeWindow(), point);
        QTest::mouseDClick(activeWindow(), Qt::LeftButton, {}, point);
        QApplication::processEvents();
    }
    void rightClick(std::string_view lexeme, int nth)
    {
        const QPoint point = at(lexeme, nth);
        QTest::mouseMove(activeWindow(), point);
        QTest::mouseClick(activeWindow(), Qt::RightButton, {}, point);
        QApplication::processEvents();
    }
    void drag(std::string_view from, int fromNth, std::string_view to, int toNth)
    {
        const QPoint source = at(from, fromNth);
        const QPoint target = at(to, toNth);
        QWidget* window = activeWindow();
        QTest::mousePress(window, Qt::LeftButton, {}, source);
        QTest::mouseMove(window, (source + target) / 2);
        QTest::mouseMove(window, target);
        QTest::mouseRelease(window, Qt::LeftButton, {}, target);
        QApplication::processEvents();
    }

    // Sends from a sibling process; this one keeps handling events meanwhile.
    bool sendFromAnotherProcess(std::uint32_t code, const std::string& text)
    {
        const std::string file = m_outbox.write("task" + std::to_string(++m_sent) + ".xml", text);
        QProcess sender;
        sender.start(TASK_SENDER, {kWindowClassName, QString::number(code), QString::fromStdString(file)});
        if (!sender.waitForStarted(5000))
            return false;
        while (sender.state() != QProcess::NotRunning) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return sender.exitStatus() == QProcess::NormalExit && sender.exitCode() == 0;
    }
    static bool waitFor(const std::function<bool()>& done)
    {
        for (int i = 0; i < 600 && !done(); ++i) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return done();
    }

    void shot(const char* name)
    {
        QApplication::processEvents();
        frame->grab().save(QStringLiteral(STEPWELL_PNG_DIR "/stepwell_workflow_%1.png").arg(QLatin1String(name)));
    }

    testsupport::TempDir m_workDir;
    testsupport::TempDir m_outbox;
    int m_sent = 0;
    fs::path m_oldDir;
    int m_logLines = 0;
    platform::MessageRecorder messages;
    std::unique_ptr<CStepwellMainFrame> frame;
};

TEST(CheckRelation, ByClickedOperationAndCode)
{
    struct Row {
        int operation;
        int code;
        const char* relation;
    };
    const Row rows[] = {
        {5, 101, "="},  {5, 362, " *"},  {8, 101, " ~"}, {9, 512, " *"}, {8, 811, " *"}, {9, 611, " *"},
        {8, 362, " *"}, {9, 1023, " *"}, {8, 731, "=>"}, {9, 732, "=>"}, {8, 1021, " +"}, {9, 513, " +"},
        {1, 362, "="},  {0, 512, "="},   {4, 731, "="},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CheckRelation(row.operation, row.code), row.relation) << row.operation << " " << row.code;
}

// Each gesture on a fresh first step: the kernel's request and reply, the
// steps that follow and the light.
TEST_F(Workflow, GesturesThroughTheControl)
{
    frame->SetTaskCondition(task(kLinear));
    enum class Gesture { Double, Drag };
    struct Row {
        const char* formula;
        Gesture gesture;
        const char* lexeme;
        int nth;
        const char* target;
        int targetNth;
        std::vector<std::string> log;
        std::vector<std::string> steps;
        int check;
    };
    const Row rows[] = {
        {"2*x+3+4=7", Gesture::Double, "+", 1, "", 0, {"10 3+!4 -> 7"}, {"2*x+3+4=7", "2*x+7=7"}, 2},
        {"5-2+x=1", Gesture::Double, "-", 0, "", 0, {"11 5+!(-2) -> 3"}, {"5-2+x=1", "3+x=1"}, 2},
        {"-(-x)=3", Gesture::Double, "-", 0, "", 0, {"333 (-1)*!((-1)*!x) -> x"}, {"-@br_row_round$-x#=3", "x=3"}, 2},
        {"2*3+x=1", Gesture::Double, "*", 0, "", 0, {"12 2*!3 -> 6"}, {"2*3+x=1", "6+x=1"}, 2},
        {"6/3+x=1", Gesture::Double, "/", 0, "", 0, {"13 6/!3 -> 2"}, {"6/3+x=1", "2+x=1"}, 2},
        // A letter: its terms collected in the whole formula.
        {"2*x+1+3*x=6", Gesture::Double, "x", 1, "", 0, {"14 (2*!x+!1+!3*!x=!6),x -> 5*x=5"}, {"2*x+1+3*x=6", "5*x=5"},
         2},
        {"2*x+3=7", Gesture::Double, "+", 0, "", 0, {"10 2*!x+!3 -> \"NORES\""}, {"2*x+3=7"}, -1},
        {"2*x+3=7", Gesture::Double, "=", 0, "", 0, {}, {"2*x+3=7"}, -1},
        // Dropped by the control itself: no request.
        {"2*x+3=7", Gesture::Drag, "3", 0, "=", 0, {}, {"2*x+3=7", "2*x=-3+7"}, 2},
        // Dropped onto a term of the same sum: the kernel adds them.
        {"2*x+3+4=7", Gesture::Drag, "3", 0, "4", 0, {"10 3+!4 -> 7"}, {"2*x+3+4=7", "2*x+7=7"}, 2},
        // The first equation of a system onto the second.
        {"@system$x+y=5$x-y=1#", Gesture::Drag, "=", 0, "=", 1, {"815 (x+!y=!5),(x+!(-1)*!y=!1) -> 2*x=6"},
         {"@system$x+y=5$x-y=1#", "@system$x+y=5$2*x=6#"}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.formula) + " " + row.lexeme + " " + std::to_string(row.nth));
        frame->StartSolution(row.formula, shared::GetLangString("msgSolveStart"), 2);
        kernelLog();
        texts();
        if (row.gesture == Gesture::Double)
            doubleClick(row.lexeme, row.nth);
        else
            drag(row.lexeme, row.nth, row.target, row.targetNth);
        EXPECT_EQ(kernelLog(), row.log);
        EXPECT_EQ(steps(), row.steps);
        EXPECT_EQ(checkState(), row.check);
        EXPECT_EQ(active(), frame->solution()->GetLastStep());
        EXPECT_EQ(texts(), std::vector<std::string>{});
    }
    shot("gestures");
}

// A failed double click leaves the control free for the next gesture; a
// second simplification updates its step in place; a result while an
// earlier step is active asks before the later steps go.
TEST_F(Workflow, FailuresUpdatesAndEarlierSteps)
{
    begin(mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>+</mo><mn>4</mn><mo>+</mo><mn>5</mn>"
                 "<mo>=</mo><mn>7</mn>"));
    const std::string start = "2*x+3+4+5=7";
    ASSERT_EQ(steps(), std::vector<std::string>{start});
    doubleClick("+", 0);
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"10 2*!x+!3 -> \"NORES\""});
    doubleClick("+", 1);
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"10 3+!4 -> 7"});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "2*x+7+5=7"}));
    // The same description: the step is updated, none added.
    doubleClick("+", 1);
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"10 7+!5 -> 12"});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "2*x+12=7"}));
    EXPECT_EQ(checkState(), 2);

    // The first step active again: No keeps everything.
    frame->solution()->SetActiveStep(frame->solution()->StepAt(1));
    messages.answers = {MessageAnswer::No};
    doubleClick("+", 1);
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("confirmDeleteLastSteps")});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "2*x+12=7"}));
    EXPECT_EQ(frame->solution()->StepAt(1)->control()->GetLexemText(), start);
    // Yes cuts and adds the new step.
    kernelLog();
    messages.answers = {MessageAnswer::Yes};
    doubleClick("+", 1);
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("confirmDeleteLastSteps")});
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"10 3+!4 -> 7"});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "2*x+7+5=7"}));
    EXPECT_EQ(frame->solution()->StepAt(1)->control()->GetLexemText(), start);
}

// A frame whose kernel calls throw while `throwing` is set, as a fault deep
// in the kernel's binding would.
class ThrowingKernelFrame : public CStepwellMainFrame {
public:
    bool CallKernel(int code, const std::string& request, std::string& reply) override
    {
        if (throwing)
            throw std::runtime_error("kernel fault");
        return CStepwellMainFrame::CallKernel(code, request, reply);
    }
    bool throwing = false;
};

class ThrowingKernelWorkflow : public Workflow {
protected:
    std::unique_ptr<CStepwellMainFrame> makeFrame() override { return std::make_unique<ThrowingKernelFrame>(); }
    void setThrowing(bool on) { static_cast<ThrowingKernelFrame&>(*frame).throwing = on; }
};

// A kernel call that throws under a double click or a drop: the program's
// message, no step, the guide unlocked, and the control free for the next
// gesture, which then reaches the kernel.
TEST_F(ThrowingKernelWorkflow, ThrowingKernelCallShowsTheMessageAndFreesTheControl)
{
    const std::string fault = "Виникла серйозна помилка в розрахунках. Будь-ласка перезапустіть програму.";
    frame->SetTaskCondition(task(kLinear));
    struct Row {
        const char* formula;
        bool drag;
        const char* lexeme;
        int nth;
        const char* target;
        int targetNth;
        std::string guide;  // the guide's lock calls of the throwing gesture
        std::string log;
        std::string result;
    };
    const Row rows[] = {
        {"2*3+x=1", false, "*", 0, "", 0, "P 17 UI1 1\nP 17 UI1 0\n", "12 2*!3 -> 6", "6+x=1"},
        {"2*x+3+4=7", true, "3", 0, "4", 0, "P 17 UI1 1\nP 17 UI1 0\n", "10 3+!4 -> 7", "2*x+7=7"},
        {"@system$x+y=5$x-y=1#", true, "=", 0, "=", 1, "P 17 UI1 0\n", "815 (x+!y=!5),(x+!(-1)*!y=!1) -> 2*x=6",
         "@system$x+y=5$2*x=6#"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.formula);
        frame->StartSolution(row.formula, shared::GetLangString("msgSolveStart"), 2);
        kernelLog();
        texts();
        auto gesture = [&] {
            if (row.drag)
                drag(row.lexeme, row.nth, row.target, row.targetNth);
            else
                doubleClick(row.lexeme, row.nth);
        };
        setThrowing(true);
        guideLog(*frame->guide());
        gesture();
        EXPECT_EQ(texts(), std::vector<std::string>{fault});
        // (the guide's other calls, "M 11" of a left click, left aside)
        std::istringstream guideCalls(guideLog(*frame->guide()));
        std::string locks;
        for (std::string call; std::getline(guideCalls, call);)
            if (call.rfind("P 17 ", 0) == 0)
                locks += call + "\n";
        EXPECT_EQ(locks, row.guide);
        EXPECT_EQ(steps(), std::vector<std::string>{row.formula});
        EXPECT_EQ(kernelLog(), std::vector<std::string>{});

        setThrowing(false);
        gesture();
        EXPECT_EQ(kernelLog(), std::vector<std::string>{row.log});
        EXPECT_EQ(steps(), (std::vector<std::string>{row.formula, row.result}));
        EXPECT_EQ(checkState(), 2);
    }
}

// The guide's requests: locked while they run, the arguments in every
// combination, the kinds, the failures and their light.
TEST_F(Workflow, GuideRequests)
{
    using platform::com::VARIANT_BOOL;
    const VARIANT_BOOL no = platform::com::VARIANT_FALSE;
    const VARIANT_BOOL yes = platform::com::VARIANT_TRUE;
    solvehost::CPathmentorCtrl& guide = *frame->guide();
    guideLog(guide);
    // No task: nothing but the lock.
    frame->OnApplyingTransformationEx(102, 1, "act", no, no, no, 0, "");
    EXPECT_EQ(guideLog(guide), "P 17 UI1 1\nP 17 UI1 0\n");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{});
    EXPECT_EQ(texts(), std::vector<std::string>{});

    begin(mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>=</mo><mo>-</mo><mn>3</mn><mo>+</mo><mn>7</mn>"));
    const std::string start = "2*x=-3+7";
    ASSERT_EQ(steps(), std::vector<std::string>{start});
    // Kinds 1 and 2 need a selection.
    for (std::uint8_t kind : {1, 2}) {
        frame->OnApplyingTransformationEx(kind == 1 ? 102 : 1035, kind, "act", no, no, no, 0, "");
        EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("erEmptySel")});
        EXPECT_EQ(checkState(), -1);
    }
    EXPECT_EQ(kernelLog(), std::vector<std::string>{});

    // A right click in the mixed mode picks the part, recommends and offers the own step.
    guideLog(guide);
    rightClick("+", 0);
    EXPECT_EQ(frame->selection(), "(-3)+!7");
    EXPECT_EQ(frame->clickedOperation(), 1);
    EXPECT_NE(guideLog(guide).find("M 9 UI1 1"), std::string::npos);
    EXPECT_TRUE(frame->action(kCmdSolveStepExecute)->isEnabled());

    struct Row {
        bool multy;
        std::uint8_t index;
        bool whole;
        const char* request;  // nullptr: none, "erNeedTrSelect"
    };
    const Row rows[] = {
        {false, 3, false, "9999 ((-3)+!7)"},
        {false, 3, true, "9999 (2*!x=!(-3)+!7),((-3)+!7)"},
        {true, 2, false, "9999 (2),((-3)+!7)"},
        {true, 2, true, "9999 (2),(2*!x=!(-3)+!7),((-3)+!7)"},
        {true, 0, true, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.index) + (row.whole ? " whole" : "") + (row.multy ? " multy" : ""));
        frame->solveWnd()->SetCheckState(-1);
        frame->OnApplyingTransformationEx(9999, 1, "act", no, row.whole ? yes : no, row.multy ? yes : no, row.index,
                                          "");
        const std::vector<std::string> log = kernelLog();
        if (row.request) {
            ASSERT_EQ(log.size(), 1u);
            EXPECT_EQ(log[0].substr(0, log[0].find(" -> ")), row.request);
            EXPECT_EQ(texts(), std::vector<std::string>{});
        } else {
            EXPECT_EQ(log, std::vector<std::string>{});
            EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("erNeedTrSelect")});
        }
        EXPECT_EQ(checkState(), 1);
        EXPECT_EQ(steps(), std::vector<std::string>{start});
    }
    // An unknown kind, and kind 2 with a code other than the interval's.
    for (std::uint8_t kind : {9, 2}) {
        frame->solveWnd()->SetCheckState(-1);
        frame->OnApplyingTransformationEx(102, kind, "act", no, no, no, 0, "");
        EXPECT_EQ(texts(), kind == 9 ? std::vector<std::string>{shared::GetLangString("erUndefConstant")}
                                     : std::vector<std::string>{});
        EXPECT_EQ(checkState(), 1);
    }
    EXPECT_EQ(kernelLog(), std::vector<std::string>{});

    // Collecting like terms: the picked part replaced, a new step, the selection gone.
    guideLog(guide);
    frame->OnApplyingTransformationEx(102, 1, "Зводимо подібні", no, no, no, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"102 ((-3)+!7) -> 4"});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "2*x=4"}));
    EXPECT_EQ(active()->GetDescription(), "Зводимо подібні");
    EXPECT_EQ(frame->solution()->StepAt(1)->control()->GetLexemText(), start);
    EXPECT_EQ(checkState(), 2);
    EXPECT_EQ(frame->selection(), "");
    EXPECT_EQ(guideLog(guide), "P 17 UI1 1\nP 17 UI1 0\n");
    shot("guide");
}

// The pupil's own step and the answer check, as the walk-through has them.
TEST_F(Workflow, OwnStepAndAnswers)
{
    using platform::com::VARIANT_FALSE;
    begin(kLinear);
    frame->StartSolution("2*x=4", "s", 2);
    ASSERT_EQ(steps(), std::vector<std::string>{"2*x=4"});
    texts();
    // 1372 on the whole last step: accepted, the answer green.
    frame->OnApplyingTransformationEx(1372, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1372 (2*!x=!4),(2*!x=!4) -> 1"});
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "answer:2*x=4"}));
    EXPECT_EQ(frame->solution()->GetLastStep()->state, 1);
    EXPECT_EQ(checkState(), 1);

    // The own step: a right click on "=", 32798 (Yes cuts the answer), the pupil types.
    rightClick("=", 0);
    EXPECT_EQ(frame->selection(), "2*!x=!4");
    messages.answers = {MessageAnswer::Yes};
    frame->action(kCmdSolveStepExecute)->trigger();
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("confirmDeleteLastSteps")});
    ASSERT_EQ(frame->solution()->Count(), 2);
    auto* own = dynamic_cast<CTransformationStep*>(active());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->transformation().GetControl()->GetLexemText(), "2*x=4=");
    EXPECT_EQ(own->GetDescription(), shared::GetLangString("transformationExecute"));
    EXPECT_TRUE(frame->action(kCmdSolveStepCheck)->isEnabled());
    EXPECT_FALSE(frame->action(kCmdSolveStepExecute)->isEnabled());
    EXPECT_EQ(checkState(), -1);
    // An invalid entry.
    QTest::keyClicks(activeWindow(), "x=");
    frame->action(kCmdSolveStepCheck)->trigger();
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("erFormulaInvalid")});
    EXPECT_EQ(checkState(), 0);
    EXPECT_EQ(kernelLog(), std::vector<std::string>{});
    // A wrong one: red, 32797 greyed.
    frame->action(kCmdSolveStepCheck)->setEnabled(true);
    QTest::keyClicks(activeWindow(), "3");
    frame->action(kCmdSolveStepCheck)->trigger();
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"5351 (2*!x=!4),(x=!3) -> \"NORES\""});
    EXPECT_EQ(checkState(), 0);
    EXPECT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    shot("own_step_refused");

    // The step before clicked (Yes drops the own step), again with x=2.
    messages.answers = {MessageAnswer::Yes};
    const QRect first = frame->solution()->StepAt(1)->rect;
    QTest::mouseClick(frame->solveWnd(), Qt::LeftButton, {}, QPoint(frame->solveWnd()->width() - 40, first.top() + 5));
    EXPECT_EQ(frame->solution()->Count(), 1);
    rightClick("=", 0);
    frame->action(kCmdSolveStepExecute)->trigger();
    QTest::keyClicks(activeWindow(), "x=2");
    frame->action(kCmdSolveStepCheck)->trigger();
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"5351 (2*!x=!4),(x=!2) -> x=2"});
    own = dynamic_cast<CTransformationStep*>(active());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->transformation().GetControl()->GetLexemText(), "2*x=4=x=2");
    EXPECT_EQ(own->control()->GetLexemText(), "x=2");
    EXPECT_EQ(own->GetReceived(), shared::GetLangString("transformationReceive"));
    EXPECT_EQ(own->state, 2);
    EXPECT_EQ(own->control()->GetState(), 3);  // transformer
    EXPECT_EQ(frame->solution()->StepAt(1)->control()->GetLexemText(), "2*x=4");
    EXPECT_EQ(checkState(), 2);
    EXPECT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    EXPECT_FALSE(frame->action(kCmdSolveStepExecute)->isEnabled());

    // 1372: the answer x=2, green; again with the answer last: taken from the step before it.
    for (int i = 0; i < 2; ++i) {
        frame->OnApplyingTransformationEx(1372, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
        EXPECT_EQ(kernelLog(), std::vector<std::string>{"1372 (x=!2),(2*!x=!4) -> 2"});
        EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "x=2", "answer:x=2"}));
        EXPECT_EQ(frame->solution()->GetLastStep()->state, 2);
        EXPECT_EQ(checkState(), 2);
    }
    shot("answer");
    // The answer's own text is not what is checked: the step before it is.
    frame->solution()->GetLastStep()->formula().SetFormula("x=5", true);
    frame->OnApplyingTransformationEx(1372, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1372 (x=!2),(2*!x=!4) -> 2"});
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "x=2", "answer:x=2"}));
    // 1371 needs no kernel: the answer as it stands, yellow.
    frame->OnApplyingTransformationEx(1371, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{});
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "x=2", "answer:x=2"}));
    EXPECT_EQ(frame->solution()->GetLastStep()->state, 1);

    // A wrong answer: red, no step.
    frame->StartSolution("2*x=4", "s", 2);
    frame->AddStep("x=3", "s", 1, 2, 1, true);
    kernelLog();
    texts();
    frame->OnApplyingTransformationEx(1372, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1372 (x=!3),(2*!x=!4) -> 0"});
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "x=3"}));
    EXPECT_EQ(checkState(), 0);
}

// The task book's expression task 1, 3(2x-1)+4x: handed back untouched it
// is right but not finished (yellow), and so is a sum whose like terms are
// still apart; 10x-3, reached through the guide, is green.
TEST_F(Workflow, ExpressionTaskIsFinishedWhenSimplified)
{
    using platform::com::VARIANT_FALSE;
    std::ifstream in(kStage + "modules/tessaly/lang/ua/taskbook/doc/expressions.xml");
    const std::string book((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto from = book.find("<TASK id=\"1\"");
    const auto to = book.find("</TASK>", from);
    ASSERT_NE(to, std::string::npos);
    frame->SetTaskCondition(book.substr(from, to + 7 - from));
    frame->OnBeginSolution();
    QApplication::processEvents();
    const std::string start = "3*@br_persist_rr$2*x-1#+4*x";
    ASSERT_EQ(steps(), std::vector<std::string>{start});
    kernelLog();
    texts();
    auto answer = [&] {
        frame->OnApplyingTransformationEx(1372, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    };
    const std::string task = "(3*!(2*!x+!(-1))+!4*!x)";
    answer();
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1372 " + task + "," + task + " -> 1"});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "answer:" + start}));
    EXPECT_EQ(checkState(), 1);

    // The brackets opened (101): the like terms are still apart.
    rightClick("*", 0);
    EXPECT_EQ(frame->selection(), "3*!(2*!x+!(-1))");
    messages.answers = {MessageAnswer::Yes};
    frame->OnApplyingTransformationEx(101, 1, "Розкриваємо дужки", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"101 (3*!(2*!x+!(-1))) -> 6*x-3"});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "6*x-3+4*x"}));
    answer();
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1372 (6*!x+!(-3)+!4*!x)," + task + " -> 1"});
    EXPECT_EQ(checkState(), 1);

    // Like terms collected (4x dropped onto 6x): green.
    messages.answers = {MessageAnswer::Yes};
    drag("*", 1, "*", 0);
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"10 4*!x+!6*!x -> 10*x"});
    answer();
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1372 (10*!x+!(-3))," + task + " -> 2"});
    EXPECT_EQ(steps(), (std::vector<std::string>{start, "6*x-3+4*x", "10*x-3", "answer:10*x-3"}));
    EXPECT_EQ(frame->solution()->GetLastStep()->state, 2);
    EXPECT_EQ(checkState(), 2);
    EXPECT_EQ(texts(), (std::vector<std::string>{shared::GetLangString("confirmDeleteLastSteps"),
                                                 shared::GetLangString("confirmDeleteLastSteps")}));
    shot("expression_green");
}

// An answer the kernel cannot tell gets a message asking for another way
// of writing it, not a silent light.
TEST_F(Workflow, AnAnswerWithoutAVerdictIsExplained)
{
    using platform::com::VARIANT_FALSE;
    begin(kLinear);
    frame->StartSolution("@func$sin$x#=0", "s", 2);
    kernelLog();
    texts();
    frame->OnApplyingTransformationEx(1372, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    const std::vector<std::string> log = kernelLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("-> \"NORES\""), std::string::npos) << log[0];
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("erCheckAnswer")});
    EXPECT_EQ(steps(), std::vector<std::string>{"@func$sin$x#=0"});
    EXPECT_EQ(checkState(), 1);
}

// Modes change only before the first step; beginning takes the job's
// formula and forgets a picked part; a mode 2 right click starts the own step.
TEST_F(Workflow, ModesAndBegin)
{
    EXPECT_EQ(frame->solvingMode(), 3);
    EXPECT_TRUE(frame->action(kCmdSmodeMixed)->isChecked());
    frame->action(kCmdSmodeAuto)->trigger();
    EXPECT_EQ(frame->solvingMode(), 1);
    EXPECT_TRUE(frame->action(kCmdSmodeAuto)->isChecked());
    EXPECT_FALSE(frame->action(kCmdSmodeMixed)->isChecked());

    frame->SetSelection("(7)");
    frame->SetTaskCondition(task(kLinear));
    EXPECT_EQ(frame->selection(), "");
    frame->action(kCmdSmodeIndep)->trigger();
    EXPECT_EQ(frame->solvingMode(), 2);
    frame->SetSelection("(7)");
    frame->action(kCmdSolveBegin)->trigger();
    EXPECT_EQ(frame->selection(), "");
    ASSERT_EQ(steps(), std::vector<std::string>{"2*x+3=7"});
    EXPECT_EQ(active()->executor, 2);
    EXPECT_EQ(active()->GetDescription(), shared::GetLangString("msgSolveStart"));
    EXPECT_EQ(frame->solveWnd()->GetCurrentStep(), active());
    EXPECT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    EXPECT_FALSE(frame->action(kCmdSolveStepExecute)->isEnabled());

    // With steps the mode stays and its button is pressed again.
    frame->action(kCmdSmodeAuto)->trigger();
    EXPECT_EQ(frame->solvingMode(), 2);
    EXPECT_TRUE(frame->action(kCmdSmodeIndep)->isChecked());
    EXPECT_FALSE(frame->action(kCmdSmodeAuto)->isChecked());

    // Mode 2: a right click starts the own step on the picked part.
    rightClick("+", 0);
    EXPECT_EQ(frame->selection(), "2*!x+!3");
    ASSERT_EQ(frame->solution()->Count(), 2);
    ASSERT_NE(dynamic_cast<CTransformationStep*>(active()), nullptr);
    EXPECT_EQ(dynamic_cast<CTransformationStep*>(active())->transformation().GetControl()->GetLexemText(), "2*x+3=");

    // Beginning again asks: No keeps the steps, Yes starts over.
    texts();
    messages.answers = {MessageAnswer::No};
    frame->OnBeginSolution();
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("confirmDeleteSolution")});
    EXPECT_EQ(frame->solution()->Count(), 2);
    messages.answers = {MessageAnswer::Yes};
    frame->OnBeginSolution();
    EXPECT_EQ(steps(), std::vector<std::string>{"2*x+3=7"});
    EXPECT_EQ(checkState(), -1);

    // Mode 1: a right click recommends; no own step is offered.
    frame->SetTaskCondition(task(kLinear));
    frame->OnModeAuto();
    frame->OnBeginSolution();
    guideLog(*frame->guide());
    rightClick("+", 0);
    EXPECT_NE(guideLog(*frame->guide()).find("M 9 UI1 1"), std::string::npos);
    EXPECT_FALSE(frame->action(kCmdSolveStepExecute)->isEnabled());
    EXPECT_EQ(frame->solution()->Count(), 1);

    // A job that wants the pupil's formula, checked by its type: nothing begins here.
    const std::string asked = "<TASK id=\"1\" type=\"linear\" title=\"Задача\"><CONDITION><TEXT>Складіть рівняння</TEXT>"
                              "<JOBSLIST><JOB id=\"1\" check=\"yes\" checkType=\"fromType\"/></JOBSLIST></CONDITION></TASK>";
    frame->SetTaskCondition(asked);
    frame->OnBeginSolution();
    EXPECT_EQ(frame->solution()->Count(), 0);
}

// The first interval exchange makes the number-axis bar and draws on it; an
// interval class that cannot be made is reported and unlocks the guide.
TEST_F(Workflow, NumberAxis)
{
    using platform::com::VARIANT_FALSE;
    namespace tickrule = constructions::tickrule;
    begin(mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>&gt;</mo><mn>7</mn>"), "inequality");
    EXPECT_EQ(frame->numberAxisBar(), nullptr);
    rightClick(">", 0);
    ASSERT_EQ(frame->selection(), "2*!x+!3>!7");
    frame->OnApplyingTransformationEx(1035, 2, "Ось", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1035 (2*!x+!3>!7) -> left ={0} right ={0} xr ={2} yr ={PlusInfSet}"});
    EXPECT_EQ(texts(), std::vector<std::string>{});
    ASSERT_NE(frame->numberAxisBar(), nullptr);
    EXPECT_TRUE(frame->numberAxisBar()->isVisible());
    EXPECT_TRUE(frame->action(kCmdViewNumAxis)->isChecked());
    platform::com::DispatchDriver axis{platform::com::ComPtr<platform::com::IDispatch>(frame->numberAxis())};
    platform::com::DispatchDriver tasks(
        axis.getProperty<platform::com::ComPtr<platform::com::IDispatch>>(tickrule::kDispTickruleTaskList));
    platform::com::DispatchDriver active(
        tasks.getProperty<platform::com::ComPtr<platform::com::IDispatch>>(tickrule::kDispTasksActiveTask));
    EXPECT_EQ(active.getProperty<std::int32_t>(tickrule::kDispTaskIntervalCount), 1);
    active.invoke(tickrule::kDispTaskMoveFirst);
    platform::com::DispatchDriver interval(
        active.invoke<platform::com::ComPtr<platform::com::IDispatch>>(tickrule::kDispTaskGetNext));
    platform::com::DispatchDriver left(
        interval.getProperty<platform::com::ComPtr<platform::com::IDispatch>>(tickrule::kDispIntervalLeftPoint));
    platform::com::DispatchDriver right(
        interval.getProperty<platform::com::ComPtr<platform::com::IDispatch>>(tickrule::kDispIntervalRightPoint));
    EXPECT_EQ(left.getProperty<double>(tickrule::kDispPointCoordinate), 2.0);
    EXPECT_EQ(platform::com::rawValue(left.getProperty<platform::com::VARIANT_BOOL>(tickrule::kDispPointIncluded)), 0);
    EXPECT_EQ(right.getProperty<std::int16_t>(tickrule::kDispPointInfinity), 1);
    shot("number_axis");
    // 32814 hides and shows the bar.
    frame->action(kCmdViewNumAxis)->trigger();
    EXPECT_FALSE(frame->numberAxisBar()->isVisible());
    frame->action(kCmdViewNumAxis)->trigger();
    EXPECT_TRUE(frame->numberAxisBar()->isVisible());

    // The interval's class unregistered: its reason shown, the light yellow, the guide unlocked.
    ASSERT_EQ(registry::deleteKeyTree(registry::Hive::Machine,
                                      std::string("SOFTWARE\\Classes\\") + tickrule::kIntervalHostProgId),
              0);
    rightClick(">", 0);
    guideLog(*frame->guide());
    frame->OnApplyingTransformationEx(1035, 2, "Ось", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    const std::vector<std::string> shown = texts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(tickrule::kIntervalHostProgId), std::string::npos) << shown[0];
    EXPECT_EQ(checkState(), 1);
    EXPECT_EQ(guideLog(*frame->guide()), "P 17 UI1 1\nP 17 UI1 0\n");
    EXPECT_EQ(active.getProperty<std::int32_t>(tickrule::kDispTaskIntervalCount), 1);

    // The axis goes with the frame (its bar does not own it).
    const QPointer<QWidget> holder = frame->numberAxisBar()->findChild<QWidget*>(QStringLiteral("numberAxis"));
    ASSERT_FALSE(holder.isNull());
    frame.reset();
    EXPECT_TRUE(holder.isNull());
}

// The task book's task `id` of `file`, as the task book holds it; empty
// when there is none.
std::string moduleTask(const std::string& file, const std::string& id)
{
    std::ifstream in(kStage + "modules/tessaly/lang/ua/taskbook/doc/" + file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t start = text.find("<TASK id=\"" + id + "\"");
    const std::size_t end = start == std::string::npos ? start : text.find("</TASK>", start);
    return end == std::string::npos ? std::string() : text.substr(start, end + 7 - start);
}

std::string langArg(const char* key, const std::string& argument)
{
    return QString::fromStdString(shared::GetLangString(key)).arg(QString::fromStdString(argument)).toStdString();
}

// Saving hands the document to the program that gave the task out;
// printing shows it through the print sheet.
TEST_F(Workflow, SaveAndPrint)
{
    std::vector<std::pair<std::uint32_t, std::string>> pupil;
    std::vector<std::pair<std::uint32_t, std::string>> teacher;
    QWidget receiverWindow;
    // Nothing open: nothing is sent.
    frame->OnSaveTask();
    begin(kLinear);
    doubleClick("+", 0);
    std::string document;
    ASSERT_TRUE(frame->solution()->GetTaskDocument(document));
    {
        platform::ipc::Listener tutelary(&receiverWindow, "Tutelary_tessaly_WindowClassName",
                                         [&](std::uint32_t code, std::string text) { pupil.emplace_back(code, text); });
        platform::ipc::Listener coursewright(
            &receiverWindow, "Coursewright_tessaly_WindowClassName",
            [&](std::uint32_t code, std::string text) { teacher.emplace_back(code, text); });
        frame->action(kCmdFileSave)->trigger();
        ASSERT_EQ(pupil.size(), 1u);
        EXPECT_EQ(pupil[0], std::make_pair(std::uint32_t{6}, document));
        EXPECT_TRUE(teacher.empty());
        ASSERT_EQ(registry::writeBinary(registry::Hive::User, shared::kSuiteRegistryKey, "IAmTeacher",
                                        std::string(1, '\1')),
                  0);
        frame->action(kCmdFileSave)->trigger();
        ASSERT_EQ(teacher.size(), 1u);
        EXPECT_EQ(teacher[0], std::make_pair(std::uint32_t{6}, document));
        EXPECT_EQ(pupil.size(), 1u);
    }
    // The teacher's program not running: nothing delivered; the pupil's own
    // folder keeps the document, and the pupil reads so.
    fs::remove_all(platform::paths::userDataFolder());
    frame->action(kCmdFileSave)->trigger();
    EXPECT_EQ(teacher.size(), 1u);
    const std::vector<std::string> kept = testsupport::filesIn(platform::paths::userDataFolder());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(testsupport::readFile(kept[0]), document);
    EXPECT_EQ(texts(), std::vector<std::string>{langArg("erTaskNotSent", kept[0])});

    // Printing: the task's words and its steps on the page, maximised.
    const std::string page = shared::CPrintHtmlView::TemporaryPagePath();
    fs::remove(page);
    frame->action(kCmdFilePrintVersion)->trigger();
    EXPECT_TRUE(frame->printView()->isVisible());
    EXPECT_TRUE(frame->printView()->isMaximized());
    EXPECT_EQ(texts(), std::vector<std::string>{});
    std::ifstream printed(page);
    const std::string html((std::istreambuf_iterator<char>(printed)), std::istreambuf_iterator<char>());
    EXPECT_NE(html.find("Розв'яжіть"), std::string::npos) << html;
    EXPECT_NE(html.find(shared::GetLangString("msgSolveStart")), std::string::npos) << html;
    frame->printView()->hide();

    // A task text without its end: sent bare, without the solution, and not printed.
    const std::string cut = "<TASK id=\"2\" type=\"linear\"><CONDITION><TEXT>Без кінця</TEXT></CONDITION>";
    frame->SetTaskCondition(cut);
    texts();
    std::string bare;
    EXPECT_FALSE(frame->solution()->GetTaskDocument(bare));
    pupil.clear();
    ASSERT_EQ(registry::deleteValue(registry::Hive::User, shared::kSuiteRegistryKey, "IAmTeacher"), 0);
    {
        platform::ipc::Listener tutelary(&receiverWindow, "Tutelary_tessaly_WindowClassName",
                                         [&](std::uint32_t code, std::string text) { pupil.emplace_back(code, text); });
        frame->action(kCmdFileSave)->trigger();
    }
    ASSERT_EQ(pupil.size(), 1u);
    EXPECT_EQ(pupil[0].second, bare);
    EXPECT_NE(bare.find(cut), std::string::npos);
    fs::remove(page);
    frame->action(kCmdFilePrintVersion)->trigger();
    EXPECT_FALSE(frame->printView()->isVisible());
    EXPECT_FALSE(fs::exists(page));
}

// The task book's linear task as a sibling program sends it, begun, with
// its 3 moved across "=".
class TaskBookWorkflow : public Workflow {
protected:
    void openLinearAndMoveATerm()
    {
        linear = moduleTask("linear.xml", "1");
        ASSERT_FALSE(linear.empty());
        ASSERT_TRUE(sendFromAnotherProcess(1, linear));
        ASSERT_TRUE(waitFor([&] { return frame->solution() != nullptr; }));
        frame->action(kCmdSolveBegin)->trigger();
        drag("3", 0, "=", 0);
        ASSERT_EQ(steps(), solved);
        texts();
    }

    std::string linear;
    const std::vector<std::string> solved{"2*x+3=7", "2*x=-3+7"};
};

// No receiver runs: "Зберегти й надіслати" says the solution was not sent and
// names the pupil's copy, named after the task and the time; the task stays
// open, and the copy, sent to the program, opens as the same solution.
// Leaving with unsent steps asks: Cancel stays, Yes saves as above and
// leaves, No leaves; delivered steps are not asked about.
TEST_F(TaskBookWorkflow, UnsentWorkIsKeptAndLeavingAsks)
{
    const std::string folder = platform::paths::userDataFolder();
    fs::remove_all(folder);
    openLinearAndMoveATerm();
    std::string document;
    ASSERT_TRUE(frame->solution()->GetTaskDocument(document));
    const QPointer<QWidget> open = frame->solution()->StepAt(1)->control();

    frame->action(kCmdFileSave)->trigger();
    const std::vector<std::string> kept = testsupport::filesIn(folder);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(fs::path(kept[0]).filename().string().rfind("Лінійне рівняння 20", 0), 0u) << kept[0];
    EXPECT_EQ(texts(), std::vector<std::string>{langArg("erTaskNotSent", kept[0])});
    EXPECT_EQ(testsupport::readFile(kept[0]), document);
    EXPECT_FALSE(open.isNull());
    EXPECT_EQ(steps(), solved);
    EXPECT_TRUE(frame->action(kCmdFileSave)->isEnabled());

    // A folder that cannot be made: nothing kept, said so; leaving with Yes stays.
    const std::string dataHome = std::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", m_workDir.write("not-a-folder", "").c_str(), 1);
    frame->action(kCmdFileSave)->trigger();
    const std::string notKept = langArg("erTaskNotKept", platform::paths::userDataFolder());
    EXPECT_EQ(texts(), std::vector<std::string>{notKept});
    messages.answers = {MessageAnswer::Yes};
    frame->action(kCmdFileExit)->trigger();
    EXPECT_EQ(texts(), (std::vector<std::string>{shared::GetLangString("msgUnsentSteps"), notKept}));
    EXPECT_TRUE(frame->isVisible());
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);

    // Leaving: Cancel stays.
    messages.answers = {MessageAnswer::Cancel};
    frame->action(kCmdFileExit)->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("msgUnsentSteps")});
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(steps(), solved);

    // The copy read back: it opens (after "msgCloseTask") with the same steps.
    messages.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(sendFromAnotherProcess(3, testsupport::readFile(kept[0])));
    ASSERT_TRUE(waitFor([&] { return open.isNull() && frame->solution() && frame->solution()->Count() == 2; }));
    EXPECT_EQ(steps(), solved);
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("msgCloseTask")});

    // One more step, then Yes: the copy kept, its message, and the window goes.
    rightClick("+", 0);
    frame->OnApplyingTransformationEx(102, 1, "Звести подібні доданки", platform::com::VARIANT_FALSE,
                                      platform::com::VARIANT_FALSE, platform::com::VARIANT_FALSE, 0, "");
    ASSERT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7", "2*x=4"}));
    texts();
    messages.answers = {MessageAnswer::Yes};
    frame->action(kCmdFileExit)->trigger();
    const std::vector<std::string> both = testsupport::filesIn(folder);
    ASSERT_EQ(both.size(), 2u);
    const std::string second = both[0] == kept[0] ? both[1] : both[0];
    EXPECT_EQ(texts(), (std::vector<std::string>{shared::GetLangString("msgUnsentSteps"),
                                                 langArg("erTaskNotSent", second)}));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(frame->solution(), nullptr);

    // A new window: delivered steps leave without a question; unsent ones with No leave unsaved.
    for (const bool delivered : {true, false}) {
        SCOPED_TRACE(delivered ? "delivered" : "not sent, No");
        frame.reset();
        frame = makeFrame();
        ASSERT_EQ(frame->OnCreate(), 0);
        frame->show();
        frame->SetTaskCondition(linear);
        frame->OnBeginSolution();
        ASSERT_EQ(steps().size(), 1u);
        if (delivered) {
            QWidget receiverWindow;
            std::vector<std::string> received;
            platform::ipc::Listener tutelary(&receiverWindow, "Tutelary_tessaly_WindowClassName",
                                             [&](std::uint32_t, std::string text) { received.push_back(text); });
            frame->action(kCmdFileSave)->trigger();
            EXPECT_EQ(received.size(), 1u);
        }
        texts();
        messages.answers = {MessageAnswer::No};
        frame->action(kCmdFileExit)->trigger();
        EXPECT_EQ(texts(), delivered ? std::vector<std::string>{}
                                     : std::vector<std::string>{shared::GetLangString("msgUnsentSteps")});
        EXPECT_FALSE(frame->isVisible());
        EXPECT_EQ(testsupport::filesIn(folder).size(), 2u);
    }
}

// A text that does not read is refused before the open task is given up: the
// pupil reads why, and the condition and the solution stay as they were. A
// task that reads still asks "msgCloseTask".
TEST_F(TaskBookWorkflow, ATaskThatDoesNotReadLeavesTheSolutionAsItWas)
{
    openLinearAndMoveATerm();
    const QPointer<QWidget> open = frame->solution()->StepAt(1)->control();
    const std::string start = frame->conditionWnd()->viewer().GetStartFormula();
    ASSERT_FALSE(start.empty());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = linear;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    std::string binary;
    for (int c = 1; c < 256; ++c)
        binary.push_back(static_cast<char>(c * 7 % 255 + 1));
    struct Row {
        const char* name;
        std::string text;
        std::size_t shown;  // messages, the formula control's own first
    };
    const Row rows[] = {
        {"a formula that is not XML", replaced("<mo>+</mo>", "<mo>+</mi>"), 1},
        {"a character that is not escaped", replaced("<mo>+</mo>", "<mo><</mo>"), 1},
        {"a link to a missing formula",
         "<TASK id=\"2\" type=\"linear\" title=\"x\"><CONDITION><TEXT>a <FORMULALINK id=\"9\"/></TEXT></CONDITION>"
         "</TASK>",
         1},
        {"a formula the formula control cannot read",
         replaced("<mn>2</mn><mo>·</mo>", "<mfrac><mn>2</mn></mfrac><mo>·</mo>"), 2},
        {"a solution that does not read", replaced("</CONDITION>", "</CONDITION><SOLUTION><STEP></SOLUTION>"), 1},
        {"cut off", linear.substr(0, linear.size() / 2), 1},
        {"empty", "", 1},
        {"binary", binary, 1},
    };
    std::uint32_t code = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        texts();
        code = code == 1 ? 3 : 1;
        ASSERT_TRUE(sendFromAnotherProcess(code, row.text));
        ASSERT_TRUE(waitFor([&] { return messages.messages.size() >= row.shown && frame->pendingTasks() == 0; }));
        QApplication::processEvents();
        const std::vector<std::string> shown = texts();
        ASSERT_EQ(shown.size(), row.shown) << shown.front();
        EXPECT_EQ(shown.back(), shared::GetLangString("erSetCondition"));
        EXPECT_FALSE(open.isNull());
        EXPECT_EQ(steps(), solved);
        EXPECT_EQ(frame->conditionWnd()->viewer().GetStartFormula(), start);
        EXPECT_TRUE(frame->action(kCmdFileSave)->isEnabled());
    }
    // A task that reads: the question, as before; No keeps the solution.
    messages.answers = {MessageAnswer::No};
    ASSERT_TRUE(sendFromAnotherProcess(1, moduleTask("linear.xml", "2")));
    ASSERT_TRUE(waitFor([&] { return !messages.messages.empty(); }));
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("msgCloseTask")});
    EXPECT_EQ(steps(), solved);
}

// After an inequality with its interval on the axis, the guide's recommended
// chapter filled, the editor panel and the print view open, a quadratic task
// starts clean: no axis, no recommendation, no light, no answer, neither
// panel nor print view. Screenshot: stepwell_workflow_next_task_clean.png.
TEST_F(Workflow, ANewTaskStartsWithCleanViews)
{
    using platform::com::VARIANT_FALSE;
    namespace tickrule = constructions::tickrule;
    ASSERT_TRUE(sendFromAnotherProcess(1, moduleTask("inequalities.xml", "1")));
    ASSERT_TRUE(waitFor([&] { return frame->solution() != nullptr; }));
    frame->action(kCmdSolveBegin)->trigger();
    rightClick("<", 0);
    frame->OnApplyingTransformationEx(1035, 2, "Ось", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    ASSERT_NE(frame->numberAxisBar(), nullptr);
    ASSERT_TRUE(frame->numberAxisBar()->isVisible());
    platform::com::DispatchDriver axis{platform::com::ComPtr<platform::com::IDispatch>(frame->numberAxis())};
    platform::com::DispatchDriver tasks(
        axis.getProperty<platform::com::ComPtr<platform::com::IDispatch>>(tickrule::kDispTickruleTaskList));
    auto intervals = [&] {
        platform::com::DispatchDriver task(
            tasks.getProperty<platform::com::ComPtr<platform::com::IDispatch>>(tickrule::kDispTasksActiveTask));
        return task.getProperty<std::int32_t>(tickrule::kDispTaskIntervalCount);
    };
    ASSERT_EQ(intervals(), 1);
    frame->OnApplyingTransformationEx(1371, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    ASSERT_GT(frame->answerWnd()->strip().content(), 0);
    rightClick("<", 0);
    frame->action(kCmdViewEditor)->trigger();
    ASSERT_TRUE(frame->action(kCmdViewEditor)->isChecked());
    frame->action(kCmdFilePrintVersion)->trigger();
    ASSERT_TRUE(frame->printView()->isVisible());
    ASSERT_NE(checkState(), -1);
    ASSERT_NE(frame->selection(), "");
    guideLog(*frame->guide());
    texts();

    messages.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(sendFromAnotherProcess(1, moduleTask("quadratic.xml", "1")));
    ASSERT_TRUE(waitFor([&] { return frame->solution() && frame->solution()->Count() == 0; }));
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("msgCloseTask")});
    EXPECT_FALSE(frame->numberAxisBar()->isVisible());
    EXPECT_FALSE(frame->action(kCmdViewNumAxis)->isChecked());
    EXPECT_EQ(intervals(), 0);
    // The recommended chapter released before the new content is set.
    const std::string guide = guideLog(*frame->guide());
    EXPECT_NE(guide.find("M 11"), std::string::npos) << guide;
    EXPECT_LT(guide.find("M 11"), guide.find("M 8 "));
    EXPECT_EQ(checkState(), -1);
    EXPECT_EQ(frame->answerWnd()->strip().content(), 0);
    EXPECT_FALSE(frame->action(kCmdViewEditor)->isChecked());
    EXPECT_FALSE(frame->printView()->isVisible());
    EXPECT_EQ(frame->selection(), "");
    shot("next_task_clean");
}

// With no kernel every request that needs it says so, once for one action:
// a double click, a drop, a guide item, an answer check and the own step's
// check; nothing else is said and no step is made.
TEST_F(Workflow, WithoutAKernelEachActionSaysSoOnce)
{
    using platform::com::VARIANT_FALSE;
    // The staged tree without the kernel's folder.
    testsupport::TempDir root;
    fs::create_directories(root.path() + "kernel");
    for (const char* part : {"kernel/bin", "kernel/data", "kernel/temp", "modules"})
        fs::create_directory_symlink(kStage + part, root.path() + part);
    frame.reset();
    ASSERT_EQ(registry::writeString(registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath", root.path()), 0);
    frame = makeFrame();
    ASSERT_EQ(frame->OnCreate(), 0);
    frame->show();
    const std::string missing = shared::GetLangString("erKernelStart");
    EXPECT_EQ(texts(), std::vector<std::string>{missing});  // at start

    frame->SetTaskCondition(moduleTask("linear.xml", "1"));
    frame->OnBeginSolution();
    ASSERT_EQ(steps(), std::vector<std::string>{"2*x+3=7"});
    // Gestures the kernel answers when it runs.
    const std::string start = "2*x+3+4=7";
    frame->StartSolution(start, shared::GetLangString("msgSolveStart"), 2);
    texts();
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"double click", [&] { doubleClick("+", 1); }},
        {"drop onto a term", [&] { drag("3", 0, "4", 0); }},
        {"guide item",
         [&] {
             rightClick("+", 0);
             frame->OnApplyingTransformationEx(102, 1, "Звести", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
         }},
        {"answer check",
         [&] {
             frame->OnApplyingTransformationEx(1372, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0,
                                               "");
         }},
        {"own step",
         [&] {
             rightClick("=", 0);
             frame->action(kCmdSolveStepExecute)->trigger();
             QTest::keyClicks(activeWindow(), "x=2");
             frame->action(kCmdSolveStepCheck)->trigger();
         }},
    };
    for (const auto& [name, act] : actions) {
        SCOPED_TRACE(name);
        act();
        QApplication::processEvents();
        EXPECT_EQ(texts(), std::vector<std::string>{missing});
        EXPECT_EQ(frame->solution()->StepAt(1)->control()->GetLexemText(), start);
        EXPECT_NE(frame->solution()->GetLastStep()->state, 2);
    }
}

// A whole-formula result leaves the earlier step its own formula; drops of
// the other kinds reach the kernel through the listener; the additional
// dialog completes a request with the pupil's expression.
TEST_F(Workflow, WholeFormulaDropsAndTheAdditionalDialog)
{
    using platform::com::VARIANT_FALSE;
    using platform::com::VARIANT_TRUE;
    begin(mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>=</mo><mo>-</mo><mn>3</mn><mo>+</mo><mn>7</mn>"));
    const std::string start = "2*x=-3+7";
    rightClick("=", 0);
    frame->OnApplyingTransformationEx(106, 1, "Ліворуч", VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE, 0, "");
    const std::vector<std::string> log = kernelLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].substr(0, log[0].find(" -> ")), "106 (2*!x=!(-3)+!7),(2*!x=!(-3)+!7)");
    ASSERT_EQ(frame->solution()->Count(), 2);
    EXPECT_EQ(frame->solution()->StepAt(1)->control()->GetLexemText(), start);
    EXPECT_NE(steps()[1], start);

    // Drops of kinds 2 and 5 as the control reports them.
    frame->StartSolution("7-3=x", "s", 2);
    kernelLog();
    frame->solveWnd()->OnOperationDragDrop(2, "7", "3");
    frame->solveWnd()->OnOperationDragDrop(5, "6", "3");
    frame->solveWnd()->OnOperationDragDrop(7, "6", "3");
    frame->solveWnd()->OnOperationDragDrop(1, "", "3");
    EXPECT_EQ(kernelLog(), (std::vector<std::string>{"11 7-!3 -> 4", "13 6/!3 -> 2"}));

    // The dialog: the picked part with its relation, the pupil's expression, Apply.
    frame->StartSolution("2*x=4", "s", 2);
    rightClick("=", 0);
    kernelLog();
    texts();
    std::vector<std::string> seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CAdditionalDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen.push_back(std::to_string(dialog->width()) + "x" + std::to_string(dialog->height()));
        seen.push_back(std::to_string(dialog->minimumWidth()) + "x" + std::to_string(dialog->minimumHeight()));
        seen.push_back(dialog->viewer().GetLexemText());
        seen.push_back(dialog->label()->text().toStdString());
        // The rectangles of a resize.
        dialog->resize(600, 400);
        const int l = dialog->label()->height();
        const int viewerWidth = dialog->viewer().width();
        EXPECT_EQ(dialog->label()->geometry(), QRect(0, 10, 600, l));
        EXPECT_EQ(dialog->viewer().geometry(), QRect(10, l + 20, viewerWidth, 400 - l - 65));
        EXPECT_EQ(dialog->editor().geometry(), QRect(viewerWidth + 10, l + 20, 600 - viewerWidth - 20, 400 - l - 65));
        EXPECT_EQ(dialog->applyButton()->geometry(), QRect(510, 365, 80, 25));
        EXPECT_EQ(dialog->cancelButton()->geometry(), QRect(10, 365, 80, 25));
        EXPECT_EQ(dialog->mathPanelButton()->geometry(), QRect(230, 365, 140, 25));
        // An invalid expression first, then one the kernel refuses, then 3.
        QTest::keyClicks(dialog->editor().GetControlWindow(), "+");
        dialog->applyButton()->click();
        seen.push_back(dialog->isVisible() ? "open" : "closed");
        QTest::keyClick(dialog->editor().GetControlWindow(), Qt::Key_Backspace);
        QTest::keyClicks(dialog->editor().GetControlWindow(), "0");
        dialog->applyButton()->click();
        seen.push_back(dialog->isVisible() && dialog->refusedShown() ? "refused" : "not refused");
        seen.push_back(std::to_string(checkState()));
        dialog->grab().save(QStringLiteral(STEPWELL_PNG_DIR "/stepwell_workflow_additional_dialog.png"));
        QTest::keyClick(dialog->editor().GetControlWindow(), Qt::Key_Backspace);
        QTest::keyClicks(dialog->editor().GetControlWindow(), "3");
        dialog->applyButton()->click();
    });
    frame->OnApplyingTransformationEx(512, 1, "Множимо", VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(seen, (std::vector<std::string>{"750x320", "550x320", "2*x=4 *", shared::GetLangString("txtAddDlg"), "open", "refused", "0"}));
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("erFormulaInvalid")});
    EXPECT_EQ(kernelLog(), (std::vector<std::string>{"512 (2*!x=!4),(0) -> \"NORES\"", "512 (2*!x=!4),(3) -> 6*x=12"}));
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "6*x=12"}));
    EXPECT_EQ(checkState(), 2);

    // The math-panel button shows the editor's palette, whose tools go into
    // the editor, and hides it again; then Cancel: nothing applied, the light yellow.
    rightClick("=", 0);
    std::vector<std::string> palette;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CAdditionalDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto shown = [dialog] {
            auto* window = dialog->findChild<QWidget*>(QStringLiteral("templatesPalette"));
            return window && window->isVisible() ? window : nullptr;
        };
        palette.push_back(shown() ? "shown" : "none");
        QTest::mouseClick(dialog->mathPanelButton(), Qt::LeftButton);
        QWidget* window = shown();
        palette.push_back(window ? "shown" : "none");
        if (auto* tool = window ? window->findChild<QAbstractButton*>() : nullptr)
            QTest::mouseClick(tool, Qt::LeftButton);
        palette.push_back(dialog->editor().GetLexemText().empty() ? "editor empty" : "tool in the editor");
        QTest::mouseClick(dialog->mathPanelButton(), Qt::LeftButton);
        palette.push_back(shown() ? "shown" : "none");
        dialog->cancelButton()->click();
    });
    frame->OnApplyingTransformationEx(512, 1, "Множимо", VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(palette, (std::vector<std::string>{"none", "shown", "tool in the editor", "none"}));
    EXPECT_EQ(kernelLog(), std::vector<std::string>{});
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "6*x=12"}));
    EXPECT_EQ(checkState(), 1);
}

// The walk-through on the installed tree with its real components: tasks
// from another process, the pupil's gestures, the guide's requests, the own
// step, the answers, saving to a receiver process and back, then an
// inequality on the number axis. Screenshots of each stage.
class InstalledWorkflow : public Workflow {
protected:
    bool installed() const override { return true; }

    // The item page titled `title` in the guide's shown chapter, its group
    // opened by a click on the group's title when it is closed.
    QWidget* guideItemPage(const QString& title)
    {
        QWidget* guide = frame->guide() ? frame->guide()->GetControlWindow() : nullptr;
        if (!guide)
            return nullptr;
        for (QWidget* chapter : guide->findChildren<QWidget*>(QStringLiteral("chapter"))) {
            if (!chapter->isVisible())
                continue;
            for (QLabel* label : chapter->findChildren<QLabel*>(QStringLiteral("1001"))) {
                if (label->text() != title)
                    continue;
                QWidget* page = label->parentWidget();
                QWidget* group = page->parentWidget();
                if (!page->isVisible())
                    for (QPushButton* button : chapter->findChildren<QPushButton*>(QStringLiteral("rollupTitle")))
                        if (button->text() == group->windowTitle())
                            QTest::mouseClick(button, Qt::LeftButton);
                QApplication::processEvents();
                return page;
            }
        }
        return nullptr;
    }
};

TEST_F(InstalledWorkflow, WalkThrough)
{
    using platform::com::VARIANT_FALSE;
    testsupport::TempDir outbox;
    int sent = 0;
    auto sendFromAnotherProcess = [&](std::uint32_t code, const std::string& text) {
        std::ofstream(outbox.path() + "task" + std::to_string(++sent) + ".xml", std::ios::binary) << text;
        QProcess sender;
        sender.start(TASK_SENDER, {kWindowClassName, QString::number(code),
                                   QString::fromStdString(outbox.path() + "task" + std::to_string(sent) + ".xml")});
        if (!sender.waitForStarted(5000))
            return false;
        while (sender.state() != QProcess::NotRunning) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return sender.exitStatus() == QProcess::NormalExit && sender.exitCode() == 0;
    };
    auto waitFor = [](const std::function<bool()>& done) {
        for (int i = 0; i < 600 && !done(); ++i) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return done();
    };
    auto answer = [&](int code) {
        frame->OnApplyingTransformationEx(code, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    };

    ASSERT_TRUE(sendFromAnotherProcess(1, task(kLinear)));
    ASSERT_TRUE(waitFor([&] { return frame->solution() != nullptr; }));
    frame->action(kCmdSolveBegin)->trigger();
    ASSERT_EQ(steps(), std::vector<std::string>{"2*x+3=7"});
    EXPECT_EQ(active()->executor, 2);
    shot("walk_1_begin");

    drag("3", 0, "=", 0);
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7"}));
    EXPECT_EQ(checkState(), 2);
    // The "+" picked: the guide's recommended chapter offers its items; the pupil presses the apply
    // button of "Звести подібні доданки" (function 102) and the guide's own event carries it.
    rightClick("+", 0);
    kernelLog();
    QWidget* collect = guideItemPage(QStringLiteral("Звести подібні доданки"));
    ASSERT_NE(collect, nullptr);
    ASSERT_TRUE(collect->isVisible());
    auto* apply = collect->findChild<QPushButton*>(QStringLiteral("1004"));
    ASSERT_NE(apply, nullptr);
    ASSERT_TRUE(apply->isVisible());
    QTest::mouseClick(apply, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"102 ((-3)+!7) -> 4"});
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7", "2*x=4"}));
    EXPECT_EQ(checkState(), 2);
    shot("walk_2_collected");
    answer(1372);
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7", "2*x=4", "answer:2*x=4"}));
    EXPECT_EQ(checkState(), 1);
    shot("walk_3_answer_yellow");

    rightClick("=", 0);
    messages.answers = {MessageAnswer::Yes};
    frame->action(kCmdSolveStepExecute)->trigger();
    QTest::keyClicks(activeWindow(), "x=3");
    // The editor grows with what is typed.
    std::int32_t typedWidth = 0;
    std::int32_t typedHeight = 0;
    active()->control()->GetOptimalSize(&typedWidth, &typedHeight);
    EXPECT_GE(active()->control()->width(), typedWidth);
    frame->action(kCmdSolveStepCheck)->trigger();
    EXPECT_EQ(checkState(), 0);
    EXPECT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7", "2*x=4", "x=3"}));
    shot("walk_4_own_step_red");

    messages.answers = {MessageAnswer::Yes};
    const QRect before = frame->solution()->StepAt(3)->rect;
    QTest::mouseClick(frame->solveWnd(), Qt::LeftButton, {}, QPoint(frame->solveWnd()->width() - 40, before.top() + 5));
    ASSERT_EQ(frame->solution()->Count(), 3);
    rightClick("=", 0);
    frame->action(kCmdSolveStepExecute)->trigger();
    QTest::keyClicks(activeWindow(), "x=2");
    frame->action(kCmdSolveStepCheck)->trigger();
    EXPECT_EQ(checkState(), 2);
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7", "2*x=4", "x=2"}));
    answer(1372);
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7", "2*x=4", "x=2", "answer:x=2"}));
    EXPECT_EQ(checkState(), 2);
    shot("walk_5_answer_green");

    // Saved to a receiver process, sent back, saved again: the same bytes.
    testsupport::TempDir receiverDir;
    const std::string receiverLog = receiverDir.path() + "receiver.log";
    QProcess receiver;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TESSALY_RECEIVER_LOG", QString::fromStdString(receiverLog));
    environment.insert("TESSALY_RECEIVER_NAME", "Tutelary_tessaly_WindowClassName");
    receiver.setProcessEnvironment(environment);
    receiver.start(IPC_RECEIVER, {});
    ASSERT_TRUE(receiver.waitForStarted(5000));
    auto received = [&] {
        std::ifstream in(receiverLog);
        std::vector<std::string> texts;
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("text 6 ", 0) == 0) {
                std::string bytes;
                for (std::size_t i = 7; i + 1 < line.size(); i += 2)
                    bytes.push_back(static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16)));
                texts.push_back(bytes);
            }
        return texts;
    };
    ASSERT_TRUE(waitFor([&] {
        std::ifstream in(receiverLog);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()).find("listening") !=
               std::string::npos;
    }));
    std::string document;
    ASSERT_TRUE(frame->solution()->GetTaskDocument(document));
    frame->action(kCmdFileSave)->trigger();
    ASSERT_TRUE(waitFor([&] { return received().size() == 1; }));
    EXPECT_EQ(received()[0], document);
    // The old solution's formula goes with it (the new one may take its address).
    const QPointer<QWidget> gone = frame->solution()->StepAt(1)->control();
    ASSERT_FALSE(gone.isNull());
    ASSERT_TRUE(sendFromAnotherProcess(3, received()[0]));
    ASSERT_TRUE(waitFor([&] { return gone.isNull() && frame->solution() && frame->solution()->Count() == 5; }));
    frame->action(kCmdFileSave)->trigger();
    ASSERT_TRUE(waitFor([&] { return received().size() == 2; }));
    EXPECT_EQ(received()[1], received()[0]);
    receiver.kill();
    receiver.waitForFinished(5000);
    shot("walk_6_reloaded");

    // An inequality: its interval on the number axis.
    ASSERT_TRUE(sendFromAnotherProcess(
        1, task(mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>&gt;</mo><mn>7</mn>"), "inequality")));
    ASSERT_TRUE(waitFor([&] { return frame->solution()->Count() == 0; }));
    frame->action(kCmdSolveBegin)->trigger();
    rightClick(">", 0);
    kernelLog();
    frame->OnApplyingTransformationEx(1035, 2, "Ось", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"1035 (2*!x+!3>!7) -> left ={0} right ={0} xr ={2} yr ={PlusInfSet}"});
    ASSERT_NE(frame->numberAxisBar(), nullptr);
    EXPECT_TRUE(frame->numberAxisBar()->isVisible());
    shot("walk_7_number_axis");
}

}  // namespace
}  // namespace stepwell

namespace stepwell {
namespace {

// Runs the script on the begin dialog that opens next.
void answerBeginDialog(std::function<void(CTaskBeginFormulaDlg&)> script)
{
    QTimer::singleShot(0, [script] {
        auto* dialog = dynamic_cast<CTaskBeginFormulaDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        script(*dialog);
    });
}

void clickId(QDialog& dialog, int id)
{
    auto* button = dialog.findChild<QPushButton*>(QString::number(id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

// A text task of the module (type "textequation", checked "fromType" as
// "hidans"): the begin dialog gives its start formula, the program's by
// auto-complete, the pupil's when the kernel accepts it.
TEST_F(Workflow, TextTaskBeginsThroughTheBeginDialog)
{
    std::ifstream in(kStage + "modules/tessaly/lang/ua/taskbook/doc/textproblems.xml");
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t start = file.find("<TASK id=\"1\"");
    const std::size_t end = file.find("</TASK>", start);
    ASSERT_NE(end, std::string::npos);
    frame->SetTaskCondition(file.substr(start, end + 7 - start));
    const std::string hidden = frame->conditionWnd()->viewer().GetTaskJobFormulaByType("HIDDENFORMULA");
    ASSERT_FALSE(hidden.empty());

    // The job has an animation: 1015 20 to the right of the math-panel
    // button, the two in the middle of the row. Pressed twice it makes one
    // window, kept by the dialog; pressed while that is minimised it restores it.
    std::vector<std::string> anim;
    QPointer<solvehost::CTaskAnimFrame> animWindow;
    answerBeginDialog([&](CTaskBeginFormulaDlg& dialog) {
        QWidget* show = dialog.control(CTaskBeginFormulaDlg::kShowAnim);
        EXPECT_TRUE(show->isVisible());
        const QRect math = dialog.control(CTaskBeginFormulaDlg::kMathPanel)->geometry();
        EXPECT_EQ(show->geometry().top(), math.top());
        EXPECT_EQ(show->geometry().left(), math.right() + 1 + 20);
        EXPECT_LE(std::abs(math.left() + show->geometry().right() + 1 - dialog.width()), 1);
        auto animWindows = [] {
            int count = 0;
            for (QWidget* window : QApplication::topLevelWidgets())
                count += dynamic_cast<solvehost::CTaskAnimFrame*>(window) != nullptr;
            return count;
        };
        anim.push_back(std::to_string(animWindows()));
        clickId(dialog, CTaskBeginFormulaDlg::kShowAnim);
        animWindow = dialog.animFrame();
        clickId(dialog, CTaskBeginFormulaDlg::kShowAnim);
        anim.push_back(std::to_string(animWindows()));
        if (!animWindow || dialog.animFrame() != animWindow)
            return;
        anim.push_back(animWindow->windowTitle().toStdString());
        anim.push_back(std::to_string(animWindow->width()) + "x" + std::to_string(animWindow->height()));
        const QRect work = QApplication::primaryScreen()->availableGeometry();
        // (centred as a whole, with the window's frame; a pixel of rounding)
        anim.push_back((animWindow->frameGeometry().center() - work.center()).manhattanLength() <= 2 ? "centred"
                                                                                                   : "not centred");
        anim.push_back(animWindow->GetStyleSheet() + " " + animWindow->GetAnimFile());
        anim.push_back(animWindow->isVisible() ? "visible" : "hidden");
        animWindow->showMinimized();
        QApplication::processEvents();
        clickId(dialog, CTaskBeginFormulaDlg::kShowAnim);
        anim.push_back(animWindow->isMinimized() ? "minimised" : "restored");
        clickId(dialog, CTaskBeginFormulaDlg::kAutoComplete);
    });
    frame->OnBeginSolution();
    EXPECT_EQ(anim, (std::vector<std::string>{"0", "1", shared::GetLangString("taskBFShowAnim"), "850x650", "centred",
                                              "taskanim.xslt textequation", "visible", "restored"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(animWindow.isNull());  // it went with its dialog
    ASSERT_EQ(frame->solution()->Count(), 1);
    CSolutionStep* first = frame->solution()->StepAt(1);
    EXPECT_EQ(first->executor, 2);
    EXPECT_EQ(first->GetDescription(),
              shared::GetLangString("beginTaskEquation") + shared::GetLangString("beginTaskProg"));
    EXPECT_EQ(kernelLog().size(), 0u);

    // A wrong equation: check state 0 and the dialog stays; its Cancel keeps the old solution.
    bool stayed = false;
    answerBeginDialog([this, &stayed](CTaskBeginFormulaDlg& dialog) {
        dialog.formulaControl()->SetMathMLText(mathml("<mi>x</mi><mo>=</mo><mn>12345</mn>"));
        clickId(dialog, CTaskBeginFormulaDlg::kApply);
        stayed = dialog.isVisible() && frame->solveWnd()->GetCheckState() == 0;
        dialog.reject();  // the window's close box
    });
    frame->OnBeginSolution();
    EXPECT_TRUE(stayed);
    ASSERT_EQ(frame->solution()->Count(), 1);
    EXPECT_EQ(frame->solution()->StepAt(1), first);
    const std::vector<std::string> wrong = kernelLog();
    ASSERT_EQ(wrong.size(), 1u);
    EXPECT_EQ(wrong[0].rfind("2101 (", 0), 0u) << wrong[0];

    // The hidden equation itself: the kernel accepts it; the pupil's formula begins.
    answerBeginDialog([hidden](CTaskBeginFormulaDlg& dialog) {
        dialog.formulaControl()->SetMathMLText(hidden);
        clickId(dialog, CTaskBeginFormulaDlg::kApply);
    });
    frame->OnBeginSolution();
    ASSERT_EQ(frame->solution()->Count(), 1);
    EXPECT_EQ(frame->solution()->StepAt(1)->executor, 1);
    EXPECT_EQ(frame->solution()->StepAt(1)->GetDescription(),
              shared::GetLangString("beginTaskEquation") + shared::GetLangString("beginTaskUser"));
}


// A new task from the menu: the item's text with a typed word and an Alt+M
// formula, a start formula; OK opens it as the task of the item's type,
// which then begins with that formula. Cancel keeps the old task.
TEST_F(Workflow, NewTaskFromTheMenuOpensAndBegins)
{
    int command = 0;
    for (const auto& [id, item] : frame->config().itemsByCommand)
        if (item.taskType == "linear")
            command = id;
    ASSERT_NE(command, 0);
    begin(kLinear);
    CTaskSolution* old = frame->solution();

    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<CNewTaskDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        clickId(*dialog, 2);
    });
    frame->OnNewTask(command);
    EXPECT_EQ(frame->solution(), old);
    EXPECT_EQ(frame->solution()->Count(), 1);

    std::string condition;
    QTimer::singleShot(0, [&condition] {
        auto* dialog = dynamic_cast<CNewTaskDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QWidget* editor = dialog->findChild<QWidget*>(QStringLiteral("Condition"));
        ASSERT_NE(editor, nullptr);
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, " x");
        QTest::keyClick(editor, Qt::Key_M, Qt::AltModifier);
        dialog->startControl()->SetMathMLText(kLinear);
        clickId(*dialog, CNewTaskDialog::kOk);
        condition = dialog->conditionText();
    });
    frame->OnNewTask(command);
    EXPECT_EQ(condition.rfind("Розв'яжіть рівняння. x<math", 0), 0u) << condition;
    // An open task: the question, answered Yes; the new task has no steps yet.
    ASSERT_FALSE(messages.messages.empty());
    EXPECT_EQ(messages.messages.back().text, shared::GetLangString("msgCloseTask"));
    ASSERT_NE(frame->solution(), nullptr);
    EXPECT_EQ(frame->solution()->Count(), 0);
    EXPECT_NE(frame->solution()->GetTaskText().find("type=\"linear\""), std::string::npos);
    frame->OnBeginSolution();
    ASSERT_EQ(frame->solution()->Count(), 1);
    EXPECT_NE(frame->solution()->StepAt(1)->control()->GetMathMLText().find("<mn>7</mn>"), std::string::npos);
}

// A task arriving from another program while a task dialog is open: the
// question, then the dialog ends as if cancelled, and what its opener held
// from before it (the old solution, its step, the guide's request, the typed
// formula) is not used on the task that came. The arriving task carries a
// saved step, so a stale step or description would show on it.
TEST_F(Workflow, AnArrivingTaskCancelsEachOpenDialog)
{
    using platform::com::VARIANT_FALSE;
    using platform::com::VARIANT_TRUE;
    int arrivals = 0;
    std::string arrived;  // the task part of the last text sent
    auto nextTask = [&] {
        arrived = task(mathml("<mi>x</mi><mo>=</mo><mn>" + std::to_string(++arrivals) + "</mn>"));
        return arrived.substr(0, arrived.size() - 7) +
               "<SOLUTION><STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\"><DESCRIPTION>Збережений"
               "</DESCRIPTION><EXPR>" + kLinear + "</EXPR></STEP></SOLUTION></TASK>";
    };
    // Under the dialog the script finds, after its own typing: the task sent,
    // and the dialog gone by itself (one left open is closed here, and
    // reported).
    std::vector<std::string> seen;
    auto arriveUnder = [&](std::function<bool(QDialog*)> isTheDialog, std::function<void(QDialog&)> type) {
        QTimer::singleShot(0, [&, isTheDialog, type] {
            QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !isTheDialog(dialog)) {
                seen.push_back("no dialog");
                if (dialog)
                    dialog->reject();
                return;
            }
            type(*dialog);
            messages.answers = {MessageAnswer::Yes};
            messages.messages.clear();
            const bool sent = sendFromAnotherProcess(1, nextTask());
            const bool opened = sent && waitFor([&] {
                return frame->solution() && frame->solution()->GetTaskText() == arrived;
            });
            seen.push_back(opened ? "opened" : "not opened");
            if (dialog && dialog->isVisible()) {
                seen.push_back("dialog still open");
                dialog->reject();
            } else {
                seen.push_back(dialog ? "cancelled " + std::to_string(dialog->result()) : "cancelled");
            }
        });
    };
    // After each: the question asked once, the task that came with its own
    // step untouched, no request, no light.
    auto expectTheArrivedTaskUntouched = [&] {
        EXPECT_EQ(seen, (std::vector<std::string>{"opened", "cancelled 2"}));
        seen.clear();
        EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("msgCloseTask")});
        ASSERT_NE(frame->solution(), nullptr);
        EXPECT_EQ(frame->solution()->GetTaskText(), arrived);
        ASSERT_EQ(steps(), std::vector<std::string>{"2*x+3=7"});
        EXPECT_EQ(frame->solution()->StepAt(1)->GetDescription(), "Збережений");
        EXPECT_EQ(kernelLog(), std::vector<std::string>{});
        EXPECT_EQ(checkState(), -1);
    };

    // The description dialog from the steps view's popup, a word typed.
    begin(kLinear);
    {
        SCOPED_TRACE("description");
        CSolutionStep* step = active();
        QTest::mouseClick(frame->solveWnd(), Qt::RightButton, {},
                          QPoint(frame->solveWnd()->width() / 2, step->rect.top() + 2));
        ASSERT_TRUE(frame->solveWnd()->stepMenu()->isVisible());
        QAction* edit = frame->solveWnd()->stepMenu()->actions().first();
        frame->solveWnd()->stepMenu()->hide();
        arriveUnder([](QDialog* d) { return dynamic_cast<CEditDescriptionDialog*>(d) != nullptr; },
                    [](QDialog& d) { QTest::keyClicks(static_cast<CEditDescriptionDialog&>(d).editor(), "new"); });
        edit->trigger();
        expectTheArrivedTaskUntouched();
    }

    // The new-task dialog from the menu, with a start formula.
    {
        SCOPED_TRACE("new task");
        int command = 0;
        for (const auto& [id, item] : frame->config().itemsByCommand)
            if (item.taskType == "linear")
                command = id;
        ASSERT_NE(command, 0);
        arriveUnder([](QDialog* d) { return dynamic_cast<CNewTaskDialog*>(d) != nullptr; },
                    [](QDialog& d) {
                        auto& dialog = static_cast<CNewTaskDialog&>(d);
                        QTest::keyClicks(dialog.editor(), "new");
                        dialog.startControl()->SetMathMLText(mathml("<mi>y</mi><mo>=</mo><mn>5</mn>"));
                    });
        frame->OnNewTask(command);
        expectTheArrivedTaskUntouched();
    }

    // The begin dialog of a text task, with the pupil's equation typed.
    {
        SCOPED_TRACE("begin");
        std::ifstream in(kStage + "modules/tessaly/lang/ua/taskbook/doc/textproblems.xml");
        const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t start = file.find("<TASK id=\"1\"");
        const std::size_t end = file.find("</TASK>", start);
        ASSERT_NE(end, std::string::npos);
        frame->SetTaskCondition(file.substr(start, end + 7 - start));
        const std::string hidden = frame->conditionWnd()->viewer().GetTaskJobFormulaByType("HIDDENFORMULA");
        arriveUnder([](QDialog* d) { return dynamic_cast<CTaskBeginFormulaDlg*>(d) != nullptr; },
                    [hidden](QDialog& d) { static_cast<CTaskBeginFormulaDlg&>(d).formulaControl()->SetMathMLText(hidden); });
        frame->OnBeginSolution();
        expectTheArrivedTaskUntouched();
    }

    // The additional dialog of a guide request, with the pupil's expression.
    {
        SCOPED_TRACE("additional");
        frame->StartSolution("2*x=4", "s", 2);
        rightClick("=", 0);
        kernelLog();
        texts();
        guideLog(*frame->guide());
        arriveUnder([](QDialog* d) { return dynamic_cast<CAdditionalDialog*>(d) != nullptr; },
                    [](QDialog& d) {
                        QTest::keyClicks(static_cast<CAdditionalDialog&>(d).editor().GetControlWindow(), "3");
                    });
        frame->OnApplyingTransformationEx(512, 1, "Множимо", VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
        expectTheArrivedTaskUntouched();
        const std::string guide = guideLog(*frame->guide());
        EXPECT_TRUE(guide.ends_with("P 17 UI1 0\n")) << guide;  // the guide unlocked
    }
}

}  // namespace
}  // namespace stepwell

namespace stepwell {
namespace {

// The module's task `id` of a task book page, as the teacher's program sends it.
std::string bookTask(const std::string& page, const std::string& id)
{
    std::ifstream in(kStage + "modules/tessaly/lang/ua/taskbook/doc/" + page);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t start = file.find("<TASK id=\"" + id + "\"");
    const std::size_t end = file.find("</TASK>", start);
    return start == std::string::npos || end == std::string::npos ? std::string() : file.substr(start, end + 7 - start);
}

// The picture of a window that a pupil sees, under its name.
void shotOf(QWidget& widget, const char* name)
{
    QApplication::processEvents();
    widget.grab().save(QStringLiteral(STEPWELL_PNG_DIR "/stepwell_%1.png").arg(QLatin1String(name)));
}

// The answer step's formula and its light lie inside the answer pane.
void expectAnswerWhole(CStepwellMainFrame& frame)
{
    CSolutionStep* answer = frame.solution()->GetLastStep();
    ASSERT_EQ(answer->GetKind(), StepKind::Answer);
    CStepwellAnswerWnd& panel = *frame.answerWnd();
    EXPECT_EQ(panel.height(), frame.splitter()->GetPaneRect(2).height());
    EXPECT_GE(answer->control()->geometry().top(), AnswerStrip::kHeader);
    EXPECT_LE(answer->control()->geometry().bottom(), panel.height() - 1);
    EXPECT_GE(panel.height(), AnswerStrip::kHeader + 5 + 44);  // the light under the caption
    EXPECT_FALSE(panel.strip().Shown(panel.height()));
}

// The checked answer shows whole in the answer pane: with the steps, with the
// number axis open, and (beyond half the panes' room) scrolled to by the wheel.
TEST_F(Workflow, CheckedAnswerShowsWholeInTheAnswerPane)
{
    using platform::com::VARIANT_FALSE;
    auto answer = [&](int code) {
        frame->OnApplyingTransformationEx(code, 3, "Відповідь", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
        QApplication::processEvents();
    };
    begin(kLinear);
    drag("3", 0, "=", 0);
    answer(1372);
    ASSERT_EQ(steps(), (std::vector<std::string>{"2*x+3=7", "2*x=-3+7", "answer:2*x=-3+7"}));
    {
        SCOPED_TRACE("answer");
        expectAnswerWhole(*frame);
    }
    shotOf(*frame, "answer_pane");

    // With the number axis open below the panes.
    begin(mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>&gt;</mo><mn>7</mn>"), "inequality");
    rightClick(">", 0);
    frame->OnApplyingTransformationEx(1035, 2, "Ось", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    ASSERT_NE(frame->numberAxisBar(), nullptr);
    ASSERT_TRUE(frame->numberAxisBar()->isVisible());
    answer(1371);
    {
        SCOPED_TRACE("with the number axis");
        expectAnswerWhole(*frame);
    }
    shotOf(*frame, "answer_pane_number_axis");

    // A tall answer in the smallest window: half the room, then the wheel
    // brings its last line into the pane.
    frame->resize(640, 480);
    frame->StartSolution("@system$x=1$y=2$z=3$t=4$u=5#", "s", 2);
    answer(1371);
    CStepwellAnswerWnd& panel = *frame->answerWnd();
    int room = 0;
    for (int i = 0; i < 3; ++i)
        room += frame->splitter()->GetPaneRect(i).height();
    EXPECT_NEAR(panel.height(), room / 2, 1);
    ASSERT_TRUE(panel.strip().Shown(panel.height()));
    for (int i = 0; i < 20; ++i) {
        QWheelEvent down(QPointF(100, 50), panel.mapToGlobal(QPointF(100, 50)), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&panel, &down);
    }
    const QRect formula = frame->solution()->GetLastStep()->control()->geometry();
    EXPECT_LE(formula.bottom(), panel.height() - 1);
    EXPECT_GE(formula.bottom(), panel.height() - 1 - 20);
    shotOf(panel, "answer_pane_scrolled");
}

// A refused own step: once the pupil edits its result, "Перевірити крок"
// is offered again and the corrected result is checked.
TEST_F(Workflow, RefusedOwnStepCanBeCheckedAgainAfterAnEdit)
{
    frame->SetTaskCondition(task(kLinear));
    frame->StartSolution("2*x=4", "s", 2);
    texts();
    rightClick("=", 0);
    frame->action(kCmdSolveStepExecute)->trigger();
    QTest::keyClicks(activeWindow(), "x=3");
    frame->action(kCmdSolveStepCheck)->trigger();
    EXPECT_EQ(checkState(), 0);
    ASSERT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    kernelLog();

    QTest::keyClick(activeWindow(), Qt::Key_Backspace);
    EXPECT_TRUE(frame->action(kCmdSolveStepCheck)->isEnabled());
    QTest::keyClicks(activeWindow(), "2");
    frame->action(kCmdSolveStepCheck)->trigger();
    EXPECT_EQ(kernelLog(), std::vector<std::string>{"5351 (2*!x=!4),(x=!2) -> x=2"});
    EXPECT_EQ(checkState(), 2);
    EXPECT_EQ(steps(), (std::vector<std::string>{"2*x=4", "x=2"}));
    EXPECT_EQ(active()->state, 2);
    // Checked: the result is no longer typed into, the check is not offered.
    EXPECT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    QTest::keyClicks(activeWindow(), "5");
    EXPECT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    EXPECT_EQ(texts(), std::vector<std::string>{});
}

// The begin dialog of the module's text task: every button shows its whole
// Ukrainian text; a refused equation lights red and says so in the dialog
// itself; the hint window is the dialog's own, above it and closable while
// the dialog waits; the right equation then begins.
TEST_F(Workflow, BeginDialogShowsItsTextsItsRefusalAndItsHint)
{
    frame->SetTaskCondition(bookTask("textproblems.xml", "1"));
    const std::string hidden = frame->conditionWnd()->viewer().GetTaskJobFormulaByType("HIDDENFORMULA");
    ASSERT_FALSE(hidden.empty());
    std::vector<std::string> seen;
    answerBeginDialog([&](CTaskBeginFormulaDlg& dialog) {
        const std::pair<int, const char*> buttons[] = {{CTaskBeginFormulaDlg::kAutoComplete, "taskBFAutoComplete"},
                                                       {CTaskBeginFormulaDlg::kMathPanel, "txtMathPanel"},
                                                       {CTaskBeginFormulaDlg::kShowAnim, "taskBFShowAnim"},
                                                       {CTaskBeginFormulaDlg::kApply, "txtBtnApply"}};
        for (const auto& [id, key] : buttons) {
            auto* button = qobject_cast<QPushButton*>(dialog.control(id));
            if (!button)
                continue;
            const QRect inside = button->contentsRect().adjusted(4, 0, -4, 0);
            const bool whole = button->text().toStdString() == shared::GetLangString(key) &&
                               button->fontMetrics().horizontalAdvance(button->text()) <= inside.width() &&
                               dialog.rect().contains(button->geometry());
            seen.push_back(std::to_string(id) + (whole ? " whole" : " cut"));
        }
        auto* light = dialog.findChild<QLabel*>(QStringLiteral("refusedLight"));
        auto* words = dialog.findChild<QLabel*>(QStringLiteral("refusedText"));
        seen.push_back(light && !light->isVisible() ? "no light" : "light at start");

        dialog.formulaControl()->SetMathMLText(mathml("<mi>x</mi><mo>=</mo><mn>12345</mn>"));
        clickId(dialog, CTaskBeginFormulaDlg::kApply);
        seen.push_back(light && light->isVisible() ? "red" : "no red");
        seen.push_back(words && words->isVisible() ? words->text().toStdString() : "no words");
        seen.push_back(std::to_string(frame->solveWnd()->GetCheckState()));
        dialog.grab().save(QStringLiteral(STEPWELL_PNG_DIR "/stepwell_begin_dialog_refused.png"));

        clickId(dialog, CTaskBeginFormulaDlg::kShowAnim);
        QApplication::processEvents();
        QPointer<solvehost::CTaskAnimFrame> hint = dialog.animFrame();
        if (!hint || !hint->windowHandle() || !dialog.windowHandle())
            return;
        seen.push_back(hint->windowHandle()->transientParent() == dialog.windowHandle() ? "above the dialog"
                                                                                          : "not above");
        // The condition under which a modal dialog lets another window's input through.
        seen.push_back(dialog.windowHandle()->isAncestorOf(hint->windowHandle(), QWindow::IncludeTransients)
                           ? "not blocked"
                           : "blocked");
        hint->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        seen.push_back(hint.isNull() && dialog.isVisible() ? "closed, dialog open" : "not closed");

        dialog.formulaControl()->SetMathMLText(hidden);
        clickId(dialog, CTaskBeginFormulaDlg::kApply);
    });
    frame->OnBeginSolution();
    const std::string kAuto = std::to_string(CTaskBeginFormulaDlg::kAutoComplete);
    const std::string kMath = std::to_string(CTaskBeginFormulaDlg::kMathPanel);
    const std::string kShow = std::to_string(CTaskBeginFormulaDlg::kShowAnim);
    const std::string kApply = std::to_string(CTaskBeginFormulaDlg::kApply);
    EXPECT_EQ(seen, (std::vector<std::string>{kAuto + " whole", kMath + " whole", kShow + " whole", kApply + " whole",
                                              "no light", "red", shared::GetLangString("beginTaskRefused"), "0",
                                              "above the dialog", "not blocked", "closed, dialog open"}));
    ASSERT_EQ(frame->solution()->Count(), 1);
    EXPECT_EQ(frame->solution()->StepAt(1)->executor, 1);
    EXPECT_EQ(frame->solution()->StepAt(1)->GetDescription(),
              shared::GetLangString("beginTaskEquation") + shared::GetLangString("beginTaskUser"));
}

// The panes at the frame's least size and at 900 x 650, after a task came to
// a large window, with and without the number axis: the condition gets its
// height when there is room and scrolls otherwise, the steps and the answer
// keep theirs, the guide gives way, and the axis's tick labels lie inside it.
TEST_F(Workflow, SmallWindowsKeepEveryPaneUsable)
{
    using platform::com::VARIANT_FALSE;
    frame->resize(1280, 800);
    QApplication::processEvents();
    frame->SetTaskCondition(bookTask("quadratic.xml", "2"));
    frame->OnBeginSolution();
    struct Size {
        int width, height;
        const char* name;
    };
    auto expectPanes = [&](const char* trace) {
        SCOPED_TRACE(trace);
        QApplication::processEvents();
        QApplication::processEvents();
        solvehost::CProportionalSplitterWnd& panes = *frame->splitter();
        EXPECT_GE(panes.width(), 360);
        const int condition = panes.GetPaneRect(0).height();
        const int stepsPane = panes.GetPaneRect(1).height();
        const int answerPane = panes.GetPaneRect(2).height();
        const int optimal = static_cast<int>(frame->conditionWnd()->GetOptimalHeight());
        EXPECT_GE(condition, std::min(optimal, 70));
        EXPECT_GE(stepsPane, 100);
        EXPECT_GE(answerPane, 70);
        // Room for the whole condition: it shows whole.
        if (optimal <= condition + stepsPane - 100)
            EXPECT_EQ(condition, optimal);
        EXPECT_EQ(frame->conditionWnd()->viewer().geometry(), frame->conditionWnd()->rect());
        // The first step below the steps' caption, inside the view.
        const QRect first = frame->solution()->StepAt(1)->control()->geometry();
        EXPECT_GE(first.top(), StepsGeometry::kTopMargin);
        EXPECT_LE(first.right(), frame->solveWnd()->width());
    };
    auto expectAxisLabelsInside = [&] {
        QWidget* axis = frame->numberAxisBar()->findChild<QWidget*>(QStringLiteral("numberAxis"));
        ASSERT_NE(axis, nullptr);
        QApplication::processEvents();
        const QImage image = axis->grab().toImage();
        // The labels' blue in the outermost columns: a label cut by the edge.
        int cut = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x : {0, 1, 2, image.width() - 3, image.width() - 2, image.width() - 1}) {
                const QColor c = image.pixelColor(x, y);
                cut += c.blue() > 200 && c.red() < 100 && c.green() < 100;
            }
        EXPECT_EQ(cut, 0);
    };
    for (const Size size : {Size{640, 480, "640x480"}, Size{900, 650, "900x650"}}) {
        frame->resize(size.width, size.height);
        expectPanes(size.name);
        shotOf(*frame, (std::string("frame_") + size.name).c_str());
    }

    frame->resize(1280, 800);
    QApplication::processEvents();
    begin(mathml("<mn>2</mn><mo>*</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>&gt;</mo><mn>7</mn>"), "inequality");
    rightClick(">", 0);
    frame->OnApplyingTransformationEx(1035, 2, "Ось", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, 0, "");
    ASSERT_NE(frame->numberAxisBar(), nullptr);
    for (const Size size : {Size{640, 480, "640x480"}, Size{900, 650, "900x650"}, Size{1000, 700, "1000x700"}}) {
        frame->resize(size.width, size.height);
        expectPanes((std::string("axis ") + size.name).c_str());
        expectAxisLabelsInside();
        shotOf(*frame, (std::string("frame_axis_") + size.name).c_str());
    }
}

// A term dragged across "=" (onto the other side's lone "0" too) is moved
// there by the control and described as that move; a reordering within a
// side is not. A mode change once steps exist keeps the mode and says why.
TEST_F(Workflow, TermMovesAreDescribedAndModeChangesExplained)
{
    struct Row {
        const char* formula;
        const char* dragged;
        const char* target;
        std::vector<std::string> steps;
        const char* description;
    };
    const Row rows[] = {
        {"x-3=0", "3", "0", {"x-3=0", "x=3"}, "msgSolveMoveTerm"},
        {"2*x+3=7", "3", "=", {"2*x+3=7", "2*x=-3+7"}, "msgSolveMoveTerm"},
        {"2*x+3=7", "3", "7", {"2*x+3=7", "2*x=-3+7"}, "msgSolveMoveTerm"},
        {"x+3+2=7", "2", "+", {"x+3+2=7", "x+2+3=7"}, "msgSolveExprSimplify"},
    };
    frame->SetTaskCondition(task(kLinear));
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.formula) + " " + row.dragged + " onto " + row.target);
        frame->StartSolution(row.formula, shared::GetLangString("msgSolveStart"), 2);
        kernelLog();
        texts();
        drag(row.dragged, 0, row.target, 0);
        EXPECT_EQ(steps(), row.steps);
        EXPECT_EQ(active()->GetDescription(), shared::GetLangString(row.description));
        EXPECT_EQ(checkState(), 2);
        EXPECT_EQ(kernelLog(), std::vector<std::string>{});
        EXPECT_EQ(texts(), std::vector<std::string>{});
    }

    ASSERT_EQ(frame->solvingMode(), 3);
    frame->action(kCmdSmodeAuto)->trigger();
    EXPECT_EQ(texts(), std::vector<std::string>{shared::GetLangString("msgModeAfterStart")});
    EXPECT_EQ(frame->solvingMode(), 3);
    EXPECT_TRUE(frame->action(kCmdSmodeMixed)->isChecked());
    EXPECT_FALSE(frame->action(kCmdSmodeAuto)->isChecked());
    // The mode there is: nothing to say.
    frame->action(kCmdSmodeMixed)->trigger();
    EXPECT_EQ(texts(), std::vector<std::string>{});
    EXPECT_TRUE(frame->action(kCmdSmodeMixed)->isChecked());
}

}  // namespace
}  // namespace stepwell
