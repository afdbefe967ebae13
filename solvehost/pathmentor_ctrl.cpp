#include "solvehost/pathmentor_ctrl.h"

#include <cstdio>

#include "platform/message_box.h"

namespace solvehost {

using platform::com::DispatchDriver;
using platform::com::isTrue;
namespace disp = pathmentor::disp;
namespace event = pathmentor::event;

CPathmentorCtrl::~CPathmentorCtrl() { m_guide.reset(); }

bool CPathmentorCtrl::Create(const QString& name, WindowStyle style, const QRect& rect, QWidget* parent, int id)
{
    const bool created = CreateControl(pathmentor::CLSID_Pathmentor, name, style, rect, parent, id);
    if (GetControl()) {
        platform::com::ComPtr<_DPathmentor> guide;
        if (platform::Succeeded(platform::com::ComPtr<platform::com::IDispatch>(GetControl()).query(guide)))
            m_guide = std::move(guide);
    }
    return created;
}

DispatchDriver CPathmentorCtrl::guide() const
{
    return DispatchDriver(platform::com::ComPtr<platform::com::IDispatch>(m_guide));
}

bool CPathmentorCtrl::InitializeGuide() { return isTrue(guide().invoke<VARIANT_BOOL>(disp::InitializeGuide)); }

bool CPathmentorCtrl::InitializeGuideContent(const std::string& guideContent)
{
    return isTrue(guide().invoke<VARIANT_BOOL>(disp::InitializeGuideContent, guideContent));
}

bool CPathmentorCtrl::FillRecomendedCommonChapter(std::uint8_t sign)
{
    return isTrue(guide().invoke<VARIANT_BOOL>(disp::FillRecomendedCommonChapter, sign));
}

bool CPathmentorCtrl::ReleaseRecomendedCommonChapter()
{
    return isTrue(guide().invoke<VARIANT_BOOL>(disp::ReleaseRecomendedCommonChapter));
}

std::string CPathmentorCtrl::GetGuideDocFile() { return guide().getProperty<std::string>(disp::GuideDocFile); }
void CPathmentorCtrl::SetGuideDocFile(const std::string& path) { guide().setProperty(disp::GuideDocFile, path); }
OLE_COLOR CPathmentorCtrl::GetBackColor() { return guide().getProperty<OLE_COLOR>(disp::BackColor); }
void CPathmentorCtrl::SetBackColor(OLE_COLOR colour) { guide().setProperty(disp::BackColor, colour); }
OLE_COLOR CPathmentorCtrl::GetForeColor() { return guide().getProperty<OLE_COLOR>(disp::ForeColor); }
void CPathmentorCtrl::SetForeColor(OLE_COLOR colour) { guide().setProperty(disp::ForeColor, colour); }

std::uint8_t CPathmentorCtrl::GetSendExtendedInformation()
{
    return guide().getProperty<std::uint8_t>(disp::SendExtendedInformation);
}
void CPathmentorCtrl::SetSendExtendedInformation(std::uint8_t on)
{
    guide().setProperty(disp::SendExtendedInformation, on);
}
std::uint8_t CPathmentorCtrl::GetShowExtendedTransformations()
{
    return guide().getProperty<std::uint8_t>(disp::ShowExtendedTransformations);
}
void CPathmentorCtrl::SetShowExtendedTransformations(std::uint8_t on)
{
    guide().setProperty(disp::ShowExtendedTransformations, on);
}
std::uint8_t CPathmentorCtrl::GetLocked() { return guide().getProperty<std::uint8_t>(disp::Locked); }
void CPathmentorCtrl::SetLocked(std::uint8_t locked) { guide().setProperty(disp::Locked, locked); }
std::uint8_t CPathmentorCtrl::GetShowRecomendedChapter()
{
    return guide().getProperty<std::uint8_t>(disp::ShowRecomendedChapter);
}
void CPathmentorCtrl::SetShowRecomendedChapter(std::uint8_t on) { guide().setProperty(disp::ShowRecomendedChapter, on); }
OLE_COLOR CPathmentorCtrl::GetBarFrameColor() { return guide().getProperty<OLE_COLOR>(disp::BarFrameColor); }
void CPathmentorCtrl::SetBarFrameColor(OLE_COLOR colour) { guide().setProperty(disp::BarFrameColor, colour); }

bool CPathmentorCtrl::ParseLanguageFile(const std::string& fullFileName)
{
    return isTrue(guide().invoke<VARIANT_BOOL>(disp::ParseLanguageFile, fullFileName));
}

// ---- CPathmentorCtrlEvents ----

namespace {

constexpr const char* kNoListenerApplying = "Sorry.\n Guide error!\nOnApplyingTransformation";
constexpr const char* kNoListenerApplyingEx = "Sorry.\nGuide error.\nOnApplyingTransformationEx.";
// What the pupil reads of an apply event nobody receives.
constexpr const char* kNoListenerText = "Помилка довідника: перетворення не виконано.";

void ReportNoListener(const char* developerText)
{
    std::fprintf(stderr, "%s\n", developerText);
    platform::showMessage(kNoListenerText, "", platform::MessageIcon::Warning);
}

}  // namespace

CPathmentorCtrlEvents::CPathmentorCtrlEvents(IGuideEventListener* listener)
    : m_self(std::make_shared<CPathmentorCtrlEvents*>(this)), m_listener(listener)
{
    // The sink object may outlive this one inside a source's event loop: it
    // reaches this only while this lives.
    m_sink = platform::com::make<platform::com::EventSink>(
        [self = m_self](DISPID id, std::span<const platform::com::Variant> args) {
            if (*self)
                (*self)->onEvent(id, args);
        });
}

CPathmentorCtrlEvents::~CPathmentorCtrlEvents()
{
    Unadvise();
    *m_self = nullptr;
}

void CPathmentorCtrlEvents::Advise(CPathmentorCtrl* control)
{
    if (m_source || !control || !control->GetControl())
        return;
    platform::com::ComPtr<_DPathmentor> source;
    if (platform::Failed(platform::com::ComPtr<platform::com::IDispatch>(control->GetControl()).query(source)))
        return;
    std::uint32_t cookie = 0;
    if (platform::Failed(platform::com::connectionAdvise(source.get(), pathmentor::DIID__DPathmentorEvents,
                                                         m_sink.get(), &cookie)))
        return;
    m_source = std::move(source);
    m_cookie = cookie;
}

void CPathmentorCtrlEvents::Unadvise()
{
    if (!m_source)
        return;
    const platform::com::ComPtr<_DPathmentor> source = std::move(m_source);
    m_source = nullptr;
    const std::uint32_t cookie = std::exchange(m_cookie, 0u);
    platform::com::connectionUnadvise(source.get(), pathmentor::DIID__DPathmentorEvents, cookie);
}

void CPathmentorCtrlEvents::onEvent(DISPID id, std::span<const platform::com::Variant> args)
{
    using platform::Succeeded;
    switch (id) {
    case event::ApplyingTransformation: {
        if (!m_listener) {
            ReportNoListener(kNoListenerApplying);
            return;
        }
        std::uint32_t function = 0;
        std::string action;
        std::string params;
        if (args.size() == 3 && Succeeded(args[0].get(function)) && Succeeded(args[1].get(action)) &&
            Succeeded(args[2].get(params)))
            m_listener->OnApplyingTransformation(function, action, params);
        return;
    }
    case event::ApplyingTransformationExt: {
        if (!m_listener) {
            ReportNoListener(kNoListenerApplyingEx);
            return;
        }
        std::uint32_t function = 0;
        std::uint8_t type = 0;
        std::string action;
        VARIANT_BOOL needDialog{};
        VARIANT_BOOL needAll{};
        VARIANT_BOOL multiChoice{};
        std::uint8_t index = 0;
        std::string params;
        if (args.size() == 8 && Succeeded(args[0].get(function)) && Succeeded(args[1].get(type)) &&
            Succeeded(args[2].get(action)) && Succeeded(args[3].get(needDialog)) &&
            Succeeded(args[4].get(needAll)) && Succeeded(args[5].get(multiChoice)) &&
            Succeeded(args[6].get(index)) && Succeeded(args[7].get(params)))
            m_listener->OnApplyingTransformationEx(function, type, action, needDialog, needAll, multiChoice, index,
                                                   params);
        return;
    }
    case event::ShowExtendedHowTodo: {
        std::string howToDo;
        if (m_listener && args.size() == 1 && Succeeded(args[0].get(howToDo)))
            m_listener->OnShowExtendedHowTodo(howToDo);
        return;
    }
    default: return;
    }
}

}  // namespace solvehost
