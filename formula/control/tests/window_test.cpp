// The placed control driven with the mouse and keys on the offscreen
// platform, as a pupil drives it; screenshots of each mode.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <QTimer>

#include <algorithm>
#include <string>
#include <vector>

#include "formula/control/formavel_widget.h"
#include "formula/control/tests/control_host.h"

namespace formula::control::test {
namespace {

using Window = ControlHost;

void savePng(QWidget* window, const char* name)
{
    const QImage image = window->grab().toImage();
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(image.save(QString(FORMAVEL_PNG_DIR) + "/" + name));
}

// How many pixels of an image differ from the background colour.
int inkPixels(QWidget* window, QRgb background)
{
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF) ? 1 : 0;
        }
    }
    return count;
}

TEST_F(Window, TypingAFormulaInEditorMode)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    window->setFocus();
    QTest::keyClicks(window, "2*x+1=5");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2*x+1=5");
    EXPECT_EQ(eventsWithId(event::FormulaChanged).size(), 7u);
    QTest::keyClick(window, Qt::Key_Backspace);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2*x+1=");
    EXPECT_EQ(eventsWithId(event::FormulaChanged).size(), 8u);
    // Undo returns to the text before the key, redo to the text after it,
    // without an event.
    EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::Undo)), -1);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2*x+1=5");
    EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::Undo)), -1);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2*x+1=");
    EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::Redo)), -1);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2*x+1=5");
    EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::Redo)), -1);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2*x+1=");
    EXPECT_EQ(eventsWithId(event::FormulaChanged).size(), 8u);
}

TEST_F(Window, AltShortcutsInsertOnlyInEditorMode)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseViewer);
    control.setProperty(disp::LexemText, "x");
    window->setFocus();
    events.clear();
    QTest::keyClick(window, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "x");
    EXPECT_TRUE(events.empty());

    control.invoke(disp::UseEditor);
    QTest::keyClick(window, Qt::Key_R, Qt::AltModifier);
    EXPECT_NE(control.getProperty<std::string>(disp::LexemText).find("@sqrroot$"), std::string::npos);
    EXPECT_EQ(events, std::vector<std::string>{"1"});
}

TEST_F(Window, AltShortcutsPassTheSchoolClassGate)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::SetSchoolClass, 7)), 1);
    window->setFocus();
    // The palette's less-or-equal is refused in class 7...
    control.invoke(disp::AddLexem, 9);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "");
    // ...the Alt shortcuts insert belongs, not equal, infinity and less or equal.
    std::string before;
    for (Qt::Key key : {Qt::Key_B, Qt::Key_N, Qt::Key_G, Qt::Key_L}) {
        events.clear();
        QTest::keyClick(window, key, Qt::AltModifier);
        const std::string after = control.getProperty<std::string>(disp::LexemText);
        EXPECT_GT(after.size(), before.size()) << key;
        EXPECT_EQ(events, std::vector<std::string>{"1"}) << key;
        before = after;
    }
    control.invoke(disp::SetSchoolClass, 0);
}

TEST_F(Window, DragOfTheFirstEqualsOntoTheSecondAsksTheHost)
{
    const std::string text = "@system$x+y=5$x-y=1#";
    DispatchDriver control = createPlaced(420, 140);
    control.setProperty(disp::LexemText, text);
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
    const std::string shown = control.getProperty<std::string>(disp::LexemText);
    const QPoint from = pointOf(shown, "=", 0);
    const QPoint to = pointOf(shown, "=", 1);
    events.clear();
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, (from + to) / 2);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    EXPECT_EQ(eventsWithId(event::OperationDragDrop),
              std::vector<std::string>{"2 I4 12 String \"x+!y=!5\" String \"x+!(-1)*!y=!1\""});
    EXPECT_EQ(eventsWithId(event::OperationLClick).size(), 1u);
    EXPECT_TRUE(eventsWithId(event::FormulaChanged).empty());
}

