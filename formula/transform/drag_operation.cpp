// Drag analysis and the local drops. The local drops edit the lexemes as
// text: the moved text is always lexeme text, and the rebuild that follows
// (sign correction, bracket pairing) tidies what they leave ("+=" becomes
// "=", a trailing sign goes).
#include "formula/transform/drag_operation.h"

#include "formula/edit/edit_point.h"
#include "formula/env/formula_env.h"
#include "formula/model/chars.h"
#include "formula/model/errors.h"
#include "formula/model/lexem_row.h"
#include "formula/model/messages.h"
#include "formula/model/sign_tables.h"
#include "formula/notation/lexem_parser.h"
#include "formula/transform/tree_walks.h"

namespace formula {
namespace {

using namespace walk;

bool IsSystemNode(const COperationNode* node)
{
    return IsTemplateNode(node) && node->Lexeme()->Type() == TemplateType::System;
}

char SignChar(const COperationNode* node)
{
    const COperatorSign* sign = node ? node->Sign() : nullptr;
    return sign && sign->Kind() == LexemKind::Character ? sign->Char() : 0;
}

// A term that can be picked up: an operand inside a group, or a whole group
// of a sign node; never a bare '-' or a row root.
bool IsMovableTerm(const COperationNode* node)
{
    if (!node || node->IsRowRoot() || node->IsBareMinus() || !node->Parent()) {
        return false;
    }
    if (IsOperationNode(node)) {
        return IsSignNode(node->Parent());
    }
    return IsOperationNode(node->Parent());
}

// Two nodes of one lexeme (an operand between two signs has one under each).
bool SameLexeme(const COperationNode* a, const COperationNode* b)
{
    return a->Lexeme() && a->Lexeme() == b->Lexeme();
}

// The term's sign as it stands in the formula, its text with a leading '-'
// taken off, and the sign text the term gets on the other side.
struct MovedTerm {
    const COperatorSign* sign = nullptr;
    std::string text;
    std::string signText;
};

MovedTerm TermOf(const COperationNode* node)
{
    MovedTerm term;
    term.sign = TermSign(node);
    term.text = RunText(node);
    char own = term.sign && term.sign->Kind() == LexemKind::Character ? term.sign->Char() : 0;
    if (!term.sign && !term.text.empty() && term.text.front() == '-') {
        term.text.erase(0, 1);
        own = '-';
    }
    switch (own) {
    case '+':
        term.signText = "-";
        break;
    case '-':
        term.signText = "+";
        break;
    case 0:
        term.signText = "-";
        break;
    default:
        term.signText = std::string(term.sign->GetInverseText());
        break;
    }
    return term;
}

void DeleteLexems(CLexem* first, CLexem* last)
{
    CLexemRow* row = AsRow(first ? first->Parent() : nullptr);
    if (!row || !last || last->Parent() != row) {
        return;
    }
    LexemList removed;
    row->DetachRange(row->IndexOf(first), row->IndexOf(last), true, removed);
}

// The first and last lexeme of a node's run, with the sign before it.
struct LexemSpan {
    CLexem* first = nullptr;
    CLexem* last = nullptr;
};

LexemSpan SpanOf(const COperationNode* node, bool withSign)
{
    const NodeRun run = RunOf(node);
    if (!run.Valid()) {
        return {};
    }
    int first = run.first;
    if (withSign && TermSign(node)) {
        --first;
    }
    return {run.row->Child(first), run.row->Child(run.last)};
}

std::string SpanText(const LexemSpan& span)
{
    std::string text;
    CLexemRow* row = AsRow(span.first ? span.first->Parent() : nullptr);
    if (!row) {
        return text;
    }
    for (int pos = row->IndexOf(span.first); pos >= 0 && pos <= row->IndexOf(span.last); ++pos) {
        row->Child(pos)->GetLexemText(text);
    }
    return text;
}

bool IsLoneZero(const COperationNode* side)
{
    const std::string text = RunText(side);
    return !text.empty() && text.find_first_not_of('0') == std::string::npos;
}

}  // namespace

bool IsLocalDrop(DropKind kind)
{
    switch (kind) {
    case DropKind::MoveTerm:
    case DropKind::AcrossOntoSign:
    case DropKind::AcrossOntoRelation:
    case DropKind::AcrossOntoSide:
    case DropKind::Substitute:
        return true;
    case DropKind::None:
    case DropKind::CombineTerms:
    case DropKind::CombineRelations:
        return false;
    }
    return false;
}

int DropEffectOf(DropKind kind)
{
    switch (kind) {
    case DropKind::MoveTerm:
    case DropKind::AcrossOntoSign:
    case DropKind::AcrossOntoRelation:
    case DropKind::AcrossOntoSide:
    case DropKind::CombineRelations:
        return 4;
    case DropKind::CombineTerms:
        return 1;
    case DropKind::None:
    case DropKind::Substitute:
        return 2;
    }
    return 2;
}

int DropVertex(DropKind kind, COperationNode* source, COperationNode* target)
{
    if (kind == DropKind::CombineRelations) {
        return 12;
    }
    const COperationNode* ancestor = CommonAncestor(source, target);
    if (!ancestor || ancestor->ChildCount() == 0) {
        return 0;
    }
    switch (ancestor->Child(0)->SignClass()) {
    case priority::Product:
        return 4;
    case priority::Additive:
        return 1;
    case priority::Relation:
        return 8;
    default:
        return 0;
    }
}

CDragOperation::CDragOperation(CFormulaEnv& env)
    : m_env(env)
{
}

DropKind CDragOperation::Analyse(COperationNode* s, COperationNode* t) const
{
    // 1. Nothing, or a node onto itself (or onto another node of the same
    // lexemes: an operand between two signs has a node under each).
    if (!s || !t || s == t || SameLexeme(s, t) || Contains(s, t)) {
        return DropKind::None;
    }
    COperationNode* sSign = EnclosingSign(s);
    COperationNode* sOperation = OperationOf(s);
    COperationNode* tOperation = OperationOf(t);

    // 2. A term moved in front of another sign of its own operation.
    if (IsSignNode(t) && sSign && !IsRelationNode(sSign) && t->SignClass() == sSign->SignClass() &&
        t != s->Parent() && (!s->Parent() || t != s->Parent()->Parent()) && IsMovableTerm(s) &&
        sSign->Parent() == t->Parent()) {
        return DropKind::MoveTerm;
    }

    // 3. Across a relation onto a '+' or '-' of the other side.
    const char tChar = SignChar(t);
    COperationNode* ancestor = CommonAncestor(s, t);
    if (IsSignNode(t) && (tChar == '+' || tChar == '-') && IsRelationNode(ancestor) &&
        !(IsSignNode(s) && (SignChar(s) == '+' || SignChar(s) == '-') && TermCount(s) > 1) && IsMovableTerm(s) &&
        SideOf(ancestor, s) != SideOf(ancestor, t) && sOperation && sOperation->SignClass() >= priority::Additive) {
        COperationNode* tSide = SideOf(ancestor, t);
        const bool sideTerm = sOperation->Parent() == ancestor ||
                              (sOperation->SignClass() == priority::Additive &&
                               EnclosingOperation(sOperation) == SideOf(ancestor, s));
        if (sideTerm && t->Parent() == tSide) {
            return DropKind::AcrossOntoSign;
        }
    }

    // 4. Across a relation onto the relation sign.
    if (IsRelationNode(t) && Contains(t, s) && !IsOperationNode(s) && IsMovableTerm(s) &&
        !(IsSignNode(s) && s->SignClass() >= priority::Additive) && sOperation &&
        TermCount(sOperation) < 2 && sOperation->SignClass() >= priority::Additive) {
        if (sOperation->Parent() == t ||
            (sOperation->SignClass() == priority::Additive && EnclosingOperation(sOperation) &&
             EnclosingOperation(sOperation)->Parent() == t)) {
            return DropKind::AcrossOntoRelation;
        }
    }

    // 5. A variable substituted from an equation of the same system.
    const CLexem* sLexem = s->Lexeme();
    const CLexem* tLexem = t->Lexeme();
    if (sLexem && tLexem && sLexem->Type() == TemplateType::Char && tLexem->Type() == TemplateType::Char &&
        !IsSignNode(s) && !IsSignNode(t) && sLexem->LexemText() == tLexem->LexemText() && sOperation &&
        IsRelationNode(sOperation->Parent()) && SignChar(sOperation->Parent()) == '=' &&
        TermCount(sOperation) == 1 && !IsNegatedGroup(sOperation) && IsSystemNode(ancestor)) {
        return DropKind::Substitute;
    }

    // 6. Two relations of one system.
    if (IsRelationNode(s) && IsRelationNode(t) && IsSystemNode(ancestor) && TermCount(ancestor) >= 1) {
        return DropKind::CombineRelations;
    }

    // 7. Anywhere else on the other side of a relation: the term goes across
    // as when dropped onto the relation sign (a lone "0" there included).
    if (IsRelationNode(ancestor) && SideOf(ancestor, s) && SideOf(ancestor, t) &&
        SideOf(ancestor, s) != SideOf(ancestor, t) && Analyse(s, ancestor) == DropKind::AcrossOntoRelation) {
        return DropKind::AcrossOntoSide;
    }

    // 8. Two terms of one operation.
    COperationNode* tSign = EnclosingSign(t);
    if (s->Depth() == t->Depth() && IsMovableTerm(s) && IsMovableTerm(t) && ancestor && sSign && tSign &&
        sSign->Parent() == tSign->Parent() && sOperation && tOperation &&
        sOperation->SignClass() == tOperation->SignClass()) {
        return DropKind::CombineTerms;
    }
    return DropKind::None;
}

bool CDragOperation::Apply(DropKind kind, COperationNode* source, COperationNode* target)
{
    bool changed = false;
    switch (kind) {
    case DropKind::MoveTerm:
        changed = MoveTerm(source, target);
        break;
    case DropKind::AcrossOntoSign:
    case DropKind::AcrossOntoRelation:
        changed = MoveAcross(kind, source, target);
        break;
    case DropKind::AcrossOntoSide:
        changed = MoveAcross(DropKind::AcrossOntoRelation, source, CommonAncestor(source, target));
        break;
    case DropKind::Substitute:
        changed = Substitute(source, target);
        break;
    case DropKind::None:
    case DropKind::CombineTerms:
    case DropKind::CombineRelations:
        break;
    }
    if (changed) {
        m_env.MarkLayoutStale();
    }
    return changed;
}

// Lexemes edited by pointer: positions move as the row changes.
bool CDragOperation::ReplaceLexems(CLexem* first, CLexem* last, const std::string& text, int extraLevels)
{
    CLexemRow* row = AsRow(first ? first->Parent() : nullptr);
    if (!row || !last || last->Parent() != row) {
        return false;
    }
    LexemList list;
    try {
        list = CLexemParser().Parse(text);
    } catch (const CMEException&) {
        return false;
    }
    if (!FitsTextDepth(*row, list, extraLevels)) {
        // The formula could no longer be written and read back.
        m_env.ShowMessage(m_env.GetMessageText(msg::TooDeep), MessageIcon::Exclamation);
        return false;
    }
    PutInPlace(*row, row->IndexOf(first), row->IndexOf(last), std::move(list));
    return true;
}

bool CDragOperation::MoveTerm(COperationNode* source, COperationNode* target)
{
    const COperatorSign* targetSign = target->Sign();
    const LexemSpan moved = SpanOf(source, true);
    if (!targetSign || !moved.first) {
        return false;
    }
    std::string text = SpanText(moved);
    // The first term of a group with more terms gets a sign of its own.
    if (!TermSign(source)) {
        text.insert(0, targetSign->IsCommutative() ? targetSign->LexemText()
                                                   : std::string(targetSign->GetInverseText()));
    }
    CLexem* sign = const_cast<COperatorSign*>(targetSign);
    const std::string signText = targetSign->LexemText();
    if (!ReplaceLexems(sign, sign, text + signText)) {
        return false;
    }
    DeleteLexems(moved.first, moved.last);
    return true;
}

bool CDragOperation::MoveAcross(DropKind kind, COperationNode* source, COperationNode* target)
{
    COperationNode* relation = kind == DropKind::AcrossOntoRelation ? target : CommonAncestor(source, target);
    COperationNode* sourceSide = SideOf(relation, source);
    if (!IsRelationNode(relation) || !sourceSide || relation->ChildCount() != 2) {
        return false;
    }
    const bool fromRight = sourceSide == relation->Child(1);
    COperationNode* receivingSide = relation->Child(fromRight ? 0 : 1);
    const MovedTerm term = TermOf(source);
    const LexemSpan own = SpanOf(source, false);
    if (!own.first || term.text.empty()) {
        return false;
    }
    // The only term of its side (with its '-') becomes "0".
    const NodeRun sideRun = RunOf(sourceSide);
    const NodeRun run = RunOf(source);
    const bool onlyTerm = sideRun.Valid() && run.last == sideRun.last &&
                          (run.first == sideRun.first || (term.sign && run.first - 1 == sideRun.first));
    // A '+' left behind goes in the rebuild's sign correction ("+=" gives
    // "="); a '-' would turn the sign of the next term ("-3+x" would leave
    // "-+x", read as "-x"), so it goes with the term.
    LexemSpan sourceSpan = own;
    const bool minus = term.sign && term.sign->Kind() == LexemKind::Character && term.sign->Char() == '-';
    if ((onlyTerm || minus) && term.sign) {
        sourceSpan.first = run.row->Child(run.first - 1);
    }
    LexemSpan zero;
    if (kind == DropKind::AcrossOntoRelation && IsLoneZero(receivingSide)) {
        zero = SpanOf(receivingSide, false);
    }
    CLexem* sign = target->Lexeme();
    const std::string signText = sign->LexemText();
    std::string text;
    if (kind == DropKind::AcrossOntoSign || fromRight) {
        text = term.signText + term.text + signText;
    } else {
        text = signText + term.signText + term.text + "+";
    }
    if (!ReplaceLexems(sign, sign, text)) {
        return false;
    }
    if (zero.first) {
        DeleteLexems(zero.first, zero.last);
    }
    if (onlyTerm) {
        ReplaceLexems(sourceSpan.first, sourceSpan.last, "0");
    } else {
        DeleteLexems(sourceSpan.first, sourceSpan.last);
    }
    return true;
}

bool CDragOperation::Substitute(COperationNode* source, COperationNode* target)
{
    COperationNode* relation = source->Parent() ? source->Parent()->Parent() : nullptr;
    if (!IsRelationNode(relation) || relation->ChildCount() != 2) {
        return false;
    }
    COperationNode* other = relation->Child(relation->Child(0) == source->Parent() ? 1 : 0);
    std::string text = RunText(other);
    // A sum goes in brackets; the target's own '-' stays where it is.
    const COperationNode* top = other->ChildCount() > 0 ? other->Child(0) : nullptr;
    const bool sum = TopClass(top) == priority::Additive || (!text.empty() && text.front() == '-' && TermCount(other) > 1);
    const bool brackets = sum || (!text.empty() && text.front() == '-');
    if (brackets) {
        text = "(" + text + ")";
    }
    // The bracket characters pair into a template: one level more.
    const LexemSpan span = SpanOf(target, false);
    return span.first && ReplaceLexems(span.first, span.last, text, brackets ? 1 : 0);
}

}  // namespace formula
