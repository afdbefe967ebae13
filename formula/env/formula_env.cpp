// The environment's modes, texts, undo, layout and drawing.
#include "formula/env/formula_env.h"

#include <algorithm>

#include "formula/edit/formula_editor.h"
#include "formula/edit/selection.h"
#include "formula/env/debug_log.h"
#include "formula/env/undo_history.h"
#include "formula/layout/formula_layout.h"
#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/lexem_parser.h"
#include "formula/notation/mathml_writer.h"
#include "formula/optree/operation_tree.h"
#include "platform/message_box.h"

namespace formula {
namespace {

constexpr int kSyntaxError = 3;
constexpr int kCannotRebuildTree = 1009;

void DefaultSink(QWidget* parent, std::string_view text, MessageIcon icon)
{
    platform::MessageIcon boxIcon = platform::MessageIcon::Information;
    switch (icon) {
    case MessageIcon::Information:
        boxIcon = platform::MessageIcon::Information;
        break;
    case MessageIcon::Exclamation:
        boxIcon = platform::MessageIcon::Warning;
        break;
    }
    platform::showMessage(text, "", boxIcon, platform::MessageButtons::Ok, parent);
}

}  // namespace

CFormulaEnv::CFormulaEnv()
{
    m_root.SetOwner(this, nullptr);
    m_root.InsertNewRow(nullptr, false);
}

// Clients are not told: they belong to objects that go with the environment.
CFormulaEnv::~CFormulaEnv()
{
    m_tree.reset();
    m_editor.reset();
    m_selection.reset();
    m_undo.reset();
}

COperationNode* CFormulaEnv::TreeRoot() const
{
    return m_tree.get();
}

// ---- Modes -----------------------------------------------------------------

bool CFormulaEnv::SetViewerMode()
{
    if (Mode() == FormulaMode::Viewer) {
        return true;
    }
    UseEditor(false);
    UseSelection(false);
    UseOperationTree(false);
    UseUndoHistory(false);
    SetMode(FormulaMode::Viewer);
    return true;
}

bool CFormulaEnv::SetEditorMode()
{
    if (Mode() == FormulaMode::Editor) {
        return true;
    }
    UseSelection(true);
    UseEditor(true);
    UseOperationTree(false);
    UseUndoHistory(true);
    m_selection->Clear(true);
    SetMode(FormulaMode::Editor);
    m_layoutStale = true;
    return true;
}

bool CFormulaEnv::SetTransformerMode()
{
    if (Mode() == FormulaMode::Transformer) {
        return true;
    }
    UseOperationTree(true);
    if (!RebuildTree()) {
        UseOperationTree(false);
        return false;
    }
    UseEditor(false);
    UseSelection(true);
    UseUndoHistory(false);
    m_selection->Clear(true);
    SetMode(FormulaMode::Transformer);
    return true;
}

bool CFormulaEnv::SetNoneMode()
{
    SetMode(FormulaMode::None);
    Reset();
    UseEditor(false);
    UseSelection(false);
    UseOperationTree(false);
    return true;
}

void CFormulaEnv::UseEditor(bool create)
{
    if (create && !m_editor) {
        UseSelection(true);
        m_editor = std::make_unique<CFormulaEditor>(*this);
    } else if (!create) {
        m_editor.reset();
        m_pressPath.reset();
    }
}

void CFormulaEnv::UseSelection(bool create)
{
    if (create && !m_selection) {
        m_selection = std::make_unique<CSelection>(this);
    } else if (!create && m_selection) {
        m_selection->Clear(true);
        m_selection.reset();
    }
}

void CFormulaEnv::UseOperationTree(bool create)
{
    if (!create) {
        DropTree();
    }
    m_hasTreeHolder = create;
}

void CFormulaEnv::UseUndoHistory(bool create)
{
    if (create && !m_undo) {
        m_undo = std::make_unique<CUndoHistory>();
    } else if (!create) {
        m_undo.reset();
    }
}

void CFormulaEnv::AddClient(IEnvClient* client)
{
    if (client && std::find(m_clients.begin(), m_clients.end(), client) == m_clients.end()) {
        m_clients.push_back(client);
    }
}

void CFormulaEnv::RemoveClient(IEnvClient* client)
{
    m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), client), m_clients.end());
}

