#pragma once
// Roots.
//   CSqrtTemplate  row 1: radicand (CArgRow); type 26 or its second form 27;
//   CRootTemplate  rows: 1 degree (CIndexRow), 2 the radicand of the square
//                  root it holds (a CSqrtTemplate of type 26).
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

class CSqrtTemplate : public CTemplate {
public:
    explicit CSqrtTemplate(TemplateType type = TemplateType::SqrRoot);
    CArgRow* Radicand() const { return m_radicand.get(); }

    void GetLexemText(std::string& out) const override;
    // Aplan "_sqrt(x)"; MathML "mroot" of the radicand alone.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 1; }
    // The radicand 12 pixels in, under a radical sign in the main pen (type
    // 26) or the thin pen (type 27).
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

private:
    std::unique_ptr<CArgRow> m_radicand;
};

class CRootTemplate : public CTemplate {
public:
    CRootTemplate();
    CIndexRow* Degree() const { return m_degree.get(); }
    CSqrtTemplate* Sqrt() const { return m_sqrt.get(); }
    CArgRow* Radicand() const { return m_sqrt->Radicand(); }

    void GetLexemText(std::string& out) const override;
    // No Aplan form; MathML "mroot" of radicand and degree.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    PartList Parts() const override;
    // The radicand is the root's own argument: its square root part adds no
    // level of its own.
    int TextLevels(const CLexem& part) const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 2; }
    // The square root after the degree (overlapping it by 3 pixels), the
    // degree's bottom on the square root's vertical middle.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

protected:
    CursorRoute ArriveRoute(Direction dir) const override;
    CursorRoute MoveRoute(int from, Direction dir) const override;

private:
    std::unique_ptr<CIndexRow> m_degree;
    std::unique_ptr<CSqrtTemplate> m_sqrt;
};

}  // namespace formula
