#pragma once
// Fractions.
//   CHorFracTemplate    rows: 1 numerator, 2 denominator (CArgRow);
//   CDiagFracTemplate   the same, read left to right;
//   CMixedFracTemplate  rows: 1 numerator, 2 denominator, 3 whole part
//                       (CNumPartRow digit rows; the whole part may be absent:
//                       type 18 with it, 19 without).
#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/template.h"

namespace formula {

// The horizontal extent of a fraction bar, both ends included.
struct BarSpan {
    int left = 0;
    int right = 0;
};

class CHorFracTemplate : public CTemplate {
public:
    // The bar starts this far inside the box's left edge, and reaches this
    // far past every fraction bar in the numerator and the denominator.
    static constexpr int kBarMargin = 2;

    CHorFracTemplate();
    CArgRow* Numerator() const { return m_numerator.get(); }
    CArgRow* Denominator() const { return m_denominator.get(); }

    void GetLexemText(std::string& out) const override;
    // Aplan "3//4" for two numbers, else "(a/!b)" with compound parts
    // bracketed; MathML "mfrac".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // A point on the bar (within 2 pixels of the axis) takes the whole fraction.
    bool HitTest(CCursorPath& path, Point pt) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 2; }
    // Numerator above and denominator below the axis, the narrower centred;
    // the bar on the axis in the main pen, in the font scaled by the
    // fraction scale. The box is as wide as the wider row, widened on a side
    // where a bar laid out in the rows would come nearer its end than the
    // margin, so that nested fractions show bars of different lengths.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;
    // The bar of the laid-out horizontal fraction: from the margin inside the
    // box's left edge to 1 pixel inside its right edge.
    BarSpan Bar() const;

protected:
    explicit CHorFracTemplate(TemplateType type);
    CursorRoute ArriveRoute(Direction dir) const override;
    CursorRoute MoveRoute(int from, Direction dir) const override;

    std::unique_ptr<CArgRow> m_numerator;
    std::unique_ptr<CArgRow> m_denominator;
};

class CDiagFracTemplate : public CHorFracTemplate {
public:
    CDiagFracTemplate();
    bool HitTest(CCursorPath& path, Point pt) override;
    // Numerator above the axis, denominator below it and 10 pixels to its
    // right, a slash between them.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

protected:
    CursorRoute MoveRoute(int from, Direction dir) const override;
};

class CMixedFracTemplate : public CTemplate {
public:
    // With a whole part (type 18) or without (type 19).
    explicit CMixedFracTemplate(bool mixed = false);
    CNumPartRow* Numerator() const { return m_numerator.get(); }
    CNumPartRow* Denominator() const { return m_denominator.get(); }
    CNumPartRow* WholePart() const { return m_whole.get(); }
    // Adds the whole part row (type 18) or deletes it (type 19).
    void SetMixed(bool mixed);

    void GetLexemText(std::string& out) const override;
    // Aplan "(2#!(3//4))" or "3//4"; MathML "mtmf" or "mtsf".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    void Normalize(ParseContext& context) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 3; }
    // The whole part, then a horizontal fraction, in the font scaled by the
    // mixed-fraction scale; the bar in the current pen.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    // The bar of the laid-out fraction part, to the box's right edge.
    BarSpan Bar() const;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

protected:
    CursorRoute ArriveRoute(Direction dir) const override;
    CursorRoute MoveRoute(int from, Direction dir) const override;

private:
    std::unique_ptr<CNumPartRow> m_numerator;
    std::unique_ptr<CNumPartRow> m_denominator;
    std::unique_ptr<CNumPartRow> m_whole;
};

}  // namespace formula
