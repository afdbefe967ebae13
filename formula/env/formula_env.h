#pragma once
// The formula environment: the document behind one formula control. It owns
// the formula (an aggregate root holding lines), the display settings the
// lexemes read, and the objects of the current mode:
//   0 none, 1 viewer        nothing;
//   2 editor                editor (cursor path and caret), selection, undo
//                           history;
//   3 transformer           operation tree, selection.
// It reads and writes the three texts, inserts elements at the cursor,
// handles keys, typed characters and mouse presses of the editor, lays the
// formula out and draws it with the caret. No widgets: the control forwards
// its events and shows what the environment reports through a message sink.
//
// Every pointer into the operation tree dies in one place (DropTree): the
// tree is destroyed and every attached client (the transformer's
// multi-selection, drop target, pending operation) told to forget its nodes.
// It runs whenever the tree is rebuilt or destroyed and whenever the formula
// is replaced; the selection is forgotten whenever the lexemes change.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/env/key_event.h"
#include "formula/layout/canvas.h"
#include "formula/model/display_settings.h"
#include "formula/model/lexem.h"
#include "formula/model/templates/multi_row.h"

class QWidget;

namespace formula {

class CCursorPath;
class CFormulaEditor;
class COperationNode;
class CSelection;
class CUndoHistory;
class CLexemRow;
struct ToolInfo;

// What failed in a text conversion: the reader's code (2 XML, 3 syntax,
// 5 unsupported character) and the message text; code 0 and no text when
// nothing failed.
struct EnvError {
    int code = 0;
    std::string message;
};

enum class MessageIcon { Information, Exclamation };

// An object of the transformer mode that keeps pointers into the operation
// tree or the formula. The environment calls it whenever the tree is rebuilt
// or destroyed or the formula replaced. A client removes itself before it
// goes.
class IEnvClient {
public:
    // Forget every node, lexeme and pending operation.
    virtual void OnTreeReset() = 0;
    // Drawn before the formula (a highlight band).
    virtual void DrawBackground(Canvas&) {}

protected:
    ~IEnvClient() = default;
};

// What InsertTool did.
enum class ToolResult {
    NotEditor,  // not in editor mode: nothing happens
    Unknown,    // an id the table does not hold: "Unknown template" shown
    Done,       // inserted, or refused by the school class or the depth limit
};

class CFormulaEnv : public CDisplaySettings {
public:
    // Deepest cursor path at which elements are still inserted.
    static constexpr int kMaxInsertDepth = 35;

    CFormulaEnv();
    ~CFormulaEnv() override;
    CFormulaEnv(const CFormulaEnv&) = delete;
    CFormulaEnv& operator=(const CFormulaEnv&) = delete;

    // Mode switches; each answers true on success. Switching to the active
    // mode changes nothing.
    bool SetViewerMode();
    bool SetEditorMode();
    // Builds the operation tree; false (the mode unchanged) when the formula
    // has none.
    bool SetTransformerMode();
    bool SetNoneMode();
    void UseEditor(bool create);
    void UseSelection(bool create);
    void UseOperationTree(bool create);
    void UseUndoHistory(bool create);

    CAggregateTemplate& Root() { return m_root; }
    const CAggregateTemplate& Root() const { return m_root; }
    CFormulaEditor* Editor() const { return m_editor.get(); }
    CSelection* Selection() const { return m_selection.get(); }
    CUndoHistory* UndoHistory() const { return m_undo.get(); }
    // The root node of the operation tree; null without a tree.
    COperationNode* TreeRoot() const;
    bool HasTreeHolder() const { return m_hasTreeHolder; }

    // The three texts of the whole formula. Empty lines after the last line
    // that holds something (an Enter pressed after the formula) are part of
    // the lexeme text only: the Aplan and MathML texts, the validity check
    // and the operation tree read the formula without them.
    std::string GetLexemText() const;
    // *incomplete tells whether a part was written without its full meaning
    // (a cube root, a limit...): such a text is not the formula.
    std::string GetAplanText(bool* incomplete = nullptr) const;
    bool IsAplanIncomplete() const;
    std::string GetMathMLText() const;
    // Replace the formula; false with the reader's error (the formula is
    // then unchanged), or with code 3 and message 1009 when the operation
    // tree cannot be rebuilt (the formula stays set).
    bool SetLexemText(std::string_view text, EnvError& error);
    bool SetAplanText(std::string_view text, EnvError& error);
    bool SetMathMLText(std::string_view text, EnvError& error);
    // Reads a text into lexemes without touching the formula, logging to
    // TestLog.txt around the work.
    bool CreateLexList(std::string_view text, bool aplan, LexemList& list, EnvError& error);
    // Reads lexeme text and inserts it at the editor's cursor; the caret
    // after it. False when there is no editor or the text cannot be read.
    bool InsertLexemText(std::string_view text, EnvError& error);

    // Empties the formula (one empty line), caret at the end, snapshot.
    void Reset();

    // Insertion at the editor's cursor (school-class gates, depth limit);
    // the caret moves into the new element. With productSign a '*' goes in
    // before it (an operand typed right after another). False when nothing
    // went in.
    bool InsertElement(std::unique_ptr<CLexem> element, bool productSign = false);
    // The same without the school-class gate (the control's Alt shortcuts).
    bool InsertElementUngated(std::unique_ptr<CLexem> element);
    bool InsertTool(const ToolInfo& tool, bool productSign = false);
    // A palette command by LexType (editor mode only).
    ToolResult InsertTool(int lexType);

