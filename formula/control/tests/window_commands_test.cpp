// The placed control's context menu and its commands, Ctrl+drag scrolling,
// the right button, the keyboard while Locked, the palettes' closing, the
// top-left position and the mouse leaving the window.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "formula/control/tests/control_host.h"
#include "formula/model/messages.h"

namespace formula::control::test {
namespace {

using WindowCommands = ControlHost;

struct MenuItem {
    std::string text;
    bool enabled;
    bool operator==(const MenuItem&) const = default;
};

// Opens the control's context menu from the keyboard, notes its items and
// chooses the one with the given text (none: the menu is closed). Empty when
// no menu showed.
std::vector<MenuItem> runContextMenu(QWidget* window, const std::string& choose = {})
{
    std::vector<MenuItem> items;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            return;
        }
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            items.push_back({action->text().toStdString(), action->isEnabled()});
            if (!choose.empty() && action->text().toStdString() == choose) {
                chosen = action;
            }
        }
        if (chosen && chosen->isEnabled()) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), window->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(window, &event);
    QCoreApplication::processEvents();
    return items;
}

// The smallest rectangle holding every pixel that is not white.
QRect inkBox(QWidget* window)
{
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

std::string clipboardText()
{
    return QApplication::clipboard()->text().toStdString();
}

std::string copiedMessage()
{
    return std::string(formula::GetMessageText(1034));
}

TEST_F(WindowCommands, ContextMenuTextsStatesAndCommands)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::SetLanguge, 0);
    control.invoke(disp::UseEditor);
    control.setProperty(disp::LexemText, "a+b");
    QApplication::clipboard()->clear();
    // Nothing selected, nothing to paste: cut, copy and paste are off.
    EXPECT_EQ(runContextMenu(window), (std::vector<MenuItem>{{"Cu&t", false},
                                                            {"&Copy", false},
                                                            {"Copy all", true},
                                                            {"&Paste", false},
                                                            {"C&lear", true}}));
    // Copy all copies the formula and says so.
    messages.messages.clear();
    runContextMenu(window, "Copy all");
    EXPECT_EQ(clipboardText(), "a+b");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, copiedMessage());
    // A selection (dragged over the formula) turns cut and copy on; cut
    // takes it away.
    const QPoint a = pointOf("a+b", "a", 0);
    const QPoint b = pointOf("a+b", "b", 0);
    QTest::mousePress(window, Qt::LeftButton, {}, a);
    QTest::mouseMove(window, b);
    QTest::mouseRelease(window, Qt::LeftButton, {}, b);
    const std::vector<MenuItem> selected = runContextMenu(window);
    ASSERT_EQ(selected.size(), 5u);
    EXPECT_TRUE(selected[0].enabled && selected[1].enabled && selected[3].enabled);
    events.clear();
    QApplication::clipboard()->clear();
    runContextMenu(window, "Cu&t");
    EXPECT_EQ(clipboardText(), "+b");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "a");
    EXPECT_EQ(events, std::vector<std::string>{"1"});
    // Paste puts it back, clear empties the formula; each reports the change.
    events.clear();
    runContextMenu(window, "&Paste");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "a+b");
    runContextMenu(window, "C&lear");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "");
    EXPECT_EQ(events, (std::vector<std::string>{"1", "1"}));
}

TEST_F(WindowCommands, ContextMenuLanguagesAndModes)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    const std::vector<std::string> ukrainian = {"Вирізати", "Копіювати", "Копіювати все", "Вставити", "Очистити"};
    for (int language : {1, 2}) {
        control.invoke(disp::SetLanguge, language);
        std::vector<std::string> texts;
        for (const MenuItem& item : runContextMenu(window)) {
            texts.push_back(item.text);
        }
        EXPECT_EQ(texts, ukrainian) << language;
    }
    control.invoke(disp::SetLanguge, 0);
    // Only editor mode has a menu.
    control.invoke(disp::UseViewer);
    EXPECT_TRUE(runContextMenu(window).empty());
    control.setProperty(disp::LexemText, "x=1");
    control.invoke(disp::UseTransformer);
    EXPECT_TRUE(runContextMenu(window).empty());
}

