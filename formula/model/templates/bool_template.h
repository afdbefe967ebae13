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
    // Aplan "True" or "False"; MathML a "char" of type "true" or "false".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    PartList Parts() const override { return {}; }
    // The text placed like a character (weight 400, upright), in the number
    // colour unless selected.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

private:
    bool m_value;
};

}  // namespace formula
