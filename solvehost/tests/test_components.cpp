// Stand-ins of the three controls for the wrapper and sink tests, registered
// under the real CLSIDs: each records every call it receives (kind, dispid,
// argument types and values), answers with the member's own type, and fires
// any event a test asks for with exactly the arguments given.
//
// Test-only members (dispids no control uses):
//   kDispLog (get)        the calls so far, one per line: "M 9 UI1 1", "P -501 UI4 255", "G 12"
//   kDispClearLog         forgets them
//   kDispFire (event id, args...)  fires that event with the args as given
//   kDispSinkCount (get)  sinks connected now
// A font argument is recorded as "Font <name> <size> <weight>".
//
// Built twice: with GUIDE_WITHOUT_DISPATCH_IID the guide answers no
// _DPathmentor (only IDispatch).
#include <QPointer>
#include <QWidget>

#include <map>
#include <string>
#include <utility>

#include "platform/com/com.h"
#include "solvehost/control_ids.h"
#include "solvehost/tests/test_component_ids.h"

namespace solvehost::test {
namespace {

using namespace platform::com;
using platform::DISP_E_MEMBERNOTFOUND;
using platform::DISP_E_UNKNOWNNAME;
using platform::HRESULT;
using platform::S_OK;

struct Answer {
    DISPID id;
    InvokeKind kind;
    Variant value;
};

// The answers each stand-in gives, by dispid and kind; anything else is
// DISP_E_MEMBERNOTFOUND.
std::map<std::pair<DISPID, InvokeKind>, Variant> answers(std::initializer_list<Answer> list)
{
    std::map<std::pair<DISPID, InvokeKind>, Variant> out;
    for (const Answer& a : list)
        out[{a.id, a.kind}] = a.value;
    return out;
}

constexpr InvokeKind M = InvokeKind::Method;
constexpr InvokeKind G = InvokeKind::PropertyGet;
constexpr InvokeKind P = InvokeKind::PropertyPut;

const Variant kTrue{VARIANT_TRUE};
const Variant kNothing{};

class _DFormulaStandIn : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = formavel::DIID__DFormavel;
};
class _DGuideStandIn : public IDispatch {
public:
    using Base = IDispatch;
#ifdef GUIDE_WITHOUT_DISPATCH_IID
    static constexpr IID iid = Guid::literal("{5E0C3F51-1D35-4C41-9A8C-6B7F0E2D4A19}");
#else
    static constexpr IID iid = pathmentor::DIID__DPathmentor;
#endif
};
class _DViewerStandIn : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = premiscope::DIID__DPremiscope;
};

template <class Interface>
class Recorder final : public Object<Interface, IConnectionPointContainer, IControlWindow> {
public:
    Recorder(const IID& events, std::map<std::pair<DISPID, InvokeKind>, Variant> answers)
        : m_events(make<ConnectionPoint>(events)), m_answers(std::move(answers))
    {
    }
    ~Recorder() override
    {
        if (m_widget) {
            m_widget->hide();
            m_widget->deleteLater();
        }
    }

    HRESULT GetIDsOfNames(std::string_view, DISPID*) override { return DISP_E_UNKNOWNNAME; }

    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args, Variant* result) override
    {
        if (id == kDispLog && kind == G)
            return answer(result, Variant(m_log));
        if (id == kDispClearLog && kind == M) {
            m_log.clear();
            return S_OK;
        }
        if (id == kDispSinkCount && kind == G)
            return answer(result, Variant(static_cast<std::int32_t>(m_events->sinkCount())));
        if (id == kDispFire && kind == M && !args.empty()) {
            std::int32_t event = 0;
            args[0].get(event);
            // A sink may drop the last reference while the event is delivered.
            const ComPtr<Recorder> keepAlive(this);
            m_events->fire(event, args.subspan(1));
            return S_OK;
        }
        const auto found = m_answers.find({id, kind});
        if (found == m_answers.end())
            return DISP_E_MEMBERNOTFOUND;
        std::string line = kind == M ? "M " : kind == G ? "G " : "P ";
        line += std::to_string(id);
        for (const Variant& arg : args) {
            line += " " + describe(arg);
            // Out parameters get a value a test can see.
            if (std::int32_t* target = arg.refInt32())
                *target = 100 + static_cast<std::int32_t>(&arg - args.data());
            if (std::string* target = arg.refString())
                *target = "out";
        }
        m_log += line + "\n";
        return answer(result, found->second);
    }

    HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) override
    {
        return m_events->offer(events, point);
    }

    QWidget* createWindow(QWidget* parent) override
    {
        if (!parent)
            return nullptr;
        if (!m_widget) {
            m_widget = new QWidget(parent);
            m_widget->show();
        }
        return m_widget;
    }
    QWidget* window() override { return m_widget; }

private:
    static HRESULT answer(Variant* result, Variant value)
    {
        if (result)
            *result = std::move(value);
        return S_OK;
    }
    static std::string describe(const Variant& arg)
    {
        if (arg.type() == VarType::Dispatch) {
            ComPtr<IDispatch> object;
            arg.get(object);
            FontDescription font;
            if (platform::Succeeded(readFontDescription(object.get(), &font)))
                return "Font " + font.name + " " + std::to_string(static_cast<int>(font.size)) + " " +
                       std::to_string(font.weight);
        }
        return arg.describe();
    }

    ComPtr<ConnectionPoint> m_events;
    std::map<std::pair<DISPID, InvokeKind>, Variant> m_answers;
    std::string m_log;
    QPointer<QWidget> m_widget;
};

