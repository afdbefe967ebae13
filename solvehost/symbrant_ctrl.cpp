#include "solvehost/symbrant_ctrl.h"

#include "shared/settings.h"

namespace solvehost {

using platform::com::isTrue;
using platform::com::VARIANT_BOOL;
namespace disp = formavel::disp;
namespace event = formavel::event;

bool CSymbrantCtrl::Create(const QString& name, WindowStyle style, const QRect& rect, QWidget* parent, int id)
{
    return CreateControl(formavel::CLSID_Formavel, name, style, rect, parent, id);
}

std::int32_t PupilFormulaLanguage() { return shared::CSettings::Instance().GetLanguage() == "ua" ? 2 : 0; }

bool CSymbrantCtrl::callBool(DISPID id)
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(id));
}

std::string CSymbrantCtrl::GetMathMLText()
{
    return Driver() ? Driver().invoke<std::string>(disp::GetMathMLText) : std::string();
}

std::string CSymbrantCtrl::GetAplanText()
{
    return Driver() ? Driver().invoke<std::string>(disp::GetAplanText) : std::string();
}

void CSymbrantCtrl::SetLexemText(const std::string& text)
{
    if (Driver())
        Driver().setProperty(disp::LexemText, text);
}

std::string CSymbrantCtrl::GetLexemText()
{
    return Driver() ? Driver().getProperty<std::string>(disp::LexemText) : std::string();
}

void CSymbrantCtrl::UseEditor()
{
    if (Driver())
        Driver().invoke(disp::UseEditor);
}

bool CSymbrantCtrl::Paste() { return callBool(disp::Paste); }

bool CSymbrantCtrl::ShowToolsDlg(const std::string& dialogId)
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(disp::ShowToolsDlg, dialogId));
}

bool CSymbrantCtrl::HideToolsDlg(const std::string& dialogId)
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(disp::HideToolsDlg, dialogId));
}

bool CSymbrantCtrl::SetAplanText(const std::string& text)
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(disp::SetAplanText, text));
}

void CSymbrantCtrl::UseViewer()
{
    if (Driver())
        Driver().invoke(disp::UseViewer);
}

void CSymbrantCtrl::SetOperationResult(bool success, const std::string& data)
{
    if (Driver())
        Driver().invoke(disp::SetOperationResult, success, data);
}

void CSymbrantCtrl::GetOptimalSize(std::int32_t* width, std::int32_t* height)
{
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    if (Driver())
        Driver().invoke(disp::GetOptimalSize, &cx, &cy);
    if (width)
        *width = cx;
    if (height)
        *height = cy;
}

bool CSymbrantCtrl::Undo() { return callBool(disp::Undo); }
bool CSymbrantCtrl::CanUndo() { return callBool(disp::CanUndo); }
bool CSymbrantCtrl::Redo() { return callBool(disp::Redo); }
bool CSymbrantCtrl::CanRedo() { return callBool(disp::CanRedo); }

void CSymbrantCtrl::SetGridData(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy, bool showVertical,
                                bool showHorizontal, std::int32_t colour)
{
    if (Driver())
        Driver().invoke(disp::SetGridData, x, y, dx, dy, showVertical, showHorizontal, colour);
}

bool CSymbrantCtrl::IsFormulaValid() { return callBool(disp::IsFormulaValid); }

void CSymbrantCtrl::SetLanguge(std::int32_t id)
{
    if (Driver())
        Driver().invoke(disp::SetLanguge, id);
}

bool CSymbrantCtrl::SetSchoolClass(std::int32_t classId)
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(disp::SetSchoolClass, classId));
}

bool CSymbrantCtrl::GetSelectedLexemText(std::string* text)
{
    if (!Driver() || !text)
        return false;
    // The control writes only on success: the caller's text stays otherwise.
    std::string selected = *text;
    if (!isTrue(Driver().invoke<VARIANT_BOOL>(disp::GetSelectedLexemText, &selected)))
        return false;
    *text = std::move(selected);
    return true;
}

bool CSymbrantCtrl::CopyAll() { return callBool(disp::CopyAll); }
bool CSymbrantCtrl::UseTransformer() { return callBool(disp::UseTransformer); }

std::int32_t CSymbrantCtrl::IsGraficFormulaValid(std::int32_t checkFlags)
{
    return Driver() ? Driver().invoke<std::int32_t>(disp::IsGraficFormulaValid, checkFlags) : 0;
}

bool CSymbrantCtrl::SetMathMLText(const std::string& text)
{
    return Driver() && isTrue(Driver().invoke<VARIANT_BOOL>(disp::SetMathMLText, text));
}

