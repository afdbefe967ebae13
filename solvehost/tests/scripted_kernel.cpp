// A scripted stand-in of the kernel library for the binding's tests: the
// request text chooses the answer, and what the library received is kept in
// a state the test reads. Built once with every entry point and once
// without exec_init.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>

#include "scripted_state.h"

namespace {

ScriptedState g_state;

char* copy(const std::string& text)
{
    char* out = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

}  // namespace

extern "C" ScriptedState* scripted_state() { return &g_state; }

#ifndef SCRIPTED_WITHOUT_INIT
// Fails for arguments that name "fail"; writes a line into the log stream.
extern "C" int exec_init(const char* libPath, const char* args, std::int32_t* handle, std::ostream* log)
{
    ++g_state.initCalls;
    g_state.libraryPath = libPath;
    g_state.arguments = args;
    *handle = 7;
    if (log)
        *log << "scripted kernel started with " << args << '\n';
    return std::strstr(args, "fail") ? 0 : 1;
}
#endif

extern "C" int exec_getres(const char* request, std::int32_t code, char** reply, std::int32_t handle)
{
    ++g_state.getresCalls;
    g_state.lastCode = code;
    g_state.lastHandle = handle;
    const std::string text = request;
    if (text == "false-with-reply") {
        *reply = copy("partial");
        return 0;
    }
    if (text == "true-without-reply")
        return 1;
    if (text == "nores") {
        *reply = copy("\"NORES\"");
        return 1;
    }
    if (text == "nores-lower") {
        *reply = copy("\"nores\"");
        return 1;
    }
    if (text == "high-byte-false") {
        *reply = copy("ignored");
        return 0x100;
    }
    if (text == "throw")
        throw std::runtime_error("kernel fault");
    *reply = copy("echo " + text + " " + std::to_string(code));
    return 0x101;  // true in the low byte
}

extern "C" void exec_remove(char* reply, int zero)
{
    ++g_state.removed;
    g_state.lastZero = zero;
    std::free(reply);
}
