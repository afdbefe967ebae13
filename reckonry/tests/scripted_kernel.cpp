// A scripted kernel library for the solver's and calculator's tests: it
// answers by request code and records every request and every reply it
// handed out and got back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "scripted_log.h"

namespace {

ScriptedLog g_log;

}  // namespace

extern "C" ScriptedLog* scripted_log() { return &g_log; }

extern "C" int exec_init(const char*, const char* args, std::int32_t* handle, std::ostream* log)
{
    g_log.initArguments = args;
    *handle = 1;
    if (log)
        *log << "scripted kernel started with " << args << '\n';
    return 1;
}

extern "C" int exec_getres(const char* request, std::int32_t code, char** reply, std::int32_t)
{
    g_log.requests.emplace_back(request, code);
    if (g_log.failing.count(code))
        return 0;
    const auto found = g_log.answers.find(code);
    const std::string text = found != g_log.answers.end() ? found->second : "echo" + std::to_string(code);
    *reply = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(*reply, text.c_str(), text.size() + 1);
    ++g_log.repliesGiven;
    return 1;
}

extern "C" void exec_remove(char* reply, int)
{
    ++g_log.repliesRemoved;
    std::free(reply);
}
