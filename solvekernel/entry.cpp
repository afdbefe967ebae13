// The library's three C entry points. Nothing thrown inside ever leaves
// them: anything the kernel cannot read or do answers "NORES".
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <ostream>

#include "solvekernel/algebra.h"
#include "solvekernel/kernel.h"
#include "solvekernel/rules.h"

#define TARVIK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using solvekernel::Instance;

struct Started {
    Instance instance;
    std::ostream* log = nullptr;
};

// The algebra library is not thread-safe: one request at a time.
std::mutex g_mutex;
std::map<std::int32_t, Started> g_instances;
std::int32_t g_nextHandle = 1;

constexpr const char* kNoResult = "\"NORES\"";

char* copyReply(const std::string& text)
{
    char* reply = static_cast<char*>(std::malloc(text.size() + 1));
    if (reply)
        std::memcpy(reply, text.c_str(), text.size() + 1);
    return reply;
}

std::string answer(const char* request, std::int32_t code, Instance& instance)
{
    const std::size_t length = ::strnlen(request, solvekernel::kMaxRequestLength + 1);
    if (length > solvekernel::kMaxRequestLength)
        return kNoResult;
    int depth = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (request[i] == '(' && ++depth > solvekernel::kMaxNesting)
            return kNoResult;
        if (request[i] == ')')
            --depth;
    }
    const auto rule = instance.rules.find(code);
    if (rule == instance.rules.end())
        return kNoResult;
    try {
        GiNaC::Digits = 50;
        std::string reply = solvekernel::runOperation(rule->second, std::string_view(request, length), instance);
        for (char c : reply) {
            if (static_cast<unsigned char>(c) >= 128 || static_cast<unsigned char>(c) < 32)
                return kNoResult;
        }
        return reply;
    } catch (...) {
        return kNoResult;
    }
}

}  // namespace

TARVIK_EXPORT int exec_init(const char* libPath, const char* args, std::int32_t* handle, std::ostream* log)
{
    try {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!args || !handle)
            return 0;
        const std::string path = solvekernel::ruleFilePath(libPath ? libPath : "", args);
        Started started;
        started.log = log;
        std::string error;
        if (path.empty())
            error = "no rule file in \"" + std::string(args) + "\"";
        else
            solvekernel::loadRules(path, started.instance.rules, error);
        if (!error.empty()) {
            if (log)
                *log << "tarvik: " << error << '\n' << std::flush;
            return 0;
        }
        const std::int32_t id = g_nextHandle++;
        if (log)
            *log << "tarvik: " << path << ": " << started.instance.rules.size() << " codes, handle " << id << '\n';
        g_instances.emplace(id, std::move(started));
        *handle = id;
        return 1;
    } catch (...) {
        return 0;
    }
}

TARVIK_EXPORT int exec_getres(const char* request, std::int32_t code, char** reply, std::int32_t handle)
{
    try {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!request || !reply)
            return 0;
        const auto found = g_instances.find(handle);
        if (found == g_instances.end())
            return 0;
        const std::string text = answer(request, code, found->second.instance);
        if (std::ostream* log = found->second.log)
            *log << code << ' ' << std::string_view(request, ::strnlen(request, 256)) << " -> " << text << '\n';
        *reply = copyReply(text);
        return *reply ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

TARVIK_EXPORT void exec_remove(char* reply, int /*zero*/)
{
    std::free(reply);
}
