#pragma once
// The test-only members of the control stand-ins (see test_components.cpp).
#include "platform/com/dispatch.h"

namespace solvehost::test {

inline constexpr platform::com::DISPID kDispLog = 9001;        // get: the recorded calls
inline constexpr platform::com::DISPID kDispClearLog = 9002;   // method
inline constexpr platform::com::DISPID kDispFire = 9003;       // method (event id, args...)
inline constexpr platform::com::DISPID kDispSinkCount = 9004;  // get: sinks connected

}  // namespace solvehost::test
