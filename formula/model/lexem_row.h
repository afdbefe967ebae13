#pragma once
// Rows: horizontal sequences of lexemes.
//   CLexemRow  plain row, no head (also the base of the number rows);
//   CArgRow    argument row of a template: element 0 is its own CRowHead, the
//              head is a cursor stop; a row holding only its head is empty;
//   CLineRow   a line of a multi-row template or of the formula root;
//   CIndexRow  a row in the index font;
//   CBodyRow   the operand row of an operator template (own IsCompound rule).
// Every operation that walks a row skips the head. Removing never deletes the
// row itself: a row emptied by a removal reports it in an out code, and
// RemoveEmptied takes it out of its container once the call has returned.
#include <string_view>
#include <vector>

#include "formula/model/lexem.h"

namespace formula {

class CRowHead;

// Out codes of RemoveChild.
namespace remove_code {
inline constexpr int Done = 0;
inline constexpr int NoPosition = 1;    // nothing at that position
inline constexpr int NumberEmptied = 2; // a number lost its last digit
inline constexpr int LineEmptied = 3;   // a line of a multi-row template holds only its head
inline constexpr int AtHead = 4;        // the head is never removed
inline constexpr int TemplateEmptied = 5; // a multi-row template lost its last line
}  // namespace remove_code

// A row and a position in it.
struct RowPos {
    class CLexemRow* row = nullptr;
    int pos = -1;
};

class CLexemRow : public CLexem {
public:
    CLexemRow();
    ~CLexemRow() override;

    // Children, head included.
    int Count() const { return static_cast<int>(m_children.size()); }
    CLexem* Child(int pos) const;
    bool HasHead() const;
    CRowHead* Head() const;
    // Position of the first element after the head.
    int FirstPos() const { return HasHead() ? 1 : 0; }
    int LastPos() const { return Count() - 1; }
    // Elements besides the head.
    int ElementCount() const { return Count() - FirstPos(); }
    // Nothing but the head (or nothing at all).
    bool IsEmpty() const { return ElementCount() == 0; }
    int IndexOf(const CLexem* child) const;

    bool BracketWhenCompound() const { return m_bracketWhenCompound; }
    void SetBracketWhenCompound(bool on) { m_bracketWhenCompound = on; }
    bool AlwaysBracketed() const { return m_alwaysBracketed; }
    void SetAlwaysBracketed(bool on) { m_alwaysBracketed = on; }
    bool HeadIsStop() const { return m_headIsStop; }
    void SetHeadIsStop(bool on) { m_headIsStop = on; }
    // How many relation signs the row may hold in the operation tree.
    int RelationAllowance() const { return m_relationAllowance; }
    void SetRelationAllowance(int count) { m_relationAllowance = count; }

    void SetSelected(bool selected) override;
    void GetLexemText(std::string& out) const override;
    // The children with sign folding; bracketed when the row brackets itself
    // when compound and holds more than one element.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // The Aplan text of the children between two positions, both included,
    // with sign folding (x-y -> "x+!(-1)*!y", -5 -> "(-5)").
    void GetAplanTextRange(int first, int last, std::string& out, AplanContext& context) const;
    void Offset(int dx, int dy) override;
    void SetOwner(CDisplaySettings* owner, CLexem* parent) override;
    bool PlaceCursor(CCursorPath& path, Direction dir, Point pt) override;
    bool MoveCursor(CCursorPath& path, Direction dir) override;
    bool HitTest(CCursorPath& path, Point pt) override;
    void Normalize(ParseContext& context) override;
    // Pairs left-over bracket characters, then adds a row root node with the
    // tree of the row's statement (formula/optree/row_tree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;
    // Children left to right on the axis; automatic brackets when the row's
    // flags ask for them.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;
    // Drawn between automatic brackets.
    bool HasAutoBrackets() const;

    // Puts the cursor at a flat index (nested rows count their elements);
    // false when the index lies beyond the row.
    virtual bool SetCursorIndex(CCursorPath& path, int index);
    // Replaces the other row's children (they are destroyed) by all of this
    // row's, head included; this row is left with nothing.
    virtual void MoveChildrenTo(CLexemRow& other);
    // Parses lexeme text and pastes it after a position; throws CMEException.
    virtual RowPos InsertText(int pos, std::string_view text);
    // Inserts after a position; the new position, or -1 when refused (the
    // lexeme is then destroyed).
    virtual int InsertAfter(int pos, std::unique_ptr<CLexem> lexem);
    virtual void AddChild(std::unique_ptr<CLexem> lexem, bool atTail = true);
    // Deletes the child at a position; the position before it (backward) or
    // the one at which the following element now stands (-1 when none).
    virtual int RemoveChild(int pos, bool backward, int& code);
    virtual bool IsCompound() const;
    // Puts a lexeme in place of the element at a position (the old one is
    // destroyed); number rows refuse.
    virtual bool ReplaceChild(int pos, std::unique_ptr<CLexem> lexem);

