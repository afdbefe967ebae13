// The task list of the graph control.
#include "constructions/plotwise/component/tasks.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_NOTIMPL;
using platform::E_POINTER;
using platform::S_OK;

namespace {

constexpr const char* kSource = "Tasks";

ComPtr<IUnknown> identityOf(IUnknown* object)
{
    ComPtr<IUnknown> identity;
    if (object)
        object->QueryInterface(IUnknown::iid, identity.putVoid());
    return identity;
}

}  // namespace

CTasks::~CTasks()
{
    std::vector<ComPtr<ITask>> tasks;
    tasks.swap(m_tasks);
    m_active = nullptr;
    for (const ComPtr<ITask>& task : tasks)
        release(task);
}

void CTasks::release(const ComPtr<ITask>& task)
{
    ComPtr<ITasks> owner;
    task->get_Tasks(owner.put());
    if (owner && identityOf(owner.get()) == identityOf(static_cast<ITasks*>(this)))
        task->put_Tasks(nullptr);
}

HRESULT CTasks::get_xml(std::string*) { return E_NOTIMPL; }
HRESULT CTasks::put_xml(const std::string&) { return E_NOTIMPL; }

HRESULT CTasks::Add(ITask* task)
{
    if (!task)
        return reportError(kSource, ITasks::iid, "New Task must not be NULL pointer!");
    m_tasks.emplace_back(task);
    task->put_Tasks(this);
    if (m_window != 0)
        task->Init(m_window);
    MoveFirst();
    MoveLast();
    return S_OK;
}

HRESULT CTasks::Remove(ITask* task)
{
    if (m_tasks.empty())
        return reportError(kSource, ITasks::iid, "Tasks collection is empty!");
    const ComPtr<IUnknown> identity = identityOf(task);
    for (auto it = m_tasks.begin(); identity && it != m_tasks.end(); ++it) {
        if (identityOf(it->get()) != identity)
            continue;
        const ComPtr<ITask> removed = *it;
        if (m_active && identityOf(m_active) == identity)
            m_active = nullptr;
        m_tasks.erase(it);
        release(removed);
        break;
    }
    MoveFirst();
    MoveLast();
    return S_OK;
}

HRESULT CTasks::RemoveAll()
{
    std::vector<ComPtr<ITask>> tasks;
    tasks.swap(m_tasks);
    m_active = nullptr;
    for (const ComPtr<ITask>& task : tasks)
        release(task);
    MoveFirst();
    MoveLast();
    return S_OK;
}

HRESULT CTasks::MoveFirst()
{
    m_forward = 0;
    return S_OK;
}

HRESULT CTasks::MoveLast()
{
    m_backward = static_cast<std::ptrdiff_t>(m_tasks.size()) - 1;
    return S_OK;
}

HRESULT CTasks::GetNext(ITask** task)
{
    if (!task)
        return E_POINTER;
    *task = nullptr;
    if (m_forward < m_tasks.size())
        *task = ComPtr<ITask>(m_tasks[m_forward++]).detach();
    return S_OK;
}

HRESULT CTasks::GetPrev(ITask** task)
{
    if (!task)
        return E_POINTER;
    *task = nullptr;
    if (m_backward >= 0 && static_cast<std::size_t>(m_backward) < m_tasks.size())
        *task = ComPtr<ITask>(m_tasks[static_cast<std::size_t>(m_backward--)]).detach();
    return S_OK;
}

HRESULT CTasks::get_hWND(WindowHandle* window) { return getProperty(window, m_window); }
HRESULT CTasks::put_hWND(WindowHandle window) { return putProperty(m_window, window); }
HRESULT CTasks::Init(WindowHandle window) { return put_hWND(window); }
HRESULT CTasks::get_hDc(DeviceContextHandle* dc) { return getProperty(dc, m_dc); }
HRESULT CTasks::put_hDc(DeviceContextHandle dc) { return putProperty(m_dc, dc); }
HRESULT CTasks::get_ActiveTask(ITask** task) { return getProperty(task, m_active); }

HRESULT CTasks::put_ActiveTask(ITask* task)
{
    if (!task)
        return reportError(kSource, ITasks::iid, "Active Task must not be NULL pointer!");
    const ComPtr<IUnknown> identity = identityOf(task);
    ITask* member = nullptr;
    for (const ComPtr<ITask>& candidate : m_tasks)
        if (identityOf(candidate.get()) == identity)
            member = candidate.get();
    if (!member)
        return reportError(kSource, ITasks::iid, "Active Task must be a member of Tasks collection!");
    m_active = member;
    const ComPtr<ITask> keep(member);
    keep->Update(defaultUpdate);
    return S_OK;
}

namespace {
using C = CTasks;
constexpr DispatchMember<C> kTasksMembers[] = {
    dualGet<&C::get_xml>(disp::xml, "xml"),
    dualPut<&C::put_xml>(disp::xml, "xml"),
    dualMethod<&C::Add>(disp::tasks::Add, "Add"),
    dualMethod<&C::Remove>(disp::tasks::Remove, "Remove"),
    dualMethod<&C::RemoveAll>(disp::tasks::RemoveAll, "RemoveAll"),
    dualMethod<&C::MoveFirst>(disp::tasks::MoveFirst, "MoveFirst"),
    dualMethod<&C::MoveLast>(disp::tasks::MoveLast, "MoveLast"),
    dualMethod<&C::GetNext>(disp::tasks::GetNext, "GetNext"),
    dualMethod<&C::GetPrev>(disp::tasks::GetPrev, "GetPrev"),
    dualGet<&C::get_hWND>(disp::tasks::hWND, "hWND"),
    dualPut<&C::put_hWND>(disp::tasks::hWND, "hWND"),
    dualGet<&C::get_ActiveTask>(disp::tasks::ActiveTask, "ActiveTask"),
    dualPut<&C::put_ActiveTask>(disp::tasks::ActiveTask, "ActiveTask"),
    dualMethod<&C::Init>(disp::tasks::Init, "Init"),
    dualGet<&C::get_hDc>(disp::tasks::hDc, "hDc"),
    dualPut<&C::put_hDc>(disp::tasks::hDc, "hDc"),
};
static_assert(validDispatchTable(kTasksMembers));
}  // namespace

std::span<const DispatchMember<CTasks>> CTasks::dispatchMembers() { return kTasksMembers; }

}  // namespace constructions::plotwise
