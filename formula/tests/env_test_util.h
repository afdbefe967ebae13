#pragma once
// Helpers of the environment and editor tests: an editor-mode environment
// with a formula, key scripts, and the formula's text with the caret shown.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formula/env/formula_env.h"

namespace formula::test {

// An environment in editor mode holding the text, caret at the end; the
// messages it shows are collected.
struct EditorFixture {
    CFormulaEnv env;
    std::vector<std::string> messages;
    explicit EditorFixture(std::string_view text = {});
};

// Types a script into the environment. Plain characters are typed; keys go
// in braces: {BS} {DEL} {ENTER} {HOME} {END} {LEFT} {RIGHT} {UP} {DOWN}
// {INS}. The formula is laid out on a fake canvas before each key. Throws std::invalid_argument for an unknown key name.
void Type(CFormulaEnv& env, std::string_view script);
// The lexeme text with "|" where the caret stands (after the element at the
// nearest row's position).
std::string CaretText(CFormulaEnv& env);

// The editor's cursor path is whole: it starts at the root and every entry
// holds a lexeme that the one before it holds at its position.
bool PathIsWhole(CFormulaEnv& env);

}  // namespace formula::test