void CFormulaEnv::DropTree()
{
    m_tree.reset();
    // A client may detach itself while it is told.
    const std::vector<IEnvClient*> clients = m_clients;
    for (IEnvClient* client : clients) {
        client->OnTreeReset();
    }
}

// ---- Texts -----------------------------------------------------------------

std::string CFormulaEnv::GetLexemText() const
{
    return m_root.LexemText();
}

std::optional<std::string> CFormulaEnv::TextWithoutTrailingLines() const
{
    int lines = m_root.GetRowCount();
    while (lines > 1 && m_root.GetRow(lines - 1)->IsEmpty()) {
        --lines;
    }
    if (lines == m_root.GetRowCount()) {
        return std::nullopt;
    }
    std::string text;
    for (int i = 0; i < lines; ++i) {
        if (i > 0) {
            text += "@#";
        }
        m_root.GetRow(i)->GetLexemText(text);
    }
    return text;
}

std::unique_ptr<CFormulaEnv> CFormulaEnv::WithoutTrailingLines() const
{
    const std::optional<std::string> text = TextWithoutTrailingLines();
    if (!text) {
        return nullptr;
    }
    auto read = std::make_unique<CFormulaEnv>();
    EnvError error;
    return read->SetLexemText(*text, error) ? std::move(read) : nullptr;
}

std::string CFormulaEnv::GetAplanText(bool* incomplete) const
{
    if (const std::unique_ptr<CFormulaEnv> read = WithoutTrailingLines()) {
        return read->GetAplanText(incomplete);
    }
    return AplanText(m_root, incomplete);
}

bool CFormulaEnv::IsAplanIncomplete() const
{
    bool incomplete = false;
    GetAplanText(&incomplete);
    return incomplete;
}

std::string CFormulaEnv::GetMathMLText() const
{
    if (const std::unique_ptr<CFormulaEnv> read = WithoutTrailingLines()) {
        return read->GetMathMLText();
    }
    return MathMLDocument(m_root);
}

void CFormulaEnv::ReplaceFormula(LexemList&& lines)
{
    if (m_selection) {
        m_selection->Clear(false);
    }
    DropTree();
    m_root.DeleteRows(0, m_root.GetRowCount() - 1);
    m_root.GetFirstRow()->InsertLexems(std::move(lines));
    m_layoutStale = true;
}

void CFormulaEnv::AfterReplace()
{
    if (m_selection) {
        m_selection->Clear(false);
    }
    if (m_editor) {
        m_editor->ToEnd();
    }
    m_pressPath.reset();
}

bool CFormulaEnv::SetLexemText(std::string_view text, EnvError& error)
{
    error = {};
    LexemList lines;
    try {
        lines = CLexemParser().Parse(text);
    } catch (const CMEException& e) {
        error = {e.Code(), e.Message()};
        return false;
    }
    ReplaceFormula(std::move(lines));
    AfterReplace();
    if (!m_hasTreeHolder) {
        return true;
    }
    if (!RebuildTree()) {
        error = {kSyntaxError, std::string(GetMessageText(kCannotRebuildTree))};
        return false;
    }
    if (m_treeRebuiltHook && !m_inTreeRebuiltHook) {
        m_inTreeRebuiltHook = true;
        m_treeRebuiltHook(*this);
        m_inTreeRebuiltHook = false;
    }
    m_layoutStale = true;
    return true;
}

bool CFormulaEnv::SetAplanText(std::string_view text, EnvError& error)
{
    std::string lexemText;
    try {
        CLexemParser::ConvertAplanText(text, lexemText);
    } catch (const CMEException& e) {
        error = {e.Code(), e.Message()};
        return false;
    }
    return SetLexemText(lexemText, error);
}

bool CFormulaEnv::SetMathMLText(std::string_view text, EnvError& error)
{
    std::string lexemText;
    try {
        CLexemParser::ConvertMathMLText(text, lexemText);
    } catch (const CMEException& e) {
        error = {e.Code(), e.Message()};
        return false;
    }
    return SetLexemText(lexemText, error);
}

bool CFormulaEnv::CreateLexList(std::string_view text, bool aplan, LexemList& list, EnvError& error)
{
    error = {};
    CDebugLog log;
    log.Open(CDebugLog::kTestLogName, "CreateLexList", true, true);
    bool ok = true;
    try {
        if (aplan) {
            std::string lexemText;
            CLexemParser::ConvertAplanText(text, lexemText);
            log.Write(lexemText);
            list = CLexemParser().Parse(lexemText);
        } else {
            log.Write(text);
            list = CLexemParser().Parse(text);
        }
    } catch (const CMEException& e) {
        error = {e.Code(), e.Message()};
        log.Write(e.Message());
        ok = false;
    }
    log.Close();
    return ok;
}

