// The Aplan and MathML forms of the truth value.
#include "formula/model/templates/bool_template.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_names.h"
#include "formula/notation/mathml_writer.h"

namespace formula {

void CBoolTemplate::GetAplanText(std::string& out, AplanContext&) const
{
    out += Text();
}

void CBoolTemplate::GetMathMLText(std::string& out) const
{
    mathml::AppendChar(out, m_value ? mathml::kTrueType : mathml::kFalseType);
}

}  // namespace formula
