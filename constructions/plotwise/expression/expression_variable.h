#pragma once
// The one variable an expression may use: its name and current value. The
// parser checks identifiers against the name; the evaluator reads the value.
#include <string>

namespace constructions::plotwise {

struct CExpressionVariable {
    std::string Name;
    double Value = 0.0;

    // Value when text is exactly Name (case-sensitive, whole text); otherwise
    // throws antlr::ANTLRException("Invalid variable").
    double CheckVariable(const std::string& text) const;
};

}  // namespace constructions::plotwise
