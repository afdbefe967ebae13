#pragma once
// The window a host places a control in: created at a rectangle in a parent,
// it makes the component by CLSID inside itself and keeps the control's
// dispatch interface; the control's widget fills the wrapper.
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include "platform/com/dispatch_driver.h"
#include "platform/com/guid.h"
#include "solvehost/control_ids.h"

namespace solvehost {

class CControlWrapper : public QWidget {
public:
    CControlWrapper();
    ~CControlWrapper() override;

    // The control (null before Create and after a failed one) and its widget.
    platform::com::IDispatch* GetControl() const { return m_control.get(); }
    QWidget* GetControlWindow() const { return m_window.data(); }
    // The child id given to Create.
    int GetDlgCtrlID() const { return m_id; }

protected:
    // Places the wrapper at rect in parent (name as object name, WS_VISIBLE
    // shows it) and makes the control by clsid in it. False, and no control,
    // when the control cannot be made or there is no parent.
    bool CreateControl(const platform::com::CLSID& clsid, const QString& name, WindowStyle style, const QRect& rect,
                       QWidget* parent, int id);

    // The control's dispatch interface for calls by dispid (empty without one).
    platform::com::DispatchDriver& Driver() { return m_driver; }

    void resizeEvent(QResizeEvent* event) override;

private:
    platform::com::ComPtr<platform::com::IDispatch> m_control;
    platform::com::DispatchDriver m_driver;
    QPointer<QWidget> m_window;
    int m_id = 0;
};

}  // namespace solvehost
