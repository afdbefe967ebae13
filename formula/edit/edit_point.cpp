#include "formula/edit/edit_point.h"

#include <algorithm>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/cursor_path.h"
#include "formula/model/errors.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/template.h"
#include "formula/notation/lexem_parser.h"

namespace formula {

bool IsInlineNumber(const CLexem& lexem)
{
    return IsNumberRow(lexem) && !static_cast<const CLexemRow&>(lexem).HasHead();
}

bool IsDigitRow(const CLexem& lexem)
{
    return IsNumberRow(lexem) && static_cast<const CLexemRow&>(lexem).HasHead();
}

bool IsRunElement(const CLexem& lexem)
{
    if (lexem.IsRow()) {
        return IsInlineNumber(lexem);
    }
    return lexem.Kind() == LexemKind::Character &&
           (lexem.Type() == TemplateType::Char || lexem.Type() == TemplateType::BracketChar);
}

int FlatBefore(const CLexemRow& row, int pos)
{
    int flat = 0;
    pos = std::min(pos, row.Count());
    for (int i = 0; i < pos; ++i) {
        flat += FlatWeight(*row.Child(i));
    }
    return flat;
}

int FlatLength(const CLexemRow& row)
{
    return FlatBefore(row, row.Count());
}

FlatItem ItemAt(const CLexemRow& row, int n)
{
    int before = 0;
    for (int pos = 0; pos < row.Count(); ++pos) {
        const int weight = FlatWeight(*row.Child(pos));
        if (n > before && n <= before + weight) {
            return {pos, before};
        }
        before += weight;
    }
    return {-1, before};
}

Run FindRun(const CLexemRow& row, int flat)
{
    Run run;
    const FlatItem before = flat > 0 ? ItemAt(row, flat) : FlatItem{};
    const FlatItem after = ItemAt(row, flat + 1);
    int first = -1;
    int last = -1;
    for (int pos : {before.pos, after.pos}) {
        if (pos >= 0 && IsRunElement(*row.Child(pos))) {
            first = first < 0 ? pos : std::min(first, pos);
            last = std::max(last, pos);
        }
    }
    if (first < 0) {
        run.first = before.pos >= 0 ? before.pos + 1 : row.FirstPos();
        run.last = run.first - 1;
        run.flatStart = flat;
        return run;
    }
    while (first - 1 >= row.FirstPos() && IsRunElement(*row.Child(first - 1))) {
        --first;
    }
    while (last + 1 < row.Count() && IsRunElement(*row.Child(last + 1))) {
        ++last;
    }
    run.first = first;
    run.last = last;
    run.flatStart = FlatBefore(row, first);
    for (int pos = first; pos <= last; ++pos) {
        row.Child(pos)->GetLexemText(run.text);
    }
    return run;
}

namespace {

// Plain text (no templates, no line breaks) read into lexemes.
bool ReadPlain(std::string_view text, LexemList& out)
{
    try {
        out = CLexemParser().Parse(text);
    } catch (const CMEException&) {
        return false;
    }
    return std::all_of(out.begin(), out.end(), [](const auto& lexem) { return lexem != nullptr; });
}

int InsertAll(CLexemRow& row, int pos, LexemList& list)
{
    for (auto& lexem : list) {
        const int at = row.InsertAfter(pos, std::move(lexem));
        if (at < 0) {
            break;
        }
        pos = at;
    }
    list.clear();
    return pos;
}

int CursorNumber(const CTemplate& tmpl, const CLexem* row)
{
    for (int n = 1; n <= tmpl.CursorRowCount(); ++n) {
        if (tmpl.CursorRow(n) == row) {
            return n;
        }
    }
    return 0;
}

// The entries from the root down to the lexeme's container; false when the
// lexeme cannot be reached from the root.
bool ChainTo(CLexem& root, CLexem* lexem, std::vector<CursorEntry>& chain)
{
    chain.clear();
    CLexem* node = lexem;
    while (node != &root) {
        CLexem* parent = node ? node->Parent() : nullptr;
        if (!parent) {
            return false;
        }
        if (CLexemRow* row = AsRow(parent)) {
            const int pos = row->IndexOf(node);
            if (pos < 0) {
                return false;
            }
            chain.push_back({row, pos});
            node = row;
            continue;
        }
        CTemplate* tmpl = AsTemplate(parent);
        if (!tmpl) {
            return false;
        }
        int n = CursorNumber(*tmpl, node);
        // A row of a template inside another (the radicand of an n-th root):
        // the outer template numbers it and holds the cursor entry.
        for (CTemplate* up = AsTemplate(tmpl->Parent()); up; up = AsTemplate(up->Parent())) {
            const int outer = CursorNumber(*up, node);
            if (outer == 0) {
                break;
            }
            tmpl = up;
            n = outer;
        }
        if (n == 0) {
            return false;
        }
        chain.push_back({tmpl, n});
        node = tmpl;
    }
    std::reverse(chain.begin(), chain.end());
    return true;
}

bool PathToRow(CCursorPath& path, CLexem& root, CLexemRow& row)
{
    path.Start(&root, false);
    std::vector<CursorEntry> chain;
    if (!ChainTo(root, &row, chain)) {
        return false;
    }
    path.Reset();
    for (const CursorEntry& entry : chain) {
        path.Push(entry.lexem);
        path.SetPos(entry.pos);
    }
    return true;
}

}  // namespace

bool ReplaceRun(CLexemRow& row, const Run& run, std::string_view text)
{
    LexemList parsed;
    if (!ReadPlain(text, parsed)) {
        return false;
    }
    if (!run.Empty()) {
        LexemList old;
        row.DetachRange(run.first, run.last, true, old);
    }
    InsertAll(row, run.first - 1, parsed);
    return true;
}

void Regroup(CLexemRow& row, int flat)
{
    if (IsDigitRow(row)) {
        return;
    }
    const Run run = FindRun(row, flat);
    if (!run.Empty()) {
        ReplaceRun(row, run, run.text);
    }
}

bool FitsTextDepth(const CLexemRow& row, const LexemList& list, int extraLevels)
{
    int height = 0;
    for (const auto& lexem : list) {
        if (lexem) {
            height = std::max(height, TextHeight(*lexem));
        }
    }
    return TextDepth(row) + extraLevels + height <= CLexemParser::kMaxDepth;
}

RowPos InsertListAt(CLexemRow& row, int flat, LexemList&& list)
{
    if (IsDigitRow(row)) {
        // Digits only, one character each.
        std::string digits;
        for (const auto& lexem : list) {
            if (!lexem) {
                return {};
            }
            lexem->GetLexemText(digits);
        }
        if (!std::all_of(digits.begin(), digits.end(), IsDigitChar)) {
            return {};
        }
        int pos = std::clamp(flat, 0, row.LastPos());
        for (char digit : digits) {
            pos = row.InsertAfter(pos, std::make_unique<CCharLexem>(digit));
        }
        list.clear();
        return {&row, pos};
    }
    const Run run = FindRun(row, flat);
    const std::size_t offset = static_cast<std::size_t>(std::clamp(flat - run.flatStart, 0, int(run.text.size())));
    LexemList left;
    LexemList right;
    if (!ReadPlain(std::string_view(run.text).substr(0, offset), left) ||
        !ReadPlain(std::string_view(run.text).substr(offset), right)) {
        return {};
    }
    if (!run.Empty()) {
        LexemList old;
        row.DetachRange(run.first, run.last, true, old);
    }
    const int at = InsertAll(row, run.first - 1, left);
    InsertAll(row, at, right);
    return row.PasteLexems(std::move(list), at);
}

EditPoint PointOf(const CCursorPath& path)
{
    const int index = path.NearestRow();
    if (index == 0) {
        return {};
    }
    CLexemRow* row = AsRow(path.Entry(index).lexem);
    const int pos = path.Entry(index).pos;
    if (IsInlineNumber(*row)) {
        if (CLexemRow* outer = AsRow(row->Parent())) {
            const int at = outer->IndexOf(row);
            return {outer, FlatBefore(*outer, at) + std::clamp(pos + 1, 0, FlatWeight(*row))};
        }
    }
    return {row, FlatBefore(*row, pos + 1)};
}

EditPoint PointAfter(CLexemRow& row, int pos)
{
    return {&row, FlatBefore(row, pos + 1)};
}

bool PlacePath(CCursorPath& path, CLexem& root, const EditPoint& point)
{
    if (!point.row || !PathToRow(path, root, *point.row)) {
        path.Start(&root, false);
        return false;
    }
    const int flat = std::clamp(point.flat, 0, FlatLength(*point.row));
    if (!point.row->SetCursorIndex(path, flat)) {
        path.Start(&root, false);
        return false;
    }
    return true;
}

bool EnterElement(CCursorPath& path, CLexem& root, CLexemRow& row, int pos)
{
    CLexem* element = row.Child(pos);
    if (!element || !PathToRow(path, root, row)) {
        path.Start(&root, false);
        return false;
    }
    path.Push(&row);
    path.SetPos(pos);
    const int depth = path.Depth();
    if (!element->PlaceCursor(path, Direction::Right, {})) {
        path.Truncate(depth);
    }
    return true;
}

}  // namespace formula
