// The operation tree of a row: a recursive descent over the row's elements by
// the priority classes of the signs.
//   statement   expression [relation expression] | membership
//   membership  (letter | lower-indexed letter) element-of set-expression
//   set levels  3 union, 2 intersection, below: one set operand
//   arithmetic  57 '+' '-', 56 '*', 55 '/' ':', 54 '%', below: one operand
// Every sign of a level makes its own node, so a chain "a+b+c" gives two '+'
// nodes and the operand between them is built twice (once in each). Sign
// nodes get their operands in groups labelled with the preset sign of the
// level; a group whose operand is negated ends with a bare node of that '-'.
// Operands side by side ("ab", "2x") give no tree.
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"
#include "formula/model/sign_tables.h"
#include "formula/optree/tree_support.h"

namespace formula {
namespace {

// An element that stands as one operand of the tree.
bool IsTreeOperand(const CLexem* lexem)
{
    switch (lexem->Kind()) {
    case LexemKind::Character:
        if (const CSpecAtom* atom = AsSpecAtom(lexem)) {
            const int code = atom->AtomCode();
            return code == 97 || code == 98 || code == 103 || code == 112;  // alpha, beta, gamma, pi
        }
        return lexem->Type() == TemplateType::Char || lexem->Type() == TemplateType::BracketChar;
    case LexemKind::Template:
        return lexem->Type() != TemplateType::BrFigure;
    case LexemKind::Row:
        return IsNumberRow(*lexem);
    case LexemKind::RelationSign:
    case LexemKind::RowHead:
        return false;
    }
    return false;
}

// A set operand that is one atom: the empty set or the real numbers.
bool IsSetAtom(const CLexem* lexem)
{
    if (const CSpecAtom* atom = AsSpecAtom(lexem)) {
        return atom->AtomCode() == symbol::EmptySet || atom->AtomCode() == symbol::RealSet;
    }
    if (lexem->Kind() == LexemKind::RelationSign) {
        const int code = AsOperatorSign(lexem)->SymbolCode();
        return code == symbol::EmptySet || code == symbol::RealSet;
    }
    return false;
}

int SignClassOf(const CLexem* lexem)
{
    const COperatorSign* sign = AsOperatorSign(lexem);
    return sign ? sign->PriorityClass() : 0;
}

class RowTreeParser {
public:
    RowTreeParser(CLexemRow& row, ParseContext& context)
        : m_row(row)
        , m_context(context)
    {
    }

    void Statement(COperationNode& root);

private:
    CLexem* At(int i) const { return m_row.Child(i); }
    // The nodes of [b, e) at an arithmetic level go under parent. The
    // position where the scan stopped: e when the whole range was taken, else
    // that of a relation or set sign; -1 when the range is no expression.
    int Arithmetic(int level, int b, int e, COperationNode& parent);
    // [b, e) is exactly one number followed by '%', or holds no '%'.
    int Percent(int b, int e, COperationNode& parent);
    int Operand(int b, int e, COperationNode& parent);
    bool Membership(int b, int e, COperationNode& root);
    bool SetExpression(int level, int b, int e, COperationNode& parent);
    bool SetOperand(int b, int e, COperationNode& parent);
    // A group labelled by the preset sign of a class, holding [b, e) parsed
    // at a level; null when that fails.
    std::unique_ptr<COperationNode> ArithmeticGroup(int priorityClass, int b, int e);
    std::unique_ptr<COperationNode> SetGroup(int priorityClass, int b, int e);
    void AddBareMinus(COperationNode& group, CLexem* minus);
    void SetSpan(COperationNode& node, int b, int e) const { node.SetRange(At(b), At(e - 1)); }

