#pragma once
// The operation tree of a formula: which sign joins which operands. The
// transformer hit-tests it, highlights its nodes and turns drags and clicks on
// them into transformations.
//
// Node roles:
//   - row root: no lexeme; the tree of one argument row's statement hangs
//     under it (a template node holds one per argument row);
//   - group: labelled by a preset sign (a sign lexeme owned by the node, never
//     part of the formula: '+' '*' ':' for the arithmetic levels, '=' for the
//     sides of a relation, element-of, union and intersection for sets); it
//     holds one operand of the sign node above it;
//   - lexeme node: a leaf, a number, a template, or a visible sign of the
//     formula. A binary sign node (arithmetic, relation, membership, union,
//     intersection) has two groups, a unary minus one group, a '%' node its
//     number directly; a '-' before a number of a figure-bracket set, or a
//     sign before an infinite interval end, is a sign node over that one
//     operand.
// A group whose operand a minus sign applies to ends with a bare node of that
// minus sign (no children): in "a-b" the right group of '-' holds b and '-';
// in "-a+b" both the group of the unary minus and the left group of '+' hold
// a and '-'. An operand between two signs of one level is built twice: once
// in the right group of the sign before it, once in the left group of the
// sign after it.
//
// Nodes own their children (and a group its label); every pointer into the
// tree dies with it.
#include <memory>
#include <string_view>
#include <vector>

namespace formula {

class CLexem;
class COperatorSign;
struct ParseContext;

class COperationNode {
public:
    // A node for a lexeme of the formula (null: a row root).
    explicit COperationNode(CLexem* lexem);
    ~COperationNode();
    COperationNode(const COperationNode&) = delete;
    COperationNode& operator=(const COperationNode&) = delete;

    // A group labelled by the preset sign of a priority class: 57 '+',
    // 56 '*', 55 ':', 58 '=', 3 union, 2 intersection, 4 element of.
    static std::unique_ptr<COperationNode> MakeGroup(int priorityClass);

    // The lexeme the node stands for: the formula's lexeme, the group's
    // preset sign, or null for a row root.
    CLexem* Lexeme() const { return m_lexem; }
    COperationNode* Parent() const { return m_parent; }
    // Root 0, a child one more than its parent.
    int Depth() const { return m_depth; }
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    COperationNode* Child(int i) const { return m_children[static_cast<std::size_t>(i)].get(); }
    const std::vector<std::unique_ptr<COperationNode>>& Children() const { return m_children; }
    int IndexOf(const COperationNode* child) const;

    bool IsRowRoot() const { return m_lexem == nullptr; }
    // Labelled by a preset sign.
    bool IsGroup() const { return m_label != nullptr; }
    // The node's sign (visible or preset); null when its lexeme is no sign.
    const COperatorSign* Sign() const;
    // The priority class of the node's sign; 0 when it has none.
    int SignClass() const;
    // A bare node of a visible '-' (what a negated group ends with).
    bool IsBareMinus() const;

    // The lexemes of one row that the subtree covers, first and last (both
    // null for a node that covers none, such as an empty group).
    CLexem* First() const { return m_first; }
    CLexem* Last() const { return m_last; }
    void SetRange(CLexem* first, CLexem* last);

    // Adds a child at the end, renumbering the depths of its subtree; the
    // added node.
    COperationNode* AddChild(std::unique_ptr<COperationNode> child);
    // Moves every child of another node to the end of this one's.
    void TakeChildrenOf(COperationNode& other);
    std::unique_ptr<COperationNode> DetachChild(int i);
    void RemoveChildrenFrom(int i);

private:
    void SetDepth(int depth);

    CLexem* m_lexem = nullptr;
    std::unique_ptr<COperatorSign> m_label;
    COperationNode* m_parent = nullptr;
    std::vector<std::unique_ptr<COperationNode>> m_children;
    int m_depth = 0;
    CLexem* m_first = nullptr;
    CLexem* m_last = nullptr;
};

// Builds the operation tree of a formula from its root lexeme (the aggregate
// template of the formula, or any lexeme): the node the root makes, with the
// formula's tree below it (for the aggregate: its node, the row root of its
// line, then the line's statement). Null when the formula has no valid tree
// (side-by-side operands, two relations in one line, a template whose
// constraints fail...). The root should be normalised first; bracket
// characters still left in a row are paired into bracket templates on the
// way, so the lexeme tree may change: a caller holding a cursor path
// re-places it afterwards.
std::unique_ptr<COperationNode> BuildFormulaTree(CLexem& root);
// The same, leaving the words of the build context (level, invalid flag,
// relations permitted) in result.
std::unique_ptr<COperationNode> BuildFormulaTree(CLexem& root, ParseContext& result);

// Whether a formula can be turned into an operation tree, as the environment
// decides it before entering transformer mode: a copy read from the lexeme
// text is normalised (with the sign correction and bracket elimination when
// correction is on) and built. The formula itself is left untouched.
bool CanBuildOperationTree(const CLexem& root, bool correction);
bool CanBuildOperationTree(std::string_view lexemText, bool correction);

// The vertex code of a node for the operation events (0 for none).
int VertexCode(const COperationNode* node);

// A sign lexeme made to label a group; never part of the formula.
bool IsPresetSign(const CLexem* lexem);

}  // namespace formula