// A drag released outside the window, or ended with Escape, drops nothing;
// while it lasts the cursor shows what a drop would do.
TEST_F(Window, DragEndedOutsideOrWithEscapeDropsNothing)
{
    DispatchDriver control = createPlaced(420, 140);
    control.setProperty(disp::LexemText, "@system$x+y=5$x-y=1#");
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
    const std::string shown = control.getProperty<std::string>(disp::LexemText);
    const QPoint from = pointOf(shown, "=", 0);
    const QPoint to = pointOf(shown, "=", 1);
    const QPoint outside(window->width() + 30, to.y());
    events.clear();

    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, to);
    EXPECT_NE(window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_NE(window->cursor().shape(), Qt::ForbiddenCursor);
    QTest::mouseMove(window, outside);
    EXPECT_EQ(window->cursor().shape(), Qt::ForbiddenCursor);
    QTest::mouseRelease(window, Qt::LeftButton, {}, outside);
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);

    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, to);
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);

    EXPECT_TRUE(eventsWithId(event::OperationDragDrop).empty());
    EXPECT_TRUE(eventsWithId(event::FormulaTransformed).empty());
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), shown);

    // The next drag works as before.
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    EXPECT_EQ(eventsWithId(event::OperationDragDrop).size(), 1u);
}

// The mouse over a node, as a hand brings it there: from elsewhere, so the
// control sees a move even when the cursor stood there before.
void hover(QWidget* window, QPoint at)
{
    QTest::mouseMove(window, QPoint(window->width() - 2, window->height() - 2));
    QTest::mouseMove(window, at);
}

// A double click as the platform delivers it: press, release, double click,
// release.
void doubleClick(QWidget* window, Qt::KeyboardModifiers modifiers, QPoint at)
{
    QTest::mousePress(window, Qt::LeftButton, modifiers, at);
    QTest::mouseRelease(window, Qt::LeftButton, modifiers, at);
    QTest::mouseDClick(window, Qt::LeftButton, modifiers, at);
    QTest::mouseRelease(window, Qt::LeftButton, modifiers, at);
}

// Shift+clicks pick terms (or lines) into the multi-selection: it is what is
// selected, and the next operation hands it to the host. A click without
// Shift starts again from the clicked node.
TEST_F(Window, ShiftClicksBuildTheMultiSelection)
{
    struct Click {
        const char* lexeme;
        int nth;
        bool shift;
    };
    struct Row {
        const char* text;
        std::vector<Click> clicks;
        const char* selected;
        // The next operation: a Shift+double click, or a right click, there.
        Click next;
        bool rightClick;
        const char* event;
    };
    const Row rows[] = {
        {"1+2+3+4=x", {{"2", 0, true}, {"4", 0, true}}, "2+4", {"4", 0, true}, false,
         "5 I4 1 String \"(2)+!(4)\""},
        {"1+2+3+4=x", {{"1", 0, true}, {"3", 0, true}, {"4", 0, true}}, "1+3+4", {"3", 0, true}, false,
         "5 I4 1 String \"(1)+!(3)+!(4)\""},
        {"5-2+3=x", {{"2", 0, true}, {"3", 0, true}}, "-2+3", {"3", 0, true}, false,
         "5 I4 1 String \"((-2))+!(3)\""},
        {"2*a*b=x", {{"a", 0, true}, {"b", 0, true}}, "a*b", {"b", 0, true}, true,
         "4 I4 4 String \"(a)*!(b)\""},
        {"@system$x+y=5$x-y=1#", {{"=", 0, true}, {"=", 1, true}}, "x+y=5@#x-y=1", {"=", 1, false}, true,
         "4 I4 12 String \"System(x+!y=!5 &! x+!(-1)*!y=!1)\""},
        {"1+2+3+4=x", {{"2", 0, true}, {"4", 0, true}, {"3", 0, false}}, "3", {"3", 0, false}, false,
         "5 I4 13 String \"3\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text + std::string(" selected ") + row.selected);
        DispatchDriver control = createPlaced(420, 140);
        control.setProperty(disp::LexemText, row.text);
        ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
        const std::string shown = control.getProperty<std::string>(disp::LexemText);
        events.clear();
        for (const Click& click : row.clicks) {
            QTest::mouseClick(window, Qt::LeftButton, click.shift ? Qt::ShiftModifier : Qt::NoModifier,
                              pointOf(shown, click.lexeme, click.nth));
        }
        std::string selected;
        EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::GetSelectedLexemText, &selected)), -1);
        EXPECT_EQ(selected, row.selected);
        // Clicks are no drops: the formula is as it was.
        EXPECT_EQ(events, std::vector<std::string>(row.clicks.size(), std::to_string(event::OperationLClick)));
        EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), shown);

        const QPoint next = pointOf(shown, row.next.lexeme, row.next.nth);
        const Qt::KeyboardModifiers modifiers = row.next.shift ? Qt::ShiftModifier : Qt::NoModifier;
        events.clear();
        if (row.rightClick) {
            QTest::mousePress(window, Qt::RightButton, modifiers, next);
            QTest::mouseRelease(window, Qt::RightButton, modifiers, next);
        } else {
            hover(window, next);
            doubleClick(window, modifiers, next);
        }
        EXPECT_EQ(eventsWithId(row.rightClick ? event::OperationRClick : event::OperationDblClick),
                  std::vector<std::string>{row.event});
        parent.reset();
    }
}

