// The Aplan and MathML forms of integrals and sums.
#include "formula/model/templates/big_operators.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_names.h"
#include "formula/notation/mathml_writer.h"

namespace formula {
namespace {

// An "mrow" of the sign (with the limits in "munderover" when it has them)
// and the body, so that the reader knows whose body it is.
void WriteBigOperator(std::string_view sign, const CLexemRow* lower, const CLexemRow* upper, const CLexemRow& body,
                      std::string& out)
{
    out += "<mrow>";
    if (lower && upper) {
        out += "<munderover>";
    }
    out += "<mo>";
    mathml::AppendChar(out, sign);
    out += "</mo>";
    if (lower && upper) {
        mathml::WriteArg(*lower, out);
        mathml::WriteArg(*upper, out);
        out += "</munderover>";
    }
    mathml::WriteArg(body, out);
    out += "</mrow>";
}

}  // namespace

void CIntegralTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    out += IsDefinite() ? "integral(" : "integral_undef(";
    aplan::WriteRowContent(*m_body, out, context);
    if (m_lower && m_upper) {
        out += ',';
        aplan::WriteRowContent(*m_lower, out, context);
        out += ',';
        aplan::WriteRowContent(*m_upper, out, context);
    }
    out += ')';
}

void CIntegralTemplate::GetMathMLText(std::string& out) const
{
    WriteBigOperator(mathml::kIntegralType, m_lower.get(), m_upper.get(), *m_body, out);
}

// No Aplan form.
void CSummaTemplate::GetAplanText(std::string&, AplanContext& context) const
{
    context.incomplete = true;
}

void CSummaTemplate::GetMathMLText(std::string& out) const
{
    WriteBigOperator(mathml::kSummaType, m_lower.get(), m_upper.get(), *m_body, out);
}

}  // namespace formula
