#pragma once
// A docking bar that holds one pane (the guide, a content frame, a dialog)
// and docks on any side of its main window or floats. Docked, it shows a
// 20-pixel gripper: on top when docked left or right, on the left when
// docked top or bottom, with a close button (hides the bar, so menus follow
// its toggleViewAction) and a docking toggle (floats it); dragging the
// gripper moves the bar and a double click toggles docking. Floating, the
// window's own title bar shows the title. The main window's separator, 6
// pixels, is the sizing edge. The pane is not owned: a bar that goes first
// hands it back (without a parent), so a host holding it stays safe.
#include <functional>

#include <QDockWidget>
#include <QPointer>

class QMainWindow;

namespace shared {

class DockingGripper;

class CDockingPaneBar : public QDockWidget {
    Q_OBJECT
public:
    // Makes the pane with the given parent (inside the bar), as a component
    // makes its window in its host.
    using ChildFactory = std::function<QWidget*(QWidget* parent, int id)>;

    static constexpr int kMinimumSize = 50;
    static constexpr int kGripperWidth = 20;
    static constexpr int kSizingEdge = 6;

    CDockingPaneBar();
    ~CDockingPaneBar() override;

    // Adopts child; without one, the factory makes it; with neither, a plain
    // widget named "Guide" of 350 x 500. The bar's sizes start from the
    // child's. False without a parent, when the factory makes nothing, or
    // for a second call. The host docks it (setAllowedAreas, addDockWidget).
    bool Create(QMainWindow* parent, QWidget* child, const QString& title, int id, unsigned style,
                const ChildFactory& createChild = {});

    QWidget* child() const { return m_child; }
    int id() const { return m_id; }
    unsigned GetBarStyle() const { return m_style; }
    // The gripper; nullptr while floating.
    DockingGripper* gripper() const;

private:
    void updateGripper();

    QPointer<QWidget> m_child;
    bool m_ownsChild = false;
    QWidget* m_content = nullptr;
    DockingGripper* m_gripper = nullptr;
    int m_id = 0;
    unsigned m_style = 0;
};

// The gripper: a gradient from palette colour 0 to 1, the close button, the
// docking toggle 13 pixels further along, and two grip bars.
class DockingGripper : public QWidget {
    Q_OBJECT
public:
    explicit DockingGripper(CDockingPaneBar& bar);

    // Along the bar's top (docked left or right) or down its left side.
    bool isVertical() const;
    QRect closeButtonRect() const;
    QRect toggleButtonRect() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CDockingPaneBar& m_bar;
};

}  // namespace shared