// A press becomes a drag only when the mouse moves the platform's drag
// distance away; a release short of it is a click on the pressed node.
TEST_F(Window, DragStartsPastTheDragDistance)
{
    const std::string text = "1+2+3+4=x";
    const QPoint three = pointOf(text, "3", 0);
    const QPoint plus = pointOf(text, "+", 2);
    const QPoint four = pointOf(text, "4", 0);
    // The platform's distance reaches just past the next sign.
    struct DistanceGuard {
        int saved = QApplication::startDragDistance();
        ~DistanceGuard() { QApplication::setStartDragDistance(saved); }
    } guard;
    QApplication::setStartDragDistance((plus - three).manhattanLength() + 1);
    ASSERT_LT(QApplication::startDragDistance(), (four - three).manhattanLength());
    struct Row {
        const char* name;
        std::vector<QPoint> moves;
        QPoint release;
        const char* dragDrop;  // nullptr: a click, no drop
    };
    const Row rows[] = {
        {"moved onto the sign within the distance", {plus}, plus, nullptr},
        {"dragged onto 4", {(three + four) / 2, four}, four, "2 I4 1 String \"3\" String \"4\""},
        {"released on 4 with no move seen", {}, four, "2 I4 1 String \"3\" String \"4\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DispatchDriver control = createPlaced(420, 140);
        control.setProperty(disp::LexemText, text);
        ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
        ASSERT_EQ(control.getProperty<std::string>(disp::LexemText), text);
        events.clear();
        QTest::mousePress(window, Qt::LeftButton, {}, three);
        for (const QPoint& move : row.moves) {
            QTest::mouseMove(window, move);
        }
        QTest::mouseRelease(window, Qt::LeftButton, {}, row.release);
        std::string selected;
        const VARIANT_BOOL any = control.invoke<VARIANT_BOOL>(disp::GetSelectedLexemText, &selected);
        if (row.dragDrop) {
            EXPECT_EQ(eventsWithId(event::OperationDragDrop), std::vector<std::string>{row.dragDrop});
        } else {
            // The pressed node stays highlighted, ready for a double click.
            EXPECT_TRUE(eventsWithId(event::OperationDragDrop).empty());
            EXPECT_EQ(rawValue(any), -1);
            EXPECT_EQ(selected, "3");
            EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
        }
        EXPECT_TRUE(eventsWithId(event::FormulaTransformed).empty());
        EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), text);
        parent.reset();
    }
}

// The pixels where two images of the control differ, as a rectangle.
QRect difference(const QImage& a, const QImage& b)
{
    QRect found;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                found |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}

