#pragma once
// The steps view's own drawn scroll bar: flat arrows and thumb that may
// follow the mouse, a checkered track, auto-repeat while an arrow or page
// area is held and a thumb that can be dragged. Its arithmetic is
// scrollbar::'s; the bar only draws, hit-tests through it and sends the
// scroll requests (0 to 8 with a position) to its owner.
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

#include "stepwell/app/steps_scroll_bar.h"
#include "stepwell/model/scroll_bar_geometry.h"

namespace stepwell {

class CCustomScrollBar : public QWidget, public IStepsScrollBar {
public:
    using RequestHandler = std::function<void(int request, int pos)>;
    CCustomScrollBar(QWidget* parent, Qt::Orientation orientation, RequestHandler handler);
    ~CCustomScrollBar() override;

    void SetScrollInfo(const ScrollInfo& info) override;
    ScrollInfo GetScrollInfo() const override;
    void ShowScrollBar(bool show) override;
    void SetStyle(unsigned style) override;
    QWidget* widget() override { return this; }

    const scrollbar::Bar& bar() const { return m_bar; }
    scrollbar::Bar& bar() { return m_bar; }
    bool IsTracking() const { return m_tracking; }
    // The pressed and the highlighted part; one bar of the process at a time.
    scrollbar::Part pressedPart() const;
    scrollbar::Part hotPart() const;
    // The timers: the first delay after a press (300 ms), the auto-repeat
    // (55 ms) and the hot tracking (20 ms). OnTimer does what each does when
    // it fires.
    static constexpr int kDelayTimer = 0xFFFD;
    static constexpr int kRepeatTimer = 0xFFFE;
    static constexpr int kHotTimer = -14;
    bool TimerActive(int id) const;
    void OnTimer(int id);

    // The bar drawn into an image of its size, with the pressed part given.
    QImage Render() const;
    // The system sizes the bar uses: the bar's thickness and arrow length.
    static int SystemExtent();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int length() const;
    int thickness() const;
    int along(const QPoint& p) const;
    int across(const QPoint& p) const;
    scrollbar::Part partAt(const QPoint& p) const;
    bool canScroll() const;
    void press(const QPoint& p);
    void send(int request, int pos = 0);
    void paintBar(class QPainter& painter) const;

    Qt::Orientation m_orientation;
    RequestHandler m_handler;
    scrollbar::Bar m_bar;
    bool m_givenShown = false;
    bool m_tracking = false;
    bool m_pressedOver = false;  // an arrow or page area shows pressed only under the mouse
    scrollbar::Drag m_drag;
    std::optional<int> m_dragThumbStart;
    QPoint m_mouse;
    QTimer m_delay;
    QTimer m_repeat;
    QTimer m_hot;
};

}  // namespace stepwell
