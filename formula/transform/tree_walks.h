#pragma once
// Walks over the operation tree that the transformer's analysis needs, and
// the lexeme runs that nodes stand for.
//
// Roles in the tree (formula/optree/operation_tree.h):
//   - operation node: a group, labelled by a preset sign; it stands for one
//     operand of a sum, product, relation or set operation and carries that
//     operation's priority class;
//   - sign node: a visible operator or relation sign of the formula; its
//     children are the groups of its operands;
//   - a bare '-' node ends a group whose operand is negated.
#include "formula/model/lexem.h"
#include "formula/optree/operation_tree.h"

namespace formula {

class CLexemRow;
class CSelection;

namespace walk {

// A visible sign of the formula (not a preset label).
bool IsSignNode(const COperationNode* node);
// A group labelled by a preset sign.
bool IsOperationNode(const COperationNode* node);
bool IsRelationNode(const COperationNode* node);
// A node of a template (fraction, brackets, system...).
bool IsTemplateNode(const COperationNode* node);
// Children not counting a last bare '-' node.
int TermCount(const COperationNode* node);
// The group's operand is negated (it ends with a bare '-').
bool IsNegatedGroup(const COperationNode* node);

// Nearest operation node above the node; stops (none) at a template.
COperationNode* EnclosingOperation(const COperationNode* node);
// The node itself when it is an operation node, else the nearest above.
COperationNode* OperationOf(COperationNode* node);
// The priority class of the operation the node's part of the formula is an
// operand of. A sign node among other signs of its class on one level (one
// of the signs of "x-3-2" or "2*3*x") stands for part of that sum or
// product, so the sum or product is around it; anything else has the
// nearest enclosing operation around it (0 when there is none).
int ClassAround(const COperationNode* node);
// Nearest sign node above the node.
COperationNode* EnclosingSign(const COperationNode* node);
// The node itself when it is a sign node, else the nearest above.
COperationNode* SignOf(COperationNode* node);
// Nearest relation sign node above the node.
COperationNode* EnclosingRelation(const COperationNode* node);
// Nearest system or union template node above the node, else the root.
COperationNode* EnclosingMultiRow(const COperationNode* node);
COperationNode* CommonAncestor(COperationNode* a, COperationNode* b);
// The node lies in the subtree of another (itself included).
bool Contains(const COperationNode* outer, const COperationNode* node);
// The side (group) of a relation that holds the node; null when it is on
// no side of that relation.
COperationNode* SideOf(const COperationNode* relation, const COperationNode* node);

// The run of one row that a node stands for: the node's lexemes, and for a
// sign node whose left operand is negated the '-' before it ("-3+7" for the
// '+' of "-3+7"). Row null when the node covers no run of one row.
struct NodeRun {
    CLexemRow* row = nullptr;
    int first = 0;
    int last = -1;
    bool Valid() const { return row != nullptr && first <= last; }
};
NodeRun RunOf(const COperationNode* node);
// Marks the node's run in the selection; false when it has none.
bool Highlight(CSelection& selection, const COperationNode* node);
// Puts a list in place of the children first..last of a row. Nothing is
// regrouped, so pointers to the row's other lexemes stay valid (the rebuild
// that follows every change reads the formula again anyway).
void PutInPlace(CLexemRow& row, int first, int last, LexemList&& list);
// The lexeme text of the node's run.
std::string RunText(const COperationNode* node);
// The operator sign standing right before the node's run in its row (the
// sign that belongs to the term); null at the start of a row or after a
// relation.
const COperatorSign* TermSign(const COperationNode* node);
// The operation class that a top node of a tree stands for: a sign node's
// class (a unary minus counts as additive), 0 for a plain operand.
int TopClass(const COperationNode* node);

}  // namespace walk
}  // namespace formula
