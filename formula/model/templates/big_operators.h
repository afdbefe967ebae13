#pragma once
// Big operators: a sign with limits in a column and the body to its right.
// Rows: 1 upper limit, 2 lower limit (both CIndexRow), 3 body (CBodyRow).
//   CIntegralTemplate  definite (type 33, both limits) or indefinite (34, no
//                      limits); its sign is drawn from the Symbol pieces 243,
//                      244 (repeated) and 245;
//   CSummaTemplate     the Symbol sign 229 with both limits.
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

class CBigOperatorTemplate : public CTemplate {
public:
    CBodyRow* Body() const { return m_body.get(); }
    CIndexRow* UpperLimit() const { return m_upper.get(); }
    CIndexRow* LowerLimit() const { return m_lower.get(); }

    // Every present row must hold something.
    void Normalize(ParseContext& context) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 3; }

protected:
    CBigOperatorTemplate(TemplateType type, bool withLimits);
    void SetLimits(bool on);
    CursorRoute ArriveRoute(Direction dir) const override;
    CursorRoute MoveRoute(int from, Direction dir) const override;

    std::unique_ptr<CBodyRow> m_body;
    std::unique_ptr<CIndexRow> m_upper;
    std::unique_ptr<CIndexRow> m_lower;
};

class CIntegralTemplate : public CBigOperatorTemplate {
public:
    static constexpr int kSignTop = 243;
    static constexpr int kSignExtension = 244;
    static constexpr int kSignBottom = 245;

    explicit CIntegralTemplate(bool definite = true);
    bool IsDefinite() const { return Type() == TemplateType::Integral; }
    // Creates the two limit rows (type 33) or deletes them (type 34).
    void SetDefinite(bool definite);

    // Definite: "@integral$" body "$" lower "$" upper "#".
    void GetLexemText(std::string& out) const override;
};

class CSummaTemplate : public CBigOperatorTemplate {
public:
    static constexpr int kSign = 229;

    CSummaTemplate();
    // "@summa$" body "$" upper "$" lower "#".
    void GetLexemText(std::string& out) const override;
};

}  // namespace formula
