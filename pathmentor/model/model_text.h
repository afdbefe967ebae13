#pragma once
// Text helpers the guide's readers share (not part of the model's interface).
#include <string>
#include <string_view>

namespace pathmentor::detail {

// An integer as atoi reads it (leading blanks, the longest numeric prefix, 0
// without one), held to the range of int.
int readInt(std::string_view text);

// The text folded for comparing without regard to case.
std::string foldCase(std::string_view text);

}  // namespace pathmentor::detail
