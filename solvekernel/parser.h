#pragma once
// Reading the Aplan text that the hosts send: one formula (lines joined by
// ",") into the kernel's tree. Throws ParseError for anything it cannot read,
// including texts beyond the kernel's limits.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "solvekernel/node.h"

namespace solvekernel {

struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kMaxRequestLength = 64 * 1024;
inline constexpr int kMaxNesting = 64;
inline constexpr int kMaxDigits = 40;
inline constexpr int kMaxExponent = 64;

// One formula: a single line, or a Lines node when it has several.
NodePtr parseFormula(std::string_view text);

// The request's groups, split at "," outside brackets and quotes. When every
// group is enclosed in one pair of round brackets, `bracketed` is true and the
// groups are their contents; otherwise the request is one formula and the
// split is still given, for requests that end with a bare word ("(f),x").
struct Groups {
    std::vector<std::string> texts;
    std::vector<bool> enclosed;
    bool bracketed = false;
};
Groups splitGroups(std::string_view text);

// Drill rows: the request split at "#" outside brackets (a mixed number's "#!"
// stands inside its own brackets).
std::vector<std::string> splitRows(std::string_view text);

}  // namespace solvekernel
