// libFuzzer target on exec_getres: arbitrary request texts with arbitrary
// codes, against kernels started on the three shipped rule files. The first
// bytes choose the kernel and the code; the rest is the request.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include "solvekernel/fuzz/library_leaks.h"

extern "C" int exec_init(const char* libPath, const char* args, std::int32_t* handle, std::ostream* log);
extern "C" int exec_getres(const char* request, std::int32_t code, char** reply, std::int32_t handle);
extern "C" void exec_remove(char* reply, int zero);

namespace {

struct Kernels {
    std::int32_t handles[3] = {};
    Kernels()
    {
        const char* files[] = {"stepwell.clew", "exercise.clew", "reckonry.clew"};
        for (int i = 0; i < 3; ++i) {
            const std::string args = std::string("-l ") + TARVIK_RULES_DIR + "/" + files[i];
            if (!exec_init("", args.c_str(), &handles[i], nullptr))
                __builtin_trap();
        }
    }
};

// The codes of the rule files, and a few that no file names.
constexpr std::int32_t kCodes[] = {10,  11,  333, 12,  13,   14,   815,  5351, 101,  102,  103, 104,
                                   105, 106, 107, 108, 512,  513,  611,  1035, 1372, 2101, 501, 2001,
                                   2002, 2003, 1, 9,  1001, 10,   1002, 11,   1003, 0,    -1,  77777};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Kernels kernels;
    if (size < 2)
        return 0;
    const std::int32_t handle = kernels.handles[data[0] % 3];
    const std::int32_t code = kCodes[data[1] % (sizeof kCodes / sizeof kCodes[0])];
    const std::string request(reinterpret_cast<const char*>(data + 2), size - 2);
    char* reply = nullptr;
    const int ok = exec_getres(request.c_str(), code, &reply, handle);
    if (ok) {
        if (!reply)
            __builtin_trap();
        // Replies are printable ASCII.
        for (const char* c = reply; *c; ++c) {
            if (static_cast<unsigned char>(*c) < 32 || static_cast<unsigned char>(*c) > 126)
                __builtin_trap();
        }
    }
    exec_remove(reply, 0);
    return 0;
}
