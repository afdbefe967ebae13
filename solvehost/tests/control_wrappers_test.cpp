// The wrappers and sinks of the formula, guide and condition-viewer controls:
// against stand-ins registered under the real CLSIDs (which record the
// dispids and argument types they receive and fire events on request), and
// the formula wrapper against the real Formavel.so.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/message_box.h"
#include "solvehost/pathmentor_ctrl.h"
#include "solvehost/premiscope_ctrl.h"
#include "solvehost/symbrant_ctrl.h"
#include "solvehost/tests/test_component_ids.h"
#include "testsupport/temp_dir.h"

namespace solvehost {
namespace {

using namespace platform::com;
using Lines = std::vector<std::string>;

std::string absolute(const char* path) { return std::filesystem::absolute(path).lexically_normal().string(); }

// The stand-in behind a wrapper, driven by its test-only members.
DispatchDriver standIn(const CControlWrapper& wrapper) { return DispatchDriver(ComPtr<IDispatch>(wrapper.GetControl())); }

std::string takeLog(const CControlWrapper& wrapper)
{
    DispatchDriver driver = standIn(wrapper);
    std::string log = driver.getProperty<std::string>(test::kDispLog);
    driver.invoke(test::kDispClearLog);
    return log;
}

template <class... A>
void fire(const CControlWrapper& wrapper, DISPID event, A&&... args)
{
    standIn(wrapper).invoke(test::kDispFire, std::int32_t{event}, std::forward<A>(args)...);
}

std::int32_t sinkCount(const CControlWrapper& wrapper)
{
    return standIn(wrapper).getProperty<std::int32_t>(test::kDispSinkCount);
}

// Every listener call as "<slot> <arguments>".
class FormulaLog : public IFormulaEventListener {
public:
    void OnOperationLClick() override { calls.push_back("0"); }
    void OnOperationDragDrop(std::int32_t vertex, const std::string& source, const std::string& target) override
    {
        calls.push_back("1 " + std::to_string(vertex) + " " + source + " " + target);
    }
    void OnOperationRClick(std::int32_t vertex, const std::string& data) override
    {
        calls.push_back("2 " + std::to_string(vertex) + " " + data);
    }
    void OnOperationDblClick(std::int32_t vertex, const std::string& data) override
    {
        calls.push_back("3 " + std::to_string(vertex) + " " + data);
        if (onDblClick)
            onDblClick();
    }
    void OnFormulaTransformed() override { calls.push_back("4"); }
    void OnFormulaChanged() override { calls.push_back("5"); }
    void OnToolsDialogClosed() override { calls.push_back("6"); }

    Lines calls;
    std::function<void()> onDblClick;
};

class GuideLog : public IGuideEventListener {
public:
    void OnApplyingTransformationEx(std::uint32_t function, std::uint8_t trType, const std::string& action,
                                    VARIANT_BOOL needDialog, VARIANT_BOOL needAll, VARIANT_BOOL multiChoice,
                                    std::uint8_t index, const std::string& params) override
    {
        calls.push_back("0 " + std::to_string(function) + " " + std::to_string(trType) + " " + action + " " +
                        std::to_string(rawValue(needDialog)) + " " + std::to_string(rawValue(needAll)) + " " +
                        std::to_string(rawValue(multiChoice)) + " " + std::to_string(index) + " " + params);
    }
    void OnApplyingTransformation(std::uint32_t function, const std::string& action,
                                  const std::string& params) override
    {
        calls.push_back("1 " + std::to_string(function) + " " + action + " " + params);
    }
    void OnShowExtendedHowTodo(const std::string& howToDo) override { calls.push_back("2 " + howToDo); }

    Lines calls;
};

class StandIns : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(registerLibrary(absolute(TEST_COMPONENTS)), platform::S_OK);
        platform::setMessageRecorder(&messages);
        host = std::make_unique<QWidget>();
        host->resize(400, 300);
    }
    void TearDown() override
    {
        host.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::setMessageRecorder(nullptr);
        testsupport::resetHives();
    }
    template <class W>
    void create(W& wrapper, int id = 1001)
    {
        ASSERT_TRUE(wrapper.Create("control", WS_CHILD | WS_VISIBLE, QRect(5, 6, 200, 80), host.get(), id));
    }