// The caret blinks at the platform's cursor flash time: shown at once after a
// key or a click, hidden half a flash time later, hidden without the focus,
// steady with a flash time of 0. The blink timer is driven by hand.
TEST_F(Window, CaretBlinksAtTheCursorFlashTime)
{
    struct FlashGuard {
        int saved = QApplication::cursorFlashTime();
        ~FlashGuard() { QApplication::setCursorFlashTime(saved); }
    } guard;
    QApplication::setCursorFlashTime(1000);
    DispatchDriver control = createPlaced(200, 60);
    control.invoke(disp::UseEditor);
    parent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    window->setFocus();
    ASSERT_TRUE(window->hasFocus());
    QTest::keyClicks(window, "x+1");
    auto* blink = window->findChild<QTimer*>(kCaretBlinkTimerName);
    ASSERT_NE(blink, nullptr);
    const auto image = [this] { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const auto tick = [blink] { ASSERT_TRUE(QMetaObject::invokeMethod(blink, "timeout")); };

    EXPECT_TRUE(blink->isActive());
    EXPECT_EQ(blink->interval(), 500);
    const QImage shown = image();
    tick();
    const QImage hidden = image();
    // Only the caret went: a bar 2 pixels wide after the "1".
    const QRect caret = difference(shown, hidden);
    EXPECT_EQ(caret.width(), 2);
    EXPECT_GT(caret.height(), 8);
    EXPECT_GT(caret.left(), pointOf("x+1", "1", 0).x());
    tick();
    EXPECT_EQ(image(), shown);
    // Both phases side by side, enlarged: shown, then hidden.
    QImage phases(shown.width() * 2 + 4, shown.height(), QImage::Format_RGB32);
    phases.fill(Qt::darkGray);
    QPainter painter(&phases);
    painter.drawImage(0, 0, shown);
    painter.drawImage(shown.width() + 4, 0, hidden);
    painter.end();
    ASSERT_TRUE(phases.scaled(phases.size() * 2).save(QString(FORMAVEL_PNG_DIR) + "/formavel_caret.png"));

    // A key shows it at once, even one that moves nothing; so does a click.
    tick();
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(image(), shown);
    tick();
    QTest::mouseClick(window, Qt::LeftButton, {}, caret.center() + QPoint(4, 0));
    EXPECT_EQ(image(), shown);
    EXPECT_TRUE(blink->isActive());

    // Without the focus: hidden, and no timer runs; with it back: shown.
    window->clearFocus();
    EXPECT_FALSE(blink->isActive());
    EXPECT_EQ(image(), hidden);
    window->setFocus();
    EXPECT_TRUE(blink->isActive());
    EXPECT_EQ(image(), shown);

    // A flash time of 0: the caret stays, and nothing blinks.
    QApplication::setCursorFlashTime(0);
    EXPECT_FALSE(blink->isActive());
    EXPECT_EQ(image(), shown);
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_FALSE(blink->isActive());
    EXPECT_EQ(image(), shown);
}

TEST_F(Window, GridLinesFromAFarOrigin)
{
    DispatchDriver control = createPlaced(200, 100);
    control.invoke(disp::UseViewer);
    // Lines at the origin and every step on: -1999999995 + k * 10 gives 5, 15, ...
    control.invoke(disp::SetGridData, -1999999995, 0, 10, 0, true, false, 0x0000FF);
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(5, 90) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(15, 90) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(10, 90) & 0xFFFFFF, 0xFFFFFFu);
    // A step as large as an int can be: one line, no overflow.
    control.invoke(disp::SetGridData, 100, 100, 2147483647, 2147483647, true, true, 0x0000FF);
    const QImage one = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(one.pixel(100, 50) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(one.pixel(150, 50) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(Window, HoverAndDoubleClickAsksTheHost)
{
    DispatchDriver control = createPlaced();
    control.setProperty(disp::LexemText, "2*x+3+4=7");
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
    const QPoint plus = pointOf(control.getProperty<std::string>(disp::LexemText), "+", 1);
    events.clear();
    QTest::mouseMove(window, plus);
    QTest::mouseDClick(window, Qt::LeftButton, {}, plus);
    EXPECT_EQ(eventsWithId(event::OperationDblClick), std::vector<std::string>{"5 I4 1 String \"3+!4\""});
    // Pending: a second double click asks nothing until the host answers.
    QTest::mouseDClick(window, Qt::LeftButton, {}, plus);
    EXPECT_EQ(eventsWithId(event::OperationDblClick).size(), 1u);
    control.invoke(disp::SetOperationResult, true, "7");
    EXPECT_EQ(control.invoke<std::string>(disp::GetAplanText), "2*!x+!7=!7");
    EXPECT_TRUE(eventsWithId(event::FormulaChanged).empty());
}

// A host may close its window from an event of the control's own mouse handling.
TEST_F(Window, HostMayDestroyTheWindowFromAMouseEvent)
{
    DispatchDriver control = createPlaced();
    control.setProperty(disp::LexemText, "2*x+3+4=7");
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
    const QPoint plus = pointOf(control.getProperty<std::string>(disp::LexemText), "+", 1);
    const ComPtr<EventSink> closer = make<EventSink>([this](DISPID id, std::span<const Variant>) {
        if (id == event::OperationDblClick) {
            parent.reset();
        }
    });
    std::uint32_t cookie = 0;
    ASSERT_EQ(connectionAdvise(object.get(), DIID__DFormavelEvents, closer.get(), &cookie), platform::S_OK);
    QTest::mouseMove(window, plus);
    QTest::mouseDClick(window, Qt::LeftButton, {}, plus);
    EXPECT_FALSE(parent);
    EXPECT_EQ(eventsWithId(event::OperationDblClick).size(), 1u);
    // The control lives on without a window.
    control.invoke(disp::SetOperationResult, true, "7");
    EXPECT_EQ(control.invoke<std::string>(disp::GetAplanText), "2*!x+!7=!7");
}

TEST_F(Window, LockedIgnoresTheMouse)
{
    DispatchDriver control = createPlaced();
    control.setProperty(disp::LexemText, "2*x+3+4=7");
    control.invoke(disp::UseTransformer);
    control.setProperty(disp::Locked, true);
    const QPoint plus = pointOf(control.getProperty<std::string>(disp::LexemText), "+", 1);
    events.clear();
    QTest::mouseMove(window, plus);
    QTest::mouseDClick(window, Qt::LeftButton, {}, plus);
    EXPECT_TRUE(events.empty());
}

TEST_F(Window, ShortcutOverrideIsTakenInEditorModeOnly)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    for (const auto& [key, modifiers, text] :
         {std::tuple{Qt::Key_Left, Qt::NoModifier, QString()}, std::tuple{Qt::Key_A, Qt::AltModifier, QString("a")},
          std::tuple{Qt::Key_X, Qt::NoModifier, QString("x")}, std::tuple{Qt::Key_Delete, Qt::NoModifier, QString()}}) {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, text);
        override.ignore();
        QCoreApplication::sendEvent(window, &override);
        EXPECT_TRUE(override.isAccepted()) << key;
    }
    // Alt keys that are no shortcut of the control stay the host's (menu
    // mnemonics), and type nothing; Ctrl+Alt is AltGr, no shortcut.
    const std::string before = control.getProperty<std::string>(disp::LexemText);
    for (const auto& [key, modifiers, text] :
         {std::tuple{Qt::Key_C, Qt::KeyboardModifiers(Qt::AltModifier), QString("c")},
          std::tuple{Qt::Key_1, Qt::KeyboardModifiers(Qt::AltModifier), QString("1")},
          std::tuple{Qt::Key_A, Qt::AltModifier | Qt::ControlModifier, QString("a")}}) {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, text);
        override.ignore();
        QCoreApplication::sendEvent(window, &override);
        EXPECT_FALSE(override.isAccepted()) << key;
        QTest::keyClick(window, key, modifiers);
    }
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), before);
    EXPECT_TRUE(eventsWithId(event::FormulaChanged).empty());

    control.invoke(disp::UseViewer);
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_A, Qt::AltModifier, "a");
    override.ignore();
    QCoreApplication::sendEvent(window, &override);
    EXPECT_FALSE(override.isAccepted());
}

