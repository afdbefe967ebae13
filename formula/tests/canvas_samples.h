#pragma once
// Sample formulas of the canvas tests: every template kind, nested indexes, a
// system, a mixed number, an integral over a fraction (lexeme text).
#include <string>
#include <vector>

namespace formula {

struct SampleFormula {
    std::string text;
    bool editor = false;  // laid out in the editor (placeholders shown)
};

const std::vector<SampleFormula>& SampleFormulas();

// The system the benchmark lays out and draws.
inline constexpr const char* kSampleSystem =
    "@system$@hor_frac$x+1$2#+@index_up$y$2#=5$3x-@hor_frac$@index_up$y$3#$x-4#=@index_up$x$2#-1#";

}  // namespace formula
