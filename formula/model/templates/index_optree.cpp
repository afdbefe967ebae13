// The operation tree of index templates and progression members.
#include "formula/model/templates/index.h"
#include "formula/optree/tree_support.h"

namespace formula {

COperationNode* CIndexTemplate::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    // x_1^2: a letter with a numbered lower index
    if (Type() == TemplateType::IndexUpDn && !(HoldsSingleLetter(Base()) && HoldsSingleNumber(Lower()))) {
        return Invalid(context);
    }
    return CTemplate::BuildOperationTree(context, parent);
}

COperationNode* CProgMemTemplate::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    if (!HoldsSingleLetter(Base())) {
        return Invalid(context);
    }
    auto node = std::make_unique<COperationNode>(this);
    for (CLexem* part : Parts()) {
        CLexemRow* row = AsRow(part);
        CLexem* only = OnlyElement(row);
        if (row == Lower() && IsInfinityAtom(only)) {
            // a member at infinity: the atom is no operand of a row's tree
            node->AddChild(std::make_unique<COperationNode>(only));
        } else if (!BuildRowTree(row, context, *node, false)) {
            return nullptr;
        }
    }
    return parent.AddChild(std::move(node));
}

}  // namespace formula
