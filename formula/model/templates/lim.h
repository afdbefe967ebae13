#pragma once
// Limit: "lim" over the line "variable -> value", the body to the right.
// Rows: 1 body (CBodyRow, bracketed when compound), 2 variable, 3 arrow
// (holds the relation sign 174; never entered, never written), 4 limit value
// (CIndexRow each). The cursor reads variable, value, body.
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

class CLimTemplate : public CTemplate {
public:
    static constexpr std::string_view kText = "lim";

    CLimTemplate();
    CBodyRow* Body() const { return m_body.get(); }
    CIndexRow* Variable() const { return m_variable.get(); }
    CIndexRow* Arrow() const { return m_arrow.get(); }
    CIndexRow* Value() const { return m_value.get(); }

    // "@lim$" body "$" variable "$" value "#".
    void GetLexemText(std::string& out) const override;
    // No Aplan form; MathML "munder" of "lim" with the body and the
    // line "variable -> value".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // Body, variable and value must hold something.
    void Normalize(ParseContext& context) override;
    // Body, variable and value (not the arrow), only when the body is one
    // letter and the value one number or fraction of digits (lim_optree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 4; }
    // "lim" on the axis, the body 7 pixels after it; under the body the line
    // "variable -> value" on one axis, its top at the body's bottom.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

protected:
    CursorRoute ArriveRoute(Direction dir) const override;
    CursorRoute MoveRoute(int from, Direction dir) const override;

private:
    std::unique_ptr<CBodyRow> m_body;
    std::unique_ptr<CIndexRow> m_variable;
    std::unique_ptr<CIndexRow> m_arrow;
    std::unique_ptr<CIndexRow> m_value;
};

}  // namespace formula