    // Flat index of a position (nested rows count their elements); -1 when
    // the position is not in the row.
    int GetPosIndex(int pos) const;
    // Deletes every child but the head; the head (null without one).
    CRowHead* RemoveAll();
    // The children between two positions, both included, head skipped.
    std::vector<CLexem*> GetRange(int from, int to) const;
    // Move children (never the head) out into a caller's list: those before a
    // position, those from a position to the end, all, or those between two
    // positions (the second one included on request).
    void DetachHead(int pos, LexemList& out);
    void DetachTail(int pos, LexemList& out);
    void DetachAll(LexemList& out);
    void DetachRange(int from, int to, bool includeLast, LexemList& out);
    // Takes one child out of the row without destroying it.
    std::unique_ptr<CLexem> Detach(int pos);
    // Appends the lexemes from an index of the list to the end of the row; a
    // null entry continues in a new line after this one when this row is a
    // line of a multi-row template (elsewhere it is dropped).
    void InsertLexems(LexemList&& list, std::size_t from = 0);
    // Inserts the list after a position; a null entry splits the line when
    // this row is a line of a multi-row template: the rest of the list, then
    // what stood after the position, go into new lines after it. The place
    // right after the last inserted lexeme.
    RowPos PasteLexems(LexemList&& list, int pos);
    // Position of the bracket character closing the one at pos (same kind,
    // nesting counted); -1 when none.
    int MatchBracket(int pos) const;
    // Turns every matched pair of bracket characters (and what lies between)
    // into a bracket template, nested rows included; false when bracket
    // characters remain (unmatched, or too deep for a template).
    bool PairBrackets();
    // Turns the bracket pair at open/close into a template; its position.
    // -1, changing nothing, when the template would nest the text deeper
    // than the lexeme reader accepts.
    int MakeBracketTemplate(int open, int close);

    // Takes an emptied row (code NumberEmptied or LineEmptied from RemoveChild)
    // or an emptied multi-row template (TemplateEmptied) out of its container,
    // and so on upward while containers empty in turn. Where the removal
    // happened (row null when nothing was removed). The row is destroyed.
    static RowPos RemoveEmptied(CLexem* emptied, int code);

protected:
    CLexemRow(TemplateType type, bool withHead);
    void Adopt(CLexem& lexem);
    bool ValidPos(int pos) const { return pos >= 0 && pos < Count(); }

    std::vector<std::unique_ptr<CLexem>> m_children;
    bool m_bracketWhenCompound = false;
    bool m_alwaysBracketed = false;
    bool m_headIsStop = false;
    int m_relationAllowance = 1;
};

class CRowHead : public CLexem {
public:
    CRowHead();
    // Its row holds nothing but the head.
    bool RowIsEmpty() const;
    void GetLexemText(std::string& out) const override;
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // As high as "#"; as wide as "#" in an empty row (0 otherwise), where the
    // editor shows it as a dotted placeholder.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
};

class CArgRow : public CLexemRow {
public:
    CArgRow();
};

class CLineRow : public CArgRow {
public:
    CLineRow();
    // At the head: code AtHead, nothing removed. A line left with only its
    // head reports LineEmptied.
    int RemoveChild(int pos, bool backward, int& code) override;
};

class CIndexRow : public CArgRow {
public:
    CIndexRow();
    // The current font scaled by the index scale.
    void SelectFont(Canvas& canvas) override;
};

class CBodyRow : public CArgRow {
public:
    CBodyRow();
    bool IsCompound() const override;
};

// The lexeme as a row, or null.
inline CLexemRow* AsRow(CLexem* lexem)
{
    return lexem && lexem->IsRow() ? static_cast<CLexemRow*>(lexem) : nullptr;
}
inline const CLexemRow* AsRow(const CLexem* lexem)
{
    return lexem && lexem->IsRow() ? static_cast<const CLexemRow*>(lexem) : nullptr;
}

// Items a child counts for in a flat index: a nested row (a number) its
// elements, the head none, any other element one.
int FlatWeight(const CLexem& child);

}  // namespace formula
