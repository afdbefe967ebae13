// The operation tree of the range and interval templates.
#include "formula/model/templates/brackets.h"
#include "formula/optree/tree_support.h"

namespace formula {

COperationNode* CRangeTemplate::BuildOperationTree(ParseContext&, COperationNode& parent)
{
    // {1; -2; 3}: a node per number, a '-' before one a sign node over it
    auto node = std::make_unique<COperationNode>(this);
    const CArgRow* content = Content();
    for (int pos = content->FirstPos(); pos < content->Count(); ++pos) {
        CLexem* number = content->Child(pos);
        if (!IsNumberValue(number)) {
            continue;
        }
        CLexem* before = pos > content->FirstPos() ? content->Child(pos - 1) : nullptr;
        if (IsMinusSign(before)) {
            auto minus = std::make_unique<COperationNode>(before);
            minus->AddChild(std::make_unique<COperationNode>(number));
            minus->SetRange(before, number);
            node->AddChild(std::move(minus));
        } else {
            node->AddChild(std::make_unique<COperationNode>(number));
        }
    }
    return parent.AddChild(std::move(node));
}

namespace {

// An end that is infinity, alone or after '+' or '-': a row root holding the
// atom's node, under the sign's node when there is a sign. Null for any
// other end.
std::unique_ptr<COperationNode> InfiniteEnd(CArgRow& end)
{
    const int count = end.ElementCount();
    const int first = end.FirstPos();
    if (count < 1 || count > 2 || !IsInfinityAtom(end.Child(end.LastPos()))) {
        return nullptr;
    }
    CLexem* atom = end.Child(end.LastPos());
    auto root = std::make_unique<COperationNode>(nullptr);
    root->SetRange(end.Child(first), atom);
    if (count == 1) {
        root->AddChild(std::make_unique<COperationNode>(atom));
        return root;
    }
    const COperatorSign* sign = AsOperatorSign(end.Child(first));
    if (!sign || sign->Kind() != LexemKind::Character || (sign->Char() != '-' && sign->Char() != '+')) {
        return nullptr;
    }
    auto signNode = std::make_unique<COperationNode>(end.Child(first));
    signNode->AddChild(std::make_unique<COperationNode>(atom));
    signNode->SetRange(end.Child(first), atom);
    root->AddChild(std::move(signNode));
    return root;
}

}  // namespace

COperationNode* CIntervalTemplate::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    auto node = std::make_unique<COperationNode>(this);
    for (CArgRow* end : {LeftEnd(), RightEnd()}) {
        if (!end) {
            return Invalid(context);
        }
        if (auto infinite = InfiniteEnd(*end)) {
            node->AddChild(std::move(infinite));
        } else if (!BuildRowTree(end, context, *node, false)) {
            return nullptr;
        }
    }
    return parent.AddChild(std::move(node));
}

}  // namespace formula
