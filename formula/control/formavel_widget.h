#pragma once
// The window of the formula control: paints the control through a back
// buffer and turns mouse, keys, focus and the context menu into calls on
// the control's environment and transformer.
#include <QWidget>

#include <optional>

#include "formula/layout/canvas.h"

class QTimer;

namespace formula {
enum class DropEffect : int;
}

namespace formula::control {

class CFormavelCtrl;

// The object name of the caret's blink timer (tests drive it by name).
inline constexpr char kCaretBlinkTimerName[] = "caretBlink";
// How long the hint for a refused character stays, in milliseconds.
inline constexpr int kRefusedHintTime = 2500;

class FormavelWidget : public QWidget {
public:
    FormavelWidget(QWidget* parent, CFormavelCtrl* control);
    ~FormavelWidget() override;
    // The control is going: the widget calls it no more.
    void detach() { m_control = nullptr; }

    // The caret in window coordinates for input methods
    // (Qt::ImCursorRectangle).
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Lays the formula out when it is stale, so hit-tests see current boxes.
    void ensureLayout();
    void drawGrid(QPainter& painter);
    void endScrolling();
    // While a drag lasts the cursor shows what a drop there would do.
    void showDropEffect(DropEffect effect);
    void endDrag();
    void runCommand(int command);
    // The editor's caret in the laid-out formula; none outside editor mode
    // or while it is hidden.
    std::optional<Rect> caretRect() const;
    // After a key: the formula moves sideways so that the caret stays inside
    // the window (a long formula scrolls along while it is typed).
    void keepCaretVisible();
    // A typed character the formula cannot hold: a short hint at the caret.
    void showRefusedHint();
    // The caret is shown at once and blinks from now on: after a key, a
    // click, a new focus or a move of the caret.
    void restartCaretBlink();
    // The same without a repaint: the caret's phase and timer only.
    void resetCaretPhase();
    void blinkCaret();
    bool caretDrawn() const;

    CFormavelCtrl* m_control;
    bool m_scrolling = false;
    QPoint m_lastPoint;
    QCursor m_savedCursor;
    int m_captionSeen = 0;
    bool m_dragEntered = false;
    // A left press in transformer mode arms a drag of the pressed node; it
    // becomes a drag once the mouse moves the platform's drag distance
    // away from the press point, else the release is a plain click.
    QPoint m_pressPoint;
    bool m_dragMoved = false;
    // The caret blinks like the system caret: shown, then hidden and shown
    // in turns every half of the cursor flash time while the control has
    // the focus; a flash time of 0 keeps it shown.
    QTimer* m_caretTimer = nullptr;
    // How far keepCaretVisible has moved the formula left of where it stood.
    int m_scrolledBy = 0;
    bool m_caretOn = true;
    std::optional<Rect> m_caretSeen;
};

}  // namespace formula::control
