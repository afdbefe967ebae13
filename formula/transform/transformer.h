#pragma once
// The transformer: the mouse of the transformer mode on the operation tree,
// without widgets. The control forwards its mouse and drag events as plain
// values (points of the laid-out formula, the Shift state) and turns the
// listener calls into its dispatch events; the host answers an operation
// event with SetOperationResult, possibly from inside the event.
//
// State: the pending operation (0 none, 1 double click, 2 right click,
// 3 drag and drop), the operated node, the hovered node, the right-button
// flag, the multi-selection and the drop target's drag state. Every node
// pointer dies with the tree (OnTreeReset), the pending operation with it.
#include <memory>
#include <string>
#include <string_view>

#include "formula/env/formula_env.h"
#include "formula/transform/drag_operation.h"

namespace formula {

class CLexemRow;
class COperationNode;
class CRowMultySel;
class ITransformListener;

// Pending operations.
enum class PendingOperation : int { None = 0, DoubleClick = 1, RightClick = 2, DragDrop = 3 };

// Drop effects shown while dragging (the OLE values).
enum class DropEffect : int { None = 0, Copy = 1, Move = 2, Link = 4 };

// Messages of the transformer.
inline constexpr int kMsgApplyFailed = 1006;
inline constexpr int kMsgCannotRebuildTree = 1009;
inline constexpr int kMsgCannotParseResult = 1010;

class CTransformer final : public IEnvClient {
public:
    explicit CTransformer(CFormulaEnv& env, ITransformListener* listener = nullptr);
    ~CTransformer();
    CTransformer(const CTransformer&) = delete;
    CTransformer& operator=(const CTransformer&) = delete;

    void SetListener(ITransformListener* listener) { m_listener = listener; }
    // No mouse operations while locked.
    void SetLocked(bool locked) { m_locked = locked; }
    bool Locked() const { return m_locked; }
    // In transformer mode with a tree.
    bool Active() const;

    // The node under a point of the laid-out formula: a horizontal fraction
    // within 3 pixels of its bar, else a visible character or sign, else
    // the deepest node whose lexeme holds the point; never the root.
    COperationNode* NodeAt(Point pt) const;

    // Mouse of the transformer mode. Each answers whether the control
    // should repaint.
    bool OnMouseMove(Point pt, bool shift);
    // Fires the left click; a node under the point is picked (Shift adds it
    // to the multi-selection) and a drag of it starts (see Dragging).
    bool OnLeftDown(Point pt, bool shift);
    // The double-click operation on the node under the point, on the
    // highlight or, when terms or lines are picked, on the multi-selection.
    bool OnDoubleClick(Point pt);
    bool OnRightDown(Point pt, bool shift);
    bool OnMouseLeave();

    // The drop target. A drag started by OnLeftDown is under way until
    // Drop or DragLeave; the control feeds it the mouse while it lasts.
    bool Dragging() const { return m_dragging; }
    COperationNode* DragSource() const { return m_dragSource; }
    DropEffect DragEnter(Point pt);
    DropEffect DragOver(Point pt);
    // The drop at a point: a local change (then FormulaTransformed) or an
    // operation for the host (then OperationDragDrop); nothing on the
    // source itself or outside any node.
    void Drop(Point pt);
    void DragLeave();
    // The drag ends without a drop (released outside the control, or Escape).
    void CancelDrag();

    // The host's answer: text is Aplan text or lexeme text. Always true.
    bool SetOperationResult(bool success, std::string_view text, bool aplan);
    // Clears the pending operation (entering or leaving the mode).
    void ResetOperation();
    // Removes redundant brackets; false (message 1009 shown) when the tree
    // could not be rebuilt.
    bool RemoveRedundantBrackets();

    PendingOperation Pending() const { return m_pending; }
    COperationNode* OperatedNode() const { return m_operated; }
    COperationNode* HoveredNode() const { return m_hovered; }
    bool RightButtonOperation() const { return m_rightButton; }
    DropKind LastDropKind() const { return m_dropKind; }
    CRowMultySel& MultiSelection() { return *m_multi; }
    CDragOperation& DragAnalysis() { return m_drag; }

    void OnTreeReset() override;
    void DrawBackground(Canvas& canvas) override;

private:
    CSelection* Highlight() const { return m_env.Selection(); }
    void ClearHighlight(bool unmark);
    void HighlightNode(COperationNode* node);
    bool HasHighlight() const;
    void ResetDragState();
    void StartDrag(COperationNode* node);
    // The double-click or right-click operation on a node.
    void FireOperation(PendingOperation operation, COperationNode* node);
    // Applies a result by the pending operation; false when nothing was
    // applied.
    bool ApplyResult(std::string_view text, bool aplan);
    bool ReplaceOperated(COperationNode* node, std::string_view text, bool aplan, bool useMultiSelection);
    // Parses a result into lexemes (message 1010 when it cannot be read).
    bool ParseResult(std::string_view text, bool aplan, LexemList& list, std::string& lexemText);
    // Whether the lexemes, put into the row inside extraLevels more
    // templates, keep the formula within the nesting the lexeme reader reads
    // back; message 1035 when they do not (or when there is no row).
    bool FitsTextDepth(const CLexemRow* row, const LexemList& list, int extraLevels);
    // The tree rebuilt after a change and brackets removed; false (1009
    // shown) when that failed.
    bool RebuildAfterChange();
    void Message(int id, MessageIcon icon) const;

    CFormulaEnv& m_env;
    ITransformListener* m_listener;
    std::unique_ptr<CRowMultySel> m_multi;
    CDragOperation m_drag;
    bool m_locked = false;
    PendingOperation m_pending = PendingOperation::None;
    COperationNode* m_operated = nullptr;
    COperationNode* m_hovered = nullptr;
    // The node the highlight stands for.
    COperationNode* m_highlighted = nullptr;
    bool m_rightButton = false;
    // Drop target.
    bool m_dragging = false;
    COperationNode* m_dragSource = nullptr;
    COperationNode* m_dragTarget = nullptr;
    COperationNode* m_lastHovered = nullptr;
    bool m_dragEntered = false;
    bool m_dragShift = false;
    DropKind m_dropKind = DropKind::None;
};

}  // namespace formula
