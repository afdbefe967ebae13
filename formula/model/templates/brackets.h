#pragma once
// Bracket templates.
//   CBracketsTemplate  row 1: content (CArgRow); kind round, square, figure or
//                      absolute value; round ones may be persistent (never
//                      removed as redundant);
//   CRangeTemplate     persistent figure brackets holding a finite set of
//                      numbers separated by ";";
//   CIntervalTemplate  rows: 1 left end, 2 right end; a bracket kind for each
//                      end (square: the end belongs to the interval).
#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

class CBracketsTemplate : public CTemplate {
public:
    CBracketsTemplate(BracketKind kind, bool persistent);
    BracketKind GetBracketKind() const { return m_bracketKind; }
    bool IsPersistent() const { return m_persistent; }
    CArgRow* Content() const { return m_content.get(); }

    void GetLexemText(std::string& out) const override;
    // Aplan "(a)", "{a}", "_abs(a)", a range "_range((1,2))"; MathML "mfenced".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 1; }
    // The content between margins as wide as "#"; the brackets drawn as
    // characters as high as the box, in the bracket colour unless selected.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

protected:
    CBracketsTemplate(TemplateType type, TemplateGroup group, BracketKind kind, bool persistent);
    // The two bracket characters at the box's edges.
    void DrawBracketPair(Canvas& canvas, char opening, char closing);

    BracketKind m_bracketKind;
    bool m_persistent;
    std::unique_ptr<CArgRow> m_content;
};

class CRangeTemplate : public CBracketsTemplate {
public:
    CRangeTemplate();
    // Its content must be numbers (real numbers, mixed or digit fractions,
    // each with an optional '-') separated by ";".
    void Normalize(ParseContext& context) override;
    // One node per number under the template's (brackets_optree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;
};

class CIntervalTemplate : public CBracketsTemplate {
public:
    CIntervalTemplate(BracketKind left, BracketKind right, bool persistent = false);
    BracketKind LeftKind() const { return m_bracketKind; }
    BracketKind RightKind() const { return m_rightKind; }
    CArgRow* LeftEnd() const { return m_content.get(); }
    CArgRow* RightEnd() const { return m_right.get(); }

    void GetLexemText(std::string& out) const override;
    // Aplan "Interval(L,R,a,b)"; MathML "interval" with "open" and "close".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // Both ends' trees; an infinite end too (brackets_optree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 2; }
    // The ends side by side with room for ";" between them; each bracket
    // chosen by its end's kind.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

private:
    BracketKind m_rightKind;
    std::unique_ptr<CArgRow> m_right;
};

}  // namespace formula
