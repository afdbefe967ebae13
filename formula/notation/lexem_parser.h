#pragma once
// Reader of the lexeme text, the formula control's own notation:
//   - a plain character stands for itself (letters, digits, signs, brackets,
//     the decimal separator ",", the space);
//   - a template is "@", its name, "$", its arguments separated by "$", and a
//     closing "#"; inside an argument every "@" opens a level and every "#"
//     closes one, and only a "$" of the argument's own level separates;
//   - "@#" is a line break.
// "@", "$" and "#" never stand for themselves. The text is 7-bit: control
// characters and bytes 128-255 are refused. The writer is the GetLexemText
// slot of each lexeme class; everything it writes reads back to the same text.
//
// The reader builds flat characters and numbers; the rows' Normalize pass
// later pairs brackets and merges mixed numbers.
#include <string>
#include <string_view>

#include "formula/model/lexem.h"

namespace formula {

// True for the space and the characters 33-127.
bool IsFormulaChar(char ch);

class CLexemParser {
public:
    // Deepest nesting of templates a text may have.
    static constexpr int kMaxDepth = 64;

    // Consumes the text and appends what it builds to the list (a null entry
    // is a line break); the caller owns the lexemes. Throws CMEException:
    // code 3 with a syntax message, code 5 with message 1036.
    void Parse(std::string& text, LexemList& list);
    LexemList Parse(std::string_view text);

    // Reads "@", a template name (spaces dropped) and its terminator ("#",
    // "$" or "@") off the front of the text. Throws code 3: 1012 when the
    // text does not begin with "@", 1013 when no terminator follows.
    static std::string ReadTemplateName(std::string_view& text, char& terminator);

    // Rewrites the kernel's Aplan text in place into lexeme text, by fixed
    // textual steps (notation/aplan_reader.cpp); what it leaves that is not
    // lexeme text is refused later by Parse. Throws CMEException only for a
    // call nesting deeper than kMaxDepth (code 3, message 1035).
    static void AplanToLexemText(std::string& text);
    // out := the Aplan text rewritten (not parsed).
    static void ConvertAplanText(std::string_view aplan, std::string& out);
    // Appends the lexeme text of a MathML text (UTF-8) to out. Throws
    // CMEException: code 2 message 1019 when the XML is not well-formed,
    // code 3 message 1020 for markup it cannot translate, code 5 message
    // 1036 for a text holding "@", "$" or "#", code 3 message 1035 for
    // markup nested too deep.
    static void ConvertMathMLText(std::string_view mathml, std::string& out);
};

}  // namespace formula