    platform::MessageRecorder messages;
    std::unique_ptr<QWidget> host;
};

TEST_F(StandIns, CreatePlacesTheControlInTheWrapper)
{
    CSymbrantCtrl formula;
    create(formula, 1234);
    EXPECT_EQ(formula.parentWidget(), host.get());
    EXPECT_EQ(formula.geometry(), QRect(5, 6, 200, 80));
    EXPECT_EQ(formula.objectName(), "control");
    EXPECT_EQ(formula.GetDlgCtrlID(), 1234);
    ASSERT_NE(formula.GetControlWindow(), nullptr);
    EXPECT_EQ(formula.GetControlWindow()->parentWidget(), &formula);
    EXPECT_EQ(formula.GetControlWindow()->geometry(), QRect(0, 0, 200, 80));
    host->show();
    formula.resize(150, 40);
    EXPECT_EQ(formula.GetControlWindow()->geometry(), QRect(0, 0, 150, 40));
    EXPECT_FALSE(formula.Create("control", WS_CHILD, QRect(0, 0, 10, 10), nullptr, 1));
    EXPECT_EQ(formula.GetControl(), nullptr);
}

// Each member: its call, then what the stand-in recorded.
struct MemberCase {
    const char* name;
    std::function<void(CSymbrantCtrl&)> call;
    std::string recorded;
};

TEST_F(StandIns, FormulaMembersGoByTheirDispidsWithTheirTypes)
{
    CSymbrantCtrl formula;
    create(formula);
    takeLog(formula);
    const MemberCase cases[] = {
        {"UseEditor", [](CSymbrantCtrl& f) { f.UseEditor(); }, "M 9"},
        {"Paste", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.Paste()); }, "M 11"},
        {"ShowToolsDlg", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.ShowToolsDlg("")); }, "M 15 String \"\""},
        {"HideToolsDlg", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.HideToolsDlg("id")); }, "M 16 String \"id\""},
        {"GetMathMLText", [](CSymbrantCtrl& f) { EXPECT_EQ(f.GetMathMLText(), "<math/>"); }, "M 17"},
        {"GetAplanText", [](CSymbrantCtrl& f) { EXPECT_EQ(f.GetAplanText(), "x+!1"); }, "M 18"},
        {"SetAplanText", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.SetAplanText("x+!1")); }, "M 19 String \"x+!1\""},
        {"UseViewer", [](CSymbrantCtrl& f) { f.UseViewer(); }, "M 20"},
        {"SetOperationResult", [](CSymbrantCtrl& f) { f.SetOperationResult(true, "7"); },
         "M 22 Bool -1 String \"7\""},
        {"GetOptimalSize",
         [](CSymbrantCtrl& f) {
             std::int32_t cx = 0, cy = 0;
             f.GetOptimalSize(&cx, &cy);
             EXPECT_EQ(cx, 100);
             EXPECT_EQ(cy, 101);
         },
         "M 27 Ref I4 0 Ref I4 0"},
        {"Undo", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.Undo()); }, "M 28"},
        {"CanUndo", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.CanUndo()); }, "M 29"},
        {"Redo", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.Redo()); }, "M 30"},
        {"CanRedo", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.CanRedo()); }, "M 31"},
        {"SetGridData", [](CSymbrantCtrl& f) { f.SetGridData(1, 2, 20, 21, true, false, 0x808080); },
         "M 33 I4 1 I4 2 I4 20 I4 21 Bool -1 Bool 0 I4 8421504"},
        {"IsFormulaValid", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.IsFormulaValid()); }, "M 36"},
        {"SetLanguge", [](CSymbrantCtrl& f) { f.SetLanguge(2); }, "M 38 I4 2"},
        {"SetSchoolClass", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.SetSchoolClass(9)); }, "M 40 I4 9"},
        {"GetSelectedLexemText",
         [](CSymbrantCtrl& f) {
             std::string text;
             EXPECT_TRUE(f.GetSelectedLexemText(&text));
             EXPECT_EQ(text, "out");
         },
         "M 41 Ref String \"\""},
        {"CopyAll", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.CopyAll()); }, "M 43"},
        {"UseTransformer", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.UseTransformer()); }, "M 46"},
        {"IsGraficFormulaValid", [](CSymbrantCtrl& f) { EXPECT_EQ(f.IsGraficFormulaValid(0), 7); }, "M 47 I4 0"},
        {"SetLexemText", [](CSymbrantCtrl& f) { f.SetLexemText("x+1"); }, "P 49 String \"x+1\""},
        {"GetLexemText", [](CSymbrantCtrl& f) { EXPECT_EQ(f.GetLexemText(), "x+1"); }, "G 49"},
        {"GetState", [](CSymbrantCtrl& f) { EXPECT_EQ(f.GetState(), 3); }, "G 50"},
        {"SetMathMLText", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.SetMathMLText("<math/>")); },
         "M 51 String \"<math/>\""},
        {"SetBackColor", [](CSymbrantCtrl& f) { f.SetBackColor(0xFFFFFF); }, "P 1 UI4 16777215"},
        {"GetBackColor", [](CSymbrantCtrl& f) { EXPECT_EQ(f.GetBackColor(), 0x123456u); }, "G 1"},
        {"SetLocked", [](CSymbrantCtrl& f) { f.SetLocked(true); }, "P 2 Bool -1"},
        {"GetLocked", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.GetLocked()); }, "G 2"},
        {"SetEliminateBrackets", [](CSymbrantCtrl& f) { f.SetEliminateBrackets(false); }, "P 4 Bool 0"},
        {"GetEliminateBrackets", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.GetEliminateBrackets()); }, "G 4"},
        {"SetShowAggregativeSymbol", [](CSymbrantCtrl& f) { f.SetShowAggregativeSymbol(false); }, "P 52 Bool 0"},
        {"GetShowAggregativeSymbol", [](CSymbrantCtrl& f) { EXPECT_TRUE(f.GetShowAggregativeSymbol()); }, "G 52"},
    };
    for (const MemberCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.call(formula);
        EXPECT_EQ(takeLog(formula), c.recorded + "\n");
    }
}

