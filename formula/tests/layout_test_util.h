#pragma once
// Walking a laid-out tree in the layout tests.
#include <functional>
#include <vector>

#include "formula/model/lexem.h"

namespace formula::test {

// The lexeme's direct parts: a row's children (head included), a multi-row
// template's lines, another template's parts.
std::vector<CLexem*> PartsOf(CLexem& lexem);
// Every lexeme under the root, the root first, depth first.
std::vector<CLexem*> AllLexems(CLexem& root);
// The first lexeme (depth first) that satisfies the predicate; null when none.
CLexem* FindLexem(CLexem& root, const std::function<bool(const CLexem&)>& predicate);
CLexem* FindType(CLexem& root, TemplateType type);
// The first leaf whose character is ch.
CLexem* FindChar(CLexem& root, char ch);

}  // namespace formula::test
