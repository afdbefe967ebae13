// The formula control: construction, its window, events, properties, texts and modes.
#include "formula/control/formavel_ctrl.h"

#include <QWidget>

#include "formula/control/formavel_ctrl_detail.h"
#include "formula/control/formavel_widget.h"
#include "formula/model/messages.h"
#include "formula/transform/redundant_brackets.h"

namespace formula::control {

using namespace platform::com;
using namespace detail;

CFormavelCtrl::CFormavelCtrl()
    : m_events(make<ConnectionPoint>(DIID__DFormavelEvents)), m_font(make<FontObject>())
{
    // A host that changes the answered font object changes the caption.
    m_font->setChangeHandler([this] { repaint(); });
    m_transformer = std::make_unique<CTransformer>(m_env, this);
    // A formula replaced in transformer mode loses its redundant brackets,
    // as after every change the transformer makes.
    m_env.SetTreeRebuiltHook([](CFormulaEnv& env) { formula::RemoveRedundantBrackets(env); });
}

CFormavelCtrl::~CFormavelCtrl()
{
    PaletteManager::instance().ownerGone(this);
    // A host may keep the font object after the control has gone.
    m_font->setChangeHandler({});
    if (m_widget) {
        // The window goes with the control, and the palettes with the window
        // (their other owners are told).
        PaletteManager::instance().hide();
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

void CFormavelCtrl::widgetGone()
{
    m_widget = nullptr;
    m_env.SetMessageParent(nullptr);
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

ComPtr<IDispatch> CFormavelCtrl::font() const
{
    return ComPtr<IDispatch>(m_font);
}

void CFormavelCtrl::setFont(IDispatch* font)
{
    FontDescription description;
    if (font) {
        // Read whole before anything changes: a font that cannot be read
        // leaves the control's font as it was.
        if (const HRESULT hr = readFontDescription(font, &description); platform::Failed(hr)) {
            throw Error(hr == platform::E_INVALIDARG ? hr : platform::DISP_E_TYPEMISMATCH, "The value is not a usable font",
                        "Formavel");
        }
    }
    m_font->setDescription(description);
}

QFont CFormavelCtrl::stockFont() const
{
    return toQFont(m_font->description());
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

}  // namespace formula::control
