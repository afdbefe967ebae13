// A small component for the component-layer tests: a control with a widget,
// properties, out parameters and one event interface, and a collection class
// with a dual interface. Built as a library of its own and used only through
// the registry, CLSIDs and dispids, as hosts use the suite's components.
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/tests/sample_component/sample_ids.h"

namespace sample {
namespace {

using namespace platform::com;
using platform::E_INVALIDARG;
using platform::HRESULT;
using platform::S_OK;

class _DSample : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = DIID__DSample;
};

std::atomic<std::int32_t> g_liveControls{0};

class SampleCtrl;

class SampleWidget : public QWidget {
public:
    SampleWidget(QWidget* parent, SampleCtrl* control) : QWidget(parent), m_control(control) {}
    // The control is going: the widget calls it no more.
    void detach() { m_control = nullptr; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    SampleCtrl* m_control;
};

class SampleCtrl final : public DispatchObject<SampleCtrl, _DSample, IConnectionPointContainer, IControlWindow,
                                               ISupportErrorInfo, IPersistPropertyBag> {
public:
    SampleCtrl() { ++g_liveControls; }
    ~SampleCtrl() override
    {
        --g_liveControls;
        if (m_widget) {
            m_widget->detach();
            m_widget->hide();
            m_widget->deleteLater();
        }
    }

    static std::span<const DispatchMember<SampleCtrl>> dispatchMembers();

    HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) override
    {
        return m_events->offer(events, point);
    }

    QWidget* createWindow(QWidget* parent) override
    {
        if (!parent)
            return nullptr;
        if (!m_widget) {
            m_widget = new SampleWidget(parent, this);
            m_widget->resize(120, 40);
            m_widget->show();
        }
        return m_widget;
    }
    QWidget* window() override { return m_widget; }

    // Saved and loaded in this order: Caption, then Locked.
    HRESULT InitNew() override
    {
        m_caption.clear();
        m_locked = false;
        return S_OK;
    }
    HRESULT Load(const PropertyBag& bag) override
    {
        std::string caption;
        VARIANT_BOOL locked = VARIANT_FALSE;
        bag.read("Caption", caption);
        bag.read("Locked", locked);
        m_caption = caption;
        setLocked(locked);
        return S_OK;
    }
    HRESULT Save(PropertyBag& bag) override
    {
        bag.write("Caption", m_caption);
        bag.write("Locked", locked());
        return S_OK;
    }

    std::string caption() const { return m_caption; }
    void setCaption(const std::string& caption)
    {
        m_caption = caption;
        m_events->fire(kEventCaptionChanged, {m_caption});
    }
    VARIANT_BOOL locked() const { return toVariantBool(m_locked); }
    void setLocked(VARIANT_BOOL locked) { m_locked = isVariantTrue(locked); }
    OLE_COLOR backColor() const { return m_backColor; }
    void setBackColor(OLE_COLOR color) { m_backColor = color; }

    std::int32_t Add(std::int32_t a, std::int32_t b)
    {
        const std::int64_t sum = std::int64_t{a} + b;
        if (sum < std::numeric_limits<std::int32_t>::min() || sum > std::numeric_limits<std::int32_t>::max())
            throw Error(platform::DISP_E_OVERFLOW, "The sum is out of range", "SampleCtrl");
        return static_cast<std::int32_t>(sum);
    }
    HRESULT Divide(double a, double b, double* quotient)
    {
        if (b == 0)
            return reportError("SampleCtrl", DIID__DSample, "Division by zero", E_INVALIDARG);
        *quotient = a / b;
        return S_OK;
    }
    void GetSize(std::int32_t* cx, std::int32_t* cy)
    {
        *cx = m_widget ? m_widget->width() : 10;
        *cy = m_widget ? m_widget->height() : 10;
    }
    // A point converted in place, as a coordinate plane maps world to pixels.
    void WorldToClient(double* x, double* y)
    {
        *x = 20.0 * *x + 200.0;
        *y = 150.0 - 20.0 * *y;
    }
    std::int32_t instanceCount() const { return g_liveControls; }
    VARIANT_BOOL Describe(std::string* text)
    {
        if (m_caption.empty())
            return VARIANT_FALSE;
        *text = "Sample: " + m_caption;
        return VARIANT_BOOL{1};
    }