TEST_F(StandIns, FormulaEventsReachTheirListenerSlotsWithTheirArguments)
{
    CSymbrantCtrl formula;
    create(formula);
    FormulaLog listener;
    CSymbrantEvents sink(&listener);
    sink.Advise(&formula, nullptr);
    ASSERT_TRUE(sink.IsConnected());
    fire(formula, 1);
    fire(formula, 2, std::int32_t{12}, "x+!1", "y");
    fire(formula, 3);
    fire(formula, 4, std::int32_t{-3}, "2*!x");
    fire(formula, 5, std::int32_t{7}, "3+!4");
    fire(formula, 6);
    fire(formula, 7);
    EXPECT_EQ(listener.calls, (Lines{"5", "1 12 x+!1 y", "0", "2 -3 2*!x", "3 7 3+!4", "4", "6"}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(StandIns, FormulaSinkConnectsOnceAndDisconnectsCleanly)
{
    CSymbrantCtrl first;
    CSymbrantCtrl second;
    create(first);
    create(second);
    FormulaLog constructed;
    FormulaLog other;

    // No listener: events do nothing and report nothing.
    {
        CSymbrantEvents silent;
        silent.Advise(&first, nullptr);
        EXPECT_TRUE(silent.IsConnected());
        fire(first, 1);
        silent.Unadvise();
    }
    EXPECT_TRUE(messages.messages.empty());

    CSymbrantEvents sink(&constructed);
    sink.Advise(&first, nullptr);  // a null listener keeps the constructor's
    fire(first, 6);
    EXPECT_EQ(constructed.calls, Lines{"4"});
    // A second Advise while connected is ignored, control and listener alike.
    sink.Advise(&second, &other);
    fire(first, 7);
    fire(second, 1);
    EXPECT_EQ(constructed.calls, (Lines{"4", "6"}));
    EXPECT_TRUE(other.calls.empty());
    EXPECT_EQ(sinkCount(second), 0);

    sink.Unadvise();
    EXPECT_EQ(sinkCount(first), 0);
    sink.Unadvise();  // the second does nothing
    fire(first, 1);
    EXPECT_EQ(constructed.calls.size(), 2u);

    // Advise after Unadvise connects again, and a given listener replaces the stored one.
    sink.Advise(&second, &other);
    fire(second, 3);
    EXPECT_EQ(other.calls, Lines{"0"});
    EXPECT_EQ(sinkCount(second), 1);
}

TEST_F(StandIns, AFormulaSinkStillConnectedDisconnectsWhenDestroyed)
{
    CSymbrantCtrl formula;
    create(formula);
    FormulaLog listener;
    {
        CSymbrantEvents sink(&listener);
        sink.Advise(&formula, nullptr);
        EXPECT_EQ(sinkCount(formula), 1);
    }
    EXPECT_EQ(sinkCount(formula), 0);
    fire(formula, 1);
    EXPECT_TRUE(listener.calls.empty());
}

TEST_F(StandIns, ASinkMovesToAnotherControlInsideAnEvent)
{
    // Stepwell's step change: the listener of one step's formula moves the
    // sink to the next step's formula while the event is being delivered.
    CSymbrantCtrl current;
    CSymbrantCtrl next;
    create(current);
    create(next);
    FormulaLog listener;
    CSymbrantEvents sink(&listener);
    listener.onDblClick = [&] {
        sink.Unadvise();
        sink.Advise(&next, nullptr);
    };
    sink.Advise(&current, nullptr);
    fire(current, 5, std::int32_t{1}, "a");
    EXPECT_EQ(sinkCount(current), 0);
    EXPECT_EQ(sinkCount(next), 1);
    fire(current, 1);
    fire(next, 6);
    EXPECT_EQ(listener.calls, (Lines{"3 1 a", "4"}));
}

TEST_F(StandIns, HostWrapperAndSinkGoInAnyOrder)
{
    enum Part { Host, Wrapper, Sink };
    const std::vector<std::vector<Part>> orders = {
        {Host, Wrapper, Sink}, {Host, Sink, Wrapper}, {Wrapper, Host, Sink},
        {Wrapper, Sink, Host}, {Sink, Host, Wrapper}, {Sink, Wrapper, Host},
    };
    const std::size_t before = liveObjectCount();
    for (const std::vector<Part>& order : orders) {
        SCOPED_TRACE(std::to_string(order[0]) + std::to_string(order[1]) + std::to_string(order[2]));
        auto owner = std::make_unique<QWidget>();
        QPointer<CSymbrantCtrl> wrapper = new CSymbrantCtrl;
        ASSERT_TRUE(wrapper->Create("", WS_CHILD | WS_VISIBLE, QRect(0, 0, 100, 40), owner.get(), 1));
        FormulaLog listener;
        auto sink = std::make_unique<CSymbrantEvents>(&listener);
        sink->Advise(wrapper, nullptr);
        fire(*wrapper, 1);
        for (Part part : order) {
            if (part == Host)
                owner.reset();  // Qt deletes the wrapper with it
            else if (part == Wrapper)
                delete wrapper.data();
            else
                sink.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_EQ(listener.calls, Lines{"5"});
    }
    EXPECT_EQ(liveObjectCount(), before);
}

TEST_F(StandIns, GuideMembersGoThroughTheKeptInterfaceByTheirDispidsWithTheirTypes)
{
    CPathmentorCtrl guide;
    create(guide);
    ASSERT_NE(guide.GetGuide(), nullptr);
    struct GuideCase {
        const char* name;
        std::function<void(CPathmentorCtrl&)> call;
        std::string recorded;
    };
    const GuideCase cases[] = {
        {"InitializeGuide", [](CPathmentorCtrl& g) { EXPECT_TRUE(g.InitializeGuide()); }, "M 7"},
        {"InitializeGuideContent", [](CPathmentorCtrl& g) { EXPECT_TRUE(g.InitializeGuideContent("c")); },
         "M 8 String \"c\""},
        {"FillRecomendedCommonChapter", [](CPathmentorCtrl& g) { EXPECT_TRUE(g.FillRecomendedCommonChapter(2)); },
         "M 9 UI1 2"},
        {"ReleaseRecomendedCommonChapter", [](CPathmentorCtrl& g) { EXPECT_TRUE(g.ReleaseRecomendedCommonChapter()); },
         "M 11"},
        {"SetGuideDocFile", [](CPathmentorCtrl& g) { g.SetGuideDocFile("g.xml"); }, "P 12 String \"g.xml\""},
        {"GetGuideDocFile", [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetGuideDocFile(), "guide.xml"); }, "G 12"},
        {"SetBackColor", [](CPathmentorCtrl& g) { g.SetBackColor(0xFF); }, "P -501 UI4 255"},
        {"GetBackColor", [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetBackColor(), 0xABCDEFu); }, "G -501"},
        {"SetForeColor", [](CPathmentorCtrl& g) { g.SetForeColor(0x10); }, "P -513 UI4 16"},
        {"GetForeColor", [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetForeColor(), 0xABCDEFu); }, "G -513"},
        {"SetSendExtendedInformation", [](CPathmentorCtrl& g) { g.SetSendExtendedInformation(0); }, "P 15 UI1 0"},
        {"GetSendExtendedInformation", [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetSendExtendedInformation(), 1); },
         "G 15"},
        {"SetShowExtendedTransformations", [](CPathmentorCtrl& g) { g.SetShowExtendedTransformations(1); },
         "P 16 UI1 1"},
        {"GetShowExtendedTransformations",
         [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetShowExtendedTransformations(), 1); }, "G 16"},
        {"SetLocked", [](CPathmentorCtrl& g) { g.SetLocked(1); }, "P 17 UI1 1"},
        {"GetLocked", [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetLocked(), 1); }, "G 17"},
        {"SetShowRecomendedChapter", [](CPathmentorCtrl& g) { g.SetShowRecomendedChapter(1); }, "P 18 UI1 1"},
        {"GetShowRecomendedChapter", [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetShowRecomendedChapter(), 1); },
         "G 18"},
        {"SetBarFrameColor", [](CPathmentorCtrl& g) { g.SetBarFrameColor(0x808080); }, "P 19 UI4 8421504"},
        {"GetBarFrameColor", [](CPathmentorCtrl& g) { EXPECT_EQ(g.GetBarFrameColor(), 0xABCDEFu); }, "G 19"},
        {"ParseLanguageFile", [](CPathmentorCtrl& g) { EXPECT_TRUE(g.ParseLanguageFile("/l/guide.lng")); },
         "M 20 String \"/l/guide.lng\""},
    };
    takeLog(guide);
    for (const GuideCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.call(guide);
        EXPECT_EQ(takeLog(guide), c.recorded + "\n");
    }
}

