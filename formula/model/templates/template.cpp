#include "formula/model/templates/template.h"

#include <algorithm>

#include "formula/model/cursor_path.h"
#include "formula/model/lexem_row.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"

namespace formula {

CTemplate::CTemplate(TemplateType type, TemplateGroup group)
    : CLexem(LexemKind::Template, type)
    , m_group(group)
{
}

int CTemplate::InsertInto(std::unique_ptr<CTemplate> tmpl, CLexemRow& row, int pos, CCursorPath& path)
{
    CTemplate* inserted = tmpl.get();
    const int at = row.InsertAfter(pos, std::move(tmpl));
    if (at >= 0) {
        path.Push(inserted);
        path.SetPos(0);
    }
    return at;
}

void CTemplate::SetSelected(bool selected)
{
    CLexem::SetSelected(selected);
    for (CLexem* part : Parts()) {
        part->SetSelected(selected);
    }
}

void CTemplate::Offset(int dx, int dy)
{
    CLexem::Offset(dx, dy);
    for (CLexem* part : Parts()) {
        part->Offset(dx, dy);
    }
}

void CTemplate::SetOwner(CDisplaySettings* owner, CLexem* parent)
{
    CLexem::SetOwner(owner, parent);
    for (CLexem* part : Parts()) {
        part->SetOwner(owner, this);
    }
}

CLexemRow* CTemplate::CursorRow(int) const
{
    return nullptr;
}

int CTemplate::TextLevels(const CLexem&) const
{
    return 1;
}

int TextDepth(const CLexem& lexem)
{
    int depth = 0;
    for (const CLexem* part = &lexem; const CLexem* up = part->Parent(); part = up) {
        if (const CTemplate* holder = AsTemplate(up)) {
            depth += holder->TextLevels(*part);
        }
    }
    return depth;
}

int TextHeight(const CLexem& lexem)
{
    int height = 0;
    if (const auto* multi = dynamic_cast<const CMultiRowTemplate*>(&lexem)) {
        for (int i = 0; i < multi->GetRowCount(); ++i) {
            const CLexem& line = *multi->GetRow(i);
            height = std::max(height, multi->TextLevels(line) + TextHeight(line));
        }
    } else if (const CTemplate* tmpl = AsTemplate(&lexem)) {
        for (const CLexem* part : tmpl->Parts()) {
            height = std::max(height, tmpl->TextLevels(*part) + TextHeight(*part));
        }
    } else if (const CLexemRow* row = AsRow(&lexem)) {
        for (int i = 0; i < row->Count(); ++i) {
            height = std::max(height, TextHeight(*row->Child(i)));
        }
    }
    return height;
}

bool CTemplate::PlaceCursor(CCursorPath& path, Direction dir, Point pt)
{
    path.Push(this);
    const int depth = path.Depth();
    if (FollowRoute(path, ArriveRoute(dir), pt)) {
        return true;
    }
    path.Truncate(depth - 1);
    return false;
}

bool CTemplate::MoveCursor(CCursorPath& path, Direction dir)
{
    const int from = path.GetPos();
    if (from < 0 || from > CursorRowCount()) {
        return false;
    }
    return FollowRoute(path, MoveRoute(from, dir), {});
}

bool CTemplate::FollowRoute(CCursorPath& path, const CursorRoute& route, Point pt)
{
    const int depth = path.Depth();
    for (int i = 0; i < route.count; ++i) {
        const CursorStep& step = route.steps[static_cast<std::size_t>(i)];
        switch (step.kind) {
        case CursorStep::Kind::Enter: {
            CLexemRow* row = CursorRow(step.row);
            if (!row) {
                break;
            }
            path.SetPos(step.row);
            if (row->PlaceCursor(path, step.dir, pt)) {
                return true;
            }
            path.Truncate(depth);
            break;
        }
        case CursorStep::Kind::Stop:
            path.SetPos(0);
            return true;
        case CursorStep::Kind::Leave:
            return false;
        }
    }
    return false;
}

CursorRoute CTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
        return Route(Enter(1, Direction::Right), kStop);
    case Direction::Left:
    case Direction::Up:
    case Direction::Down:
    case Direction::ToPoint:
        break;
    }
    return Route(kStop);
}

// Rows in reading order 1..n: the last row is entered at its end from
// position 0; leaving a row to the right enters the next one, and the last
// one stops at position 0; leaving the first to the left leaves.
CursorRoute CTemplate::MoveRoute(int from, Direction dir) const
{
    const int last = CursorRowCount();
    if (from == 0) {
        switch (dir) {
        case Direction::Left:
            return Route(Enter(last, Direction::Left), kLeave);
        case Direction::Right:
        case Direction::Up:
        case Direction::Down:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    switch (dir) {
    case Direction::Right:
        return from < last ? Route(Enter(from + 1, Direction::Right), kStop) : Route(kStop);
    case Direction::Left:
        return from > 1 ? Route(Enter(from - 1, Direction::Left), kLeave) : Route(kLeave);
    case Direction::Up:
    case Direction::Down:
    case Direction::ToPoint:
        break;
    }
    return Route(kLeave);
}

bool CTemplate::HitRow(CCursorPath& path, int n, Point pt)
{
    CLexemRow* row = CursorRow(n);
    if (!row || !row->IsPointInside(pt)) {
        return false;
    }
    path.Push(this);
    path.SetPos(n);
    const int depth = path.Depth();
    if (row->HitTest(path, pt)) {
        return true;
    }
    path.Truncate(depth - 1);
    return false;
}

bool CTemplate::HitTest(CCursorPath& path, Point pt)
{
    if (!IsPointInside(pt)) {
        return false;
    }
    for (int n = CursorRowCount(); n >= 1; --n) {
        if (HitRow(path, n, pt)) {
            return true;
        }
    }
    path.Push(this);
    path.SetPos(0);
    return true;
}

void CTemplate::Normalize(ParseContext& context)
{
    for (CLexem* part : Parts()) {
        part->Normalize(context);
        if (context.invalid) {
            return;
        }
    }
}

void CTemplate::NormalizeRows(ParseContext& context, std::initializer_list<CLexemRow*> rows, bool requireFilled)
{
    for (CLexemRow* row : rows) {
        if (!row) {
            continue;
        }
        if (requireFilled && row->IsEmpty()) {
            context.invalid = true;
            return;
        }
        row->Normalize(context);
        if (context.invalid) {
            return;
        }
    }
}

void WriteTemplateText(std::string& out, std::string_view name, std::initializer_list<const CLexem*> parts)
{
    out += '@';
    out += name;
    for (const CLexem* part : parts) {
        out += '$';
        if (part) {
            part->GetLexemText(out);
        }
    }
    out += '#';
}

}  // namespace formula
