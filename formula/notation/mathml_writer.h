#pragma once
// Writer of the MathML text: presentation markup with extension elements of
// our own ("char" for signs and atoms, "interval", "msq" for a progression
// member, "mtsf"/"mtmf" for digit fractions). Each lexeme writes itself
// through its GetMathMLText slot; these helpers keep the shared rules:
//   - the output is well-formed UTF-8: "&", "<", ">" are escaped, the
//     8-bit characters of the model (Windows-1251) are converted;
//   - every child position of a fixed-arity element (msub, msup, msubsup,
//     mfrac, mroot, munder, munderover, msq, interval) holds exactly one
//     element; several are wrapped in "mrow";
//   - a bracket template in such a position is wrapped in "mrow" too, since
//     the reader drops the brackets of an "mfenced" that is a direct child of
//     "msup" or "msub" (those belong to the index base).
// CLexemParser::ConvertMathMLText reads everything written here back.
#include <string>
#include <string_view>

#include "formula/model/lexem.h"

namespace formula {

class CLexemRow;

inline constexpr std::string_view kMathMLNamespace = "http://www.w3.org/1998/Math/MathML";

// The markup of a lexeme and everything below it.
std::string MathMLText(const CLexem& lexem);
// The whole formula: the root's markup in a "math" element with
// display="block" and the MathML namespace as its default namespace.
std::string MathMLDocument(const CLexem& root);

namespace mathml {

// Text or attribute value: escaped, 8-bit characters as UTF-8, control
// characters as U+FFFD.
void AppendEscaped(std::string& out, std::string_view text);
// "<name>" escaped text "</name>".
void AppendToken(std::string& out, std::string_view name, std::string_view text);
// An empty "char" element of a type.
void AppendChar(std::string& out, std::string_view type);
// A row in a child position: exactly one element.
void WriteArg(const CLexemRow& row, std::string& out);
// The base of an index or derivative in a child position: in
// "<mfenced open='(' close=')'>" when fenced is asked and the row is
// compound, else as WriteArg.
void WriteBase(const CLexemRow& base, bool fenced, std::string& out);
// The row's markup inside "<mfenced open='(' close=')'>".
void WriteFenced(const CLexemRow& row, std::string& out);
// The lexeme's markup is exactly one element that the reader takes as it is.
bool WritesOneElement(const CLexem& lexem);
// A digit row of a mixed number or a lower index that holds characters and
// numbers only: written as one "mn".
bool IsPlainNumberPart(const CLexemRow& row);

}  // namespace mathml
}  // namespace formula
