#include "formula/model/templates/bool_template.h"

namespace formula {

CBoolTemplate::CBoolTemplate(bool value)
    : CTemplate(TemplateType::Bool, TemplateGroup::Plain)
    , m_value(value)
{
}

void CBoolTemplate::GetLexemText(std::string& out) const
{
    out += m_value ? "@bool$1#" : "@bool$0#";
}

}  // namespace formula
