#pragma once
// A child window that divides its client area into a fixed number of panes,
// side by side or stacked, separated by bars the user drags. Each pane's share
// is a fraction of 32768 of the room left by the bars, so the panes keep their
// proportions when the window is resized, while no pane falls below a minimum
// size (as far as the room allows). All arithmetic is integer, rounding
// towards zero, so owners see the same pixels for the same fractions.
#include <QFrame>
#include <QPointer>
#include <QRect>

#include <vector>

class QRubberBand;

namespace solvehost {

class CProportionalSplitterWnd : public QFrame {
public:
    static constexpr int kFullFraction = 32768;
    static constexpr int kFirstPaneId = 0xE900;

    // orientation 1: panes side by side (sizes along x); any other value:
    // panes stacked (sizes along y).
    CProportionalSplitterWnd(int paneCount, int orientation, int minPaneSize, int barWidth);
    // Panes are not owned: those still alive are released, not destroyed.
    ~CProportionalSplitterWnd() override;

    // Fills the parent with a sunken two-pixel client edge and the sizing
    // cursor of the orientation. False without a parent.
    bool Create(QWidget* parent, int id);
    // Adopts `pane` in its rectangle with child id 0xE900 + index. False for
    // an index out of range or no pane.
    bool CreatePane(int index, QWidget* pane);
    // Sizes in pixels turned into fractions, then the layout. Refused (false,
    // nothing changes) unless there is one size per pane, none negative, with
    // a sum above 0.
    bool SetPaneSizes(const std::vector<int>& sizes);
    // Pane i in client coordinates (the client edge excluded).
    QRect GetPaneRect(int index) const;
    void SetPaneFocus(int index);
    void RecalcLayout();
    void RepositionPanes();

    int GetDlgCtrlID() const { return m_id; }
    int GetPaneCount() const { return m_paneCount; }
    QWidget* GetPane(int index) const;
    const std::vector<int>& GetFractions() const { return m_fractions; }
    const std::vector<int>& GetPositions() const { return m_positions; }
    // The dragged bar (1..n-1) while a drag is held, else 0.
    int GetDraggedBar() const { return m_draggedBar; }
    QRubberBand* GetTracker() const { return m_tracker; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool sideBySide() const { return m_orientation == 1; }
    // The client extent along the splitting axis, and across it.
    int alongExtent() const;
    int acrossExtent() const;
    // The client extent along the axis less the bars; never below 0.
    int room() const;
    // The pixel size of fraction f in `room` pixels.
    static int pixels(int fraction, int room);
    // A point of the widget in client coordinates, along the axis.
    int along(const QPoint& widgetPoint) const;
    void placeTracker();

    const int m_paneCount;
    const int m_orientation;
    const int m_minPaneSize;
    const int m_barWidth;
    int m_id = 0;
    int m_draggedBar = 0;
    int m_trackerPosition = 0;
    int m_trackerLength = 0;
    int m_dragOffset = 0;
    std::vector<QPointer<QWidget>> m_panes;
    std::vector<int> m_fractions;
    std::vector<int> m_positions;  // n + 1 starts along the axis
    QRubberBand* m_tracker = nullptr;
};

}  // namespace solvehost
