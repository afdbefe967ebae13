// A formula control stand-in for the item page tests, registered under the
// formula control's CLSID: it reports as its optimal height the number its
// LexemText starts with (so a test chooses any height, negative ones too)
// and keeps a log of the calls it got, one per line ("20", "49 30", "38 2",
// "1 <colour>", "27"), readable through dispid 9001.
#include <QPointer>
#include <QWidget>

#include <string>

#include "platform/com/com.h"
#include "platform/text.h"
#include "solvehost/control_ids.h"

namespace pathmentor::test {
namespace {

using namespace platform::com;
using platform::HRESULT;
namespace d = solvehost::formavel::disp;

class _DFormula : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = solvehost::formavel::DIID__DFormavel;
};

class FormulaStandIn final : public Object<_DFormula, IControlWindow> {
public:
    ~FormulaStandIn() override
    {
        if (m_widget) {
            m_widget->hide();
            m_widget->deleteLater();
        }
    }
    HRESULT GetIDsOfNames(std::string_view, DISPID*) override { return platform::DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args, Variant* result) override
    {
        if (id == 9001 && kind == InvokeKind::PropertyGet) {
            if (result)
                *result = Variant(m_log);
            return platform::S_OK;
        }
        std::string line = std::to_string(id);
        for (const Variant& arg : args)
            if (!arg.isRef())
                line += " " + arg.describe();
        m_log += line + "\n";
        if (id == d::LexemText && kind == InvokeKind::PropertyPut && args.size() == 1)
            args[0].get(m_text);
        if (id == d::GetOptimalSize && args.size() == 2) {
            if (std::int32_t* cx = args[0].refInt32())
                *cx = 100;
            if (std::int32_t* cy = args[1].refInt32())
                *cy = static_cast<std::int32_t>(platform::text::leadingInt(m_text));
        }
        return platform::S_OK;
    }
    QWidget* createWindow(QWidget* parent) override
    {
        if (parent && !m_widget) {
            m_widget = new QWidget(parent);
            m_widget->setObjectName(QStringLiteral("formula"));
            m_widget->show();
        }
        return parent ? m_widget.data() : nullptr;
    }
    QWidget* window() override { return m_widget; }

private:
    std::string m_text;
    std::string m_log;
    QPointer<QWidget> m_widget;
};

HRESULT createFormula(const IID& iid, void** object)
{
    return make<FormulaStandIn>()->QueryInterface(iid, object);
}

constexpr ClassEntry kClasses[] = {
    {solvehost::formavel::CLSID_Formavel, "", "", "Formula control stand-in", &createFormula},
};

}  // namespace
}  // namespace pathmentor::test

TESSALY_COM_EXPORTS(pathmentor::test::kClasses)
