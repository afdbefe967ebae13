#pragma once
// Drives the built kernel library through its three C entry points, as the
// suite's binding does. The kernel_tests binary sends raw Aplan texts written
// by hand, so that it needs nothing of the suite; kernel_roundtrip_tests
// (roundtrip_support.h) writes its requests with the formula library's Aplan
// writer and reads the replies back with its reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

namespace kerneltest {

constexpr const char* kNoResult = "\"NORES\"";

using ExecInit = int (*)(const char*, const char*, std::int32_t*, std::ostream*);
using ExecGetRes = int (*)(const char*, std::int32_t, char**, std::int32_t);
using ExecRemove = void (*)(char*, int);

// The library, loaded once per test binary.
struct Library {
    static const Library& get();
    ExecInit init = nullptr;
    ExecGetRes getres = nullptr;
    ExecRemove remove = nullptr;
};

// Absolute path of a shipped rule file.
std::string rulesPath(const std::string& file);

// One started kernel (a handle of exec_init).
class Kernel {
public:
    // Starts on a shipped rule file ("stepwell.clew").
    void start(const std::string& ruleFile);
    // The reply, or "<false>" when exec_getres gives no reply.
    std::string ask(std::int32_t code, const std::string& request) const;
    std::int32_t handle() const { return m_handle; }

private:
    std::int32_t m_handle = 0;
};

class KernelTest : public ::testing::Test {
protected:
    void start(const std::string& ruleFile) { m_kernel.start(ruleFile); }
    std::string ask(std::int32_t code, const std::string& request) const { return m_kernel.ask(code, request); }

    Kernel m_kernel;
};

// The value of a reply expression ("hor_frac(x+1,2)", "index_up(x,2)",
// "sqrroot(2)", "2mrk_comma5", ...) at a point; NaN when it cannot be read.
double replyValue(const std::string& reply, const std::map<std::string, double>& at);
// The value of an expression in the algebra library's own syntax.
double plainValue(const std::string& expression, const std::map<std::string, double>& at);

// Whether the reply expression and the plain expression agree at a few
// sample points of the letters x, y, a, b, c, d.
::testing::AssertionResult sameFunction(const std::string& reply, const std::string& plain);

// A reply that becomes a formula: plain printable ASCII, balanced brackets,
// no "!" or quote of the request dialect, no letter followed by digits
// (the reader would make an index of it) unless `indexed`, and "pi" only
// for pi.
::testing::AssertionResult wellFormedReply(const std::string& reply, bool indexed = false);

}  // namespace kerneltest
