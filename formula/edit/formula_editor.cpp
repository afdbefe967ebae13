#include "formula/edit/formula_editor.h"

#include "formula/edit/selection.h"
#include "formula/env/formula_env.h"
#include "formula/env/tool_table.h"
#include "formula/model/chars.h"
#include "formula/model/templates/multi_row.h"

namespace formula {
namespace {

// Typed shortcuts and the palette command each inserts; a template that is
// an operand of its own takes a product sign after a number, a letter or a
// closing bracket.
struct Shortcut {
    char ch;
    int lexType;
    bool operand;
};
constexpr Shortcut kShortcuts[] = {
    {'&', 267, true},   // square root
    {'/', 264, false},  // horizontal fraction
    {'^', 269, false},  // power
    {'_', 271, false},  // lower index
    {'|', 290, true},   // absolute value
};

// The multi-row template a row is a line of, or null.
CMultiRowTemplate* EnclosingLines(const CLexemRow& row)
{
    CLexem* parent = row.Parent();
    if (parent && parent->IsMultiRow() && dynamic_cast<const CLineRow*>(&row)) {
        return static_cast<CMultiRowTemplate*>(parent);
    }
    return nullptr;
}

}  // namespace

CFormulaEditor::CFormulaEditor(CFormulaEnv& env)
    : m_env(env)
{
    Start(&m_env.Root(), false);
}

CLexem& CFormulaEditor::Root() const
{
    return m_env.Root();
}

void CFormulaEditor::ToEnd()
{
    Start(&Root(), false);
}

void CFormulaEditor::ToStart()
{
    Start(&Root(), true);
}

void CFormulaEditor::PlaceAt(const EditPoint& point)
{
    PlacePath(*this, Root(), point);
}

void CFormulaEditor::EnterAt(CLexemRow& row, int pos)
{
    EnterElement(*this, Root(), row, pos);
}

std::optional<Rect> CFormulaEditor::CaretRect() const
{
    if (!m_caretVisible || IsEmpty()) {
        return std::nullopt;
    }
    const CLexem* lexem = Top();
    // A row on top holds the caret after its element at the position.
    if (const CLexemRow* row = AsRow(lexem)) {
        if (const CLexem* child = row->Child(GetPos())) {
            lexem = child;
        }
    }
    const Box& box = lexem->GetBox();
    if (lexem->Kind() == LexemKind::RowHead && static_cast<const CRowHead*>(lexem)->RowIsEmpty()) {
        return Rect{box.x + 3, box.y + 3, 2, std::max(box.height - 6, 1)};
    }
    return Rect{box.x + box.width, box.y, 2, box.height};
}

bool CFormulaEditor::OnChar(char ch)
{
    if (static_cast<unsigned char>(ch) < 32 || ch == '@' || ch == '#' || ch == '$') {
        return false;
    }
    CSelection* selection = m_env.Selection();
    if (selection && !selection->IsEmpty()) {
        selection->Clear(true);
        m_env.MarkLayoutStale();
        return false;
    }
    if ((ch == '^' || ch == '/') && TakeOperand(ch)) {
        return true;
    }
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.ch == ch) {
            const ToolInfo* tool = FindTool(shortcut.lexType);
            return tool && m_env.InsertTool(*tool, shortcut.operand && ProductSignBeforeTemplate());
        }
    }
    if (ch == '=' && JoinRelation()) {
        return true;
    }
    const EditPoint point = Point();
    if (!point.row) {
        return false;
    }
    CLexemRow& row = *point.row;
    if (IsDigitRow(row)) {
        // The parts of a mixed number and a lower index take digits alone.
        if (!IsDigitChar(ch) || row.InsertAfter(point.flat, std::make_unique<CCharLexem>(ch)) < 0) {
            return false;
        }
        PlaceAt({&row, point.flat + 1});
        return true;
    }
    return TypeIntoRun(row, point.flat, ch);
}