void CFormulaEnv::Reset()
{
    PushUndoSnapshot();
    ReplaceFormula({});
    AfterReplace();
    PushUndoSnapshot();
}

// ---- Undo ------------------------------------------------------------------
//
// Every edit records the formula before it and after it; a record equal to
// the newest snapshot adds nothing, so each edit is one step and the newest
// snapshot is the formula as it stands. The record before an edit catches a
// formula that changed without one (the host's texts, the formula the editor
// started with), so undoing the edit returns to exactly that formula.

void CFormulaEnv::PushUndoSnapshot()
{
    if (m_undo) {
        m_undo->Push(GetLexemText());
    }
}

bool CFormulaEnv::FormulaUnrecorded() const
{
    const std::string* newest = m_undo ? m_undo->Newest() : nullptr;
    return newest && *newest != GetLexemText();
}

bool CFormulaEnv::Undo()
{
    if (!m_undo) {
        return false;
    }
    // A change since the newest snapshot is the edit this undo takes back.
    PushUndoSnapshot();
    std::optional<std::string> restore;
    if (!m_undo->Undo(restore)) {
        return false;
    }
    Restore(*restore);
    return true;
}

bool CFormulaEnv::Redo()
{
    if (!m_undo) {
        return false;
    }
    // A change since the newest snapshot is a new edit: recording it empties
    // the redo list rather than letting a redo throw it away.
    PushUndoSnapshot();
    std::optional<std::string> restore;
    if (!m_undo->Redo(restore)) {
        return false;
    }
    Restore(*restore);
    return true;
}

void CFormulaEnv::Restore(const std::string& snapshot)
{
    EnvError error;
    SetLexemText(snapshot, error);
    AfterReplace();
    // A snapshot can read back as another text (an index around an indexed
    // function reads as one indexed function): the newest snapshot is the
    // formula as it now stands, or the next undo would take this one for an
    // edit and come back here.
    m_undo->ReplaceNewest(GetLexemText());
}

bool CFormulaEnv::CanUndo() const
{
    return m_undo && (m_undo->CanUndo() || FormulaUnrecorded());
}

bool CFormulaEnv::CanRedo() const
{
    return m_undo && m_undo->CanRedo() && !FormulaUnrecorded();
}

// ---- Layout and drawing ----------------------------------------------------

void CFormulaEnv::SetPosition(Point position)
{
    m_position = position;
    m_layoutStale = true;
}

void CFormulaEnv::Layout(Canvas& canvas)
{
    if (m_topLeftReference) {
        LayoutFormula(canvas, m_root, m_position);
    } else {
        PrepareCanvas(canvas, Style());
        m_root.DoLayout(canvas, m_position.x, m_position.y);
    }
    m_layoutStale = false;
}

void CFormulaEnv::Draw(Canvas& canvas)
{
    // Laid out first: the highlight band is drawn from the boxes.
    if (m_layoutStale) {
        Layout(canvas);
    }
    if (m_selection) {
        m_selection->DrawBackground(canvas);
    }
    for (IEnvClient* client : m_clients) {
        client->DrawBackground(canvas);
    }
    DrawFormula(canvas, m_root);
    if (m_hasFocus) {
        if (const std::optional<Rect> caret = CaretRect()) {
            canvas.FillRect(*caret, 0);
        }
    }
}

std::optional<Rect> CFormulaEnv::CaretRect() const
{
    if (!m_editor || Mode() != FormulaMode::Editor) {
        return std::nullopt;
    }
    return m_editor->CaretRect();
}

// ---- Messages --------------------------------------------------------------

std::string_view CFormulaEnv::GetMessageText(int id) const
{
    return formula::GetMessageText(id);
}

void CFormulaEnv::SetMessageSink(MessageSink sink)
{
    m_messageSink = std::move(sink);
}

void CFormulaEnv::ShowMessage(std::string_view text, MessageIcon icon) const
{
    if (m_messageSink) {
        m_messageSink(text, icon);
    } else {
        DefaultSink(m_messageParent, text, icon);
    }
}

}  // namespace formula
