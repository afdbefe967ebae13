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
    // Body, upper and lower limit, only when the body is one letter and the
    // lower limit one number or fraction of digits (big_operators_optree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 3; }
    // The limits in a column, the narrower centred, the upper one above the
    // body's top and the lower one below its bottom; the sign in the column
    // between them; the body 3 pixels right of the column.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void Offset(int dx, int dy) override;
    // The sign in the "Symbol" face, as laid out.
    virtual void DrawSign(Canvas& canvas) = 0;
    // Moves the sign's stored points.
    virtual void OffsetSign(int dx, int dy) = 0;
    // Places the sign in the column of the limits, the body laid out.
    virtual void LayoutSign(Canvas& canvas, int columnX, int columnWidth) = 0;

protected:
    CBigOperatorTemplate(TemplateType type, bool withLimits);
    void SetLimits(bool on);
    // The glyph width the column must hold, in the sign's font.
    virtual int SignWidth(Canvas& canvas) = 0;
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

    // The top piece at the body's top, the bottom piece ending 3 pixels below
    // the body, extension pieces between them, each overlapping the one
    // before by 3 pixels.
    void DrawSign(Canvas& canvas) override;
    void OffsetSign(int dx, int dy) override;
    void LayoutSign(Canvas& canvas, int columnX, int columnWidth) override;
    int ExtensionCount() const { return m_extensionCount; }

    // Definite: "@integral$" body "$" lower "$" upper "#".
    void GetLexemText(std::string& out) const override;
    // Aplan "integral(f,a,b)" or "integral_undef(f)"; MathML an "mrow"
    // of the sign (in "munderover" with the limits) and the integrand.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;

protected:
    int SignWidth(Canvas& canvas) override;

private:
    Point m_signTop;
    Point m_signBottom;
    Point m_extensionStart;
    int m_extensionCount = 0;
    int m_extensionAdvance = 0;
};

class CSummaTemplate : public CBigOperatorTemplate {
public:
    static constexpr int kSign = 229;

    CSummaTemplate();
    // The sign's rectangle: centred on the column, 3 pixels wider than the
    // glyph, from a quarter of the glyph's height above the upper limit's
    // bottom down to the lower limit's top; the glyph centred at its top.
    void DrawSign(Canvas& canvas) override;
    void OffsetSign(int dx, int dy) override;
    void LayoutSign(Canvas& canvas, int columnX, int columnWidth) override;
    // "@summa$" body "$" upper "$" lower "#".
    void GetLexemText(std::string& out) const override;
    // No Aplan form; MathML as the definite integral, with its own sign.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;

protected:
    int SignWidth(Canvas& canvas) override;

private:
    Box m_signRect;
};

}  // namespace formula
