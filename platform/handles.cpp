#include "platform/handles.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <mutex>
#include <unordered_map>

namespace platform::handles {

namespace {

struct Registry {
    std::mutex mutex;
    std::uint32_t last = 0;
    std::unordered_map<std::uint32_t, QPointer<QWidget>> widgets;
    std::unordered_map<const QWidget*, std::uint32_t> widgetHandles;
    std::unordered_map<std::uint32_t, QPainter*> painters;

    // Handles count up in fours, as window systems hand them out; 0 is never one.
    std::uint32_t next()
    {
        last += 4;
        if (last == 0)
            last = 4;
        return last;
    }
};

// Lives until the process ends: widgets may be destroyed during static destruction.
Registry& registry()
{
    static Registry* instance = new Registry;
    return *instance;
}

}  // namespace

WindowHandle windowHandle(QWidget* widget)
{
    if (!widget)
        return 0;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (const auto found = r.widgetHandles.find(widget); found != r.widgetHandles.end()) {
        // A new widget at a destroyed one's address gets a handle of its own.
        const auto entry = r.widgets.find(found->second);
        if (entry != r.widgets.end() && entry->second == widget)
            return found->second;
        r.widgets.erase(found->second);
        r.widgetHandles.erase(found);
    }
    const std::uint32_t handle = r.next();
    r.widgets.emplace(handle, QPointer<QWidget>(widget));
    r.widgetHandles.emplace(widget, handle);
    QObject::connect(widget, &QObject::destroyed, [handle, widget] {
        Registry& reg = registry();
        std::lock_guard relock(reg.mutex);
        reg.widgets.erase(handle);
        if (const auto own = reg.widgetHandles.find(widget); own != reg.widgetHandles.end() && own->second == handle)
            reg.widgetHandles.erase(own);
    });
    return handle;
}

QWidget* widgetOf(WindowHandle handle)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto found = r.widgets.find(handle);
    return found == r.widgets.end() ? nullptr : found->second.data();
}

DeviceContext::DeviceContext(QPainter* painter)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    m_handle = r.next();
    r.painters.emplace(m_handle, painter);
}

DeviceContext::~DeviceContext()
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.painters.erase(m_handle);
}

QPainter* painterOf(DeviceContextHandle handle)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto found = r.painters.find(handle);
    return found == r.painters.end() ? nullptr : found->second;
}

}  // namespace platform::handles
