#pragma once
// One drawn scroll bar: flat arrows and thumb that may follow the mouse, a
// checkered track, auto-repeat while an arrow or page area is held, a thumb
// that can be dragged, and extra buttons at its ends. Its arithmetic is
// scrollbar::'s; the bar draws, hit-tests through it and sends the scroll
// requests (0 to 8 with a position) to its handler. The library of
// custom_scroll_bars.h places two of them in a widget's margins; the bar's
// parent widget is that widget and gets the extra buttons' commands, and its
// parent the drawing and click notifications.
#include <QPicture>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "stepwell/app/custom_scroll_bar_types.h"
#include "stepwell/model/scroll_bar_geometry.h"

namespace stepwell {

class CCustomScrollBar : public QWidget {
public:
    using RequestHandler = std::function<void(int request, int pos)>;
    using TooltipSource = std::function<QString(int commandId)>;
    CCustomScrollBar(QWidget* parent, Qt::Orientation orientation, RequestHandler handler);
    ~CCustomScrollBar() override;

    // Applies the masked fields (scrollbar::SetInfo); a thumb being dragged
    // keeps its place until it is let go.
    scrollbar::SetInfoResult SetInfo(unsigned mask, const scrollbar::Info& info);
    void SetStyle(int style);
    void SetTooltipSource(TooltipSource source) { m_tooltips = std::move(source); }

    // Extra buttons (see CustomScrollBar_InsertButton).
    void InsertButton(int index, const CustomScrollButton& button);
    bool ModifyButton(int commandId, const CustomScrollButton& button);
    bool RemoveButton(int commandId);

    const scrollbar::Bar& bar() const { return m_bar; }
    scrollbar::Bar& bar() { return m_bar; }
    Qt::Orientation orientation() const { return m_orientation; }
    bool IsTracking() const { return m_tracking; }
    // Whether the parent took the bar over at its last painting.
    bool TakenOver() const { return m_takenOver; }
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
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Face {
        QPixmap bitmap;
        QPicture picture;
        std::optional<QCursor> cursor;
    };
    int length() const;
    int thickness() const;
    int along(const QPoint& p) const;
    int across(const QPoint& p) const;
    QRect rectAlong(int start, int size) const;  // in this widget's coordinates
    scrollbar::Part partAt(const QPoint& p) const;
    scrollbar::ButtonHit buttonAt(const QPoint& p) const;
    bool canScroll() const;
    void press(const QPoint& p);
    void pressButton(const QPoint& p);
    void send(int request, int pos = 0);
    // Painting in the window's coordinates (this bar's parent widget).
    void paintBar(QPainter& painter) const;
    void paintButtons(QPainter& painter) const;
    void paintButton(QPainter& painter, int index, const QRect& r, bool pressed) const;
    int notifyParent(unsigned stage, QPainter* painter, const QRect& rect, int item, unsigned state,
                     int itemValue) const;

    Qt::Orientation m_orientation;
    RequestHandler m_handler;
    TooltipSource m_tooltips;
    scrollbar::Bar m_bar;
    std::vector<Face> m_faces;  // beside m_bar.buttons
    bool m_tracking = false;
    bool m_pressedOver = false;  // a held part shows pressed only under the mouse
    int m_heldButton = -1;
    mutable bool m_takenOver = false;
    scrollbar::Drag m_drag;
    std::optional<int> m_dragThumbStart;
    QPoint m_mouse;
    QTimer m_delay;
    QTimer m_repeat;
    QTimer m_hot;
};

}  // namespace stepwell