TEST_F(Window, ScreenshotsOfEachMode)
{
    DispatchDriver control = createPlaced(420, 120);
    control.invoke(disp::SetGridData, 0, 0, 10, 10, true, true, 0xE0E0E0);
    control.setProperty(disp::LexemText, "@system$x+y=5$x-y=1#");
    control.invoke(disp::UseViewer);
    // The caption in the stock font, the formula below its block.
    control.setProperty(DISPID_CAPTION, "Розв'яжіть систему:");
    control.setProperty(DISPID_FONT, makeFont({"Times New Roman", 11.0, 700, true}));
    const int viewerInk = inkPixels(window, 0xFFFFFF);
    EXPECT_GT(viewerInk, 500);
    savePng(window, "formavel_viewer.png");

    control.invoke(disp::UseEditor);
    parent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    window->setFocus();
    QTest::keyClick(window, Qt::Key_End);
    control.invoke(disp::ShowToolsDlg, "");
    // The control with the palettes (top-level windows of their own) beside it.
    QImage editor = window->grab().toImage();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != parent.get() && top->isVisible()) {
            const QImage palette = top->grab().toImage();
            QImage wider(editor.width() + palette.width() + 4, std::max(editor.height(), palette.height()),
                         QImage::Format_RGB32);
            wider.fill(Qt::darkGray);
            QPainter painter(&wider);
            painter.drawImage(0, 0, editor);
            painter.drawImage(editor.width() + 4, 0, palette);
            painter.end();
            editor = wider;
        }
    }
    EXPECT_GT(editor.width(), window->width()) << "no palette was shown";
    ASSERT_TRUE(editor.save(QString(FORMAVEL_PNG_DIR) + "/formavel_editor.png"));
    control.invoke(disp::HideToolsDlg, "");

    control.setProperty(disp::LexemText, "2*x+3+4=7");
    control.invoke(disp::UseTransformer);
    const QPoint plus = pointOf(control.getProperty<std::string>(disp::LexemText), "+", 1);
    QTest::mouseMove(window, plus);
    savePng(window, "formavel_transformer.png");

    // A grid step of 0 draws no lines in that direction, and the paint ends.
    control.invoke(disp::SetGridData, 0, 0, 0, 10, true, true, 0x000000);
    control.invoke(disp::SetState, std::int16_t{0});
    savePng(window, "formavel_none.png");
}

}  // namespace
}  // namespace formula::control::test
