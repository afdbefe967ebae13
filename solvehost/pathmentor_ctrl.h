#pragma once
// The host side of the guide control: the wrapper window CPathmentorCtrl,
// which keeps the control's _DPathmentor and calls it by dispid, the
// listener IGuideEventListener and the sink CPathmentorCtrlEvents.
//
// Guide members go through the kept _DPathmentor: a failed call, or a call
// with none kept (no control, or one without that interface), throws
// platform::com::Error (E_POINTER for the missing interface).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/connection_point.h"
#include "platform/com/variant.h"
#include "solvehost/control_wrapper.h"

namespace solvehost {

using platform::com::OLE_COLOR;
using platform::com::VARIANT_BOOL;

class CPathmentorCtrl : public CControlWrapper {
public:
    ~CPathmentorCtrl() override;

    // Makes the guide control by its CLSID at rect in parent, then keeps its
    // _DPathmentor; the kept one changes only when the new control offers it.
    // The answer is whether the control was made.
    bool Create(const QString& name, WindowStyle style, const QRect& rect, QWidget* parent, int id);
    // The kept interface (null until a control offered it).
    _DPathmentor* GetGuide() const { return m_guide.get(); }

    bool InitializeGuide();
    bool InitializeGuideContent(const std::string& guideContent);
    bool FillRecomendedCommonChapter(std::uint8_t sign);
    bool ReleaseRecomendedCommonChapter();
    std::string GetGuideDocFile();
    void SetGuideDocFile(const std::string& path);
    OLE_COLOR GetBackColor();
    void SetBackColor(OLE_COLOR colour);
    OLE_COLOR GetForeColor();
    void SetForeColor(OLE_COLOR colour);
    std::uint8_t GetSendExtendedInformation();
    void SetSendExtendedInformation(std::uint8_t on);
    std::uint8_t GetShowExtendedTransformations();
    void SetShowExtendedTransformations(std::uint8_t on);
    // 1 while a transformation is being applied, 0 afterwards.
    std::uint8_t GetLocked();
    void SetLocked(std::uint8_t locked);
    std::uint8_t GetShowRecomendedChapter();
    void SetShowRecomendedChapter(std::uint8_t on);
    OLE_COLOR GetBarFrameColor();
    void SetBarFrameColor(OLE_COLOR colour);
    bool ParseLanguageFile(const std::string& fullFileName);

private:
    platform::com::DispatchDriver guide() const;

    platform::com::ComPtr<_DPathmentor> m_guide;
};

// The receiver of the guide's requests, taken as a second base by a host window.
class IGuideEventListener {
public:
    virtual ~IGuideEventListener() = default;

    virtual void OnApplyingTransformationEx(std::uint32_t aplanFunction, std::uint8_t trType,
                                            const std::string& action, VARIANT_BOOL needDialog,
                                            VARIANT_BOOL needAllExpression, VARIANT_BOOL multyFormulaChoice,
                                            std::uint8_t formulaIndex, const std::string& additionalParams) = 0;
    virtual void OnApplyingTransformation(std::uint32_t aplanFunction, const std::string& action,
                                          const std::string& additionalParams) = 0;
    virtual void OnShowExtendedHowTodo(const std::string& howToDo) = 0;
};

// Connects to one guide control's _DPathmentorEvents and forwards each event
// to the listener fixed at construction; without a listener the two apply
// events show an error message. A sink still connected when it is destroyed
// disconnects.
class CPathmentorCtrlEvents {
public:
    explicit CPathmentorCtrlEvents(IGuideEventListener* listener);
    ~CPathmentorCtrlEvents();
    CPathmentorCtrlEvents(const CPathmentorCtrlEvents&) = delete;
    CPathmentorCtrlEvents& operator=(const CPathmentorCtrlEvents&) = delete;

    // Ignored while connected; stays unconnected when the wrapper holds no
    // control or its control offers no _DPathmentor or no events.
    void Advise(CPathmentorCtrl* control);
    // Disconnects; nothing when not connected.
    void Unadvise();
    bool IsConnected() const { return static_cast<bool>(m_source); }

private:
    void onEvent(DISPID id, std::span<const platform::com::Variant> args);

    std::shared_ptr<CPathmentorCtrlEvents*> m_self;
    platform::com::ComPtr<platform::com::EventSink> m_sink;
    std::uint32_t m_cookie = 0;
    platform::com::ComPtr<_DPathmentor> m_source;
    IGuideEventListener* const m_listener;
};

}  // namespace solvehost
