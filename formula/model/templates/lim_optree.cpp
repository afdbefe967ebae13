// The operation tree of the limit template.
#include "formula/model/templates/lim.h"
#include "formula/optree/tree_support.h"

namespace formula {

COperationNode* CLimTemplate::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    if (!HoldsSingleLetter(Body()) || !HoldsSingleNumber(Value())) {
        return Invalid(context);
    }
    // The arrow row only shows the relation sign: it is no part of the tree.
    auto node = std::make_unique<COperationNode>(this);
    for (CLexemRow* row : {static_cast<CLexemRow*>(Body()), static_cast<CLexemRow*>(Variable()),
                           static_cast<CLexemRow*>(Value())}) {
        if (!BuildRowTree(row, context, *node, false)) {
            return nullptr;
        }
    }
    return parent.AddChild(std::move(node));
}

}  // namespace formula