TEST_F(WindowCommands, CtrlDragScrollsTheFormula)
{
    DispatchDriver control = createPlaced(420, 160);
    control.invoke(disp::UseViewer);
    control.setProperty(disp::LexemText, "2*x+1=5");
    events.clear();
    const QRect start = inkBox(window);
    ASSERT_FALSE(start.isEmpty());
    const auto drag = [&](QPoint from, QPoint by) {
        QTest::mousePress(window, Qt::LeftButton, Qt::ControlModifier, from);
        EXPECT_EQ(window->cursor().shape(), control.getProperty<VARIANT_BOOL>(disp::ScrollingLocked) == VARIANT_FALSE
                                                ? Qt::SizeAllCursor
                                                : Qt::ArrowCursor);
        QTest::mouseMove(window, from + by);
        QTest::mouseRelease(window, Qt::LeftButton, Qt::ControlModifier, from + by);
        EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    };
    drag({100, 80}, {30, 20});
    EXPECT_EQ(inkBox(window), start.translated(30, 20));
    // With a school class the formula only moves sideways.
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::SetSchoolClass, 9)), 1);
    drag({100, 80}, {-10, 15});
    EXPECT_EQ(inkBox(window), start.translated(20, 20));
    control.invoke(disp::SetSchoolClass, 0);
    // ScrollingLocked: the formula stays.
    control.setProperty(disp::ScrollingLocked, true);
    drag({100, 80}, {25, 25});
    EXPECT_EQ(inkBox(window), start.translated(20, 20));
    EXPECT_TRUE(events.empty());
}

TEST_F(WindowCommands, TopLeftPositionMovesTheFormula)
{
    DispatchDriver control = createPlaced(420, 160);
    control.invoke(disp::UseViewer);
    control.setProperty(disp::LexemText, "a+b");
    const QRect start = inkBox(window);
    control.invoke(disp::SetTopLeftPosition, 42, 32);
    // The formula starts at (2, 2): the new corner is 40 and 30 further.
    EXPECT_EQ(inkBox(window), start.translated(40, 30));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(WindowCommands, RightClickAsksTheHostUnlessLockedOrPending)
{
    DispatchDriver control = createPlaced();
    control.setProperty(disp::LexemText, "2*x+3+4=7");
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
    const QPoint plus = pointOf(control.getProperty<std::string>(disp::LexemText), "+", 1);
    control.setProperty(disp::Locked, true);
    events.clear();
    QTest::mousePress(window, Qt::RightButton, {}, plus);
    QTest::mouseRelease(window, Qt::RightButton, {}, plus);
    EXPECT_TRUE(events.empty());
    control.setProperty(disp::Locked, false);
    QTest::mousePress(window, Qt::RightButton, {}, plus);
    QTest::mouseRelease(window, Qt::RightButton, {}, plus);
    const std::vector<std::string> asked = eventsWithId(event::OperationRClick);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "4 I4 1 String \"3+!4\"");
    // The right-button operation keeps the highlight when the mouse leaves.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(window, &leave);
    std::string selected;
    EXPECT_NE(control.invoke<VARIANT_BOOL>(disp::GetSelectedLexemText, &selected), VARIANT_FALSE);
    // Pending until the host answers: a second right click asks nothing.
    QTest::mousePress(window, Qt::RightButton, {}, plus);
    EXPECT_EQ(eventsWithId(event::OperationRClick).size(), 1u);
    control.invoke(disp::SetOperationResult, true, "7");
    EXPECT_EQ(control.invoke<std::string>(disp::GetAplanText), "2*!x+!7=!7");
}

TEST_F(WindowCommands, MouseLeaveClearsTheHoverHighlight)
{
    DispatchDriver control = createPlaced();
    control.setProperty(disp::LexemText, "2*x+3+4=7");
    control.invoke(disp::UseTransformer);
    const QPoint plus = pointOf(control.getProperty<std::string>(disp::LexemText), "+", 1);
    events.clear();
    QTest::mouseMove(window, plus);
    std::string selected;
    ASSERT_NE(control.invoke<VARIANT_BOOL>(disp::GetSelectedLexemText, &selected), VARIANT_FALSE);
    EXPECT_FALSE(selected.empty());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(window, &leave);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::GetSelectedLexemText, &selected), VARIANT_FALSE);
    EXPECT_TRUE(events.empty());
}

TEST_F(WindowCommands, RightDoubleClickCopiesThenSaysSo)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::SetLanguge, 0);
    control.setProperty(disp::LexemText, "a+b");
    const QPoint at(20, 20);
    struct Case {
        std::int16_t state;
        Qt::KeyboardModifiers modifiers;
        const char* copied;
    };
    // Viewer mode or Shift: the whole formula; else the (empty) selection.
    const Case cases[] = {{1, Qt::NoModifier, "a+b"}, {2, Qt::ShiftModifier, "a+b"}, {2, Qt::NoModifier, ""}};
    for (const Case& c : cases) {
        control.setProperty(disp::State, c.state);
        QApplication::clipboard()->setText("old");
        messages.messages.clear();
        QTest::mouseDClick(window, Qt::RightButton, c.modifiers, at);
        EXPECT_EQ(clipboardText(), c.copied) << c.state;
        ASSERT_EQ(messages.messages.size(), 1u) << c.state;
        EXPECT_EQ(messages.messages[0].text, copiedMessage());
    }
}

