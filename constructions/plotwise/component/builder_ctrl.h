#pragma once
// CZezidoziBuilderCtrl: the graph control. It owns one task list, gives it
// its window, shows the active task when painted or resized, and lets the
// user drag the coordinate plane with the left mouse button.
#include <QCursor>
#include <QPainter>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "constructions/plotwise/component/back_buffer.h"
#include "constructions/plotwise/component/plotwise_interfaces.h"
#include "platform/com/com.h"

namespace constructions::plotwise {

using platform::com::ComPtr;
using platform::com::ConnectionPoint;
using platform::com::DispatchMember;
using platform::com::DispatchObject;
using platform::com::IConnectionPoint;
using platform::com::IConnectionPointContainer;
using platform::com::IControlWindow;
using platform::com::ISupportErrorInfo;

class CZezidoziBuilderCtrl;

// The control's window: paints the active task's image, which the task
// hands over as this window's back buffer.
class BuilderWindow final : public QWidget, public BackBufferWindow {
public:
    BuilderWindow(QWidget* parent, CZezidoziBuilderCtrl* control);
    // The control is going: the window calls it no more.
    void detach() { m_control = nullptr; }
    void present(const QImage& image) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CZezidoziBuilderCtrl* m_control;
    QImage m_buffer;
    bool m_inPaint = false;
    bool m_presenting = false;
};

class CZezidoziBuilderCtrl final
    : public DispatchObject<CZezidoziBuilderCtrl, IZezidoziBuilder, IConnectionPointContainer, IControlWindow,
                            ISupportErrorInfo> {
public:
    CZezidoziBuilderCtrl();
    ~CZezidoziBuilderCtrl() override;

    static std::span<const DispatchMember<CZezidoziBuilderCtrl>> dispatchMembers();

    HRESULT get_Tasks(ITasks** tasks) override;
    HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) override;
    QWidget* createWindow(QWidget* parent) override;
    QWidget* window() override { return m_window; }

    // What the window reports.
    void paint(QPainter& windowPainter);
    void resized();
    void leftButtonDown(QPoint at);
    void mouseMoved(QPoint at, bool leftButtonDown);
    void leftButtonUp();

private:
    ComPtr<ITask> activeTask() const;

    ComPtr<ConnectionPoint> m_events;
    ComPtr<ITasks> m_tasks;
    QPointer<BuilderWindow> m_window;
    bool m_dragging = false;
    QPoint m_dragOffset;
    QCursor m_cursorBeforeDrag;
};

}  // namespace constructions::plotwise
