// libFuzzer target over the drill's command line: the input cut at NUL bytes
// is the argument vector (the program path first), joined as the program
// joins it and searched for the exercise number. The number must be there
// exactly when " /t:" is, and be what atoi reads after it (0 when the value
// leaves int).
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "exercise/exercise_command_line.h"

namespace {

int atoiOf(const std::string& text)
{
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return errno == ERANGE || value > INT_MAX || value < INT_MIN ? 0 : static_cast<int>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    std::size_t from = 0;
    for (std::size_t cut = input.find('\0'); cut != std::string::npos; cut = input.find('\0', from)) {
        arguments.push_back(input.substr(from, cut - from));
        from = cut + 1;
    }
    arguments.push_back(input.substr(from));
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());

    const std::string line = exercise::CommandLineOf(static_cast<int>(argv.size()), argv.data());
    const std::optional<int> number = exercise::ExerciseNumberFromCommandLine(line);
    const std::size_t key = line.find(" /t:");
    if (number.has_value() != (key != std::string::npos))
        std::abort();
    if (number && *number != atoiOf(line.substr(key + 4)))
        std::abort();
    return 0;
}
