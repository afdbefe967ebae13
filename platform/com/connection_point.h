#pragma once
// Events: a source offers a connection point per event interface; a host
// connects its sink (a dispatch object) and gets a cookie; firing an event
// calls Invoke(dispid, Method, args) on every connected sink.
//
// Source side: hold a ConnectionPoint and answer FindConnectionPoint with it:
//
//   ComPtr<ConnectionPoint> m_events = make<ConnectionPoint>(DIID__DSampleEvents);
//   HRESULT FindConnectionPoint(const IID& id, IConnectionPoint** point) override
//   { return m_events->offer(id, point); }
//   ...
//   m_events->fire(2, {vertex, source, destination});
//
// Host side: connectionAdvise(control, DIID__DSampleEvents, sink, &cookie),
// later connectionUnadvise(control, DIID__DSampleEvents, cookie).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "platform/com/variant.h"

namespace platform::com {

class IConnectionPoint : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{60B89356-2E54-4981-B229-5C045CA65F5B}");

    virtual HRESULT GetConnectionInterface(IID* events) = 0;
    // Connects a sink (it must offer IDispatch, else CONNECT_E_CANNOTCONNECT);
    // the point holds a reference to it until Unadvise. Cookies are never 0.
    virtual HRESULT Advise(IUnknown* sink, std::uint32_t* cookie) = 0;
    // CONNECT_E_NOCONNECTION for a cookie that is not connected.
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
};

class IConnectionPointContainer : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{991A7CBC-50C2-4586-965D-BB2642E1E89F}");

    // CONNECT_E_NOCONNECTION when the object fires no such event interface.
    virtual HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) = 0;
};

// The connection point of one event interface.
class ConnectionPoint final : public Object<IConnectionPoint> {
public:
    explicit ConnectionPoint(const IID& events) : m_events(events) {}

    HRESULT GetConnectionInterface(IID* events) override;
    HRESULT Advise(IUnknown* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;

    // Calls every connected sink in the order they connected. A sink that a
    // handler disconnects during the event gets no call; one that a handler
    // connects gets the next event. The sinks' results are not looked at.
    void fire(DISPID id, std::span<const Variant> args = {});
    void fire(DISPID id, std::initializer_list<Variant> args) { fire(id, std::span(args.begin(), args.size())); }

    std::size_t sinkCount() const { return m_sinks.size(); }
    // FindConnectionPoint of a source with this one event interface.
    HRESULT offer(const IID& events, IConnectionPoint** point);

private:
    struct Connection {
        std::uint32_t cookie;
        ComPtr<IDispatch> sink;
    };
    bool isConnected(std::uint32_t cookie) const;

    IID m_events;
    std::uint32_t m_lastCookie = 0;
    std::vector<Connection> m_sinks;
};

// A sink that hands every event to a function.
class EventSink final : public Object<IDispatch> {
public:
    using Handler = std::function<void(DISPID id, std::span<const Variant> args)>;
    explicit EventSink(Handler handler) : m_handler(std::move(handler)) {}

    HRESULT GetIDsOfNames(std::string_view name, DISPID* id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args, Variant* result) override;

private:
    Handler m_handler;
};

// The host's two calls: find the source's point for the event interface and
// connect or disconnect there.
HRESULT connectionAdvise(IUnknown* source, const IID& events, IUnknown* sink, std::uint32_t* cookie);
HRESULT connectionUnadvise(IUnknown* source, const IID& events, std::uint32_t cookie);

}  // namespace platform::com
