#pragma once
// The drill's command line: the lesson constructor passes "/t:" and the
// exercise number as one argument. The whole line (the program path, then
// each argument after one blank) is searched for " /t:", and the number
// after it is read as atoi reads: leading digits, 0 when there are none.
#include <optional>
#include <string>
#include <string_view>

namespace exercise {

std::string CommandLineOf(int argc, const char* const* argv);
// The exercise number; none when " /t:" does not occur.
std::optional<int> ExerciseNumberFromCommandLine(std::string_view commandLine);

}  // namespace exercise