TEST_F(StandIns, GuideEventsReachTheirListenerSlotsWithTheirByteAndBoolValues)
{
    CPathmentorCtrl guide;
    create(guide);
    GuideLog listener;
    CPathmentorCtrlEvents sink(&listener);
    sink.Advise(&guide);
    ASSERT_TRUE(sink.IsConnected());
    fire(guide, 1, std::uint32_t{4000000000u}, "Factor", "");
    fire(guide, 2, std::uint32_t{5351}, std::uint8_t{3}, "Expand", VARIANT_TRUE, VARIANT_FALSE, VARIANT_BOOL{1},
         std::uint8_t{2}, "p");
    fire(guide, 3, "How to do it");
    EXPECT_EQ(listener.calls,
              (Lines{"1 4000000000 Factor ", "0 5351 3 Expand -1 0 1 2 p", "2 How to do it"}));
    EXPECT_TRUE(messages.messages.empty());

    // A second Advise while connected is ignored; Unadvise twice is harmless.
    CPathmentorCtrl other;
    create(other);
    sink.Advise(&other);
    EXPECT_EQ(sinkCount(other), 0);
    sink.Unadvise();
    sink.Unadvise();
    EXPECT_EQ(sinkCount(guide), 0);
    fire(guide, 3, "x");
    EXPECT_EQ(listener.calls.size(), 3u);
}

