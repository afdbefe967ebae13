#pragma once
// The window of the formula control: paints the control through a back
// buffer and turns mouse, keys, focus and the context menu into calls on
// the control's environment and transformer.
#include <QWidget>

namespace formula {
enum class DropEffect : int;
}

namespace formula::control {

class CFormavelCtrl;

class FormavelWidget : public QWidget {
public:
    FormavelWidget(QWidget* parent, CFormavelCtrl* control);
    ~FormavelWidget() override;
    // The control is going: the widget calls it no more.
    void detach() { m_control = nullptr; }

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

    CFormavelCtrl* m_control;
    bool m_scrolling = false;
    QPoint m_lastPoint;
    QCursor m_savedCursor;
    int m_captionSeen = 0;
    bool m_dragEntered = false;
};

}  // namespace formula::control