HRESULT createFormula(const IID& iid, void** object)
{
    namespace d = formavel::disp;
    const auto made = make<Recorder<_DFormulaStandIn>>(
        formavel::DIID__DFormavelEvents,
        answers({
            {d::BackColor, G, Variant(OLE_COLOR{0x123456})}, {d::BackColor, P, kNothing},
            {d::Locked, G, kTrue}, {d::Locked, P, kNothing},
            {d::EliminateBrackets, G, kTrue}, {d::EliminateBrackets, P, kNothing},
            {d::UseEditor, M, kNothing}, {d::Paste, M, kTrue},
            {d::ShowToolsDlg, M, kTrue}, {d::HideToolsDlg, M, kTrue},
            {d::GetMathMLText, M, Variant("<math/>")}, {d::GetAplanText, M, Variant("x+!1")},
            {d::SetAplanText, M, kTrue}, {d::UseViewer, M, kNothing},
            {d::SetOperationResult, M, kNothing}, {d::GetOptimalSize, M, kNothing},
            {d::Undo, M, kTrue}, {d::CanUndo, M, kTrue}, {d::Redo, M, kTrue}, {d::CanRedo, M, kTrue},
            {d::SetGridData, M, kNothing}, {d::IsFormulaValid, M, kTrue}, {d::SetLanguge, M, kNothing},
            {d::SetSchoolClass, M, kTrue}, {d::GetSelectedLexemText, M, kTrue}, {d::CopyAll, M, kTrue},
            {d::UseTransformer, M, kTrue}, {d::IsGraficFormulaValid, M, Variant(std::int32_t{7})},
            {d::LexemText, G, Variant("x+1")}, {d::LexemText, P, kNothing},
            {d::State, G, Variant(std::int16_t{3})}, {d::SetMathMLText, M, kTrue},
            {d::ShowAggregativeSymbol, G, kTrue}, {d::ShowAggregativeSymbol, P, kNothing},
        }));
    return made->QueryInterface(iid, object);
}

HRESULT createGuide(const IID& iid, void** object)
{
    namespace d = pathmentor::disp;
    const Variant byte{std::uint8_t{1}};
    const Variant colour{OLE_COLOR{0xABCDEF}};
    const auto made = make<Recorder<_DGuideStandIn>>(
        pathmentor::DIID__DPathmentorEvents,
        answers({
            {d::InitializeGuide, M, kTrue}, {d::InitializeGuideContent, M, kTrue},
            {d::FillRecomendedCommonChapter, M, kTrue}, {d::ReleaseRecomendedCommonChapter, M, kTrue},
            {d::GuideDocFile, G, Variant("guide.xml")}, {d::GuideDocFile, P, kNothing},
            {d::BackColor, G, colour}, {d::BackColor, P, kNothing},
            {d::ForeColor, G, colour}, {d::ForeColor, P, kNothing},
            {d::SendExtendedInformation, G, byte}, {d::SendExtendedInformation, P, kNothing},
            {d::ShowExtendedTransformations, G, byte}, {d::ShowExtendedTransformations, P, kNothing},
            {d::Locked, G, byte}, {d::Locked, P, kNothing},
            {d::ShowRecomendedChapter, G, byte}, {d::ShowRecomendedChapter, P, kNothing},
            {d::BarFrameColor, G, colour}, {d::BarFrameColor, P, kNothing},
            {d::ParseLanguageFile, M, kTrue},
        }));
    return made->QueryInterface(iid, object);
}

HRESULT createViewer(const IID& iid, void** object)
{
    namespace d = premiscope::disp;
    const auto made = make<Recorder<_DViewerStandIn>>(
        premiscope::DIID__DPremiscopeEvents,
        answers({
            {d::SetCondition, M, kTrue}, {d::GetStartFormula, M, Variant("<math><mi>x</mi></math>")},
            {d::GetOptimalHeight, M, Variant(std::uint32_t{345})}, {d::IsNeedUserInputToBegin, M, kTrue},
            {d::GetTaskJobAttribute, M, Variant("yes")}, {d::GetTaskJobFormulaByType, M, Variant("<math/>")},
            {d::BackColor, P, kNothing}, {d::ForeColor, P, kNothing}, {d::GridColor, P, kNothing},
            {d::GuiFont, P, kNothing},
        }));
    return made->QueryInterface(iid, object);
}

constexpr ClassEntry kClasses[] = {
    {formavel::CLSID_Formavel, "", "", "Formula control stand-in", &createFormula},
    {pathmentor::CLSID_Pathmentor, "", "", "Guide control stand-in", &createGuide},
    {premiscope::CLSID_Premiscope, "", "", "Condition viewer stand-in", &createViewer},
};

}  // namespace
}  // namespace solvehost::test

TESSALY_COM_EXPORTS(solvehost::test::kClasses)
