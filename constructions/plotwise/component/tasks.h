#pragma once
// CTasks: the control's list of graph tasks, the window and device context
// they draw into, and the active task.
#include <cstdint>
#include <vector>

#include "constructions/plotwise/component/plotwise_interfaces.h"
#include "platform/com/com.h"

namespace constructions::plotwise {

using platform::com::ComPtr;
using platform::com::DispatchMember;
using platform::com::DispatchObject;
using platform::com::ISupportErrorInfo;

class CTasks final : public DispatchObject<CTasks, ITasks, ISupportErrorInfo> {
public:
    CTasks() = default;
    ~CTasks() override;

    static std::span<const DispatchMember<CTasks>> dispatchMembers();

    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;

    HRESULT Add(ITask* task) override;
    HRESULT Remove(ITask* task) override;
    HRESULT RemoveAll() override;
    HRESULT MoveFirst() override;
    HRESULT MoveLast() override;
    HRESULT GetNext(ITask** task) override;
    HRESULT GetPrev(ITask** task) override;
    HRESULT get_hWND(WindowHandle* window) override;
    HRESULT put_hWND(WindowHandle window) override;
    HRESULT get_ActiveTask(ITask** task) override;
    HRESULT put_ActiveTask(ITask* task) override;
    HRESULT Init(WindowHandle window) override;
    HRESULT get_hDc(DeviceContextHandle* dc) override;
    HRESULT put_hDc(DeviceContextHandle dc) override;

private:
    // Lets a task go: it no longer names this collection (when it still does).
    void release(const ComPtr<ITask>& task);

    std::vector<ComPtr<ITask>> m_tasks;
    std::size_t m_forward = 0;
    std::ptrdiff_t m_backward = -1;
    WindowHandle m_window = 0;
    DeviceContextHandle m_dc = 0;
    ITask* m_active = nullptr;  // not held: removing it from the list clears it
};

}  // namespace constructions::plotwise
