#pragma once
// The host side of the formula control: the wrapper window CSymbrantCtrl,
// which calls _DFormavel by dispid, the listener IFormulaEventListener and
// the event sink CSymbrantEvents, which hands every event of one control to
// its listener unchanged.
//
//   CSymbrantCtrl formula;
//   formula.Create("", WS_CHILD | WS_VISIBLE, QRect(0, 0, 300, 60), this, 1001);
//   CSymbrantEvents events(this);           // this: an IFormulaEventListener
//   events.Advise(&formula, nullptr);
//   ...
//   events.Unadvise();                      // before the control goes
//
// Without a control (a failed Create) the members answer FALSE, 0 or an
// empty text and change nothing. A failing call on a control throws
// platform::com::Error.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/connection_point.h"
#include "platform/com/variant.h"
#include "solvehost/control_wrapper.h"

namespace solvehost {

using platform::com::OLE_COLOR;

class CSymbrantCtrl : public CControlWrapper {
public:
    // Makes the formula control by its CLSID at rect in parent.
    bool Create(const QString& name, WindowStyle style, const QRect& rect, QWidget* parent, int id);

    std::string GetMathMLText();
    std::string GetAplanText();
    void SetLexemText(const std::string& text);
    std::string GetLexemText();
    void UseEditor();
    bool Paste();
    bool ShowToolsDlg(const std::string& dialogId);
    bool HideToolsDlg(const std::string& dialogId);
    bool SetAplanText(const std::string& text);
    void UseViewer();
    void SetOperationResult(bool success, const std::string& data);
    // 10 by 10 while the control has no window; both 0 without a control.
    void GetOptimalSize(std::int32_t* width, std::int32_t* height);
    bool Undo();
    bool CanUndo();
    bool Redo();
    bool CanRedo();
    void SetGridData(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy, bool showVertical,
                     bool showHorizontal, std::int32_t colour);
    bool IsFormulaValid();
    void SetLanguge(std::int32_t id);
    bool SetSchoolClass(std::int32_t classId);
    // True with the selected part as lexeme text in *text; *text is
    // untouched when nothing is selected.
    bool GetSelectedLexemText(std::string* text);
    bool CopyAll();
    bool UseTransformer();
    std::int32_t IsGraficFormulaValid(std::int32_t checkFlags);
    bool SetMathMLText(const std::string& text);
    // 0 none, 1 viewer, 2 editor, 3 transformer.
    std::int16_t GetState();

    OLE_COLOR GetBackColor();
    void SetBackColor(OLE_COLOR colour);
    bool GetLocked();
    void SetLocked(bool locked);
    bool GetEliminateBrackets();
    void SetEliminateBrackets(bool on);
    bool GetShowAggregativeSymbol();
    void SetShowAggregativeSymbol(bool show);

private:
    bool callBool(DISPID id);
};

// The formula control's number of the pupil's language setting, for
// SetLanguge: 2 for Ukrainian, else 0 (English).
std::int32_t PupilFormulaLanguage();

// The receiver of one formula control's events. Every operation does nothing
// unless a host overrides it. The texts belong to the sender: copy what you keep.
class IFormulaEventListener {
public:
    virtual ~IFormulaEventListener() = default;

    virtual void OnOperationLClick() {}
    virtual void OnOperationDragDrop(std::int32_t /*vertex*/, const std::string& /*sourceData*/,
                                     const std::string& /*destinationData*/)
    {
    }
    virtual void OnOperationRClick(std::int32_t /*vertex*/, const std::string& /*data*/) {}
    virtual void OnOperationDblClick(std::int32_t /*vertex*/, const std::string& /*data*/) {}
    virtual void OnFormulaTransformed() {}
    virtual void OnFormulaChanged() {}
    virtual void OnToolsDialogClosed() {}
};

// Connects to one formula control's _DFormavelEvents and forwards each event
// to the listener. A sink still connected when it is destroyed disconnects.
class CSymbrantEvents {
public:
    explicit CSymbrantEvents(IFormulaEventListener* listener = nullptr);
    ~CSymbrantEvents();
    CSymbrantEvents(const CSymbrantEvents&) = delete;
    CSymbrantEvents& operator=(const CSymbrantEvents&) = delete;

    // Connects to the control; a non-null listener replaces the stored one.
    // Ignored while connected; stays unconnected when the control has none
    // (a failed Create) or offers no _DFormavel or no events.
    void Advise(CSymbrantCtrl* control, IFormulaEventListener* listener);
    // Disconnects; nothing when not connected.
    void Unadvise();
    bool IsConnected() const { return static_cast<bool>(m_source); }

private:
    void onEvent(DISPID id, std::span<const platform::com::Variant> args);

    std::shared_ptr<CSymbrantEvents*> m_self;
    platform::com::ComPtr<platform::com::EventSink> m_sink;
    platform::com::ComPtr<_DFormavel> m_source;
    std::uint32_t m_cookie = 0;
    IFormulaEventListener* m_listener;
};

}  // namespace solvehost
