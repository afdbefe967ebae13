// The operation tree of integrals and sums.
#include "formula/model/templates/big_operators.h"
#include "formula/optree/tree_support.h"

namespace formula {

COperationNode* CBigOperatorTemplate::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    // The indefinite integral has no limits to test or build.
    if (!HoldsSingleLetter(Body()) || (LowerLimit() && !HoldsSingleNumber(LowerLimit()))) {
        return Invalid(context);
    }
    auto node = std::make_unique<COperationNode>(this);
    for (CLexemRow* row : {static_cast<CLexemRow*>(Body()), static_cast<CLexemRow*>(UpperLimit()),
                           static_cast<CLexemRow*>(LowerLimit())}) {
        if (row && !BuildRowTree(row, context, *node, false)) {
            return nullptr;
        }
    }
    return parent.AddChild(std::move(node));
}

}  // namespace formula