TEST_F(WindowCommands, KeyboardEditsWhileLocked)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    control.setProperty(disp::Locked, true);
    window->setFocus();
    events.clear();
    QTest::keyClicks(window, "x+1");
    QTest::keyClick(window, Qt::Key_Backspace);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "x+");
    EXPECT_EQ(eventsWithId(event::FormulaChanged).size(), 4u);
    // The mouse does not move the caret: typing goes on at the end.
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(3, 10));
    QTest::keyClicks(window, "2");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "x+2");
}

TEST_F(WindowCommands, ClosingAPaletteTellsTheOwningControl)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    control.invoke(disp::ShowToolsDlg, "");
    QWidget* palette = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != parent.get() && top->isVisible()) {
            palette = top;
        }
    }
    ASSERT_NE(palette, nullptr);
    events.clear();
    palette->close();
    // Both palette windows go, each one told.
    EXPECT_EQ(eventsWithId(event::ToolsDialogClosed), (std::vector<std::string>{"7", "7"}));
    for (QWidget* top : QApplication::topLevelWidgets()) {
        EXPECT_TRUE(top == parent.get() || !top->isVisible());
    }
    // Hidden by the host: the same.
    control.invoke(disp::ShowToolsDlg, "");
    events.clear();
    control.invoke(disp::HideToolsDlg, "");
    EXPECT_EQ(eventsWithId(event::ToolsDialogClosed).size(), 2u);
}

TEST_F(WindowCommands, PalettesOfAControlWithoutWindowCloseSilently)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseEditor);
    control.invoke(disp::ShowToolsDlg, "");
    events.clear();
    control.invoke(disp::HideToolsDlg, "");
    EXPECT_TRUE(events.empty());
}

// The palette windows that are shown (top-level windows other than the hosts').
std::vector<QWidget*> shownPalettes()
{
    std::vector<QWidget*> shown;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->objectName().endsWith("Palette")) {
            shown.push_back(top);
        }
    }
    return shown;
}

TEST_F(WindowCommands, PalettesGoWithTheControlsWindow)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    control.invoke(disp::ShowToolsDlg, "");
    ASSERT_EQ(shownPalettes().size(), 2u);
    events.clear();
    // The host destroys its window: the control hears of both palettes.
    parent.reset();
    EXPECT_TRUE(shownPalettes().empty());
    EXPECT_EQ(eventsWithId(event::ToolsDialogClosed), (std::vector<std::string>{"7", "7"}));

    // A host that releases a placed control before its window: the palettes
    // close with it, not left floating with nobody to serve.
    QWidget host;
    ComPtr<IDispatch> second;
    ASSERT_EQ(createControl(CLSID_Formavel, &host, &second), platform::S_OK);
    DispatchDriver(second).invoke(disp::ShowToolsDlg, "");
    ASSERT_EQ(shownPalettes().size(), 2u);
    second = nullptr;
    EXPECT_TRUE(shownPalettes().empty());
}

TEST_F(WindowCommands, HostMayReleaseTheControlWhenThePalettesClose)
{
    QWidget host;
    ComPtr<IDispatch> control;
    ASSERT_EQ(createControl(CLSID_Formavel, &host, &control), platform::S_OK);
    host.show();
    int told = 0;
    const ComPtr<EventSink> sink = make<EventSink>([&](DISPID id, std::span<const Variant>) {
        if (id == event::ToolsDialogClosed) {
            ++told;
            control = nullptr;
        }
    });
    std::uint32_t cookie = 0;
    ASSERT_EQ(connectionAdvise(control.get(), DIID__DFormavelEvents, sink.get(), &cookie), platform::S_OK);
    DispatchDriver(control).invoke(disp::ShowToolsDlg, "");
    const std::vector<QWidget*> palettes = shownPalettes();
    ASSERT_FALSE(palettes.empty());
    // The first event drops the last reference; the second palette's event
    // must not reach the control that went.
    palettes.front()->close();
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(control);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shownPalettes().empty());
}

}  // namespace
}  // namespace formula::control::test
