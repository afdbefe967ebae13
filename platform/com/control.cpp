#include "platform/com/control.h"

#include "platform/com/creation.h"
#include "platform/com/error_info.h"

namespace platform::com {

HRESULT createControl(const CLSID& clsid, QWidget* parent, ComPtr<IDispatch>* control, QWidget** window)
{
    if (!control)
        return E_POINTER;
    control->reset();
    if (window)
        *window = nullptr;
    if (!parent)
        return E_INVALIDARG;
    ComPtr<IControlWindow> object;
    if (const HRESULT hr = createInstance(clsid, object); Failed(hr))
        return hr;
    ComPtr<IDispatch> dispatch;
    if (const HRESULT hr = object.query(dispatch); Failed(hr))
        return hr;
    QWidget* widget = object->createWindow(parent);
    if (!widget)
        return reportError("CreateControl", IControlWindow::iid, "Control " + clsid.toString() + " made no window",
                           E_FAIL);
    *control = std::move(dispatch);
    if (window)
        *window = widget;
    return S_OK;
}

}  // namespace platform::com