TEST_F(StandIns, GuideEventsWithoutAListenerShowTheirMessages)
{
    CPathmentorCtrl guide;
    create(guide);
    CPathmentorCtrlEvents sink(nullptr);
    sink.Advise(&guide);
    testing::internal::CaptureStderr();
    fire(guide, 1, std::uint32_t{1}, "a", "");
    fire(guide, 2, std::uint32_t{1}, std::uint8_t{0}, "a", VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE,
         std::uint8_t{0}, "");
    fire(guide, 3, "how");
    // The pupil reads Ukrainian; the developer's account is on the error stream.
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Sorry.\n Guide error!\nOnApplyingTransformation\n"), std::string::npos) << errors;
    EXPECT_NE(errors.find("Sorry.\nGuide error.\nOnApplyingTransformationEx.\n"), std::string::npos) << errors;
    ASSERT_EQ(messages.messages.size(), 2u);
    for (const platform::MessageRecord& message : messages.messages)
        EXPECT_EQ(message.text, "Помилка довідника: перетворення не виконано.");
}

TEST_F(StandIns, AGuideSinkStillConnectedDisconnectsWhenDestroyed)
{
    CPathmentorCtrl guide;
    create(guide);
    GuideLog listener;
    {
        CPathmentorCtrlEvents sink(&listener);
        sink.Advise(&guide);
        EXPECT_EQ(sinkCount(guide), 1);
    }
    EXPECT_EQ(sinkCount(guide), 0);
    fire(guide, 3, "x");
    EXPECT_TRUE(listener.calls.empty());
}

