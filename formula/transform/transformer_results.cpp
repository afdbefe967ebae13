// The transformer's results: the host's answer put in place of the
// operated part, the drop results, and the rebuild after every change.
#include <exception>

#include "formula/edit/edit_point.h"
#include "formula/edit/selection.h"
#include "formula/model/chars.h"
#include "formula/model/errors.h"
#include "formula/model/lexem_row.h"
#include "formula/model/messages.h"
#include "formula/model/sign_tables.h"
#include "formula/notation/lexem_parser.h"
#include "formula/optree/operation_tree.h"
#include "formula/transform/multi_selection.h"
#include "formula/transform/redundant_brackets.h"
#include "formula/transform/transformer.h"
#include "formula/transform/tree_walks.h"

namespace formula {
namespace {

// The lexeme text of a parsed list (line breaks as "@#").
std::string TextOfList(const LexemList& list)
{
    std::string text;
    for (const auto& lexem : list) {
        if (lexem) {
            lexem->GetLexemText(text);
        } else {
            text += "@#";
        }
    }
    return text;
}

// The class of the top operation of a formula text; 0 when it has none or
// no tree.
int TopClassOfText(const std::string& lexemText)
{
    CFormulaEnv probe;
    probe.SetMessageSink([](std::string_view, MessageIcon) {});
    EnvError error;
    if (!probe.SetLexemText(lexemText, error)) {
        return 0;
    }
    probe.UseOperationTree(true);
    if (!probe.RebuildTree()) {
        return 0;
    }
    const COperationNode* root = probe.TreeRoot();
    const COperationNode* line = root && root->ChildCount() > 0 ? root->Child(0) : nullptr;
    return walk::TopClass(line && line->ChildCount() > 0 ? line->Child(0) : nullptr);
}

}  // namespace

// ---- Results ---------------------------------------------------------------

bool CTransformer::SetOperationResult(bool success, std::string_view text, bool aplan)
{
    const PendingOperation pending = m_pending;
    if (success && pending != PendingOperation::None) {
        try {
            ApplyResult(text, aplan);
        } catch (const CMEException&) {
            Message(kMsgApplyFailed, MessageIcon::Information);
        } catch (const std::exception&) {
            Message(kMsgApplyFailed, MessageIcon::Information);
        }
    }
    ResetDragState();
    if (pending != PendingOperation::None) {
        m_pending = PendingOperation::None;
        m_operated = nullptr;
    }
    m_rightButton = false;
    ClearHighlight(true);
    m_env.MarkLayoutStale();
    return true;
}

void CTransformer::ResetOperation()
{
    m_pending = PendingOperation::None;
    m_operated = nullptr;
    m_rightButton = false;
    ResetDragState();
}

bool CTransformer::ApplyResult(std::string_view text, bool aplan)
{
    bool applied = false;
    switch (m_pending) {
    case PendingOperation::None:
        return false;
    case PendingOperation::DoubleClick:
    case PendingOperation::RightClick:
        applied = ReplaceOperated(m_operated, text, aplan, true);
        break;
    case PendingOperation::DragDrop: {
        COperationNode* target = m_dragTarget;
        if (!target) {
            return false;
        }
        if (m_dropKind == DropKind::CombineRelations) {
            LexemList list;
            std::string lexemText;
            if (!ParseResult(text, aplan, list, lexemText)) {
                return false;
            }
            const walk::NodeRun run = walk::RunOf(target);
            if (run.Valid() && !FitsTextDepth(run.row, list, 0)) {
                return false;
            }
            ClearHighlight(true);
            applied = run.Valid();
            if (applied) {
                walk::PutInPlace(*run.row, run.first, run.last, std::move(list));
            }
            break;
        }
        // Two terms: the target takes the result, the source and its sign go.
        const walk::NodeRun run = walk::RunOf(m_dragSource);
        CLexem* first = nullptr;
        CLexem* last = nullptr;
        if (run.Valid() && !walk::Contains(m_dragSource, target) && !walk::Contains(target, m_dragSource)) {
            first = run.row->Child(walk::TermSign(m_dragSource) ? run.first - 1 : run.first);
            last = run.row->Child(run.last);
        }
        applied = ReplaceOperated(target, text, aplan, false);
        if (applied && first) {
            CLexemRow* row = AsRow(first->Parent());
            const int from = row ? row->IndexOf(first) : -1;
            const int to = row ? row->IndexOf(last) : -1;
            if (from >= 0 && to >= from) {
                LexemList removed;
                row->DetachRange(from, to, true, removed);
            }
        }
        break;
    }
    }
    if (applied) {
        RebuildAfterChange();
    }
    return applied;
}

bool CTransformer::ParseResult(std::string_view text, bool aplan, LexemList& list, std::string& lexemText)
{
    EnvError error;
    bool ok = false;
    if (aplan) {
        ok = m_env.CreateLexList(text, true, list, error);
    } else {
        try {
            list = CLexemParser().Parse(text);
            ok = true;
        } catch (const CMEException&) {
            ok = false;
        }
    }
    if (!ok) {
        Message(kMsgCannotParseResult, MessageIcon::Exclamation);
        return false;
    }
    lexemText = TextOfList(list);
    return true;
}

bool CTransformer::ReplaceOperated(COperationNode* node, std::string_view text, bool aplan, bool useMultiSelection)
{
    const bool multi = useMultiSelection && !m_multi->Empty();
    LexemList list;
    std::string lexemText;
    if (multi && m_multi->GetMode() == CRowMultySel::Mode::Line) {
        return ParseResult(text, aplan, list, lexemText) && FitsTextDepth(m_multi->ReplacedRow(), list, 0) &&
               m_multi->Replace(std::move(list));
    }
    const walk::NodeRun run = walk::RunOf(node);
    if (!run.Valid()) {
        return false;
    }
    const std::string nodeText = walk::RunText(node);
    if (!ParseResult(text, aplan, list, lexemText)) {
        return false;
    }
    // A plus where the replaced part began with '-' and the result does not.
    const bool plus = (!nodeText.empty() && nodeText.front() == '-' && (lexemText.empty() || lexemText.front() != '-')) ||
                      (multi && m_multi->TookLeadingMinus());
    // Brackets where the operation around the node binds tighter than the
    // result's top operation; a '-' before the node counts one class more.
    // Part of a sum is inside that sum, not inside the relation or the
    // operation further up: "-3-2" of "x-3-2=0" takes "-5" as it is.
    int aroundClass = walk::ClassAround(node);
    const COperatorSign* before = run.first > run.row->FirstPos() ? AsOperatorSign(run.row->Child(run.first - 1)) : nullptr;
    if (before && before->Kind() == LexemKind::Character && before->Char() == '-') {
        ++aroundClass;
    }
    const bool factor = aroundClass >= priority::Percent && aroundClass <= priority::Product;
    const bool brackets = factor || TopClassOfText(lexemText) < aroundClass;
    // The brackets pair into a template around the result: one level more.
    if (!FitsTextDepth(multi ? m_multi->ReplacedRow() : run.row, list, brackets ? 1 : 0)) {
        return false;
    }

    LexemList elements;
    if (plus) {
        elements.push_back(MakeCharLexem('+'));
    }
    if (brackets) {
        elements.push_back(MakeCharLexem('('));
    }
    for (auto& lexem : list) {
        elements.push_back(std::move(lexem));
    }
    if (brackets) {
        elements.push_back(MakeCharLexem(')'));
    }
    if (multi) {
        return m_multi->Replace(std::move(elements));
    }
    ClearHighlight(true);
    walk::PutInPlace(*run.row, run.first, run.last, std::move(elements));
    return true;
}

bool CTransformer::FitsTextDepth(const CLexemRow* row, const LexemList& list, int extraLevels)
{
    if (row && formula::FitsTextDepth(*row, list, extraLevels)) {
        return true;
    }
    // The formula could no longer be written and read back: it stays as it
    // was, as a paste that deep does.
    Message(msg::TooDeep, MessageIcon::Exclamation);
    return false;
}

bool CTransformer::RebuildAfterChange()
{
    // The lexemes changed: nothing may point into the old tree.
    m_multi->Clear(false);
    if (!m_env.RebuildTree() || !formula::RemoveRedundantBrackets(m_env)) {
        Message(kMsgCannotRebuildTree, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool CTransformer::RemoveRedundantBrackets()
{
    if (!m_env.TreeRoot()) {
        return false;
    }
    if (!formula::RemoveRedundantBrackets(m_env)) {
        Message(kMsgCannotRebuildTree, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void CTransformer::Message(int id, MessageIcon icon) const
{
    m_env.ShowMessage(m_env.GetMessageText(id), icon);
}

}  // namespace formula
