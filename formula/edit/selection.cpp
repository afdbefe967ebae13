#include "formula/edit/selection.h"

#include <algorithm>

#include "formula/env/formula_env.h"
#include "formula/layout/canvas.h"
#include "formula/model/cursor_path.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/lexem_parser.h"
#include "formula/optree/operation_tree.h"

namespace formula {
namespace {

// Behind the selected run: a pale tint of the selection colour.
constexpr Colour kBackground = Rgb(214, 240, 214);

Rect Union(const Rect& a, const Rect& b)
{
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

}  // namespace

CSelection::CSelection(CFormulaEnv* env)
    : m_env(env)
{
}

void CSelection::Mark(bool on)
{
    if (m_row) {
        for (int pos = m_first; pos <= m_last; ++pos) {
            if (CLexem* child = m_row->Child(pos)) {
                child->SetSelected(on);
            }
        }
    } else if (m_lines) {
        for (int index = m_first; index <= m_last; ++index) {
            if (CLineRow* line = m_lines->GetRow(index)) {
                line->SetSelected(on);
            }
        }
    }
}

void CSelection::MarkStale()
{
    if (m_env) {
        m_env->MarkLayoutStale();
    }
}

void CSelection::Clear(bool unmark)
{
    if (unmark) {
        Mark(false);
    }
    m_row = nullptr;
    m_lines = nullptr;
    m_first = 0;
    m_last = -1;
}

void CSelection::SelectRange(CLexemRow& row, int first, int last)
{
    Clear(true);
    first = std::max(first, row.FirstPos());
    last = std::min(last, row.LastPos());
    if (first > last) {
        return;
    }
    m_row = &row;
    m_first = first;
    m_last = last;
    Mark(true);
}

void CSelection::SelectLines(CMultiRowTemplate& lines, int first, int last)
{
    Clear(true);
    first = std::max(first, 0);
    last = std::min(last, lines.GetRowCount() - 1);
    if (first > last) {
        return;
    }
    m_lines = &lines;
    m_first = first;
    m_last = last;
    Mark(true);
}

void CSelection::SelectNode(const COperationNode& node)
{
    Clear(true);
    CLexem* first = node.First();
    CLexem* last = node.Last();
    CLexemRow* row = AsRow(first ? first->Parent() : nullptr);
    if (!row || !last || last->Parent() != row) {
        return;
    }
    SelectRange(*row, row->IndexOf(first), row->IndexOf(last));
}

bool CSelection::Extend(const CCursorPath& from, const CCursorPath& to)
{
    Clear(true);
    const int depth = std::min(from.Depth(), to.Depth());
    int common = 0;
    while (common < depth && from.Entry(common + 1).lexem == to.Entry(common + 1).lexem) {
        ++common;
    }
    if (common == 0) {
        return false;
    }
    CLexem* lexem = from.Entry(common).lexem;
    const int a = from.Entry(common).pos;
    const int b = to.Entry(common).pos;
    if (a == b) {
        return false;
    }
    if (CLexemRow* row = AsRow(lexem)) {
        SelectRange(*row, std::min(a, b) + 1, std::max(a, b));
    } else if (lexem->IsMultiRow() && a > 0 && b > 0) {
        SelectLines(*static_cast<CMultiRowTemplate*>(lexem), std::min(a, b) - 1, std::max(a, b) - 1);
    }
    return !IsEmpty();
}

int CSelection::Count() const
{
    return IsEmpty() ? 0 : m_last - m_first + 1;
}

std::string CSelection::GetLexemText() const
{
    std::string text;
    if (m_row) {
        for (int pos = m_first; pos <= m_last; ++pos) {
            m_row->Child(pos)->GetLexemText(text);
        }
    } else if (m_lines) {
        for (int index = m_first; index <= m_last; ++index) {
            if (index > m_first) {
                text += "@#";
            }
            m_lines->GetRow(index)->GetLexemText(text);
        }
    }
    return text;
}

std::string CSelection::GetAplanText(bool* incomplete) const
{
    std::string text;
    AplanContext context;
    if (m_row) {
        m_row->GetAplanTextRange(m_first, m_last, text, context);
    } else if (m_lines) {
        for (int index = m_first; index <= m_last; ++index) {
            if (index > m_first) {
                text += ',';
            }
            text += '(';
            m_lines->GetRow(index)->GetAplanText(text, context);
            text += ')';
        }
    }
    if (incomplete) {
        *incomplete = context.incomplete;
    }
    return text;
}

SelectionRemoval CSelection::Delete()
{
    SelectionRemoval removal;
    CLexemRow* row = m_row;
    CMultiRowTemplate* lines = m_lines;
    const int first = m_first;
    const int last = m_last;
    Clear(false);
    if (row) {
        CLexemRow* outer = AsRow(row->Parent());
        if (IsInlineNumber(*row) && outer) {
            // Digits of a number: the place belongs to the row around it.
            const int at = outer->IndexOf(row);
            removal.point = {outer, FlatBefore(*outer, at) + first};
            LexemList removed;
            row->DetachRange(first, last, true, removed);
            if (row->Count() == 0) {
                outer->Detach(at);
            }
        } else {
            removal.point = {row, FlatBefore(*row, first)};
            LexemList removed;
            row->DetachRange(first, last, true, removed);
        }
    } else if (lines) {
        lines->DeleteRows(first, last);
        removal.lines = lines;
    }
    MarkStale();
    return removal;
}

RowPos CSelection::Replace(LexemList&& list)
{
    if (m_row) {
        const SelectionRemoval removal = Delete();
        return InsertListAt(*removal.point.row, removal.point.flat, std::move(list));
    }
    if (!m_lines) {
        return {};
    }
    CMultiRowTemplate* lines = m_lines;
    const int first = m_first;
    const int last = m_last;
    Clear(false);
    std::vector<std::unique_ptr<CLineRow>> removed;
    lines->DetachRows(first, last, removed);
    CLineRow* line = lines->InsertNewRow(lines->GetRow(first - 1), first == 0);
    line->InsertLexems(std::move(list));
    MarkStale();
    return {};
}

RowPos CSelection::ReplaceByLexemText(std::string_view text)
{
    return Replace(CLexemParser().Parse(text));
}

RowPos CSelection::ReplaceByAplanText(std::string_view aplan)
{
    std::string text;
    CLexemParser::ConvertAplanText(aplan, text);
    return Replace(CLexemParser().Parse(text));
}

void CSelection::DrawBackground(Canvas& canvas) const
{
    bool any = false;
    Rect band;
    auto add = [&](const CLexem* lexem) {
        const Rect rect = RectOf(lexem->GetBox());
        band = any ? Union(band, rect) : rect;
        any = true;
    };
    if (m_row) {
        for (int pos = m_first; pos <= m_last; ++pos) {
            add(m_row->Child(pos));
        }
    } else if (m_lines) {
        for (int index = m_first; index <= m_last; ++index) {
            add(m_lines->GetRow(index));
        }
    }
    if (any) {
        canvas.FillRect(band, kBackground);
    }
}

}  // namespace formula
