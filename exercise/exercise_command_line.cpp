#include "exercise/exercise_command_line.h"

#include "platform/text.h"

namespace exercise {

std::string CommandLineOf(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i)
            line += ' ';
        line += argv[i];
    }
    return line;
}

std::optional<int> ExerciseNumberFromCommandLine(std::string_view commandLine)
{
    constexpr std::string_view kKey = " /t:";
    const auto at = commandLine.find(kKey);
    if (at == std::string_view::npos)
        return std::nullopt;
    const long long value = platform::text::leadingInt(commandLine.substr(at + kKey.size()));
    // atoi's result for a number out of range is undefined: keep it in int.
    if (value > 2147483647LL || value < -2147483647LL - 1)
        return 0;
    return int(value);
}

}  // namespace exercise
