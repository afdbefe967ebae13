#include "solvehost/control_wrapper.h"

#include "platform/com/control.h"

namespace solvehost {

CControlWrapper::CControlWrapper() = default;

// The control goes before the widgets: a control whose object dies takes its
// widget away itself.
CControlWrapper::~CControlWrapper()
{
    m_driver.release();
    m_control.reset();
}

bool CControlWrapper::CreateControl(const platform::com::CLSID& clsid, const QString& name, WindowStyle style,
                                    const QRect& rect, QWidget* parent, int id)
{
    m_driver.release();
    m_control.reset();
    m_window = nullptr;
    // A child window needs its parent.
    if (!parent)
        return false;
    setParent(parent);
    setObjectName(name);
    setGeometry(rect);
    m_id = id;
    if ((style & WS_VISIBLE) != 0)
        show();

    platform::com::ComPtr<platform::com::IDispatch> control;
    QWidget* window = nullptr;
    if (platform::Failed(platform::com::createControl(clsid, this, &control, &window)))
        return false;
    m_control = std::move(control);
    m_driver.attach(m_control);
    m_window = window;
    m_window->setGeometry(0, 0, width(), height());
    m_window->show();
    return true;
}

void CControlWrapper::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_window)
        m_window->setGeometry(0, 0, width(), height());
}

}  // namespace solvehost
