#pragma once
// The drag analysis of the transformer: what a drop of one node of the
// operation tree onto another means, and the drops the transformer carries
// out by itself.
#include <string>

namespace formula {

class CFormulaEnv;
class CLexem;
class COperationNode;

// What a drop of a source node onto a target node means.
enum class DropKind : int {
    None = 0,
    // A term moved in front of another sign of its own operation.
    MoveTerm = 1,
    // Two terms of one operation: the host combines them.
    CombineTerms = 2,
    // A term moved across a relation in front of a '+' or '-' there.
    AcrossOntoSign = 4,
    // A term moved across a relation onto the relation sign.
    AcrossOntoRelation = 6,
    // Two relations of one system: the host combines them.
    CombineRelations = 7,
    // A variable of a line substituted by the other side of an equation.
    Substitute = 8,
    // A term dropped anywhere on the other side of its relation: moved
    // across as onto the relation sign.
    AcrossOntoSide = 9,
};

// The kinds the transformer carries out itself.
bool IsLocalDrop(DropKind kind);
// The drop effect shown while dragging over a node: link (4) for kinds 1,
// 4, 6, 7 and 9, copy (1) for kind 2, move (2) otherwise.
int DropEffectOf(DropKind kind);
// The vertex code of a drop handed to the host: 12 for two relations,
// else by the class of the first child of the nodes' common ancestor
// (56 gives 4, 57 gives 1, 58 gives 8, anything else 0).
int DropVertex(DropKind kind, COperationNode* source, COperationNode* target);

class CDragOperation {
public:
    explicit CDragOperation(CFormulaEnv& env);

    // Classifies a drop of source onto target (null or equal nodes: None).
    DropKind Analyse(COperationNode* source, COperationNode* target) const;
    // Carries out a local drop on the lexemes (kinds 1, 4, 6, 8 and 9). The
    // tree is stale afterwards: the caller rebuilds it. False (nothing
    // changed) when the nodes do not allow it.
    bool Apply(DropKind kind, COperationNode* source, COperationNode* target);

private:
    bool MoveTerm(COperationNode* source, COperationNode* target);
    bool MoveAcross(DropKind kind, COperationNode* source, COperationNode* target);
    bool Substitute(COperationNode* source, COperationNode* target);
    // Puts the lexemes read from a text in place of first..last (one row).
    // False, nothing changed, when the text cannot be read or when the
    // lexemes, inside extraLevels more templates, would nest the formula
    // deeper than the lexeme reader reads back (message 1035 shown).
    bool ReplaceLexems(CLexem* first, CLexem* last, const std::string& text, int extraLevels = 0);

    CFormulaEnv& m_env;
};

}  // namespace formula
