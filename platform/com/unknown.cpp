#include "platform/com/unknown.h"

namespace platform::com {

namespace {
std::atomic<std::size_t> g_liveObjects{0};
}

namespace detail {
void objectCreated() { ++g_liveObjects; }
void objectDestroyed() { --g_liveObjects; }
}  // namespace detail

std::size_t liveObjectCount() { return g_liveObjects; }

}  // namespace platform::com
