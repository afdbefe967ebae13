// The Aplan and MathML forms of functions.
#include "formula/model/templates/functions.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {

// sin x -> "Sin(x)"
void CFuncTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    const std::string_view name = GetFuncName(m_funcId);
    if (!name.empty()) {
        out += static_cast<char>(name.front() - 'a' + 'A');
        out += name.substr(1);
    }
    out += '(';
    aplan::WriteRowContent(*m_argument, out, context);
    out += ')';
}

void CFuncTemplate::GetMathMLText(std::string& out) const
{
    out += "<mrow>";
    mathml::AppendToken(out, "mi", GetFuncName(m_funcId));
    out += "<mrow><mfenced open=\"(\" close=\")\">";
    m_argument->GetMathMLText(out);
    out += "</mfenced></mrow></mrow>";
}

}  // namespace formula
