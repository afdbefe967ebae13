// The Aplan and MathML forms of rows, with the sign folding of the Aplan text.
#include <algorithm>

#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/fractions.h"
#include "formula/notation/aplan_writer.h"

namespace formula {
namespace {

// '+' or '-' when the lexeme is that operator sign, else 0.
char AdditiveSign(const CLexem* lexem)
{
    const COperatorSign* sign = AsOperatorSign(lexem);
    if (!sign || lexem->Kind() != LexemKind::Character || sign->PriorityClass() != priority::Additive) {
        return 0;
    }
    return sign->Char() == '+' || sign->Char() == '-' ? sign->Char() : 0;
}

bool IsInfinity(const CLexem* lexem)
{
    const CSpecAtom* atom = AsSpecAtom(lexem);
    return atom && atom->AtomCode() == symbol::Infinity;
}

bool IsIntegerNumber(const CLexem* lexem)
{
    if (!lexem || !IsNumberRow(*lexem)) {
        return false;
    }
    const auto* row = static_cast<const CLexemRow*>(lexem);
    for (int pos = row->FirstPos(); pos < row->Count(); ++pos) {
        if (!IsDigitLexem(row->Child(pos))) {
            return false;
        }
    }
    return !row->IsEmpty();
}

bool HoldsOneInteger(const CLexemRow& row)
{
    return row.ElementCount() == 1 && IsIntegerNumber(row.Child(row.FirstPos()));
}

// A fraction of two numbers, written "A//B".
bool IsNumericHorFrac(const CLexem* lexem)
{
    if (!lexem || (lexem->Type() != TemplateType::HorFrac && lexem->Type() != TemplateType::DiagFrac)) {
        return false;
    }
    const auto* fraction = static_cast<const CHorFracTemplate*>(lexem);
    return aplan::HoldsOneNumber(*fraction->Numerator()) && aplan::HoldsOneNumber(*fraction->Denominator());
}

// An integer followed by a fraction of integers is a mixed number, as the
// normalising pass merges it: 2 3/4.
bool IsMixedPair(const CLexem* number, const CLexem* fraction)
{
    if (!IsIntegerNumber(number) || !fraction) {
        return false;
    }
    if (fraction->Type() == TemplateType::SimpleFrac) {
        return true;
    }
    if (fraction->Type() != TemplateType::HorFrac) {
        return false;
    }
    const auto* hor = static_cast<const CHorFracTemplate*>(fraction);
    return HoldsOneInteger(*hor->Numerator()) && HoldsOneInteger(*hor->Denominator());
}

// "A//B" of a numeric fraction, simple or horizontal.
void WriteFractionParts(const CLexem& fraction, std::string& out, AplanContext& context)
{
    if (fraction.Type() == TemplateType::SimpleFrac || fraction.Type() == TemplateType::MixedFrac) {
        const auto& mixed = static_cast<const CMixedFracTemplate&>(fraction);
        mixed.Numerator()->GetAplanText(out, context);
        out += "//";
        mixed.Denominator()->GetAplanText(out, context);
        return;
    }
    const auto& hor = static_cast<const CHorFracTemplate&>(fraction);
    aplan::WriteRowContent(*hor.Numerator(), out, context);
    out += "//";
    aplan::WriteRowContent(*hor.Denominator(), out, context);
}

// 2 3/4 -> "(2#!(3//4))"
void WriteMixedPair(const CLexem& number, const CLexem& fraction, std::string& out, AplanContext& context)
{
    out += '(';
    number.GetAplanText(out, context);
    out += "#!(";
    WriteFractionParts(fraction, out, context);
    out += "))";
}

// The lexeme after a minus, negated; how many lexemes after it were taken
// too (a fraction that makes a mixed number with a negated number).
int WriteNegated(const CLexem& lexem, const CLexem* after, std::string& out, AplanContext& context)
{
    if (IsNumberRow(lexem)) {
        // -2 3/4 -> "(-1)*(2#!(3//4))"
        if (IsMixedPair(&lexem, after)) {
            out += "(-1)*";
            WriteMixedPair(lexem, *after, out, context);
            return 1;
        }
        aplan::WriteNegativeNumber(lexem, out);
        return 0;
    }
    if (lexem.Type() == TemplateType::MixedFrac) {
        // -2 3/4 -> "((-2)#!(3//4))"
        const auto& mixed = static_cast<const CMixedFracTemplate&>(lexem);
        out += "((-";
        mixed.WholePart()->GetAplanText(out, context);
        out += ")#!(";
        WriteFractionParts(lexem, out, context);
        out += "))";
        return 0;
    }
    // -3/4 -> "(-3)//4"
    if (lexem.Type() == TemplateType::SimpleFrac || IsNumericHorFrac(&lexem)) {
        std::string parts;
        WriteFractionParts(lexem, parts, context);
        out += "(-";
        out.append(parts, 0, parts.find("//"));
        out += ')';
        out.append(parts, parts.find("//"));
        return 0;
    }
    // -x -> "(-1)*!x"
    out += "(-1)*!";
    lexem.GetAplanText(out, context);
    return 0;
}

}  // namespace

void CLexemRow::GetAplanText(std::string& out, AplanContext& context) const
{
    const bool bracketed = m_bracketWhenCompound && ElementCount() > 1;
    if (bracketed) {
        out += '(';
    }
    GetAplanTextRange(FirstPos(), LastPos(), out, context);
    if (bracketed) {
        out += ')';
    }
}

void CLexemRow::GetAplanTextRange(int first, int last, std::string& out, AplanContext& context) const
{
    first = std::max(first, FirstPos());
    last = std::min(last, LastPos());
    for (int pos = first; pos <= last; ++pos) {
        const CLexem* child = Child(pos);
        const CLexem* next = pos < last ? Child(pos + 1) : nullptr;
        const char sign = AdditiveSign(child);
        // +inf, -inf
        if (sign && IsInfinity(next)) {
            out += sign == '+' ? " PlusInfSet " : " MinusInfSet ";
            ++pos;
            continue;
        }
        if (sign == '+') {
            out += "+!";
            continue;
        }
        if (sign == '-' && next) {
            // a-b -> a+!(-1)*!b
            if (pos != first && !AsOperatorSign(child)->IsUnary()) {
                out += "+!";
            }
            const CLexem* after = pos + 1 < last ? Child(pos + 2) : nullptr;
            pos += 1 + WriteNegated(*next, after, out, context);
            continue;
        }
        if (IsMixedPair(child, next)) {
            WriteMixedPair(*child, *next, out, context);
            ++pos;
            continue;
        }
        child->GetAplanText(out, context);
    }
}

void CLexemRow::GetMathMLText(std::string& out) const
{
    if (IsEmpty()) {
        out += "<mrow/>";
        return;
    }
    const bool compound = IsCompound();
    if (compound) {
        out += "<mrow>\n";
    }
    for (int pos = FirstPos(); pos < Count(); ++pos) {
        Child(pos)->GetMathMLText(out);
    }
    if (compound) {
        out += "\n</mrow>";
    }
}

void CRowHead::GetAplanText(std::string&, AplanContext&) const {}

void CRowHead::GetMathMLText(std::string&) const {}

}  // namespace formula
