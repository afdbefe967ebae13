#pragma once
// Writer of the Aplan text, the solving kernel's function-call notation. Each
// lexeme writes itself through its GetAplanText slot; rows fold their signs
// (CLexemRow::GetAplanTextRange). The building blocks:
//   - operator words: a sign followed by "!" ("+!", "*!", "/!", "=!", "^!"),
//     "-" only inside the folded forms "(-5)" and "(-1)*!x";
//   - numbers: digits, RealNum("3","25"), PeriodNum("0","1","(6)"), the
//     numeric fraction "3//4" and the mixed number "(2#!(3//4))";
//   - function words: "System(", "Union(", "Interval(", "_range((", "_abs(",
//     "_sqrt(", "i_name(", "Derive(", "integral(", "Sin(" ...;
//   - set words: " Sets(EmptySet) ", " PlusInfSet ", " pi " ...
// Some structures have no Aplan form (limit, sum, n-th root, indexed
// function, unknown signs and atoms) or only an approximate one (n-th
// derivative, integration limits, a lower index that is not digits): those
// set AplanContext::incomplete, so that such a formula is never handed to the
// kernel as if it were whole. The kernel's replies are read by a different
// dialect (CLexemParser::AplanToLexemText), not by this one.
#include <string>
#include <string_view>

#include "formula/model/lexem.h"

namespace formula {

class CLexemRow;

struct AplanContext {
    // A part was written without its full meaning, or not at all.
    bool incomplete = false;
};

// The Aplan text of a lexeme and everything below it; *incomplete, when
// given, tells whether a part had no full form.
std::string AplanText(const CLexem& lexem, bool* incomplete = nullptr);

namespace aplan {

// The word of a relation sign by Symbol code; empty for a code without one.
std::string_view RelationWord(int code);
// The word of a special atom by code; empty for a code without one.
std::string_view AtomWord(int code);

// A number row written negative: "(-5)", RealNum("-3","5"),
// PeriodNum("-0","1","(6)").
void WriteNegativeNumber(const CLexem& number, std::string& out);
// A row's folded text, without the brackets of its own flags.
void WriteRowContent(const CLexemRow& row, std::string& out, AplanContext& context);
// A row that stands as one operand of a word: folded, and bracketed when it
// holds more than one element ("x^!(n+!1)", "((x+!1)/!2)").
void WriteOperand(const CLexemRow& row, std::string& out, AplanContext& context);
// The row holds exactly one element and it is a number.
bool HoldsOneNumber(const CLexemRow& row);

}  // namespace aplan
}  // namespace formula
