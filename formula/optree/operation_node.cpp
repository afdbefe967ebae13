#include <cassert>

#include "formula/model/chars.h"
#include "formula/model/sign_tables.h"
#include "formula/optree/operation_tree.h"

namespace formula {
namespace {

// The group labels: signs that belong to no row. The marker lets a label be
// told from a sign of the formula.
struct PresetMark {
};

class CPresetSign final : public COperatorSign, public PresetMark {
public:
    explicit CPresetSign(char ch)
        : COperatorSign(ch)
    {
    }
};

class CPresetRelation final : public CRelationSign, public PresetMark {
public:
    explicit CPresetRelation(int code)
        : CRelationSign(code)
    {
    }
};

std::unique_ptr<COperatorSign> MakePresetSign(int priorityClass)
{
    switch (priorityClass) {
    case priority::Additive:
        return std::make_unique<CPresetSign>('+');
    case priority::Product:
        return std::make_unique<CPresetSign>('*');
    case priority::Division:
        return std::make_unique<CPresetSign>(':');
    case priority::Relation:
        return std::make_unique<CPresetSign>('=');
    case priority::Union:
        return std::make_unique<CPresetRelation>(symbol::Union);
    case priority::Intersection:
        return std::make_unique<CPresetRelation>(symbol::Intersection);
    case priority::Membership:
        return std::make_unique<CPresetRelation>(symbol::Belongs);
    }
    assert(!"no preset sign for this class");
    return std::make_unique<CPresetSign>('+');
}

}  // namespace

bool IsPresetSign(const CLexem* lexem)
{
    return lexem && dynamic_cast<const PresetMark*>(lexem) != nullptr;
}

COperationNode::COperationNode(CLexem* lexem)
    : m_lexem(lexem)
    , m_first(lexem)
    , m_last(lexem)
{
}

COperationNode::~COperationNode() = default;

std::unique_ptr<COperationNode> COperationNode::MakeGroup(int priorityClass)
{
    auto group = std::make_unique<COperationNode>(nullptr);
    group->m_label = MakePresetSign(priorityClass);
    group->m_lexem = group->m_label.get();
    return group;
}

int COperationNode::IndexOf(const COperationNode* child) const
{
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].get() == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const COperatorSign* COperationNode::Sign() const
{
    return AsOperatorSign(m_lexem);
}

int COperationNode::SignClass() const
{
    const COperatorSign* sign = Sign();
    return sign ? sign->PriorityClass() : 0;
}

bool COperationNode::IsBareMinus() const
{
    const COperatorSign* sign = Sign();
    return sign && !IsGroup() && m_children.empty() && sign->Kind() == LexemKind::Character &&
           sign->Char() == '-';
}

void COperationNode::SetRange(CLexem* first, CLexem* last)
{
    m_first = first;
    m_last = last;
}

COperationNode* COperationNode::AddChild(std::unique_ptr<COperationNode> child)
{
    child->m_parent = this;
    child->SetDepth(m_depth + 1);
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

void COperationNode::TakeChildrenOf(COperationNode& other)
{
    for (auto& child : other.m_children) {
        AddChild(std::move(child));
    }
    other.m_children.clear();
}

std::unique_ptr<COperationNode> COperationNode::DetachChild(int i)
{
    auto it = m_children.begin() + i;
    std::unique_ptr<COperationNode> child = std::move(*it);
    m_children.erase(it);
    child->m_parent = nullptr;
    child->SetDepth(0);
    return child;
}

void COperationNode::RemoveChildrenFrom(int i)
{
    m_children.erase(m_children.begin() + i, m_children.end());
}

void COperationNode::SetDepth(int depth)
{
    m_depth = depth;
    for (auto& child : m_children) {
        child->SetDepth(depth + 1);
    }
}

}  // namespace formula
