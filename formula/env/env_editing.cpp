// Editing through the environment: insertion at the cursor with its gates,
// palette commands, keys, typed characters and the mouse of editor mode.
#include "formula/edit/formula_editor.h"
#include "formula/edit/selection.h"
#include "formula/env/formula_env.h"
#include "formula/env/tool_table.h"
#include "formula/model/chars.h"
#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/notation/lexem_parser.h"

namespace formula {
namespace {

// The text of the palette's message for an id it does not hold.
constexpr std::string_view kUnknownTemplate = "Unknown template";

// The Symbol code a relation sign or special atom carries; 0 for any other
// element.
int GatedCode(const CLexem& element)
{
    if (element.Kind() == LexemKind::RelationSign) {
        return AsOperatorSign(&element)->SymbolCode();
    }
    if (const CSpecAtom* atom = AsSpecAtom(&element)) {
        return atom->AtomCode();
    }
    return 0;
}

}  // namespace

bool CFormulaEnv::InsertElement(std::unique_ptr<CLexem> element, bool productSign)
{
    if (!element || !m_editor) {
        return false;
    }
    const int code = GatedCode(*element);
    if (code != 0 && !SymbolAllowed(code, GetSchoolClass())) {
        return false;
    }
    return InsertAtCursor(std::move(element), productSign);
}

bool CFormulaEnv::InsertElementUngated(std::unique_ptr<CLexem> element)
{
    if (!element || !m_editor) {
        return false;
    }
    return InsertAtCursor(std::move(element));
}

bool CFormulaEnv::InsertAtCursor(std::unique_ptr<CLexem> element, bool productSign)
{
    m_pressPath.reset();
    const EditPoint point = m_editor->Point();
    if (!point.row) {
        return false;
    }
    if (m_editor->Depth() >= kMaxInsertDepth) {
        ShowMessage(GetMessageText(msg::TooDeep), MessageIcon::Exclamation);
        return false;
    }
    PushUndoSnapshot();
    CLexemRow& row = *point.row;
    if (IsDigitRow(row)) {
        // The parts of a mixed number refuse anything but digits.
        const int at = row.InsertAfter(point.flat, std::move(element));
        if (at < 0) {
            return false;
        }
        m_editor->EnterAt(row, at);
    } else {
        LexemList list;
        if (productSign) {
            list.push_back(std::make_unique<COperatorSign>('*'));
        }
        list.push_back(std::move(element));
        const RowPos where = InsertListAt(row, point.flat, std::move(list));
        if (!where.row) {
            return false;
        }
        m_editor->EnterAt(*where.row, where.pos);
    }
    m_layoutStale = true;
    PushUndoSnapshot();
    return true;
}

bool CFormulaEnv::InsertTool(const ToolInfo& tool, bool productSign)
{
    return InsertElement(MakeToolLexem(tool), productSign);
}

ToolResult CFormulaEnv::InsertTool(int lexType)
{
    if (Mode() != FormulaMode::Editor || !m_editor) {
        return ToolResult::NotEditor;
    }
    const ToolInfo* tool = FindTool(lexType);
    if (!tool) {
        ShowMessage(kUnknownTemplate, MessageIcon::Information);
        m_layoutStale = true;
        return ToolResult::Unknown;
    }
    InsertTool(*tool);
    return ToolResult::Done;
}

bool CFormulaEnv::InsertLexemText(std::string_view text, EnvError& error)
{
    error = {};
    if (!m_editor) {
        return false;
    }
    LexemList list;
    try {
        list = CLexemParser().Parse(text);
    } catch (const CMEException& e) {
        error = {e.Code(), e.Message()};
        return false;
    }
    m_pressPath.reset();
    const EditPoint point = m_editor->Point();
    if (!point.row) {
        return false;
    }
    if (!FitsTextDepth(*point.row, list)) {
        error = {3, std::string(GetMessageText(msg::TooDeep))};
        return false;
    }
    PushUndoSnapshot();
    const RowPos where = InsertListAt(*point.row, point.flat, std::move(list));
    if (!where.row) {
        return false;
    }
    m_editor->PlaceAt(PointAfter(*where.row, where.pos));
    m_layoutStale = true;
    PushUndoSnapshot();
    return true;
}

KeyResult CFormulaEnv::OnKeyDown(const KeyEvent& key)
{
    KeyResult result;
    // A key ends any mouse selection: its press path may point at lexemes
    // the key removes.
    m_pressPath.reset();
    if (Mode() != FormulaMode::Editor || !m_editor) {
        result.caret = false;
        return result;
    }
    const bool hadRun = m_selection && !m_selection->IsEmpty();
    auto clearHighlight = [&] {
        if (m_selection) {
            m_selection->Clear(true);
        }
    };
    switch (key.virtualKey) {
    case vk::Back:
        PushUndoSnapshot();
        result.repaint = true;
        result.changed = m_editor->Backspace();
        PushUndoSnapshot();
        break;
    case vk::Return:
        PushUndoSnapshot();
        clearHighlight();
        result.repaint = true;
        result.changed = m_editor->SplitLine();
        PushUndoSnapshot();
        break;
    case vk::End:
    case vk::Home:
    case vk::Left:
    case vk::Up:
    case vk::Right:
    case vk::Down:
        if (key.virtualKey == vk::End) {
            m_editor->ToEnd();
        } else if (key.virtualKey == vk::Home) {
            m_editor->ToStart();
        } else if (key.virtualKey == vk::Left) {
            m_editor->MoveLeft();
        } else if (key.virtualKey == vk::Up) {
            m_editor->MoveUp();
        } else if (key.virtualKey == vk::Right) {
            m_editor->MoveRight();
        } else {
            m_editor->MoveDown();
        }
        result.repaint = hadRun;
        clearHighlight();
        break;
    case vk::Insert:
        m_editor->ToggleOverwrite();
        result.caret = false;
        break;
    case vk::Delete:
        result.repaint = true;
        PushUndoSnapshot();
        result.changed = m_editor->Delete(true);
        PushUndoSnapshot();
        break;
    default:
        result.caret = false;
        result.repaint = hadRun;
        clearHighlight();
        break;
    }
    if (result.repaint) {
        m_layoutStale = true;
    }
    return result;
}

bool CFormulaEnv::OnChar(char ch)
{
    m_pressPath.reset();
    if (Mode() != FormulaMode::Editor || !m_editor || !IsFormulaChar(ch)) {
        return false;
    }
    PushUndoSnapshot();
    if (!m_editor->OnChar(ch)) {
        return false;
    }
    m_layoutStale = true;
    PushUndoSnapshot();
    return true;
}

bool CFormulaEnv::DeleteSelection()
{
    if (Mode() != FormulaMode::Editor || !m_editor || !m_selection || m_selection->IsEmpty()) {
        return false;
    }
    m_pressPath.reset();
    PushUndoSnapshot();
    m_editor->DeleteSelection();
    m_layoutStale = true;
    PushUndoSnapshot();
    return true;
}

namespace {

// A fresh path to the point of the laid-out formula; null when the point
// lies outside it.
std::unique_ptr<CCursorPath> HitPath(CAggregateTemplate& root, Point pt)
{
    auto path = std::make_unique<CCursorPath>();
    path->Start(&root, false);
    path->Reset();
    if (!root.HitTest(*path, pt)) {
        return nullptr;
    }
    return path;
}

}  // namespace

bool CFormulaEnv::OnMouseDown(Point pt)
{
    if (Mode() != FormulaMode::Editor || !m_editor) {
        return false;
    }
    const bool hadRun = m_selection && !m_selection->IsEmpty();
    if (m_selection) {
        m_selection->Clear(true);
    }
    m_pressPath = HitPath(m_root, pt);
    if (!m_pressPath) {
        return hadRun;
    }
    static_cast<CCursorPath&>(*m_editor) = *m_pressPath;
    m_editor->ShowCaret();
    return true;
}

bool CFormulaEnv::OnMouseMove(Point pt, bool leftButton)
{
    if (Mode() != FormulaMode::Editor || !m_editor || !m_selection || !leftButton || !m_pressPath) {
        return false;
    }
    const std::unique_ptr<CCursorPath> current = HitPath(m_root, pt);
    if (!current) {
        return false;
    }
    const bool hadRun = !m_selection->IsEmpty();
    const bool selected = m_selection->Extend(*m_pressPath, *current);
    return hadRun || selected;
}

bool CFormulaEnv::OnMouseUp(Point pt)
{
    if (Mode() != FormulaMode::Editor || !m_editor) {
        return false;
    }
    m_pressPath.reset();
    if (!m_selection || m_selection->IsEmpty()) {
        return false;
    }
    if (const std::unique_ptr<CCursorPath> path = HitPath(m_root, pt)) {
        static_cast<CCursorPath&>(*m_editor) = *path;
        return true;
    }
    return false;
}

}  // namespace formula