    CLexemRow& m_row;
    ParseContext& m_context;
};

void RowTreeParser::Statement(COperationNode& root)
{
    const int b = m_row.FirstPos();
    const int e = m_row.Count();
    m_context.level = priority::Additive;
    COperationNode parsed(nullptr);
    const int stop = Arithmetic(priority::Additive, b, e, parsed);
    if (stop == e) {
        root.TakeChildrenOf(parsed);
        return;
    }
    if (stop >= 0 && SignClassOf(At(stop)) == priority::Relation) {
        // left relation right: the relation's node with a group for each side
        auto relation = std::make_unique<COperationNode>(At(stop));
        auto left = COperationNode::MakeGroup(priority::Relation);
        left->TakeChildrenOf(parsed);
        SetSpan(*left, b, stop);
        m_context.relationsPermitted = false;
        auto right = COperationNode::MakeGroup(priority::Relation);
        if (Arithmetic(priority::Additive, stop + 1, e, *right) != e) {
            m_context.invalid = true;
            return;
        }
        SetSpan(*right, stop + 1, e);
        relation->AddChild(std::move(left));
        relation->AddChild(std::move(right));
        SetSpan(*relation, b, e);
        root.AddChild(std::move(relation));
        return;
    }
    if (m_context.invalid || !Membership(b, e, root)) {
        m_context.invalid = true;
    }
}

int RowTreeParser::Arithmetic(int level, int b, int e, COperationNode& parent)
{
    if (level < priority::Percent) {
        return Operand(b, e, parent);
    }
    m_context.level = level;
    if (level == priority::Percent) {
        return Percent(b, e, parent);
    }
    std::vector<int> signs;
    int stop = e;
    for (int i = b; i < e; ++i) {
        if (At(i)->Type() == TemplateType::Union && m_row.Count() > 2) {
            m_context.invalid = true;
            return -1;
        }
        if (!AsOperatorSign(At(i))) {
            continue;
        }
        const int cls = SignClassOf(At(i));
        if (cls == priority::Intersection || cls == priority::Union) {
            stop = i;  // the set levels take it
            break;
        }
        if (cls == priority::Relation) {
            if (m_row.RelationAllowance() >= 1 && m_context.relationsPermitted) {
                stop = i;
                break;
            }
            return -1;
        }
        if (cls == level) {
            signs.push_back(i);
        } else if (cls > level) {
            stop = i;
            break;
        }
    }
    if (signs.empty()) {
        return Arithmetic(level - 1, b, stop, parent) == stop ? stop : -1;
    }
    const std::size_t n = signs.size();
    for (std::size_t k = 0; k < n; ++k) {
        const int i = signs[k];
        CLexem* sign = At(i);
        const int from = k == 0 ? b : signs[k - 1] + 1;
        const int to = k + 1 < n ? signs[k + 1] : stop;
        auto node = std::make_unique<COperationNode>(sign);
        if (IsMinusSign(sign) && AsOperatorSign(sign)->IsUnary()) {
            // -a: one group, the operand up to the next sign of the level
            if (from != i) {
                return -1;
            }
            auto group = ArithmeticGroup(level, i + 1, to);
            if (!group) {
                return -1;
            }
            AddBareMinus(*group, sign);
            node->AddChild(std::move(group));
            SetSpan(*node, i, to);
        } else {
            // a+b: the operands between this sign and its neighbours
            auto left = ArithmeticGroup(level, from, i);
            if (!left) {
                return -1;
            }
            if (k > 0 && IsMinusSign(At(signs[k - 1]))) {
                AddBareMinus(*left, At(signs[k - 1]));
            }
            auto right = ArithmeticGroup(level, i + 1, to);
            if (!right) {
                return -1;
            }
            if (IsMinusSign(sign)) {
                AddBareMinus(*right, sign);
            }
            node->AddChild(std::move(left));
            node->AddChild(std::move(right));
            SetSpan(*node, from, to);
        }
        parent.AddChild(std::move(node));
    }
    return stop;
}

std::unique_ptr<COperationNode> RowTreeParser::ArithmeticGroup(int priorityClass, int b, int e)
{
    auto group = COperationNode::MakeGroup(priorityClass);
    if (b >= e || Arithmetic(priorityClass - 1, b, e, *group) != e) {
        return nullptr;
    }
    SetSpan(*group, b, e);
    return group;
}

void RowTreeParser::AddBareMinus(COperationNode& group, CLexem* minus)
{
    group.AddChild(std::make_unique<COperationNode>(minus));
}

int RowTreeParser::Percent(int b, int e, COperationNode& parent)
{
    int percent = -1;
    for (int i = b; i < e; ++i) {
        const COperatorSign* sign = AsOperatorSign(At(i));
        if (sign && sign->PriorityClass() == priority::Percent) {
            percent = i;
            break;
        }
    }
    if (percent < 0) {
        return Arithmetic(priority::Percent - 1, b, e, parent);
    }
    // 5%: the number before the sign is the sign's operand
    if (percent != b + 1 || e != b + 2 || !IsNumberValue(At(b))) {
        m_context.invalid = true;
        return -1;
    }
    auto node = std::make_unique<COperationNode>(At(percent));
    if (!At(b)->BuildOperationTree(m_context, *node)) {
        return -1;
    }
    SetSpan(*node, b, e);
    parent.AddChild(std::move(node));
    return e;
}

int RowTreeParser::Operand(int b, int e, COperationNode& parent)
{
    if (b >= e || !IsTreeOperand(At(b))) {
        return -1;
    }
    if (b + 1 < m_row.Count() && IsTreeOperand(At(b + 1))) {
        m_context.invalid = true;  // two operands side by side
        return -1;
    }
    if (!At(b)->BuildOperationTree(m_context, parent) || m_context.invalid) {
        return -1;
    }
    return b + 1;
}

bool RowTreeParser::Membership(int b, int e, COperationNode& root)
{
    if (e - b < 3) {
        return false;
    }
    CLexem* element = At(b);
    CLexem* sign = At(b + 1);
    if (!(element->IsLetter() || element->IsSubscriptOnly()) || !sign->IsBelongSign()) {
        return false;
    }
    m_context.level = priority::Membership;
    auto node = std::make_unique<COperationNode>(sign);
    auto left = COperationNode::MakeGroup(priority::Membership);
    if (!element->BuildOperationTree(m_context, *left) || m_context.invalid) {
        return false;
    }
    SetSpan(*left, b, b + 1);
    m_context.relationsPermitted = false;
    auto right = SetGroup(priority::Membership, b + 2, e);
    if (!right) {
        return false;
    }
    node->AddChild(std::move(left));
    node->AddChild(std::move(right));
    SetSpan(*node, b, e);
    root.AddChild(std::move(node));
    return true;
}

std::unique_ptr<COperationNode> RowTreeParser::SetGroup(int priorityClass, int b, int e)
{
    auto group = COperationNode::MakeGroup(priorityClass);
    if (b >= e || !SetExpression(priorityClass - 1, b, e, *group)) {
        return nullptr;
    }
    SetSpan(*group, b, e);
    return group;
}

bool RowTreeParser::SetExpression(int level, int b, int e, COperationNode& parent)
{
    if (level < priority::Intersection) {
        return SetOperand(b, e, parent);
    }
    m_context.level = level;
    std::vector<int> signs;
    int stop = e;
    for (int i = b; i < e; ++i) {
        if (!AsOperatorSign(At(i))) {
            continue;
        }
        const int cls = SignClassOf(At(i));
        if (cls == level) {
            signs.push_back(i);
        } else if (cls > level) {
            stop = i;
            break;
        }
    }
    if (stop != e) {
        return false;
    }
    if (signs.empty()) {
        return SetExpression(level - 1, b, e, parent);
    }
    // A u B u C: one node per sign, as in a chain of arithmetic signs
    const std::size_t n = signs.size();
    for (std::size_t k = 0; k < n; ++k) {
        const int i = signs[k];
        const int from = k == 0 ? b : signs[k - 1] + 1;
        const int to = k + 1 < n ? signs[k + 1] : e;
        auto node = std::make_unique<COperationNode>(At(i));
        auto left = SetGroup(level, from, i);
        auto right = left ? SetGroup(level, i + 1, to) : nullptr;
        if (!right) {
            return false;
        }
        node->AddChild(std::move(left));
        node->AddChild(std::move(right));
        SetSpan(*node, from, to);
        parent.AddChild(std::move(node));
    }
    return true;
}

bool RowTreeParser::SetOperand(int b, int e, COperationNode& parent)
{
    if (e - b != 1) {
        return false;
    }
    CLexem* operand = At(b);
    if (IsSetAtom(operand)) {
        parent.AddChild(std::make_unique<COperationNode>(operand));
        return true;
    }
    if (operand->Type() == TemplateType::Interval || operand->Type() == TemplateType::BrFigure) {
        return operand->BuildOperationTree(m_context, parent) != nullptr && !m_context.invalid;
    }
    return false;
}

}  // namespace

COperationNode* CLexemRow::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    if (!PairBrackets() || IsEmpty()) {
        return Invalid(context);
    }
    auto root = std::make_unique<COperationNode>(nullptr);
    root->SetRange(Child(FirstPos()), Child(LastPos()));
    RowTreeParser(*this, context).Statement(*root);
    if (context.invalid) {
        return nullptr;
    }
    return parent.AddChild(std::move(root));
}

}  // namespace formula