bool CFormulaEditor::Delete(bool forward)
{
    CSelection* selection = m_env.Selection();
    if (selection && !selection->IsEmpty()) {
        return DeleteSelection();
    }
    const EditPoint point = Point();
    if (!point.row) {
        return false;
    }
    CLexemRow& row = *point.row;
    const int caret = forward ? point.flat : point.flat - 1;
    if (IsDigitRow(row)) {
        // Digit i stands at position i (the head at 0).
        const int pos = forward ? point.flat + 1 : point.flat;
        if (pos < row.FirstPos() || pos > row.LastPos()) {
            return false;
        }
        int code = 0;
        row.RemoveChild(pos, !forward, code);
        PlaceAt({&row, caret});
        return true;
    }
    if (forward ? point.flat >= FlatLength(row) : point.flat <= 0) {
        return JoinLines(row, forward);
    }
    const FlatItem item = ItemAt(row, forward ? point.flat + 1 : point.flat);
    CLexem* element = row.Child(item.pos);
    if (!element) {
        return false;
    }
    if (IsRunElement(*element)) {
        const Run run = FindRun(row, point.flat);
        std::string text = run.text;
        text.erase(static_cast<std::size_t>(caret - run.flatStart), 1);
        if (!ReplaceRun(row, run, text)) {
            return false;
        }
    } else if (element->IsTemplate()) {
        // A template is selected first; the next press deletes it.
        if (selection) {
            selection->SelectRange(row, item.pos, item.pos);
            m_env.MarkLayoutStale();
        }
        return false;
    } else {
        int code = 0;
        row.RemoveChild(item.pos, !forward, code);
        Regroup(row, caret);
    }
    AfterRemoval(row, caret);
    return true;
}

void CFormulaEditor::AfterRemoval(CLexemRow& row, int flat)
{
    CMultiRowTemplate* lines = EnclosingLines(row);
    if (!lines || !row.IsEmpty()) {
        PlaceAt({&row, flat});
        return;
    }
    const int index = lines->IndexOfRow(&row);
    if (lines->GetRowCount() >= 2) {
        // The emptied line goes; the caret to the end of the line before it
        // (the start of the next one when it was the first).
        int code = 0;
        lines->RemoveRow(static_cast<CLineRow*>(&row), code);
        if (index > 0) {
            CLineRow* before = lines->GetRow(index - 1);
            PlaceAt({before, FlatLength(*before)});
        } else {
            PlaceAt({lines->GetRow(0), 0});
        }
        return;
    }
    if (lines == &m_env.Root()) {
        PlaceAt({&row, flat});
        return;
    }
    // The template's last line emptied: the template goes from its row.
    const RowPos where = CLexemRow::RemoveEmptied(&row, remove_code::LineEmptied);
    if (!where.row) {
        ToEnd();
        return;
    }
    const EditPoint point = PointAfter(*where.row, where.pos);
    Regroup(*point.row, point.flat);
    PlaceAt(point);
}

bool CFormulaEditor::JoinLines(CLexemRow& row, bool forward)
{
    CMultiRowTemplate* lines = EnclosingLines(row);
    if (!lines) {
        return false;
    }
    const int index = lines->IndexOfRow(&row);
    const int upper = forward ? index : index - 1;
    CLineRow* first = lines->GetRow(upper);
    CLineRow* second = lines->GetRow(upper + 1);
    if (upper < 0 || !first || !second) {
        return false;
    }
    const int join = FlatLength(*first);
    LexemList moved;
    second->DetachAll(moved);
    first->InsertLexems(std::move(moved));
    lines->DeleteRow(upper + 1, false);
    Regroup(*first, join);
    PlaceAt({first, join});
    return true;
}

bool CFormulaEditor::DeleteSelection()
{
    CSelection* selection = m_env.Selection();
    if (!selection || selection->IsEmpty()) {
        return false;
    }
    const SelectionRemoval removal = selection->Delete();
    if (removal.lines) {
        // The caret after the template whose lines went (the formula's end
        // for the root).
        CLexemRow* row = AsRow(removal.lines->Parent());
        if (row) {
            PlaceAt(PointAfter(*row, row->IndexOf(removal.lines)));
        } else {
            ToEnd();
        }
        return true;
    }
    if (removal.point.row) {
        Regroup(*removal.point.row, removal.point.flat);
        PlaceAt(removal.point);
    }
    return true;
}

bool CFormulaEditor::SplitLine()
{
    CLineRow* line = nullptr;
    int lineEntry = 0;
    for (int i = Depth(); i >= 1; --i) {
        auto* row = dynamic_cast<CLineRow*>(Entry(i).lexem);
        if (row && EnclosingLines(*row)) {
            line = row;
            lineEntry = i;
            break;
        }
    }
    if (!line) {
        return false;
    }
    CMultiRowTemplate* lines = EnclosingLines(*line);
    LexemList tail;
    const EditPoint point = Point();
    if (point.row == line) {
        // The run at the caret is cut in two (a number split between digits).
        const RowPos cut = InsertListAt(*line, point.flat, {});
        if (!cut.row) {
            return false;
        }
        line->DetachTail(cut.pos + 1, tail);
    } else {
        // The caret inside an element of the line: the split follows it.
        line->DetachTail(Entry(lineEntry).pos + 1, tail);
    }
    CLineRow* added = lines->InsertNewRow(line, false);
    added->InsertLexems(std::move(tail));
    PlaceAt({added, 0});
    return true;
}

}  // namespace formula
