#include "platform/com/connection_point.h"

#include <algorithm>

namespace platform::com {

HRESULT ConnectionPoint::GetConnectionInterface(IID* events)
{
    if (!events)
        return E_POINTER;
    *events = m_events;
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, std::uint32_t* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    void* raw = nullptr;
    if (Failed(sink->QueryInterface(IDispatch::iid, &raw)))
        return CONNECT_E_CANNOTCONNECT;
    auto dispatch = ComPtr<IDispatch>::adopt(static_cast<IDispatch*>(raw));
    do
        ++m_lastCookie;
    while (m_lastCookie == 0 || isConnected(m_lastCookie));
    m_sinks.push_back({m_lastCookie, std::move(dispatch)});
    *cookie = m_lastCookie;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(std::uint32_t cookie)
{
    const auto found = std::find_if(m_sinks.begin(), m_sinks.end(),
                                    [cookie](const Connection& c) { return c.cookie == cookie; });
    if (found == m_sinks.end())
        return CONNECT_E_NOCONNECTION;
    // The sink may be released here, after it has left the list.
    const ComPtr<IDispatch> sink = std::move(found->sink);
    m_sinks.erase(found);
    return S_OK;
}

bool ConnectionPoint::isConnected(std::uint32_t cookie) const
{
    return std::any_of(m_sinks.begin(), m_sinks.end(), [cookie](const Connection& c) { return c.cookie == cookie; });
}

void ConnectionPoint::fire(DISPID id, std::span<const Variant> args)
{
    // Handlers may connect, disconnect, or drop the last reference to the
    // source (and so to this point): work on a copy and keep this alive.
    const ComPtr<ConnectionPoint> keepAlive(this);
    const std::vector<Connection> sinks = m_sinks;
    for (const Connection& connection : sinks) {
        if (!isConnected(connection.cookie))
            continue;
        connection.sink->Invoke(id, InvokeKind::Method, args, nullptr);
    }
}

HRESULT ConnectionPoint::offer(const IID& events, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (events != m_events)
        return CONNECT_E_NOCONNECTION;
    AddRef();
    *point = this;
    return S_OK;
}

HRESULT EventSink::GetIDsOfNames(std::string_view, DISPID*) { return DISP_E_UNKNOWNNAME; }

HRESULT EventSink::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args, Variant*)
{
    if (kind != InvokeKind::Method)
        return DISP_E_MEMBERNOTFOUND;
    if (m_handler)
        m_handler(id, args);
    return S_OK;
}

namespace {

HRESULT findPoint(IUnknown* source, const IID& events, ComPtr<IConnectionPoint>& point)
{
    if (!source)
        return E_POINTER;
    void* raw = nullptr;
    if (const HRESULT hr = source->QueryInterface(IConnectionPointContainer::iid, &raw); Failed(hr))
        return hr;
    const auto container = ComPtr<IConnectionPointContainer>::adopt(static_cast<IConnectionPointContainer*>(raw));
    return container->FindConnectionPoint(events, point.put());
}

}  // namespace

HRESULT connectionAdvise(IUnknown* source, const IID& events, IUnknown* sink, std::uint32_t* cookie)
{
    ComPtr<IConnectionPoint> point;
    if (const HRESULT hr = findPoint(source, events, point); Failed(hr))
        return hr;
    return point->Advise(sink, cookie);
}

HRESULT connectionUnadvise(IUnknown* source, const IID& events, std::uint32_t cookie)
{
    ComPtr<IConnectionPoint> point;
    if (const HRESULT hr = findPoint(source, events, point); Failed(hr))
        return hr;
    return point->Unadvise(cookie);
}

}  // namespace platform::com
