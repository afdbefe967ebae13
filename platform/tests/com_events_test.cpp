#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/com/connection_point.h"
#include "platform/com/dispatch_table.h"

namespace platform::com {
namespace {

constexpr IID kEvents = Guid::literal("{C0A1D2E3-F405-4617-8829-3A4B5C6D7E8F}");
constexpr IID kOtherEvents = Guid::literal("{C0A1D2E3-F405-4617-8829-3A4B5C6D7E90}");

class Source final : public Object<IConnectionPointContainer> {
public:
    HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) override
    {
        return m_point->offer(events, point);
    }
    void fire(DISPID id, std::initializer_list<Variant> args = {}) { m_point->fire(id, args); }
    std::size_t sinkCount() const { return m_point->sinkCount(); }

private:
    ComPtr<ConnectionPoint> m_point = make<ConnectionPoint>(kEvents);
};

// Each sink writes "<name> <dispid> <arguments...>" into the log.
class Events : public ::testing::Test {
protected:
    ComPtr<EventSink> sink(const std::string& name, std::function<void()> extra = {})
    {
        return make<EventSink>([this, name, extra](DISPID id, std::span<const Variant> args) {
            std::string line = name + " " + std::to_string(id);
            for (const Variant& arg : args)
                line += " " + arg.describe();
            log.push_back(line);
            if (extra)
                extra();
        });
    }
    std::uint32_t advise(const ComPtr<EventSink>& sink)
    {
        std::uint32_t cookie = 0;
        EXPECT_EQ(connectionAdvise(source.get(), kEvents, sink.get(), &cookie), S_OK);
        EXPECT_NE(cookie, 0u);
        return cookie;
    }
    std::vector<std::string> takeLog() { return std::exchange(log, {}); }

    ComPtr<Source> source = make<Source>();
    std::vector<std::string> log;
};

using Lines = std::vector<std::string>;

TEST_F(Events, ReachEverySinkInOrderUntilItDisconnects)
{
    const std::uint32_t a = advise(sink("A"));
    const std::uint32_t b = advise(sink("B"));
    EXPECT_NE(a, b);
    source->fire(2, {std::int32_t{12}, "x+!y=!5"});
    EXPECT_EQ(takeLog(), (Lines{"A 2 I4 12 String \"x+!y=!5\"", "B 2 I4 12 String \"x+!y=!5\""}));

    EXPECT_EQ(connectionUnadvise(source.get(), kEvents, a), S_OK);
    source->fire(1);
    EXPECT_EQ(takeLog(), (Lines{"B 1"}));

    EXPECT_EQ(connectionUnadvise(source.get(), kEvents, a), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(connectionUnadvise(source.get(), kOtherEvents, b), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(connectionUnadvise(source.get(), kEvents, 0), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(source->sinkCount(), 1u);
}

TEST_F(Events, RefuseWhatCannotConnect)
{
    std::uint32_t cookie = 7;
    EXPECT_EQ(connectionAdvise(source.get(), kOtherEvents, sink("A").get(), &cookie), CONNECT_E_NOCONNECTION);
    // A sink without IDispatch cannot take events.
    const ComPtr<Source> notASink = make<Source>();
    EXPECT_EQ(connectionAdvise(source.get(), kEvents, notASink.get(), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    // An object that fires nothing.
    EXPECT_EQ(connectionAdvise(sink("B").get(), kEvents, sink("C").get(), &cookie), E_NOINTERFACE);
    EXPECT_EQ(connectionAdvise(nullptr, kEvents, sink("C").get(), &cookie), E_POINTER);
    EXPECT_EQ(source->sinkCount(), 0u);
}

TEST_F(Events, SinksMayConnectAndDisconnectWhileAnEventIsDelivered)
{
    std::uint32_t b = 0;
    std::uint32_t c = 0;
    bool first = true;
    const ComPtr<EventSink> d = sink("D");
    advise(sink("A", [&] {
        if (!std::exchange(first, false))
            return;
        EXPECT_EQ(connectionUnadvise(source.get(), kEvents, b), S_OK);
        advise(d);
    }));
    b = advise(sink("B"));
    c = advise(sink("C", [&] { EXPECT_EQ(connectionUnadvise(source.get(), kEvents, c), S_OK); }));

    // B is gone before its turn; D, new, waits for the next event; C leaves itself.
    source->fire(1);
    EXPECT_EQ(takeLog(), (Lines{"A 1", "C 1"}));
    source->fire(3);
    EXPECT_EQ(takeLog(), (Lines{"A 3", "D 3"}));
}

TEST_F(Events, TheConnectionHoldsTheSinkUntilUnadvise)
{
    const std::size_t before = liveObjectCount();
    std::uint32_t cookie = advise(sink("A"));
    EXPECT_EQ(liveObjectCount(), before + 1);  // the host holds no reference any more
    source->fire(1);
    EXPECT_EQ(takeLog(), (Lines{"A 1"}));
    EXPECT_EQ(connectionUnadvise(source.get(), kEvents, cookie), S_OK);
    EXPECT_EQ(liveObjectCount(), before);
}

TEST_F(Events, ASinkMayDropTheLastReferenceToTheSource)
{
    const std::size_t before = liveObjectCount();
    Source* firing = source.get();
    advise(sink("A", [this] { source.reset(); }));
    advise(sink("B"));
    firing->fire(5, {"gone"});
    // B still hears the event it was connected for; then everything is freed.
    EXPECT_EQ(takeLog(), (Lines{"A 5 String \"gone\"", "B 5 String \"gone\""}));
    EXPECT_FALSE(source);
    EXPECT_EQ(liveObjectCount(), before - 2);  // the source and its connection point
}

// A host's sink as hosts write them: a dispatch table of typed handlers.
class DragDropSink final : public DispatchObject<DragDropSink, IDispatch> {
public:
    static std::span<const DispatchMember<DragDropSink>> dispatchMembers();
    void OperationDragDrop(std::int32_t vertex, const std::string& source, const std::string& destination)
    {
        heard.push_back(std::to_string(vertex) + ": " + source + " -> " + destination);
    }
    std::vector<std::string> heard;
};

constexpr DispatchMember<DragDropSink> kDragDropMembers[] = {
    method<&DragDropSink::OperationDragDrop>(2, "OperationDragDrop"),
};

std::span<const DispatchMember<DragDropSink>> DragDropSink::dispatchMembers() { return kDragDropMembers; }

TEST_F(Events, ReachTypedHandlersOfATableSink)
{
    const ComPtr<DragDropSink> typed = make<DragDropSink>();
    std::uint32_t cookie = 0;
    ASSERT_EQ(connectionAdvise(source.get(), kEvents, typed.get(), &cookie), S_OK);
    advise(sink("After"));
    source->fire(2, {std::int32_t{12}, "x+!y=!5", "x+!(-1)*!y=!1"});
    // Events the sink has no handler for, or with other arguments, are
    // refused by that sink alone; the next sink still hears them.
    source->fire(1);
    source->fire(2, {"twelve", "a", "b"});
    EXPECT_EQ(typed->heard, (Lines{"12: x+!y=!5 -> x+!(-1)*!y=!1"}));
    EXPECT_EQ(takeLog().size(), 3u);
}

}  // namespace
}  // namespace platform::com