TEST_F(StandIns, AGuideWithoutItsInterfaceLeavesThePointerNullAndItsCallsThrow)
{
    testsupport::resetHives();
    ASSERT_EQ(registerLibrary(absolute(GUIDE_WITHOUT_DISPATCH)), platform::S_OK);
    CPathmentorCtrl guide;
    EXPECT_TRUE(guide.Create("guide", WS_CHILD | WS_VISIBLE, QRect(0, 0, 100, 100), host.get(), 7));
    EXPECT_NE(guide.GetControl(), nullptr);
    EXPECT_EQ(guide.GetGuide(), nullptr);
    try {
        guide.SetLocked(1);
        ADD_FAILURE() << "no throw";
    } catch (const Error& error) {
        EXPECT_EQ(error.hr(), platform::E_POINTER);
    }
    EXPECT_THROW(guide.InitializeGuide(), Error);
    GuideLog listener;
    CPathmentorCtrlEvents sink(&listener);
    sink.Advise(&guide);
    EXPECT_FALSE(sink.IsConnected());
    // Nothing reached the control.
    EXPECT_EQ(takeLog(guide), "");
}

TEST_F(StandIns, ViewerMembersGoByTheirDispidsWithTheirTypes)
{
    CPremiscopeCtrl viewer;
    create(viewer);
    takeLog(viewer);
    EXPECT_TRUE(viewer.SetCondition("<TASK num=\"3\"/>"));
    EXPECT_EQ(viewer.GetStartFormula(), "<math><mi>x</mi></math>");
    EXPECT_EQ(viewer.GetOptimalHeight(), 345u);
    EXPECT_TRUE(viewer.IsNeedUserInputToBegin());
    EXPECT_EQ(viewer.GetTaskJobAttribute("check"), "yes");
    EXPECT_EQ(viewer.GetTaskJobFormulaByType("START"), "<math/>");
    viewer.SetGuiFont({.name = "Times New Roman", .size = 14.0, .weight = 700});
    EXPECT_EQ(takeLog(viewer), "M 1 String \"<TASK num=\"3\"/>\"\n"
                               "M 2\n"
                               "M 3\n"
                               "M 52\n"
                               "M 53 String \"check\"\n"
                               "M 54 String \"START\"\n"
                               "P 55 Font Times New Roman 14 700\n");
}

