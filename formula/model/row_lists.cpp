// List operations of rows: ranges, detaching, inserting lists that carry
// line breaks, and taking emptied rows and templates out of their containers.
#include <algorithm>

#include "formula/model/lexem_row.h"
#include "formula/model/templates/multi_row.h"

namespace formula {

std::vector<CLexem*> CLexemRow::GetRange(int from, int to) const
{
    std::vector<CLexem*> range;
    from = std::max(from, FirstPos());
    for (int pos = from; pos <= to && pos < Count(); ++pos) {
        range.push_back(Child(pos));
    }
    return range;
}

void CLexemRow::DetachRange(int from, int to, bool includeLast, LexemList& out)
{
    from = std::max(from, FirstPos());
    const int end = std::min(includeLast ? to + 1 : to, Count());
    if (from >= end) {
        return;
    }
    for (int pos = from; pos < end; ++pos) {
        out.push_back(std::move(m_children[static_cast<std::size_t>(pos)]));
    }
    m_children.erase(m_children.begin() + from, m_children.begin() + end);
}

void CLexemRow::DetachHead(int pos, LexemList& out)
{
    DetachRange(FirstPos(), pos, false, out);
}

void CLexemRow::DetachTail(int pos, LexemList& out)
{
    DetachRange(pos, Count(), false, out);
}

void CLexemRow::DetachAll(LexemList& out)
{
    DetachRange(FirstPos(), Count(), false, out);
}

std::unique_ptr<CLexem> CLexemRow::Detach(int pos)
{
    if (!ValidPos(pos) || (pos == 0 && HasHead())) {
        return nullptr;
    }
    std::unique_ptr<CLexem> lexem = std::move(m_children[static_cast<std::size_t>(pos)]);
    m_children.erase(m_children.begin() + pos);
    return lexem;
}

namespace {
// The multi-row template this row is a line of, or null.
CMultiRowTemplate* EnclosingMultiRow(const CLexemRow& row)
{
    CLexem* parent = row.Parent();
    if (parent && parent->IsMultiRow() && dynamic_cast<const CLineRow*>(&row)) {
        return static_cast<CMultiRowTemplate*>(parent);
    }
    return nullptr;
}
}  // namespace

void CLexemRow::InsertLexems(LexemList&& list, std::size_t from)
{
    CLexemRow* row = this;
    for (std::size_t i = from; i < list.size(); ++i) {
        if (list[i]) {
            row->AddChild(std::move(list[i]));
            continue;
        }
        if (CMultiRowTemplate* multi = EnclosingMultiRow(*row)) {
            row = multi->InsertNewRow(static_cast<CLineRow*>(row), false);
        }
    }
    list.clear();
}

RowPos CLexemRow::PasteLexems(LexemList&& list, int pos)
{
    CLexemRow* row = this;
    LexemList tail;
    for (auto& lexem : list) {
        if (lexem) {
            // A row that refuses a lexeme (a digit row offered a letter)
            // keeps the caret where it was: -1 would put the next one before
            // the row's head.
            const int at = row->InsertAfter(pos, std::move(lexem));
            if (at >= 0) {
                pos = at;
            }
            continue;
        }
        CMultiRowTemplate* multi = EnclosingMultiRow(*row);
        if (!multi) {
            continue;
        }
        if (tail.empty()) {
            row->DetachTail(pos + 1, tail);
        }
        row = multi->InsertNewRow(static_cast<CLineRow*>(row), false);
        pos = 0;
    }
    list.clear();
    const RowPos caret{row, pos};
    for (auto& lexem : tail) {
        row->AddChild(std::move(lexem));
    }
    return caret;
}

RowPos CLexemRow::RemoveEmptied(CLexem* emptied, int code)
{
    RowPos where;
    while (emptied) {
        CLexem* container = emptied->Parent();
        int next = remove_code::Done;
        switch (code) {
        case remove_code::NumberEmptied:
        case remove_code::TemplateEmptied: {
            CLexemRow* row = AsRow(container);
            if (!row) {
                return where;
            }
            const int at = row->IndexOf(emptied);
            where = {row, row->RemoveChild(at, true, next)};
            if (next != remove_code::LineEmptied) {
                return where;
            }
            emptied = row;
            code = next;
            break;
        }
        case remove_code::LineEmptied: {
            if (!container || !container->IsMultiRow()) {
                return where;
            }
            auto* multi = static_cast<CMultiRowTemplate*>(container);
            CLineRow* line = static_cast<CLineRow*>(emptied);
            const int index = multi->IndexOfRow(line);
            multi->RemoveRow(line, next);
            if (next != remove_code::TemplateEmptied) {
                CLineRow* neighbour = multi->GetRow(index > 0 ? index - 1 : 0);
                where = {neighbour, neighbour ? neighbour->LastPos() : -1};
                return where;
            }
            emptied = multi;
            code = next;
            break;
        }
        default:
            return where;
        }
    }
    return where;
}

}  // namespace formula
