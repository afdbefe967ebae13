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
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 1; }

protected:
    CBracketsTemplate(TemplateType type, TemplateGroup group, BracketKind kind, bool persistent);

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
};

class CIntervalTemplate : public CBracketsTemplate {
public:
    CIntervalTemplate(BracketKind left, BracketKind right, bool persistent = false);
    BracketKind LeftKind() const { return m_bracketKind; }
    BracketKind RightKind() const { return m_rightKind; }
    CArgRow* LeftEnd() const { return m_content.get(); }
    CArgRow* RightEnd() const { return m_right.get(); }

    void GetLexemText(std::string& out) const override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 2; }

private:
    BracketKind m_rightKind;
    std::unique_ptr<CArgRow> m_right;
};

}  // namespace formula
