#include "formula/transform/tree_walks.h"

#include "formula/edit/selection.h"
#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/sign_tables.h"

namespace formula::walk {

bool IsSignNode(const COperationNode* node)
{
    return node && !node->IsGroup() && node->Sign() != nullptr;
}

bool IsOperationNode(const COperationNode* node)
{
    return node && node->IsGroup();
}

bool IsRelationNode(const COperationNode* node)
{
    return IsSignNode(node) && node->SignClass() == priority::Relation;
}

bool IsTemplateNode(const COperationNode* node)
{
    return node && node->Lexeme() && !node->IsGroup() && node->Lexeme()->IsTemplate();
}

int TermCount(const COperationNode* node)
{
    if (!node) {
        return 0;
    }
    int count = node->ChildCount();
    if (count > 0 && node->Child(count - 1)->IsBareMinus()) {
        --count;
    }
    return count;
}

bool IsNegatedGroup(const COperationNode* node)
{
    return IsOperationNode(node) && node->ChildCount() > 0 && node->Child(node->ChildCount() - 1)->IsBareMinus();
}

COperationNode* EnclosingOperation(const COperationNode* node)
{
    for (COperationNode* up = node ? node->Parent() : nullptr; up; up = up->Parent()) {
        if (IsTemplateNode(up)) {
            return nullptr;
        }
        if (IsOperationNode(up)) {
            return up;
        }
    }
    return nullptr;
}

COperationNode* OperationOf(COperationNode* node)
{
    return IsOperationNode(node) ? node : EnclosingOperation(node);
}

int ClassAround(const COperationNode* node)
{
    const int own = IsSignNode(node) ? node->SignClass() : 0;
    const COperationNode* parent = node ? node->Parent() : nullptr;
    if (own >= priority::Percent && own <= priority::Additive && parent) {
        for (int i = 0; i < parent->ChildCount(); ++i) {
            const COperationNode* sibling = parent->Child(i);
            if (sibling != node && IsSignNode(sibling) && sibling->SignClass() == own) {
                return own;
            }
        }
    }
    const COperationNode* around = EnclosingOperation(node);
    return around ? around->SignClass() : 0;
}

COperationNode* EnclosingSign(const COperationNode* node)
{
    for (COperationNode* up = node ? node->Parent() : nullptr; up; up = up->Parent()) {
        if (IsSignNode(up)) {
            return up;
        }
    }
    return nullptr;
}

COperationNode* SignOf(COperationNode* node)
{
    return IsSignNode(node) ? node : EnclosingSign(node);
}

COperationNode* EnclosingRelation(const COperationNode* node)
{
    for (COperationNode* up = node ? node->Parent() : nullptr; up; up = up->Parent()) {
        if (IsRelationNode(up)) {
            return up;
        }
    }
    return nullptr;
}

COperationNode* EnclosingMultiRow(const COperationNode* node)
{
    COperationNode* last = nullptr;
    for (COperationNode* up = node ? node->Parent() : nullptr; up; up = up->Parent()) {
        const CLexem* lexem = up->IsGroup() ? nullptr : up->Lexeme();
        if (lexem && (lexem->Type() == TemplateType::System || lexem->Type() == TemplateType::Union)) {
            return up;
        }
        last = up;
    }
    return last;
}

COperationNode* CommonAncestor(COperationNode* a, COperationNode* b)
{
    if (!a || !b) {
        return nullptr;
    }
    while (a->Depth() > b->Depth()) {
        a = a->Parent();
    }
    while (b->Depth() > a->Depth()) {
        b = b->Parent();
    }
    while (a && b && a != b) {
        a = a->Parent();
        b = b->Parent();
    }
    return a == b ? a : nullptr;
}

bool Contains(const COperationNode* outer, const COperationNode* node)
{
    for (const COperationNode* up = node; up; up = up->Parent()) {
        if (up == outer) {
            return true;
        }
    }
    return false;
}

COperationNode* SideOf(const COperationNode* relation, const COperationNode* node)
{
    for (const COperationNode* up = node; up && up->Parent(); up = up->Parent()) {
        if (up->Parent() == relation) {
            return const_cast<COperationNode*>(up);
        }
    }
    return nullptr;
}

NodeRun RunOf(const COperationNode* node)
{
    NodeRun run;
    CLexem* first = node ? node->First() : nullptr;
    CLexem* last = node ? node->Last() : nullptr;
    CLexemRow* row = AsRow(first ? first->Parent() : nullptr);
    if (!row || !last || last->Parent() != row) {
        return run;
    }
    run.row = row;
    run.first = row->IndexOf(first);
    run.last = row->IndexOf(last);
    // A binary sign whose left operand is negated: the '-' goes with it.
    if (IsSignNode(node) && node->ChildCount() == 2 && IsNegatedGroup(node->Child(0))) {
        const CLexem* minus = node->Child(0)->Child(node->Child(0)->ChildCount() - 1)->Lexeme();
        if (run.first > row->FirstPos() && row->Child(run.first - 1) == minus) {
            --run.first;
        }
    }
    if (run.first < row->FirstPos() || run.first > run.last) {
        run.row = nullptr;
    }
    return run;
}

bool Highlight(CSelection& selection, const COperationNode* node)
{
    const NodeRun run = RunOf(node);
    if (!run.Valid()) {
        selection.Clear(true);
        return false;
    }
    selection.SelectRange(*run.row, run.first, run.last);
    return !selection.IsEmpty();
}

void PutInPlace(CLexemRow& row, int first, int last, LexemList&& list)
{
    LexemList removed;
    row.DetachRange(first, last, true, removed);
    row.PasteLexems(std::move(list), first - 1);
}

std::string RunText(const COperationNode* node)
{
    const NodeRun run = RunOf(node);
    std::string text;
    if (run.Valid()) {
        for (int pos = run.first; pos <= run.last; ++pos) {
            run.row->Child(pos)->GetLexemText(text);
        }
    }
    return text;
}

const COperatorSign* TermSign(const COperationNode* node)
{
    const NodeRun run = RunOf(node);
    if (!run.Valid() || run.first <= run.row->FirstPos()) {
        return nullptr;
    }
    const COperatorSign* sign = AsOperatorSign(run.row->Child(run.first - 1));
    if (!sign || sign->PriorityClass() >= priority::Relation || sign->PriorityClass() < priority::Percent) {
        return nullptr;
    }
    return sign;
}

int TopClass(const COperationNode* node)
{
    if (!IsSignNode(node)) {
        return 0;
    }
    return node->SignClass();
}

}  // namespace formula::walk
