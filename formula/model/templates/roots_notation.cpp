// The Aplan and MathML forms of roots.
#include "formula/model/templates/roots.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {

void CSqrtTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    out += "_sqrt(";
    aplan::WriteRowContent(*m_radicand, out, context);
    out += ')';
}

void CSqrtTemplate::GetMathMLText(std::string& out) const
{
    out += "<mroot>";
    mathml::WriteArg(*m_radicand, out);
    out += "</mroot>";
}

// No Aplan form: the kernel has no root of another degree.
void CRootTemplate::GetAplanText(std::string&, AplanContext& context) const
{
    context.incomplete = true;
}

// Radicand, then degree, each on a line of its own.
void CRootTemplate::GetMathMLText(std::string& out) const
{
    out += "<mroot>\r\n\t";
    mathml::WriteArg(*Radicand(), out);
    out += "\r\n\t";
    mathml::WriteArg(*m_degree, out);
    out += "\r\n</mroot>";
}

}  // namespace formula
