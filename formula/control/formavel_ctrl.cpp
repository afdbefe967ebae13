// The dispatch members of the formula control and its events.
#include "formula/control/formavel_ctrl.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

#include "formula/control/formavel_widget.h"
#include "formula/edit/selection.h"
#include "formula/env/tool_table.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/messages.h"
#include "formula/transform/multi_selection.h"
#include "formula/transform/redundant_brackets.h"

namespace formula::control {

using namespace platform::com;

namespace {

constexpr int kMsgViewerFailed = 1002;
constexpr int kMsgEditorFailed = 1003;
constexpr int kMsgTopLeftRefused = 1007;
constexpr int kMsgUnknownLexem = 1008;
constexpr int kMsgCopied = 1034;

// AddLexem codes 1..14 as palette commands; 0 where the code has none.
constexpr int kAddLexemTools[] = {0, 264, 0, 277, 279, 271, 269, 273, 275, 227, 229, 213, 215, 217, 219};

VARIANT_BOOL answer(bool value, VARIANT_BOOL trueValue = kTrue)
{
    return value ? trueValue : kFalse;
}

}  // namespace

CFormavelCtrl::CFormavelCtrl() : m_events(make<ConnectionPoint>(DIID__DFormavelEvents))
{
    m_transformer = std::make_unique<CTransformer>(m_env, this);
    // A formula replaced in transformer mode loses its redundant brackets,
    // as after every change the transformer makes.
    m_env.SetTreeRebuiltHook([](CFormulaEnv& env) { formula::RemoveRedundantBrackets(env); });
}

CFormavelCtrl::~CFormavelCtrl()
{
    PaletteManager::instance().ownerGone(this);
    if (m_widget) {
        m_widget->detach();
        m_widget->hide();
        m_widget->deleteLater();
        m_widget = nullptr;
    }
}

HRESULT CFormavelCtrl::FindConnectionPoint(const IID& events, IConnectionPoint** point)
{
    return m_events->offer(events, point);
}

QWidget* CFormavelCtrl::createWindow(QWidget* parent)
{
    if (!parent) {
        return nullptr;
    }
    if (!m_widget) {
        m_widget = new FormavelWidget(parent, this);
        m_env.SetMessageParent(m_widget);
        m_grid = GridSettings{};
        m_widget->show();
    }
    return m_widget;
}

QWidget* CFormavelCtrl::window()
{
    return m_widget;
}

// ---- Events -------------------------------------------------------------

void CFormavelCtrl::fireFormulaChanged()
{
    m_events->fire(event::FormulaChanged);
}

void CFormavelCtrl::OnOperationLClick()
{
    m_events->fire(event::OperationLClick);
}

void CFormavelCtrl::OnOperationRClick(int vertex, const std::string& data)
{
    m_events->fire(event::OperationRClick, {std::int32_t{vertex}, data});
}

void CFormavelCtrl::OnOperationDblClick(int vertex, const std::string& data)
{
    m_events->fire(event::OperationDblClick, {std::int32_t{vertex}, data});
}

void CFormavelCtrl::OnOperationDragDrop(int vertex, const std::string& sourceData, const std::string& destinationData)
{
    m_events->fire(event::OperationDragDrop, {std::int32_t{vertex}, sourceData, destinationData});
}

void CFormavelCtrl::OnFormulaTransformed()
{
    m_events->fire(event::FormulaTransformed);
}

void CFormavelCtrl::insertTool(int toolId)
{
    if (m_env.InsertTool(toolId) == ToolResult::Done) {
        repaint();
        fireFormulaChanged();
    }
}

QWidget* CFormavelCtrl::paletteParent()
{
    return m_widget;
}

void CFormavelCtrl::toolsDialogClosed()
{
    if (m_widget) {
        m_events->fire(event::ToolsDialogClosed);
    }
}

// ---- Helpers --------------------------------------------------------------

void CFormavelCtrl::repaint()
{
    if (m_widget) {
        m_widget->update();
    }
}

void CFormavelCtrl::message(int id, MessageIcon icon)
{
    m_env.ShowMessage(formula::GetMessageText(id), icon);
}

void CFormavelCtrl::copyAllWithMessage()
{
    m_env.CopyAll();
    message(kMsgCopied);
}

bool CFormavelCtrl::fromLexemText(const std::string& text)
{
    EnvError error;
    const bool ok = m_env.SetLexemText(text, error);
    if (!ok) {
        m_env.ShowMessage(error.message, MessageIcon::Information);
    }
    return ok;
}

// ---- Properties -------------------------------------------------------------

void CFormavelCtrl::setBackColor(OLE_COLOR colour)
{
    m_backColor = colour;
    repaint();
}

void CFormavelCtrl::setLocked(VARIANT_BOOL locked)
{
    m_locked = locked;
    m_transformer->SetLocked(isLocked());
    m_modified = true;
}

void CFormavelCtrl::setScrollingLocked(VARIANT_BOOL locked)
{
    m_scrollingLocked = locked;
    m_modified = true;
}

void CFormavelCtrl::setEliminateBrackets(VARIANT_BOOL on)
{
    m_eliminateBrackets = on;
    m_modified = true;
}

void CFormavelCtrl::setShowAggregativeSymbol(VARIANT_BOOL show)
{
    m_showAggregate = show;
    m_env.Style().showAggregate = isVariantTrue(show);
    m_env.MarkLayoutStale();
    m_modified = true;
    repaint();
}

void CFormavelCtrl::setColorAggregativeSymbol(OLE_COLOR colour)
{
    m_aggregateColour = colour;
    m_env.Style().aggregateColour = colour;
    m_modified = true;
    repaint();
}

void CFormavelCtrl::setCaption(const std::string& caption)
{
    m_caption = caption;
    repaint();
}

void CFormavelCtrl::setBorderStyle(std::int16_t style)
{
    m_borderStyle = style;
    repaint();
}

void CFormavelCtrl::setAppearance(std::int16_t appearance)
{
    m_appearance = appearance;
    repaint();
}

// ---- Texts and modes --------------------------------------------------------

std::string CFormavelCtrl::GetLexemText() const
{
    return m_env.GetLexemText();
}

void CFormavelCtrl::SetLexemText(const std::string& text)
{
    if (fromLexemText(text)) {
        repaint();
        m_modified = true;
        fireFormulaChanged();
    }
}

std::int16_t CFormavelCtrl::GetState() const
{
    const int mode = static_cast<int>(m_env.Mode());
    return static_cast<std::int16_t>(mode >= 0 && mode <= 3 ? mode : 0);
}

void CFormavelCtrl::SetState(std::int16_t state)
{
    switch (state) {
    case 1:
        UseViewer();
        break;
    case 2:
        UseEditor();
        break;
    case 3:
        UseTransformer();
        break;
    default:
        m_transformer->ResetOperation();
        m_env.SetNoneMode();
        repaint();
        break;
    }
    m_modified = true;
}

void CFormavelCtrl::UseEditor()
{
    if (!m_env.SetEditorMode()) {
        message(kMsgEditorFailed);
    }
    repaint();
}

void CFormavelCtrl::UseViewer()
{
    if (!m_env.SetViewerMode()) {
        message(kMsgViewerFailed);
    }
    repaint();
}

VARIANT_BOOL CFormavelCtrl::UseTransformer()
{
    const std::string saved = m_env.GetLexemText();
    const bool ok = m_env.SetTransformerMode();
    if (ok) {
        m_transformer->RemoveRedundantBrackets();
        m_transformer->ResetOperation();
        PaletteManager::instance().hide();
    } else {
        EnvError error;
        m_env.SetLexemText(saved, error);
    }
    repaint();
    return answer(ok);
}

std::string CFormavelCtrl::GetMathMLText() const
{
    return m_env.GetMathMLText();
}

std::string CFormavelCtrl::GetAplanText() const
{
    return m_env.GetAplanText();
}

VARIANT_BOOL CFormavelCtrl::SetAplanText(const std::string& text)
{
    EnvError error;
    if (!m_env.SetAplanText(text, error)) {
        m_env.ShowMessage(error.message, MessageIcon::Information);
        return kFalse;
    }
    if (isTrue(m_eliminateBrackets)) {
        const bool hadTree = m_env.HasTreeHolder();
        m_env.UseOperationTree(true);
        if (m_env.RebuildTree() && m_env.TreeRoot()) {
            formula::RemoveRedundantBrackets(m_env);
        }
        if (!hadTree) {
            m_env.UseOperationTree(false);
        }
    }
    repaint();
    fireFormulaChanged();
    return kTrueOne;
}

VARIANT_BOOL CFormavelCtrl::SetMathMLText(const std::string& text)
{
    EnvError error;
    if (!m_env.SetMathMLText(text, error)) {
        m_env.ShowMessage(error.message, MessageIcon::Information);
        return kFalse;
    }
    repaint();
    fireFormulaChanged();
    return kTrue;
}

void CFormavelCtrl::SetOperationResult(VARIANT_BOOL success, const std::string& data)
{
    m_transformer->SetOperationResult(isTrue(success), data, true);
    repaint();
}

VARIANT_BOOL CFormavelCtrl::SetLexemOperationResult(VARIANT_BOOL success, const std::string& lexemText)
{
    m_transformer->SetOperationResult(isTrue(success), lexemText, false);
    repaint();
    return kTrueOne;
}

// ---- Editing ------------------------------------------------------------------

VARIANT_BOOL CFormavelCtrl::Copy()
{
    if (!m_env.Selection()) {
        return kFalse;
    }
    return answer(m_env.Copy());
}

VARIANT_BOOL CFormavelCtrl::Paste()
{
    if (m_env.Mode() != FormulaMode::Editor) {
        return kFalse;
    }
    m_env.Paste();
    repaint();
    fireFormulaChanged();
    return kTrue;
}

void CFormavelCtrl::Clear()
{
    if (m_env.Mode() != FormulaMode::Editor) {
        return;
    }
    m_env.Reset();
    repaint();
    fireFormulaChanged();
}

VARIANT_BOOL CFormavelCtrl::DeleteSelection()
{
    if (m_env.Mode() != FormulaMode::Editor || !m_env.Selection() || m_env.Selection()->IsEmpty()) {
        return kFalse;
    }
    m_env.DeleteSelection();
    repaint();
    fireFormulaChanged();
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::Cut()
{
    if (m_env.Mode() != FormulaMode::Editor) {
        return kFalse;
    }
    if (isTrue(Copy()) && isTrue(DeleteSelection())) {
        repaint();
        return kTrueOne;
    }
    return kFalse;
}

VARIANT_BOOL CFormavelCtrl::CopyAll()
{
    m_env.CopyAll();
    return kFalse;
}

VARIANT_BOOL CFormavelCtrl::CutAll()
{
    m_env.CopyAll();
    return kTrueOne;
}

VARIANT_BOOL CFormavelCtrl::PasteAll(std::string*)
{
    Paste();
    return kTrueOne;
}

VARIANT_BOOL CFormavelCtrl::Undo()
{
    const bool done = m_env.Undo();
    repaint();
    return answer(done);
}

VARIANT_BOOL CFormavelCtrl::Redo()
{
    const bool done = m_env.Redo();
    repaint();
    return answer(done);
}

VARIANT_BOOL CFormavelCtrl::CanUndo() const
{
    return answer(m_env.CanUndo(), kTrueOne);
}

VARIANT_BOOL CFormavelCtrl::CanRedo() const
{
    return answer(m_env.CanRedo(), kTrueOne);
}

VARIANT_BOOL CFormavelCtrl::AddLexem(std::int32_t lexType)
{
    const int tool = lexType >= 1 && lexType <= 14 ? kAddLexemTools[lexType] : 0;
    if (tool == 0) {
        message(kMsgUnknownLexem);
        return kFalse;
    }
    insertTool(tool);
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::AddTool(std::int32_t)
{
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::AddToolsGroup(std::int32_t)
{
    return kTrue;
}

VARIANT_BOOL CFormavelCtrl::GetSelectedLexemText(std::string* text)
{
    if (m_env.Selection() && !m_env.Selection()->IsEmpty()) {
        *text = m_env.Selection()->GetLexemText();
        return kTrue;
    }
    if (!m_transformer->MultiSelection().Empty()) {
        *text = m_transformer->MultiSelection().GetLexemText();
        return kTrue;
    }
    return kFalse;
}

// A text the Aplan writer could not write in full is never the formula that
// a host would send on, so it is not valid in any mode.
VARIANT_BOOL CFormavelCtrl::IsFormulaValid()
{
    if (m_env.IsAplanIncomplete()) {
        return kFalse;
    }
    if (m_env.Mode() == FormulaMode::Transformer && m_env.TreeRoot()) {
        return kTrue;
    }
    return answer(m_env.IsFormulaValid(), kTrueOne);
}

VARIANT_BOOL CFormavelCtrl::GetValidAplanText(std::string* text)
{
    if (!isTrue(IsFormulaValid())) {
        return kFalse;
    }
    *text = m_env.GetAplanText();
    return kTrueOne;
}

std::int32_t CFormavelCtrl::IsGraficFormulaValid(std::int32_t flags)
{
    return CheckGraphicFormula(m_env, flags);
}

// ---- Palettes, language, class ------------------------------------------------

VARIANT_BOOL CFormavelCtrl::ShowToolsDlg(const std::string&)
{
    PaletteManager& palettes = PaletteManager::instance();
    palettes.setOwner(this);
    return answer(palettes.show());
}

VARIANT_BOOL CFormavelCtrl::HideToolsDlg(const std::string&)
{
    PaletteManager::instance().hide();
    return kTrue;
}

void CFormavelCtrl::SetLanguge(std::int32_t id)
{
    SetMessageLanguage(id >= 0 && id < kMessageLanguages ? id : 0);
}

std::int32_t CFormavelCtrl::GetLanguage() const
{
    return GetMessageLanguage();
}

VARIANT_BOOL CFormavelCtrl::SetSchoolClass(std::int32_t classId)
{
    return answer(formula::SetSchoolClass(classId), kTrueOne);
}

// ---- Fonts, position, grid, size ------------------------------------------------

// The new size is laid out at once, so the next optimal size is right.
void CFormavelCtrl::SetDefultFontSize(std::int32_t width, std::int32_t height)
{
    m_env.Style().baseFont.width = width;
    m_env.Style().baseFont.height = height;
    m_env.MarkLayoutStale();
    repaint();
}

std::int32_t CFormavelCtrl::GetDefaulFontWidth() const
{
    return m_env.Style().baseFont.width;
}

std::int32_t CFormavelCtrl::GetDefaultFontHeight() const
{
    return m_env.Style().baseFont.height;
}

void CFormavelCtrl::SetTopLeftPosition(std::int32_t x, std::int32_t y)
{
    if (!m_env.ReferenceIsTopLeft()) {
        message(kMsgTopLeftRefused);
        return;
    }
    m_env.SetPosition({x, y});
    repaint();
}

void CFormavelCtrl::SetGridData(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy,
                                VARIANT_BOOL showVertical, VARIANT_BOOL showHorizontal, std::int32_t colour)
{
    m_grid.originX = x;
    m_grid.originY = y;
    m_grid.dx = dx;
    m_grid.dy = dy;
    m_grid.showVertical = isTrue(showVertical);
    m_grid.showHorizontal = isTrue(showHorizontal);
    m_grid.colour = static_cast<OLE_COLOR>(colour);
    repaint();
}

void CFormavelCtrl::optimalSize(std::int32_t& cx, std::int32_t& cy)
{
    QtCanvas canvas;
    if (m_env.LayoutStale()) {
        m_env.Layout(canvas);
    }
    int captionWidth = 0;
    int captionHeight = 0;
    if (!m_caption.empty()) {
        const QFontMetrics metrics(m_widget->font());
        captionWidth = metrics.horizontalAdvance(QString::fromStdString(m_caption));
        captionHeight = metrics.height();
    }
    const Box& box = m_env.Root().GetBox();
    const int margin = m_env.Margin();
    cx = std::max(captionWidth, box.width + 2 * margin);
    cy = 2 * margin + box.height + 2 * captionHeight;
}

void CFormavelCtrl::GetOptimalSize(std::int32_t* cx, std::int32_t* cy)
{
    if (!m_widget) {
        *cx = 10;
        *cy = 10;
        return;
    }
    optimalSize(*cx, *cy);
}

std::int32_t CFormavelCtrl::GetOptimalHeight()
{
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    GetOptimalSize(&cx, &cy);
    return cy;
}

std::int32_t CFormavelCtrl::GetOptimalWidth()
{
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    GetOptimalSize(&cx, &cy);
    return cx;
}

// ---- Alt shortcuts ------------------------------------------------------------------

bool CFormavelCtrl::altShortcut(char letter)
{
    struct Shortcut {
        char letter;
        int tool;
    };
    static constexpr Shortcut kShortcuts[] = {
        {'A', 275}, {'B', 239}, {'D', 290}, {'E', 211}, {'F', 243}, {'G', 223}, {'I', 225},
        {'J', 219}, {'L', 227}, {'M', 229}, {'N', 242}, {'O', 228}, {'P', 230}, {'Q', 279},
        {'R', 267}, {'S', 273}, {'T', 240}, {'U', 224}, {'W', 241}, {'X', 277},
    };
    if (m_env.Mode() != FormulaMode::Editor) {
        return false;
    }
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.letter == letter) {
            if (const ToolInfo* tool = FindTool(shortcut.tool)) {
                m_env.InsertElement(MakeToolLexem(*tool));
            }
            repaint();
            fireFormulaChanged();
            return true;
        }
    }
    return false;
}

// ---- Persistence ----------------------------------------------------------------------

HRESULT CFormavelCtrl::InitNew()
{
    m_locked = kFalse;
    m_scrollingLocked = kFalse;
    m_transformer->SetLocked(false);
    m_transformer->ResetOperation();
    m_env.SetNoneMode();
    repaint();
    return platform::S_OK;
}

HRESULT CFormavelCtrl::Load(const PropertyBag& bag)
{
    std::string text;
    std::int16_t state = 0;
    bag.read("LexemText", text);
    bag.read("State", state);
    SetLexemText(text);
    SetState(state);
    OLE_COLOR colour = 0xFFFFFF;
    VARIANT_BOOL locked = kFalse;
    VARIANT_BOOL scrollingLocked = kFalse;
    VARIANT_BOOL eliminate = kFalse;
    bag.read("BackColor", colour);
    bag.read("Locked", locked);
    bag.read("ScrollingLocked", scrollingLocked);
    bag.read("EliminateBrackets", eliminate);
    setBackColor(colour);
    setLocked(locked);
    setScrollingLocked(scrollingLocked);
    setEliminateBrackets(eliminate);
    return platform::S_OK;
}

HRESULT CFormavelCtrl::Save(PropertyBag& bag)
{
    bag.write("LexemText", m_env.GetLexemText());
    bag.write("State", GetState());
    bag.write("BackColor", m_backColor);
    bag.write("Locked", m_locked);
    bag.write("ScrollingLocked", m_scrollingLocked);
    bag.write("EliminateBrackets", m_eliminateBrackets);
    m_modified = false;
    return platform::S_OK;
}

}  // namespace formula::control