TEST_F(StandIns, TheConditionPaneDrivesItsViewer)
{
    CStepwellConditionWnd pane(host.get());
    pane.resize(300, 200);
    ASSERT_TRUE(pane.viewer().Create("", WS_CHILD | WS_VISIBLE, pane.rect(), &pane, 1));
    takeLog(pane.viewer());
    EXPECT_EQ(pane.GetOptimalHeight(), 345u);
    EXPECT_TRUE(pane.SetCondition("<TASK/>"));
    pane.SetColors(0xFFFFFF, 0x000001, 0x808080);
    EXPECT_EQ(takeLog(pane.viewer()), "M 3\n"
                                      "M 1 String \"<TASK/>\"\n"
                                      "P -501 UI4 16777215\n"
                                      "P -513 UI4 1\n"
                                      "P 51 UI4 8421504\n");
}

TEST(NothingRegistered, WrappersWithoutAControlAnswerNothing)
{
    testsupport::resetHives();
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    QWidget host;

    CSymbrantCtrl formula;
    EXPECT_FALSE(formula.Create("", WS_CHILD | WS_VISIBLE, QRect(0, 0, 50, 50), &host, 1));
    EXPECT_EQ(formula.GetControl(), nullptr);
    EXPECT_FALSE(formula.SetAplanText("x"));
    EXPECT_EQ(formula.GetAplanText(), "");
    EXPECT_EQ(formula.IsGraficFormulaValid(0), 0);
    std::int32_t cx = 5, cy = 5;
    formula.GetOptimalSize(&cx, &cy);
    EXPECT_EQ(cx, 0);
    EXPECT_EQ(cy, 0);
    std::string selected = "kept";
    EXPECT_FALSE(formula.GetSelectedLexemText(&selected));
    EXPECT_EQ(selected, "kept");
    formula.SetLexemText("x");
    CSymbrantEvents formulaSink;
    formulaSink.Advise(&formula, nullptr);
    EXPECT_FALSE(formulaSink.IsConnected());

    CPathmentorCtrl guide;
    EXPECT_FALSE(guide.Create("", WS_CHILD, QRect(0, 0, 50, 50), &host, 2));
    EXPECT_EQ(guide.GetGuide(), nullptr);
    try {
        guide.ParseLanguageFile("x.lng");
        ADD_FAILURE() << "no throw";
    } catch (const Error& error) {
        EXPECT_EQ(error.hr(), platform::E_POINTER);
    }
    CPathmentorCtrlEvents guideSink(nullptr);
    guideSink.Advise(&guide);
    EXPECT_FALSE(guideSink.IsConnected());

    CStepwellConditionWnd pane(&host);
    EXPECT_FALSE(pane.viewer().Create("", WS_CHILD, QRect(0, 0, 50, 50), &pane, 3));
    EXPECT_FALSE(pane.SetCondition("<TASK/>"));
    EXPECT_EQ(pane.GetOptimalHeight(), 0u);
    EXPECT_EQ(pane.viewer().GetStartFormula(), "");
    pane.SetColors(1, 2, 3);
    EXPECT_TRUE(messages.messages.empty());
    platform::setMessageRecorder(nullptr);
}

#ifdef FORMAVEL_LIBRARY

