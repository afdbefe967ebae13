// The operation tree of multi-row templates.
#include "formula/model/templates/multi_row.h"
#include "formula/optree/tree_support.h"

namespace formula {

COperationNode* CMultiRowTemplate::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    auto node = std::make_unique<COperationNode>(this);
    if (Type() == TemplateType::System || Type() == TemplateType::Union) {
        // each line may hold one relation of its own
        for (const auto& line : m_lines) {
            if (!BuildRowTree(line.get(), context, *node, true)) {
                return nullptr;
            }
        }
    } else {
        if (GetRowCount() != 1) {
            return Invalid(context);
        }
        if (!BuildRowTree(GetFirstRow(), context, *node, context.relationsPermitted)) {
            return nullptr;
        }
    }
    return parent.AddChild(std::move(node));
}

}  // namespace formula
