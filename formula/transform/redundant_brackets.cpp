#include "formula/transform/redundant_brackets.h"

#include "formula/env/formula_env.h"
#include "formula/model/lexem_row.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/brackets.h"
#include "formula/transform/tree_walks.h"

namespace formula {
namespace {

using namespace walk;

// Templates whose rows set their content apart, so that brackets standing
// alone in such a row add nothing (an index base or a function argument
// does not).
bool DelimitsItsRows(const CLexem* lexem)
{
    switch (lexem->Type()) {
    case TemplateType::Aggregate:
    case TemplateType::System:
    case TemplateType::Union:
    case TemplateType::HorFrac:
    case TemplateType::SqrRoot:
    case TemplateType::SqrtCan:
    case TemplateType::BrRound:
    case TemplateType::BrPersistRound:
    case TemplateType::BrAbs:
    case TemplateType::BrSquare:
        return true;
    default:
        return false;
    }
}

const COperationNode* EnclosingTemplate(const COperationNode* node)
{
    for (const COperationNode* up = node->Parent(); up; up = up->Parent()) {
        if (IsTemplateNode(up)) {
            return up;
        }
    }
    return nullptr;
}

COperationNode* FindRedundant(COperationNode* node)
{
    for (int i = 0; i < node->ChildCount(); ++i) {
        COperationNode* child = node->Child(i);
        if (AreBracketsRedundant(child)) {
            return child;
        }
        if (COperationNode* found = FindRedundant(child)) {
            return found;
        }
    }
    return nullptr;
}

// The bracket template gives way to its content.
bool Unwrap(CLexem* lexem)
{
    auto* brackets = dynamic_cast<CBracketsTemplate*>(lexem);
    CLexemRow* row = AsRow(lexem->Parent());
    const int pos = row ? row->IndexOf(lexem) : -1;
    if (!brackets || pos < row->FirstPos()) {
        return false;
    }
    LexemList content;
    brackets->Content()->DetachAll(content);
    std::unique_ptr<CLexem> gone = row->Detach(pos);
    row->PasteLexems(std::move(content), pos - 1);
    return true;
}

}  // namespace

bool AreBracketsRedundant(const COperationNode* node)
{
    const CLexem* lexem = node && !node->IsGroup() ? node->Lexeme() : nullptr;
    const auto* brackets = dynamic_cast<const CBracketsTemplate*>(lexem);
    if (!brackets || lexem->Type() != TemplateType::BrRound || brackets->IsPersistent()) {
        return false;
    }
    const COperationNode* operation = EnclosingOperation(node);
    if (!operation) {
        const COperationNode* holder = EnclosingTemplate(node);
        return holder && DelimitsItsRows(holder->Lexeme());
    }
    const int outer = operation->SignClass();
    if (outer < priority::Percent) {
        return false;
    }
    // The operation inside: the first node of the content's statement.
    const COperationNode* content = node->ChildCount() > 0 ? node->Child(0) : nullptr;
    const COperationNode* top = content && content->ChildCount() > 0 ? content->Child(0) : nullptr;
    const int inner = TopClass(top);
    if (inner < outer && !(IsNegatedGroup(operation) && inner >= priority::Additive)) {
        return true;
    }
    if (inner != outer || IsNegatedGroup(operation)) {
        return false;
    }
    // Same class: where the order does not matter, or as the left operand.
    const COperationNode* sign = operation->Parent();
    if (!IsSignNode(sign)) {
        return false;
    }
    if (sign->Sign()->IsCommutative()) {
        return true;
    }
    return sign->ChildCount() == 2 && sign->Child(0) == operation;
}

bool RemoveRedundantBrackets(CFormulaEnv& env)
{
    for (;;) {
        COperationNode* root = env.TreeRoot();
        if (!root) {
            return false;
        }
        COperationNode* found = FindRedundant(root);
        if (!found || !Unwrap(found->Lexeme())) {
            return true;
        }
        if (!env.RebuildTree()) {
            return false;
        }
    }
}

}  // namespace formula