// The formula wrapper and sink on the real formula control.
class RealFormula : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(registerLibrary(absolute(FORMAVEL_LIBRARY)), platform::S_OK);
        platform::setMessageRecorder(&messages);
        host = std::make_unique<QWidget>();
        host->resize(420, 120);
        ASSERT_TRUE(formula.Create("formula", WS_CHILD | WS_VISIBLE, QRect(0, 0, 420, 120), host.get(), 1001));
        host->show();
    }
    void TearDown() override
    {
        sink.Unadvise();
        platform::setMessageRecorder(nullptr);
        testsupport::resetHives();
    }

    // Destroyed in reverse: the sink, the wrapper, then its host.
    platform::MessageRecorder messages;
    std::unique_ptr<QWidget> host;
    CSymbrantCtrl formula;
    FormulaLog listener;
    CSymbrantEvents sink{&listener};
};

TEST_F(RealFormula, TextsGoThroughTheWrapper)
{
    formula.UseViewer();
    formula.SetLexemText("x+1");
    EXPECT_EQ(formula.GetAplanText(), "x+!1");
    EXPECT_EQ(formula.GetLexemText(), "x+1");
    EXPECT_EQ(formula.GetState(), 1);
    EXPECT_FALSE(formula.SetSchoolClass(12));
    EXPECT_TRUE(formula.SetSchoolClass(9));
    EXPECT_TRUE(formula.SetAplanText("2*!x"));
    EXPECT_EQ(formula.GetLexemText(), "2*x");
    EXPECT_TRUE(formula.SetMathMLText("<math><mi>y</mi></math>"));
    EXPECT_NE(formula.GetMathMLText().find("<mi>y</mi>"), std::string::npos);
    formula.SetBackColor(0x00FF00);
    EXPECT_EQ(formula.GetBackColor(), 0x00FF00u);
    std::int32_t cx = 0, cy = 0;
    formula.GetOptimalSize(&cx, &cy);
    EXPECT_GT(cx, 0);
    EXPECT_GT(cy, 0);
}

TEST_F(RealFormula, KeysTypedInEditorModeReachOnFormulaChanged)
{
    sink.Advise(&formula, nullptr);
    formula.UseEditor();
    EXPECT_EQ(formula.GetState(), 2);
    QWidget* window = formula.GetControlWindow();
    ASSERT_NE(window, nullptr);
    window->setFocus();
    QTest::keyClicks(window, "x+1");
    EXPECT_EQ(formula.GetLexemText(), "x+1");
    EXPECT_EQ(listener.calls, (Lines{"5", "5", "5"}));
}

TEST_F(RealFormula, ADoubleClickOnAnOperationSignReachesOnOperationDblClick)
{
    formula.SetLexemText("2*x+3+4=7");
    ASSERT_TRUE(formula.UseTransformer());
    sink.Advise(&formula, nullptr);
    // A raw sink on the same control records what the control sends.
    Lines raw;
    const auto rawSink = make<EventSink>([&raw](DISPID id, std::span<const Variant> args) {
        if (id != formavel::event::OperationDblClick)
            return;
        std::string line;
        for (const Variant& arg : args) {
            std::string text;
            arg.get(text);
            line += (line.empty() ? "" : " ") + text;
        }
        raw.push_back(line);
    });
    std::uint32_t cookie = 0;
    ASSERT_EQ(connectionAdvise(formula.GetControl(), formavel::DIID__DFormavelEvents, rawSink.get(), &cookie),
              platform::S_OK);

    std::int32_t cx = 0, cy = 0;
    formula.GetOptimalSize(&cx, &cy);
    QWidget* window = formula.GetControlWindow();
    // Along the formula's middle line until the control reports an operation.
    for (int x = 1; x < cx && raw.empty(); ++x) {
        QTest::mouseMove(window, QPoint(x, cy / 2));
        QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(x, cy / 2));
    }
    connectionUnadvise(formula.GetControl(), formavel::DIID__DFormavelEvents, cookie);
    ASSERT_EQ(raw.size(), 1u);
    const auto dblClicks = std::count_if(listener.calls.begin(), listener.calls.end(),
                                         [](const std::string& call) { return call.starts_with("3 "); });
    EXPECT_EQ(dblClicks, 1);
    EXPECT_NE(std::find(listener.calls.begin(), listener.calls.end(), "3 " + raw[0]), listener.calls.end());
}

#endif

}  // namespace
}  // namespace solvehost
