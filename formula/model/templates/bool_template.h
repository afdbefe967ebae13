#pragma once
// Truth value: no rows; the text "True" or "False".
#include <string_view>

#include "formula/model/templates/template.h"

namespace formula {

class CBoolTemplate : public CTemplate {
public:
    explicit CBoolTemplate(bool value);
    bool Value() const { return m_value; }
    std::string_view Text() const { return m_value ? "True" : "False"; }

    // "@bool$1#" or "@bool$0#".
    void GetLexemText(std::string& out) const override;
    PartList Parts() const override { return {}; }

private:
    bool m_value;
};

}  // namespace formula
