// The Aplan and MathML forms of derivatives.
#include "formula/model/templates/derivatives.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {

void CDerivTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    out += "Derive(";
    m_body->GetAplanText(out, context);
    out += ')';
}

void CDerivTemplate::GetMathMLText(std::string& out) const
{
    out += "<msup>";
    mathml::WriteBase(*m_body, true, out);
    out += "<mn>'</mn></msup>";
}

// The kernel knows only the first derivative.
void CNDerivTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    CDerivTemplate::GetAplanText(out, context);
    context.incomplete = true;
}

// The order travels in an attribute that other readers ignore.
void CNDerivTemplate::GetMathMLText(std::string& out) const
{
    out += "<msup order=\"";
    if (m_prime) {
        mathml::AppendEscaped(out, m_prime->LexemText());
    }
    out += "\">";
    mathml::WriteBase(*m_body, true, out);
    out += "<mn>'</mn></msup>";
}

}  // namespace formula
