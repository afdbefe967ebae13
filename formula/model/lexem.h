#pragma once
// The formula model: a formula is a tree of lexemes. Every element, from a
// letter to a system of equations, is a CLexem:
//   - rows (CLexemRow and kinds) are horizontal sequences of lexemes; argument
//     rows start with their own CRowHead at position 0;
//   - leaves are characters, signs, relation signs and atoms (chars.h);
//   - numbers are rows of digit characters (numbers.h);
//   - templates (templates/) own argument rows: fractions, indexes, roots...
// Rows own their children and templates their rows (std::unique_ptr); parent
// pointers run upward. A position in a row is the index of the child after
// which the caret stands (the head stands for the start of the row); -1 means
// "no position".
//
// Virtual operations, in the order of the original slots: SetSelected,
// destructor, Layout, GetLexemText, (GetAplanText, GetMathMLText: added with
// the Aplan and MathML notations), Offset, SetOwner, PlaceCursor, MoveCursor,
// HitTest, Normalize, (BuildOperationTree: added with the operation tree),
// Draw, SelectFont, RestoreFont. Layout and drawing go through a Canvas
// (formula/layout/canvas.h); a class that does not override them lays itself
// out as an empty box and draws nothing. Their definitions live beside each
// family in *_layout.cpp files.
#include <memory>
#include <string>
#include <vector>

namespace formula {

class Canvas;
class CCursorPath;
class CDisplaySettings;
struct ParseContext;
class COperationNode;
struct AplanContext;

enum class LexemKind : int { Row = 1, RowHead = 2, Character = 3, RelationSign = 4, Template = 5 };

// Template type numbers; also the types of numbers and leaves. The names the
// lexeme text uses are in templates/template_kinds.h.
enum class TemplateType : int {
    None = 0,
    Number = 1,
    Func = 2,
    IndexFunc = 3,
    RealNum = 4,
    BracketChar = 5,
    Char = 6,
    OperatorSign = 7,
    HorFrac = 8,
    DiagFrac = 9,
    Index = 10,
    IndexUp = 11,
    IndexDn = 12,
    IndexUpDn = 13,
    ProgMem = 14,
    Aggregate = 15,
    System = 16,
    Union = 17,
    MixedFrac = 18,
    SimpleFrac = 19,
    Deriv = 20,
    BrRound = 21,
    BrPersistRound = 22,
    BrAbs = 23,
    BrFigure = 24,
    BrSquare = 25,
    SqrRoot = 26,
    SqrtCan = 27,
    SpecAtom = 28,
    Interval = 29,
    Bool = 30,
    Root = 31,
    Lim = 32,
    Integral = 33,
    IntegralUndef = 34,
    SubSup = 35,
    IntegrationLimit = 36,
    Summa = 37,
};

enum class TemplateGroup : int {
    Plain = 0,
    Fraction = 1,
    Index = 2,
    MultiRow = 3,
    Brackets = 4,
    Interval = 5,
    Function = 6,
    Derivative = 7,
    NDerivative = 8,
    Root = 9,
    Lim = 10,
    BigOperator = 11,
};

// Directions of the cursor operations: the way the cursor arrives or moves.
enum class Direction : int { Left = 0, Right = 1, Up = 2, Down = 3, ToPoint = 4 };

struct Point {
    int x = 0;
    int y = 0;
};

// Box of a lexeme in device pixels; axisY is the line it was laid out on.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int axisY = 0;
};

class CLexem;
// A list of lexemes handed between readers and rows; a null entry is a line
// break.
using LexemList = std::vector<std::unique_ptr<CLexem>>;

class CLexem {
public:
    virtual ~CLexem();
    CLexem(const CLexem&) = delete;
    CLexem& operator=(const CLexem&) = delete;

    LexemKind Kind() const { return m_kind; }
    TemplateType Type() const { return m_type; }
    CLexem* Parent() const { return m_parent; }
    CDisplaySettings* Owner() const { return m_owner; }
    bool IsSelected() const { return m_selected; }

    const Box& GetBox() const { return m_box; }
    void SetBox(const Box& box) { m_box = box; }
    // Edges included.
    bool IsPointInside(Point pt) const;

    virtual void SetSelected(bool selected);
    virtual void Layout(Canvas& canvas, int x, int axisY);
    // Appends the lexeme and everything below it in the lexeme text.
    virtual void GetLexemText(std::string& out) const = 0;
    // Appends the lexeme in the solving kernel's Aplan text; a part with no
    // full Aplan form sets context.incomplete (formula/notation/aplan_writer.h).
    virtual void GetAplanText(std::string& out, AplanContext& context) const = 0;
    // Appends the lexeme's MathML markup (formula/notation/mathml_writer.h).
    virtual void GetMathMLText(std::string& out) const = 0;
    virtual void Offset(int dx, int dy);
    virtual void SetOwner(CDisplaySettings* owner, CLexem* parent);
    // Puts the cursor into the lexeme as it arrives moving in a direction;
    // false (the "left" flag) when the lexeme cannot hold it. Leaves push
    // themselves: the caret then stands right after them.
    virtual bool PlaceCursor(CCursorPath& path, Direction dir, Point pt);
    // Moves the cursor one step inside the lexeme (the path's top entry);
    // false when the move leaves the lexeme.
    virtual bool MoveCursor(CCursorPath& path, Direction dir);
    // When the point lies in the box, places the cursor there and answers true.
    virtual bool HitTest(CCursorPath& path, Point pt);
    // Restructures and checks the lexeme; faults set context.invalid.
    virtual void Normalize(ParseContext& context);
    // Adds the lexeme's nodes to the operation tree under a parent node
    // (formula/optree/operation_tree.h): a leaf one node for itself, a row the
    // tree of its statement, a template a node with its rows' trees. The node
    // made, or null; faults set context.invalid and the caller discards the
    // tree.
    virtual COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent);
    virtual void Draw(Canvas& canvas);
    virtual void SelectFont(Canvas& canvas);
    virtual void RestoreFont(Canvas& canvas);
    // Layout and drawing in the lexeme's own font: SelectFont, Layout or
    // Draw, RestoreFont. A selected lexeme draws in the selection colour.
    // Containers lay out and draw their children through these.
    void DoLayout(Canvas& canvas, int x, int axisY);
    void DoDraw(Canvas& canvas);

    // The text of the lexeme and everything below it.
    std::string LexemText() const;

    // Predicates.
    bool IsRow() const { return m_kind == LexemKind::Row; }
    bool IsTemplate() const { return m_kind == LexemKind::Template; }
    bool IsMultiRow() const;
    bool IsSpace() const;
    bool IsSubscriptOnly() const;
    bool IsBelongSign() const;
    bool IsLetter() const;
    bool IsOperandLike() const;
    bool IsLessSign() const;
    bool IsGreaterSign() const;
    // The character of a leaf (kinds 3 and 4); 0 for anything else.
    int CharCode() const;
    // The lexeme before this one in its enclosing row; null right after the
    // head or at the start of a row.
    CLexem* GetPrevInRow() const;

protected:
    CLexem(LexemKind kind, TemplateType type);
    void SetType(TemplateType type) { m_type = type; }

    CLexem* m_parent = nullptr;
    Box m_box;
    CDisplaySettings* m_owner = nullptr;

private:
    LexemKind m_kind;
    TemplateType m_type;
    bool m_selected = false;
};

// Truth of the environment's correction flag for a lexeme (on without owner).
bool CorrectionOn(const CLexem& lexem);

}  // namespace formula
