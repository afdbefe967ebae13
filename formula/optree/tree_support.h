#pragma once
// What the lexeme classes share while they build the operation tree: rows
// built with fresh contexts, and the shape tests of the templates'
// constraints.
#include "formula/model/parse_context.h"
#include "formula/optree/operation_tree.h"

namespace formula {

class CLexemRow;
class CTemplate;

// Builds a row's tree under parent with a fresh context; a fault passes up
// into context. False on a fault (or a missing row).
bool BuildRowTree(CLexemRow* row, ParseContext& context, COperationNode& parent, bool relationsPermitted);
// Builds every argument row of a template under parent, in the order of its
// parts (a template among the parts, the square root of an n-th root, gives
// its rows, not a node); stops at the first fault.
bool BuildPartTrees(const CTemplate& tmpl, ParseContext& context, COperationNode& parent);
// Marks the context invalid; null, for the caller to return.
COperationNode* Invalid(ParseContext& context);

// The only element of a row besides its head; null when it holds none or
// several.
CLexem* OnlyElement(const CLexemRow* row);
// A number: a digit row of any kind.
bool IsNumberLexem(const CLexem* lexem);
// A fraction of digits: a digit fraction, or a horizontal fraction whose
// numerator and denominator are each a single whole number.
bool IsDigitFraction(const CLexem* lexem);
// A number value: a number, a mixed fraction or a fraction of digits.
bool IsNumberValue(const CLexem* lexem);
// The row holds a single letter.
bool HoldsSingleLetter(const CLexemRow* row);
// The row holds a single number or fraction of digits; a digit row (the
// lower index of an index template) also when it holds digits directly.
bool HoldsSingleNumber(const CLexemRow* row);
// The infinity atom.
bool IsInfinityAtom(const CLexem* lexem);
// The operator sign '-'.
bool IsMinusSign(const CLexem* lexem);

}  // namespace formula