std::int16_t CSymbrantCtrl::GetState()
{
    return Driver() ? Driver().getProperty<std::int16_t>(disp::State) : std::int16_t{0};
}

OLE_COLOR CSymbrantCtrl::GetBackColor()
{
    return Driver() ? Driver().getProperty<OLE_COLOR>(disp::BackColor) : OLE_COLOR{0};
}

void CSymbrantCtrl::SetBackColor(OLE_COLOR colour)
{
    if (Driver())
        Driver().setProperty(disp::BackColor, colour);
}

bool CSymbrantCtrl::GetLocked()
{
    return Driver() && isTrue(Driver().getProperty<VARIANT_BOOL>(disp::Locked));
}

void CSymbrantCtrl::SetLocked(bool locked)
{
    if (Driver())
        Driver().setProperty(disp::Locked, locked);
}

bool CSymbrantCtrl::GetEliminateBrackets()
{
    return Driver() && isTrue(Driver().getProperty<VARIANT_BOOL>(disp::EliminateBrackets));
}

void CSymbrantCtrl::SetEliminateBrackets(bool on)
{
    if (Driver())
        Driver().setProperty(disp::EliminateBrackets, on);
}

bool CSymbrantCtrl::GetShowAggregativeSymbol()
{
    return Driver() && isTrue(Driver().getProperty<VARIANT_BOOL>(disp::ShowAggregativeSymbol));
}

void CSymbrantCtrl::SetShowAggregativeSymbol(bool show)
{
    if (Driver())
        Driver().setProperty(disp::ShowAggregativeSymbol, show);
}

// ---- CSymbrantEvents ----

CSymbrantEvents::CSymbrantEvents(IFormulaEventListener* listener)
    : m_self(std::make_shared<CSymbrantEvents*>(this)), m_listener(listener)
{
    // The sink object may outlive this one inside a source's event loop: it
    // reaches this only while this lives.
    m_sink = platform::com::make<platform::com::EventSink>(
        [self = m_self](DISPID id, std::span<const platform::com::Variant> args) {
            if (*self)
                (*self)->onEvent(id, args);
        });
}

CSymbrantEvents::~CSymbrantEvents()
{
    Unadvise();
    *m_self = nullptr;
}

void CSymbrantEvents::Advise(CSymbrantCtrl* control, IFormulaEventListener* listener)
{
    if (m_source)
        return;
    if (!control || !control->GetControl())
        return;
    platform::com::ComPtr<platform::com::IDispatch> object(control->GetControl());
    platform::com::ComPtr<_DFormavel> source;
    if (platform::Failed(object.query(source)))
        return;
    if (listener)
        m_listener = listener;
    std::uint32_t cookie = 0;
    if (platform::Failed(
            platform::com::connectionAdvise(source.get(), formavel::DIID__DFormavelEvents, m_sink.get(), &cookie)))
        return;
    m_source = std::move(source);
    m_cookie = cookie;
}

void CSymbrantEvents::Unadvise()
{
    if (!m_source)
        return;
    // Cleared first: a listener called while disconnecting finds the sink free.
    const platform::com::ComPtr<_DFormavel> source = std::move(m_source);
    m_source = nullptr;
    const std::uint32_t cookie = std::exchange(m_cookie, 0u);
    platform::com::connectionUnadvise(source.get(), formavel::DIID__DFormavelEvents, cookie);
}

void CSymbrantEvents::onEvent(DISPID id, std::span<const platform::com::Variant> args)
{
    IFormulaEventListener* const listener = m_listener;
    if (!listener)
        return;
    std::int32_t vertex = 0;
    std::string first;
    std::string second;
    switch (id) {
    case event::FormulaChanged: listener->OnFormulaChanged(); break;
    case event::OperationDragDrop:
        if (args.size() == 3 && platform::Succeeded(args[0].get(vertex)) && platform::Succeeded(args[1].get(first)) &&
            platform::Succeeded(args[2].get(second)))
            listener->OnOperationDragDrop(vertex, first, second);
        break;
    case event::OperationLClick: listener->OnOperationLClick(); break;
    case event::OperationRClick:
        if (args.size() == 2 && platform::Succeeded(args[0].get(vertex)) && platform::Succeeded(args[1].get(first)))
            listener->OnOperationRClick(vertex, first);
        break;
    case event::OperationDblClick:
        if (args.size() == 2 && platform::Succeeded(args[0].get(vertex)) && platform::Succeeded(args[1].get(first)))
            listener->OnOperationDblClick(vertex, first);
        break;
    case event::FormulaTransformed: listener->OnFormulaTransformed(); break;
    case event::ToolsDialogClosed: listener->OnToolsDialogClosed(); break;
    default: break;
    }
}

}  // namespace solvehost
