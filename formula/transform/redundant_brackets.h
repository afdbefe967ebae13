#pragma once
// Removal of round brackets that change nothing in the formula's meaning,
// done by the transformer after every change it makes.
namespace formula {

class CFormulaEnv;
class COperationNode;

// The bracket node's brackets can go: round, not persistent, and either
// with no operation around them or holding an operation that binds at
// least as tightly as the one around them where the order does not matter.
bool AreBracketsRedundant(const COperationNode* node);
// Repeats until nothing changes: the first redundant bracket template of the
// tree (depth first) is replaced by its content and the tree rebuilt. False
// when a rebuild failed (the formula keeps the change; there is no tree).
bool RemoveRedundantBrackets(CFormulaEnv& env);

}  // namespace formula
