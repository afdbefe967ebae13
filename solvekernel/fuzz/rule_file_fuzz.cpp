// libFuzzer target over how the kernel is started: the input up to its first
// NUL byte is the start argument text ("-l modules\tessaly\x.clew"), the
// rest the rule file modules/tessaly/fuzz.clew under a temporary install
// root (under $TMPDIR), beside the library path the host hands over. The arguments are read
// into a rule file path and that file into a rule table, as exec_init does;
// the text of the rule file is also read directly. A table read has rules,
// every one an operation the kernel names; a refusal says why.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "solvekernel/fuzz/library_leaks.h"
#include "solvekernel/rules.h"
#include "testsupport/temp_dir.h"

namespace {

using Rules = std::map<std::int32_t, solvekernel::Operation>;

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "tarvik_rule_file_fuzz: %s\n", what);
        std::abort();
    }
}

void checkRead(bool read, const Rules& rules, const std::string& error)
{
    if (!read) {
        check(!error.empty(), "a refused rule file without a reason");
        return;
    }
    check(!rules.empty(), "a rule table without rules");
    for (const auto& [code, op] : rules)
        check(solvekernel::operationByName(solvekernel::operationName(op)) == op, "a rule of no operation");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\0');
    const std::string arguments(input.substr(0, split));
    const std::string_view text = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    static const testsupport::TempDir root;
    const std::string ruleFile = root.write("modules/tessaly/fuzz.clew", std::string(text));

    Rules direct;
    std::string directError;
    const bool parsed = solvekernel::parseRules(text, direct, directError);
    checkRead(parsed, direct, directError);

    const std::string path = solvekernel::ruleFilePath(root.path() + "kernel/solvekernel/tarvik.so", arguments);
    if (path.empty())
        return 0;
    Rules loaded;
    std::string error;
    const bool read = solvekernel::loadRules(path, loaded, error);
    checkRead(read, loaded, error);
    // The file the hosts' argument names reads as its text does.
    if (path == ruleFile)
        check(read == parsed && (!read || loaded == direct), "the file reads otherwise than its text");
    return 0;
}
