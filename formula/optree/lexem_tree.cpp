// The operation tree of leaves and numbers: one node for the lexeme itself.
#include "formula/model/numbers.h"
#include "formula/model/parse_context.h"
#include "formula/optree/operation_tree.h"

namespace formula {

COperationNode* CLexem::BuildOperationTree(ParseContext&, COperationNode& parent)
{
    return parent.AddChild(std::make_unique<COperationNode>(this));
}

COperationNode* CNumRow::BuildOperationTree(ParseContext&, COperationNode& parent)
{
    return parent.AddChild(std::make_unique<COperationNode>(this));
}

}  // namespace formula
