// The Aplan and MathML forms of fractions and mixed numbers.
#include "formula/model/templates/fractions.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {

// 3/4 -> "3//4"; (x+1)/2 -> "((x+!1)/!2)", never "(x+!1/!2)".
void CHorFracTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    if (aplan::HoldsOneNumber(*m_numerator) && aplan::HoldsOneNumber(*m_denominator)) {
        aplan::WriteRowContent(*m_numerator, out, context);
        out += "//";
        aplan::WriteRowContent(*m_denominator, out, context);
        return;
    }
    out += '(';
    aplan::WriteOperand(*m_numerator, out, context);
    out += "/!";
    aplan::WriteOperand(*m_denominator, out, context);
    out += ')';
}

void CHorFracTemplate::GetMathMLText(std::string& out) const
{
    out += "<mfrac>";
    mathml::WriteArg(*m_numerator, out);
    mathml::WriteArg(*m_denominator, out);
    out += "</mfrac>";
}

// With a whole part "(2#!(3//4))", the form a number followed by a fraction
// takes in a row too (a bare "2#!3//4" would leave the kernel to guess).
void CMixedFracTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    if (m_whole) {
        out += '(';
        m_whole->GetAplanText(out, context);
        out += "#!(";
    }
    m_numerator->GetAplanText(out, context);
    out += "//";
    m_denominator->GetAplanText(out, context);
    if (m_whole) {
        out += "))";
    }
}

void CMixedFracTemplate::GetMathMLText(std::string& out) const
{
    out += m_whole ? "<mtmf>" : "<mtsf>";
    if (m_whole) {
        mathml::AppendToken(out, "mtint", m_whole->LexemText());
    }
    mathml::AppendToken(out, "mtnum", m_numerator->LexemText());
    mathml::AppendToken(out, "mtden", m_denominator->LexemText());
    out += m_whole ? "</mtmf>" : "</mtsf>";
}

}  // namespace formula
