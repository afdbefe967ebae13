// The Aplan and MathML forms of the limit.
#include "formula/model/templates/lim.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {

// No Aplan form.
void CLimTemplate::GetAplanText(std::string&, AplanContext& context) const
{
    context.incomplete = true;
}

void CLimTemplate::GetMathMLText(std::string& out) const
{
    out += "<munder accentunder=\"true\"><mrow><mo>";
    out += kText;
    out += "</mo>";
    if (!m_body->IsEmpty()) {
        out += "<mfenced open='(' close=')'>";
        m_body->GetMathMLText(out);
        out += "</mfenced>";
    }
    out += "</mrow><mrow>";
    mathml::WriteArg(*m_variable, out);
    mathml::WriteArg(*m_arrow, out);
    mathml::WriteArg(*m_value, out);
    out += "</mrow></munder>";
}

}  // namespace formula