    // Editor mode only. Keys by virtual-key code; typed characters.
    KeyResult OnKeyDown(const KeyEvent& key);
    bool OnChar(char ch);
    // Mouse of the editor, at points of the laid-out formula: a press puts
    // the caret at the point; moving with the left button held selects from
    // the press to the point. True when something changed on screen.
    bool OnMouseDown(Point pt);
    bool OnMouseMove(Point pt, bool leftButton);
    bool OnMouseUp(Point pt);
    // Deletes a non-empty selection in editor mode (caret where it began).
    bool DeleteSelection();

    // Whole-formula snapshots (editor mode). Undo returns the formula to
    // exactly the text it had before the last edit not undone, Redo to the
    // text after the next undone one. False, doing nothing, without a
    // history or without a step to take.
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // Records the formula unless it equals the newest snapshot.
    void PushUndoSnapshot();

    // Clipboard (text/plain, the lexeme text; needs a GUI application).
    // Copy of the selection: false without a selection object or a
    // clipboard.
    bool Copy();
    bool CopyAll();
    // Editor mode: the clipboard's text goes in at the cursor (over a
    // non-empty selection), then the formula is read again from its own
    // text. False outside editor mode.
    bool Paste();
    // Paste with a given text (empty: no text on the clipboard).
    bool PasteText(std::string_view text);
    bool CanPaste() const;

    // The operation tree from the lexemes: the formula is read again from
    // its own text and normalised (bracket pairing; sign correction and
    // bracket elimination outside editor mode) until its text stays the
    // same, so text -> tree -> text is a fixed point. Needs the tree holder.
    // The cursor goes to the end.
    bool RebuildTree();
    // Whether an operation tree can be built from the formula: true with a
    // tree; else tried on a copy of the formula, which stays as it is.
    bool IsFormulaValid() const;
    // Done after every successful rebuild of SetLexemText (the transformer's
    // removal of redundant brackets).
    void SetTreeRebuiltHook(std::function<void(CFormulaEnv&)> hook) { m_treeRebuiltHook = std::move(hook); }
    void AddClient(IEnvClient* client);
    void RemoveClient(IEnvClient* client);

    // Layout and drawing through a canvas.
    void Layout(Canvas& canvas);
    void Draw(Canvas& canvas);
    bool LayoutStale() const { return m_layoutStale; }
    void MarkLayoutStale() { m_layoutStale = true; }
    // The caret of the editor in the laid-out formula (2 pixels wide); none
    // without an editor or while it is hidden.
    std::optional<Rect> CaretRect() const;
    // The control has the focus: the caret is drawn.
    void SetFocus(bool focus) { m_hasFocus = focus; }
    bool HasFocus() const { return m_hasFocus; }

    bool ReferenceIsTopLeft() const { return m_topLeftReference; }
    Point Position() const { return m_position; }
    void SetPosition(Point position);
    int Margin() const { return m_margin; }

    // Message texts in the process-wide language.
    std::string_view GetMessageText(int id) const;
    // How messages reach the user: the suite's message box by default.
    using MessageSink = std::function<void(std::string_view text, MessageIcon icon)>;
    void SetMessageSink(MessageSink sink);
    void SetMessageParent(QWidget* parent) { m_messageParent = parent; }
    void ShowMessage(std::string_view text, MessageIcon icon) const;

private:
    // Destroys the tree's nodes (the holder stays) and tells every client.
    void DropTree();
    // Root emptied of lines; the lexemes of a list appended.
    void ReplaceFormula(LexemList&& lines);
    // After every replacement: cursor at the end, selection forgotten.
    void AfterReplace();
    // The formula differs from the newest undo snapshot (it changed without
    // one being recorded).
    bool FormulaUnrecorded() const;
    // The formula of an undo or redo snapshot.
    void Restore(const std::string& snapshot);
    bool BuildTree(bool correction);
    // The lexeme text without the empty lines after the last line that holds
    // something; nullopt when there are none.
    std::optional<std::string> TextWithoutTrailingLines() const;
    // That text read into an environment of its own, whose texts are the
    // formula's; null when there are no such lines.
    std::unique_ptr<CFormulaEnv> WithoutTrailingLines() const;
    // Replaces the formula by what its text reads as.
    void ReadBack(const std::string& text);
    bool InsertAtCursor(std::unique_ptr<CLexem> element, bool productSign = false);

    bool m_topLeftReference = true;
    Point m_position{2, 2};
    int m_margin = 2;
    bool m_layoutStale = true;
    bool m_hasFocus = false;
    CAggregateTemplate m_root;
    std::unique_ptr<CFormulaEditor> m_editor;
    std::unique_ptr<CSelection> m_selection;
    std::unique_ptr<CUndoHistory> m_undo;
    bool m_hasTreeHolder = false;
    std::unique_ptr<COperationNode> m_tree;
    std::vector<IEnvClient*> m_clients;
    std::function<void(CFormulaEnv&)> m_treeRebuiltHook;
    bool m_inTreeRebuiltHook = false;
    MessageSink m_messageSink;
    QWidget* m_messageParent = nullptr;
    // The press path of a mouse selection.
    std::unique_ptr<CCursorPath> m_pressPath;
};

}  // namespace formula
