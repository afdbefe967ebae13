#pragma once
// 32-bit handles for the window and device-context values that interfaces
// carry as longs. A window handle names a widget and resolves to null once
// the widget is destroyed; a device-context handle names a painter (on an
// image or on a window's back buffer) while its owner keeps it registered.
// Handles are never 0 and never reused within a process. For the UI thread.
#include <cstdint>

class QPainter;
class QWidget;

namespace platform::handles {

using WindowHandle = std::uint32_t;
using DeviceContextHandle = std::uint32_t;

// The widget's handle: the same one for as long as the widget lives; 0 for null.
WindowHandle windowHandle(QWidget* widget);
// The widget a handle names; null for 0, an unknown handle, or a destroyed widget.
QWidget* widgetOf(WindowHandle handle);

// A drawing target registered for as long as this object lives.
class DeviceContext {
public:
    explicit DeviceContext(QPainter* painter);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    DeviceContextHandle handle() const { return m_handle; }

private:
    DeviceContextHandle m_handle;
};

// The painter a handle names while it is registered, else null.
QPainter* painterOf(DeviceContextHandle handle);

}  // namespace platform::handles
