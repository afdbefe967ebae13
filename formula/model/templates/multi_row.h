#pragma once
// Multi-row templates: an ordered list of CLineRow lines.
//   CMultiRowTemplate   plain lines (text: lines joined by "@#");
//   CSystemTemplate     system (type 16) or union (type 17), "@system$a$b#";
//   CAggregateTemplate  the root of every formula: made without lines (the
//                       environment adds one), written as its lines joined by
//                       "@#"; its cursor never stops on the root as a whole.
// Cursor positions are line numbers from 1; 0 is the template as a whole,
// where the cursor stops on arrival from the right while the whole-stop flag
// is set (it is by default).
#include <vector>

#include "formula/model/display_settings.h"
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

class CMultiRowTemplate : public CTemplate {
public:
    CMultiRowTemplate();
    ~CMultiRowTemplate() override;

    int GetRowCount() const { return static_cast<int>(m_lines.size()); }
    // Line by index from 0; null outside.
    CLineRow* GetRow(int index) const;
    CLineRow* GetFirstRow() const { return GetRow(0); }
    int IndexOfRow(const CLexem* line) const;

    bool WholeStop() const { return m_wholeStop; }
    void SetWholeStop(bool on) { m_wholeStop = on; }

    // Sets the line's owner and adds it at the tail or the head.
    CLineRow* AddRow(std::unique_ptr<CLineRow> line, bool atTail = true);
    // A new empty line before or after a line (null: at the head or tail).
    CLineRow* InsertNewRow(CLineRow* at, bool before);
    // Moves the lines in after a line index (-1: at the head).
    void InsertRows(std::vector<std::unique_ptr<CLineRow>>&& lines, int afterIndex);
    // Removes a line while two or more remain; with one line nothing is
    // removed and code TemplateEmptied asks the caller to remove the template
    // (CLexemRow::RemoveEmptied).
    void RemoveRow(CLineRow* line, int& code);
    // With fewer than two lines empties the line and keeps it; otherwise
    // deletes it: the index of the line after it (before it when backward),
    // -1 when none.
    int DeleteRow(int index, bool backward);
    // Deletes the lines between two indexes, both included; one empty line
    // stays when none would remain.
    void DeleteRows(int from, int to);
    void DetachRows(int from, int to, std::vector<std::unique_ptr<CLineRow>>& out);
    // Deletes all lines but the first and empties that one.
    void Reset();
    // Adds a lexeme to the last line; a new line when there is none or asked.
    void AddLexem(std::unique_ptr<CLexem> lexem, bool newLine = false);

    void GetLexemText(std::string& out) const override;
    // Aplan: each line as "(" line ")", joined by ",". MathML: one line as
    // itself in an "mrow", several in an "mtable".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    void SetSelected(bool selected) override;
    void Offset(int dx, int dy) override;
    void SetOwner(CDisplaySettings* owner, CLexem* parent) override;
    bool PlaceCursor(CCursorPath& path, Direction dir, Point pt) override;
    bool MoveCursor(CCursorPath& path, Direction dir) override;
    bool HitTest(CCursorPath& path, Point pt) override;
    void Normalize(ParseContext& context) override;
    // A system or union builds each line, relations permitted in each; any
    // other (the formula's root) its single line (multi_row_optree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;
    PartList Parts() const override { return {}; }
    // A system or union writes its lines inside "@system$...#"; plain lines
    // and those of the formula's root are joined at the template's own level.
    int TextLevels(const CLexem& part) const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return GetRowCount(); }
    // Lines stacked without gaps, left-aligned, the block's middle on the axis.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

protected:
    CMultiRowTemplate(TemplateType type);
    void LayoutLines(Canvas& canvas, int x, int axisY);
    void DrawLines(Canvas& canvas);
    // Index of the widest line (the first of equal widths).
    int WidestRow() const;
    // Enters line index with a direction; false when absent or refused.
    bool EnterRow(CCursorPath& path, int index, Direction dir, Point pt);

    std::vector<std::unique_ptr<CLineRow>> m_lines;
    bool m_wholeStop = true;
};

class CSystemTemplate : public CMultiRowTemplate {
public:
    // A system or a union; with two empty lines unless made empty.
    CSystemTemplate(bool isUnion, bool empty);
    bool IsUnion() const { return Type() == TemplateType::Union; }
    void GetLexemText(std::string& out) const override;
    // "System((a) &! (b))" or "Union((a) |! (b))"; MathML "{" or "[" and an "mtable".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // The lines 10 pixels to the right of a brace (system) or a square
    // bracket (union), drawn with a solid pen of width 1 in the text colour.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

protected:
    explicit CSystemTemplate(TemplateType type);
};

class CAggregateTemplate : public CSystemTemplate {
public:
    CAggregateTemplate();
    void GetLexemText(std::string& out) const override;
    // The lines' Aplan texts joined by ","; MathML as a multi-row template.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;

    bool ShowSymbol() const { return m_showSymbol; }
    void SetShowSymbol(bool on) { m_showSymbol = on; }
    Colour SymbolColour() const { return m_symbolColour; }
    void SetSymbolColour(Colour colour) { m_symbolColour = colour; }
    // Laid out as a system; drawn with the owner's aggregate bar (its flag
    // and colour) in place of the brace. The symbol fields above are kept
    // for the notations, not drawn.
    void Draw(Canvas& canvas) override;

private:
    bool m_showSymbol = true;
    Colour m_symbolColour = Rgb(173, 191, 191);
};

}  // namespace formula
