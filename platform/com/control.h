#pragma once
// Controls: objects that can show themselves inside a host's widget.
//
// A control has no widget until a host places it (createWindow); an object
// made by CLSID without a parent never has one, and its members then answer
// as a windowless control does. The widget is a child of the host's widget,
// so Qt destroys it with its parent: window() then answers nullptr while the
// object lives on until its last reference goes. A control whose object goes
// first disconnects its widget from itself and lets Qt delete it
// (deleteLater), so releasing the control inside one of the widget's own
// event handlers is safe.
//
// Hosts never include a control's headers: they create it by CLSID, call it
// through IDispatch by dispid and take its events through a connection point.
#include "platform/com/dispatch.h"

class QWidget;

namespace platform::com {

class IControlWindow : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{1E102DC4-569C-40EA-80C6-579DB539A13C}");

    // Makes the control's widget as a child of parent and answers it. A
    // control that has a widget answers it and leaves it where it is; a null
    // parent gets nullptr.
    virtual QWidget* createWindow(QWidget* parent) = 0;
    // The widget; nullptr before createWindow and after its parent destroyed it.
    virtual QWidget* window() = 0;
};

// A host placing a control: creates the class, gives it its widget in parent
// and answers the object's dispatch interface (and the widget when asked).
// E_INVALIDARG for a null parent, E_NOINTERFACE for a class that is no
// control, E_FAIL when it makes no widget; createInstance's failures as they are.
HRESULT createControl(const CLSID& clsid, QWidget* parent, ComPtr<IDispatch>* control, QWidget** window = nullptr);

}  // namespace platform::com