    void clicked(int x, int y)
    {
        // A sink may drop the last reference while the event is delivered.
        const ComPtr<SampleCtrl> keepAlive(this);
        m_events->fire(kEventClicked, {std::int32_t{x}, std::int32_t{y}});
    }

private:
    ComPtr<ConnectionPoint> m_events = make<ConnectionPoint>(DIID__DSampleEvents);
    QPointer<SampleWidget> m_widget;
    std::string m_caption;
    bool m_locked = false;
    OLE_COLOR m_backColor = 0xFFFFFF;
};

void SampleWidget::mousePressEvent(QMouseEvent* event)
{
    if (m_control)
        m_control->clicked(event->position().toPoint().x(), event->position().toPoint().y());
}

constexpr DispatchMember<SampleCtrl> kControlMembers[] = {
    propertyGet<&SampleCtrl::caption>(kDispCaption, "Caption"),
    propertyPut<&SampleCtrl::setCaption>(kDispCaption, "Caption"),
    propertyGet<&SampleCtrl::locked>(kDispLocked, "Locked"),
    propertyPut<&SampleCtrl::setLocked>(kDispLocked, "Locked"),
    method<&SampleCtrl::Add>(kDispAdd, "Add"),
    dualMethod<&SampleCtrl::Divide>(kDispDivide, "Divide"),
    method<&SampleCtrl::GetSize>(kDispGetSize, "GetSize"),
    method<&SampleCtrl::WorldToClient>(kDispWorldToClient, "WorldToClient"),
    propertyGet<&SampleCtrl::instanceCount>(kDispInstanceCount, "InstanceCount"),
    method<&SampleCtrl::Describe>(kDispDescribe, "Describe"),
    propertyGet<&SampleCtrl::backColor>(DISPID_BACKCOLOR, "BackColor"),
    propertyPut<&SampleCtrl::setBackColor>(DISPID_BACKCOLOR, "BackColor"),
};
static_assert(validDispatchTable(kControlMembers));

std::span<const DispatchMember<SampleCtrl>> SampleCtrl::dispatchMembers() { return kControlMembers; }

class ISampleList : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = IID_ISampleList;

    virtual HRESULT Add(IDispatch* item) = 0;
    virtual HRESULT get_Count(std::int32_t* count) = 0;
    virtual HRESULT Item(std::int32_t index, IDispatch** item) = 0;
};

class SampleList final : public DispatchObject<SampleList, ISampleList, ISupportErrorInfo> {
public:
    static std::span<const DispatchMember<SampleList>> dispatchMembers();

    HRESULT Add(IDispatch* item) override
    {
        if (!item)
            return reportError("SampleList", ISampleList::iid, "Item must not be NULL pointer!", E_INVALIDARG);
        m_items.emplace_back(item);
        return S_OK;
    }
    HRESULT get_Count(std::int32_t* count) override
    {
        *count = static_cast<std::int32_t>(m_items.size());
        return S_OK;
    }
    HRESULT Item(std::int32_t index, IDispatch** item) override
    {
        if (index < 0 || static_cast<std::size_t>(index) >= m_items.size())
            return reportError("SampleList", ISampleList::iid, "Index out of range", E_INVALIDARG);
        *item = ComPtr<IDispatch>(m_items[static_cast<std::size_t>(index)]).detach();
        return S_OK;
    }

private:
    std::vector<ComPtr<IDispatch>> m_items;
};

constexpr DispatchMember<SampleList> kListMembers[] = {
    dualMethod<&SampleList::Add>(kDispListAdd, "Add"),
    dualGet<&SampleList::get_Count>(kDispListCount, "Count"),
    dualMethod<&SampleList::Item>(kDispListItem, "Item"),
};
static_assert(validDispatchTable(kListMembers));

std::span<const DispatchMember<SampleList>> SampleList::dispatchMembers() { return kListMembers; }

constexpr ClassEntry kClasses[] = {
    {CLSID_SampleCtrl, kSampleCtrlProgId, "", "Tessaly sample control", &createObject<SampleCtrl>},
    {CLSID_SampleList, kSampleListProgId, kSampleListVersionIndependentProgId, "Tessaly sample list",
     &createObject<SampleList>},
};

}  // namespace
}  // namespace sample

TESSALY_COM_EXPORTS(sample::kClasses)
