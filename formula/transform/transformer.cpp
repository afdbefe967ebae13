#include "formula/transform/transformer.h"

#include <cstdlib>

#include "formula/edit/selection.h"
#include "formula/optree/operation_tree.h"
#include "formula/transform/multi_selection.h"
#include "formula/transform/transform_listener.h"
#include "formula/transform/tree_walks.h"

namespace formula {
namespace {

// Half the height of the band around a fraction bar that picks the fraction.
constexpr int kBarBand = 3;

bool IsVisible(const CLexem* lexem)
{
    return lexem && !IsPresetSign(lexem);
}

COperationNode* HitNode(COperationNode* node, Point pt)
{
    // A fraction by its bar, or a visible character or sign, at this level.
    for (int i = 0; i < node->ChildCount(); ++i) {
        COperationNode* child = node->Child(i);
        const CLexem* lexem = child->Lexeme();
        if (!IsVisible(lexem) || !lexem->IsPointInside(pt)) {
            continue;
        }
        if (lexem->Type() == TemplateType::HorFrac && std::abs(pt.y - lexem->GetBox().axisY) <= kBarBand) {
            return child;
        }
        if (lexem->Kind() == LexemKind::Character || lexem->Kind() == LexemKind::RelationSign) {
            return child;
        }
    }
    // Else the deepest node whose lexeme holds the point.
    for (int i = 0; i < node->ChildCount(); ++i) {
        COperationNode* child = node->Child(i);
        if (COperationNode* hit = HitNode(child, pt)) {
            return hit;
        }
        const CLexem* lexem = child->Lexeme();
        if (IsVisible(lexem) && lexem->IsPointInside(pt)) {
            return child;
        }
    }
    return nullptr;
}

std::string AplanOfNode(CFormulaEnv& env, const COperationNode* node)
{
    CSelection selection(&env);
    std::string text;
    if (walk::Highlight(selection, node)) {
        text = selection.GetAplanText();
    }
    selection.Clear(true);
    return text;
}

}  // namespace

CTransformer::CTransformer(CFormulaEnv& env, ITransformListener* listener)
    : m_env(env)
    , m_listener(listener)
    , m_multi(std::make_unique<CRowMultySel>(env))
    , m_drag(env)
{
    m_env.AddClient(this);
}

CTransformer::~CTransformer()
{
    m_env.RemoveClient(this);
    m_multi->Clear(true);
}

bool CTransformer::Active() const
{
    return m_env.Mode() == FormulaMode::Transformer && m_env.TreeRoot() != nullptr;
}

void CTransformer::OnTreeReset()
{
    m_multi->Clear(true);
    m_pending = PendingOperation::None;
    m_operated = nullptr;
    m_hovered = nullptr;
    m_highlighted = nullptr;
    m_rightButton = false;
    m_dragging = false;
    m_dragSource = nullptr;
    m_dragTarget = nullptr;
    m_lastHovered = nullptr;
    m_dragEntered = false;
    m_dropKind = DropKind::None;
}

void CTransformer::DrawBackground(Canvas& canvas)
{
    m_multi->DrawBackground(canvas);
}

COperationNode* CTransformer::NodeAt(Point pt) const
{
    COperationNode* root = m_env.TreeRoot();
    return root ? HitNode(root, pt) : nullptr;
}

// ---- Highlight -------------------------------------------------------------

void CTransformer::ClearHighlight(bool unmark)
{
    if (CSelection* highlight = Highlight()) {
        if (!highlight->IsEmpty()) {
            m_env.MarkLayoutStale();
        }
        highlight->Clear(unmark);
    }
    m_highlighted = nullptr;
    // The node under the mouse is highlighted again on the next move.
    m_hovered = nullptr;
}

void CTransformer::HighlightNode(COperationNode* node)
{
    if (CSelection* highlight = Highlight()) {
        walk::Highlight(*highlight, node);
        m_highlighted = highlight->IsEmpty() ? nullptr : node;
    }
}

bool CTransformer::HasHighlight() const
{
    return Highlight() && !Highlight()->IsEmpty();
}

// ---- Mouse -----------------------------------------------------------------

bool CTransformer::OnMouseMove(Point pt, bool shift)
{
    if (m_locked || !Active() || m_rightButton) {
        return false;
    }
    COperationNode* node = NodeAt(pt);
    if (!node) {
        const bool had = HasHighlight();
        ClearHighlight(true);
        return had;
    }
    if (node == m_hovered) {
        return false;
    }
    m_hovered = node;
    if (shift) {
        if (COperationNode* sign = walk::EnclosingSign(node)) {
            node = sign;
        }
    }
    HighlightNode(node);
    return true;
}

bool CTransformer::OnLeftDown(Point pt, bool shift)
{
    if (m_locked || !Active()) {
        return false;
    }
    if (m_listener) {
        // The host may answer a pending operation here: nodes may be gone.
        m_listener->OnOperationLClick();
    }
    if (!Active()) {
        return true;
    }
    ClearHighlight(true);
    COperationNode* node = NodeAt(pt);
    // The nodes of a pending operation stay until its answer.
    if (m_pending == PendingOperation::None) {
        m_operated = node;
        ResetDragState();
    }
    if (!shift) {
        m_multi->Clear(true);
    }
    m_rightButton = false;
    if (node) {
        if (shift) {
            m_multi->Add(node);
        }
        if (m_multi->Empty()) {
            StartDrag(node);
        } else if (m_multi->Count() == 1) {
            StartDrag(m_multi->ItemNode(0));
        }
    }
    return true;
}

bool CTransformer::OnDoubleClick(Point pt)
{
    // The part is the highlight or the multi-selection. The press before a
    // double click clears the highlight, and with more than one item picked
    // no drag highlights anything again: the items are the part then.
    if (m_locked || !Active() || m_pending != PendingOperation::None || (!HasHighlight() && m_multi->Empty())) {
        return false;
    }
    COperationNode* node = NodeAt(pt);
    if (!node) {
        return false;
    }
    // Shift picked the sign node around the point's node: that is the part.
    if (m_highlighted && walk::Contains(m_highlighted, node)) {
        node = m_highlighted;
    }
    FireOperation(PendingOperation::DoubleClick, node);
    return true;
}

bool CTransformer::OnRightDown(Point pt, bool shift)
{
    if (m_locked || !Active() || m_pending != PendingOperation::None) {
        return false;
    }
    ClearHighlight(true);
    COperationNode* node = NodeAt(pt);
    if (node) {
        m_rightButton = true;
        if (shift || !m_multi->Empty()) {
            m_multi->Add(node);
        }
        if (m_multi->Empty()) {
            HighlightNode(node);
        }
        FireOperation(PendingOperation::RightClick, node);
    }
    return true;
}

bool CTransformer::OnMouseLeave()
{
    if (!Active() || m_rightButton || !HasHighlight()) {
        return false;
    }
    ClearHighlight(true);
    return true;
}

void CTransformer::FireOperation(PendingOperation operation, COperationNode* node)
{
    const bool multi = !m_multi->Empty();
    const std::string data = multi ? m_multi->GetAplanText() : (HasHighlight() ? Highlight()->GetAplanText() : "");
    COperationNode* vertexNode = node;
    if (multi) {
        vertexNode = m_multi->ItemNode(0);
        if (operation == PendingOperation::RightClick && m_multi->GetMode() == CRowMultySel::Mode::Line) {
            vertexNode = walk::EnclosingMultiRow(vertexNode);
        }
    }
    const int vertex = VertexCode(vertexNode);
    m_pending = operation;
    m_operated = node;
    if (!m_listener) {
        return;
    }
    // Nothing held before this call is touched after it.
    if (operation == PendingOperation::DoubleClick) {
        m_listener->OnOperationDblClick(vertex, data);
    } else {
        m_listener->OnOperationRClick(vertex, data);
    }
}

// ---- Drag and drop ---------------------------------------------------------

void CTransformer::StartDrag(COperationNode* node)
{
    if (m_pending != PendingOperation::None || !node) {
        return;
    }
    ResetDragState();
    m_dragging = true;
    m_dragSource = node;
    m_dragShift = false;
    // Highlighted at once: press, release and double click on one node
    // need no mouse move in between.
    HighlightNode(node);
    m_hovered = node;
}

void CTransformer::ResetDragState()
{
    m_dragging = false;
    m_dragSource = nullptr;
    m_dragTarget = nullptr;
    m_lastHovered = nullptr;
    m_dragEntered = false;
    m_dragShift = false;
    m_dropKind = DropKind::None;
}

DropEffect CTransformer::DragEnter(Point pt)
{
    if (m_dragEntered || !Active()) {
        return DropEffect::None;
    }
    if (NodeAt(pt)) {
        m_dragEntered = true;
        return DropEffect::Move;
    }
    return DropEffect::None;
}

DropEffect CTransformer::DragOver(Point pt)
{
    if (!Active() || !HasHighlight()) {
        return DropEffect::None;
    }
    COperationNode* node = NodeAt(pt);
    if (node && m_dragging) {
        ClearHighlight(true);
        HighlightNode(node);
        m_lastHovered = node;
        return static_cast<DropEffect>(DropEffectOf(m_drag.Analyse(m_dragSource, node)));
    }
    if (node) {
        return DropEffect::Move;
    }
    const Box& box = m_env.Root().GetBox();
    return m_env.Root().IsPointInside(pt) && box.width > 0 ? DropEffect::Move : DropEffect::None;
}

void CTransformer::DragLeave()
{
    m_dragEntered = false;
}

void CTransformer::CancelDrag()
{
    m_dragEntered = false;
    m_dragging = false;
    // A pending operation keeps its nodes until its answer.
    if (m_pending == PendingOperation::None) {
        ResetDragState();
    }
}

void CTransformer::Drop(Point pt)
{
    m_dragEntered = false;
    COperationNode* source = m_dragging ? m_dragSource : nullptr;
    m_dragging = false;
    COperationNode* target = Active() ? NodeAt(pt) : nullptr;
    if (!source || !target || target == source || m_pending != PendingOperation::None) {
        // A pending drop keeps its nodes until its answer.
        if (m_pending == PendingOperation::None) {
            ResetDragState();
        }
        return;
    }
    m_multi->Clear(true);
    ClearHighlight(true);
    const DropKind kind = m_drag.Analyse(source, target);
    switch (kind) {
    case DropKind::MoveTerm:
    case DropKind::AcrossOntoSign:
    case DropKind::AcrossOntoRelation:
    case DropKind::AcrossOntoSide:
    case DropKind::Substitute: {
        ResetDragState();
        if (!m_drag.Apply(kind, source, target)) {
            return;
        }
        RebuildAfterChange();
        if (m_listener) {
            m_listener->OnFormulaTransformed();
        }
        return;
    }
    case DropKind::CombineTerms:
    case DropKind::CombineRelations: {
        const int vertex = DropVertex(kind, source, target);
        const std::string sourceData = AplanOfNode(m_env, source);
        const std::string targetData = AplanOfNode(m_env, target);
        m_pending = PendingOperation::DragDrop;
        m_dropKind = kind;
        m_dragSource = source;
        m_dragTarget = target;
        m_operated = target;
        if (m_listener) {
            m_listener->OnOperationDragDrop(vertex, sourceData, targetData);
        }
        return;
    }
    case DropKind::None:
        ResetDragState();
        return;
    }
}

}  // namespace formula
