// The sample component used as a host uses the suite's components: registered
// in the (temporary) machine hive, created by CLSID or ProgID, called by dispid
// and by name, its events taken through a connection point.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/dynlib.h"
#include "platform/registry.h"
#include "platform/tests/sample_component/sample_ids.h"
#include "testsupport/temp_dir.h"

namespace platform::com {
namespace {

using namespace sample;
using registry::Hive;

const std::string kLibrary = std::filesystem::absolute(COM_SAMPLE_COMPONENT).lexically_normal().string();

std::optional<std::string> machineDefault(const std::string& key)
{
    return registry::readString(Hive::Machine, "SOFTWARE\\Classes\\" + key, "");
}

class Component : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(registerLibrary(kLibrary), S_OK);
    }
    void TearDown() override { testsupport::resetHives(); }

    ComPtr<IDispatch> createControl()
    {
        ComPtr<IDispatch> control;
        EXPECT_EQ(createInstance(CLSID_SampleCtrl, control), S_OK);
        return control;
    }
};

TEST_F(Component, RegistrationWritesClassesAndProgIds)
{
    const std::string ctrl = CLSID_SampleCtrl.toString();
    const std::string list = CLSID_SampleList.toString();
    EXPECT_EQ(machineDefault("CLSID\\" + ctrl + "\\InprocServer32"), kLibrary);
    EXPECT_EQ(machineDefault("CLSID\\" + ctrl), "Tessaly sample control");
    EXPECT_EQ(machineDefault("CLSID\\" + ctrl + "\\ProgID"), kSampleCtrlProgId);
    EXPECT_EQ(machineDefault(std::string(kSampleCtrlProgId) + "\\CLSID"), ctrl);
    EXPECT_EQ(machineDefault("CLSID\\" + list + "\\InprocServer32"), kLibrary);
    EXPECT_EQ(machineDefault("CLSID\\" + list + "\\VersionIndependentProgID"), kSampleListVersionIndependentProgId);
    EXPECT_EQ(machineDefault(std::string(kSampleListVersionIndependentProgId) + "\\CurVer"), kSampleListProgId);
    EXPECT_EQ(machineDefault(std::string(kSampleListVersionIndependentProgId) + "\\CLSID"), list);
    EXPECT_EQ(registeredLibrary(CLSID_SampleList), kLibrary);
}

TEST_F(Component, CreatesByClsidProgIdAndClsidText)
{
    for (const std::string& name : {std::string(kSampleListProgId), std::string(kSampleListVersionIndependentProgId),
                                    CLSID_SampleList.toString()}) {
        ComPtr<IDispatch> list;
        ASSERT_EQ(createInstance(name, list), S_OK) << name;
        EXPECT_EQ(DispatchDriver(list).getProperty<std::int32_t>(kDispListCount), 0);
    }
    ComPtr<IDispatch> control;
    ASSERT_EQ(createInstance(kSampleCtrlProgId, control), S_OK);
    // The dispatch interface by its own IID, as hosts ask for it.
    void* raw = nullptr;
    ASSERT_EQ(control->QueryInterface(DIID__DSample, &raw), S_OK);
    const auto dispatch = ComPtr<IDispatch>::adopt(static_cast<IDispatch*>(raw));
    EXPECT_EQ(dispatch.as<IUnknown>(), control.as<IUnknown>());
}

TEST_F(Component, CallsMembersByDispidAndByName)
{
    DispatchDriver control(createControl());
    EXPECT_EQ(control.invoke<std::int32_t>(kDispAdd, 2, 3), 5);
    EXPECT_EQ(control.invoke<std::int32_t>(control.idOfName("add"), "40", 2.0), 42);
    EXPECT_EQ(control.invoke<double>(kDispDivide, 7, 2), 3.5);

    // Out parameters: a control without a window is 10 by 10.
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    control.invoke(kDispGetSize, &cx, &cy);
    EXPECT_EQ(cx, 10);
    EXPECT_EQ(cy, 10);

    // In/out doubles: the member reads the caller's values and writes back.
    double x = 1.5;
    double y = -2.25;
    control.invoke(kDispWorldToClient, &x, &y);
    EXPECT_EQ(x, 230.0);
    EXPECT_EQ(y, 195.0);
    const Variant byValue[] = {1.5, -2.25};
    EXPECT_EQ(control.get()->Invoke(kDispWorldToClient, InvokeKind::Method, byValue, nullptr), DISP_E_TYPEMISMATCH);

    // Nothing to describe: FALSE, the out value untouched; then TRUE as 1, exactly.
    std::string text = "kept";
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(kDispDescribe, &text), VARIANT_FALSE);
    EXPECT_EQ(text, "kept");
    control.setProperty(control.idOfName("Caption"), "x+1");
    EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(kDispDescribe, &text)), 1);
    EXPECT_EQ(text, "Sample: x+1");

    // A property that stores true only for VARIANT_TRUE, and a stock property.
    control.setProperty(kDispLocked, VARIANT_BOOL{1});
    EXPECT_EQ(control.getProperty<VARIANT_BOOL>(kDispLocked), VARIANT_FALSE);
    control.setProperty(kDispLocked, true);
    EXPECT_EQ(control.getProperty<VARIANT_BOOL>(kDispLocked), VARIANT_TRUE);
    control.setProperty(DISPID_BACKCOLOR, OLE_COLOR{0x123456});
    EXPECT_EQ(control.getProperty<OLE_COLOR>(DISPID_BACKCOLOR), 0x123456u);
}

TEST_F(Component, FailuresCarryTheComponentsErrorInfo)
{
    const ComPtr<IDispatch> control = createControl();
    const Variant byZero[] = {1.0, 0.0};
    EXPECT_EQ(control->Invoke(kDispDivide, InvokeKind::Method, byZero, nullptr), E_INVALIDARG);
    EXPECT_EQ(errorInfoFor(control.get(), DIID__DSample), (ErrorInfo{"SampleCtrl", DIID__DSample, "Division by zero"}));

    // Thrown inside the component: the interface filled in by the dispatcher.
    const Variant big[] = {std::int32_t{2147483647}, std::int32_t{1}};
    EXPECT_EQ(control->Invoke(kDispAdd, InvokeKind::Method, big, nullptr), DISP_E_OVERFLOW);
    EXPECT_EQ(errorInfoFor(control.get(), DIID__DSample),
              (ErrorInfo{"SampleCtrl", DIID__DSample, "The sum is out of range"}));

    DispatchDriver list;
    ComPtr<IDispatch> object;
    ASSERT_EQ(createInstance(kSampleListProgId, object), S_OK);
    list.attach(object);
    try {
        list.invoke(kDispListAdd, Variant());
        FAIL() << "a null item was accepted";
    } catch (const Error& error) {
        EXPECT_EQ(error.hr(), E_INVALIDARG);
        EXPECT_EQ(error.info(), (ErrorInfo{"SampleList", IID_ISampleList, "Item must not be NULL pointer!"}));
    }
}

TEST_F(Component, DualCollectionTakesAndAnswersObjects)
{
    const ComPtr<IDispatch> control = createControl();
    ComPtr<IDispatch> object;
    ASSERT_EQ(createInstance(kSampleListProgId, object), S_OK);
    DispatchDriver list(object);
    list.invoke(kDispListAdd, control);
    EXPECT_EQ(list.getProperty<std::int32_t>(kDispListCount), 1);
    const ComPtr<IDispatch> item = list.invoke<ComPtr<IDispatch>>(kDispListItem, 0);
    EXPECT_EQ(item.as<IUnknown>(), control.as<IUnknown>());
    EXPECT_THROW(list.invoke<ComPtr<IDispatch>>(kDispListItem, 1), Error);
}

TEST_F(Component, LibraryStateIsOneForTheProcess)
{
    DispatchDriver first(createControl());
    const std::int32_t before = first.getProperty<std::int32_t>(kDispInstanceCount);
    {
        DispatchDriver second(createControl());
        EXPECT_EQ(second.getProperty<std::int32_t>(kDispInstanceCount), before + 1);
        EXPECT_EQ(first.getProperty<std::int32_t>(kDispInstanceCount), before + 1);
    }
    EXPECT_EQ(first.getProperty<std::int32_t>(kDispInstanceCount), before);
}

TEST_F(Component, CanUnloadOnlyWhenNoObjectLives)
{
    ASSERT_EQ(liveObjectCount(), 0u) << "an earlier test left objects alive";
    DynamicLibrary library;
    ASSERT_TRUE(library.load(kLibrary));
    const auto canUnload = library.function<DllCanUnloadNowFunction>("DllCanUnloadNow");
    ASSERT_NE(canUnload, nullptr);
    {
        const ComPtr<IDispatch> control = createControl();
        EXPECT_EQ(canUnload(), S_FALSE);
    }
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(Component, EventsReachTheHostsSink)
{
    ComPtr<IDispatch> control;
    QWidget parent;
    QWidget* window = nullptr;
    ASSERT_EQ(com::createControl(CLSID_SampleCtrl, &parent, &control, &window), S_OK);
    ASSERT_NE(window, nullptr);

    std::vector<std::string> heard;
    const ComPtr<EventSink> sink = make<EventSink>([&heard](DISPID id, std::span<const Variant> args) {
        std::string line = std::to_string(id);
        for (const Variant& arg : args)
            line += " " + arg.describe();
        heard.push_back(line);
    });
    std::uint32_t cookie = 0;
    ASSERT_EQ(connectionAdvise(control.get(), DIID__DSampleEvents, sink.get(), &cookie), S_OK);

    DispatchDriver(control).setProperty(kDispCaption, "x-y");
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(7, 9));
    EXPECT_EQ(heard, (std::vector<std::string>{"1 String \"x-y\"", "2 I4 7 I4 9"}));

    ASSERT_EQ(connectionUnadvise(control.get(), DIID__DSampleEvents, cookie), S_OK);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(heard.size(), 2u);
}

TEST_F(Component, AControlHasAWindowOnlyOncePlaced)
{
    ComPtr<IControlWindow> object;
    ASSERT_EQ(createInstance(CLSID_SampleCtrl, object), S_OK);
    EXPECT_EQ(object->window(), nullptr);
    EXPECT_EQ(object->createWindow(nullptr), nullptr);

    auto parent = std::make_unique<QWidget>();
    QWidget* window = object->createWindow(parent.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), parent.get());
    EXPECT_EQ(object->createWindow(parent.get()), window);
    window->resize(200, 30);
    DispatchDriver control(object.as<IDispatch>());
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    control.invoke(kDispGetSize, &cx, &cy);
    EXPECT_EQ(cx, 200);
    EXPECT_EQ(cy, 30);

    // The host's widget goes first: the object lives on, windowless.
    parent.reset();
    EXPECT_EQ(object->window(), nullptr);
    control.invoke(kDispGetSize, &cx, &cy);
    EXPECT_EQ(cx, 10);

    // A class that is no control cannot be placed.
    QWidget host;
    ComPtr<IDispatch> list;
    EXPECT_EQ(com::createControl(CLSID_SampleList, &host, &list), E_NOINTERFACE);
    EXPECT_FALSE(list);
    EXPECT_EQ(com::createControl(CLSID_SampleCtrl, nullptr, &list), E_INVALIDARG);
}

TEST_F(Component, ReleasingAControlInItsOwnEventRemovesItsWidgetSafely)
{
    QWidget parent;
    ComPtr<IDispatch> control;
    QWidget* created = nullptr;
    ASSERT_EQ(com::createControl(CLSID_SampleCtrl, &parent, &control, &created), S_OK);
    const QPointer<QWidget> window = created;
    const ComPtr<EventSink> sink = make<EventSink>([&control](DISPID, std::span<const Variant>) { control.reset(); });
    std::uint32_t cookie = 0;
    ASSERT_EQ(connectionAdvise(control.get(), DIID__DSampleEvents, sink.get(), &cookie), S_OK);
    // The host drops the control inside the click's event without unadvising:
    // the connection (control -> sink) dies with the control.
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(control);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

TEST_F(Component, PropertiesSaveAndLoadInTheirOrder)
{
    ComPtr<IPersistPropertyBag> saved;
    ASSERT_EQ(createInstance(CLSID_SampleCtrl, saved), S_OK);
    DispatchDriver(saved.as<IDispatch>()).setProperty(kDispCaption, "2*x");
    DispatchDriver(saved.as<IDispatch>()).setProperty(kDispLocked, true);
    PropertyBag bag;
    ASSERT_EQ(saved->Save(bag), S_OK);
    ASSERT_EQ(bag.entries().size(), 2u);
    EXPECT_EQ(bag.entries()[0].first, "Caption");
    EXPECT_EQ(bag.entries()[1].first, "Locked");

    ComPtr<IPersistPropertyBag> loaded;
    ASSERT_EQ(createInstance(CLSID_SampleCtrl, loaded), S_OK);
    ASSERT_EQ(loaded->Load(bag), S_OK);
    DispatchDriver control(loaded.as<IDispatch>());
    EXPECT_EQ(control.getProperty<std::string>(kDispCaption), "2*x");
    EXPECT_EQ(control.getProperty<VARIANT_BOOL>(kDispLocked), VARIANT_TRUE);
}

TEST_F(Component, UnregistrationRemovesOnlyWhatNamesItsClasses)
{
    // Another class has taken the list's version-independent ProgID meanwhile.
    const std::string other = "{00000000-1111-2222-3333-444444444444}";
    ASSERT_EQ(registry::writeString(Hive::Machine,
                                    "SOFTWARE\\Classes\\" + std::string(kSampleListVersionIndependentProgId) + "\\CLSID",
                                    "", other),
              registry::kOk);
    ASSERT_EQ(unregisterLibrary(kLibrary), S_OK);

    EXPECT_FALSE(registry::keyExists(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\" + CLSID_SampleCtrl.toString()));
    EXPECT_FALSE(registry::keyExists(Hive::Machine, "SOFTWARE\\Classes\\" + std::string(kSampleCtrlProgId)));
    EXPECT_FALSE(registry::keyExists(Hive::Machine, "SOFTWARE\\Classes\\" + std::string(kSampleListProgId)));
    EXPECT_EQ(machineDefault(std::string(kSampleListVersionIndependentProgId) + "\\CLSID"), other);

    ComPtr<IDispatch> object;
    EXPECT_EQ(createInstance(CLSID_SampleCtrl, object), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(object);
    EXPECT_EQ(createInstance(kSampleCtrlProgId, object), REGDB_E_CLASSNOTREG);
    const std::optional<ErrorInfo> info = takeErrorInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->description, "ProgID TessalySample.SampleCtrl.1 is not registered");
}

// A class registered by hand to a library, to see how creation fails.
void registerByHand(const Guid& clsid, const std::string& library)
{
    ASSERT_EQ(registry::writeString(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\" + clsid.toString() + "\\InprocServer32",
                                    "", library),
              registry::kOk);
}

TEST(ComponentCreation, SaysWhyItFails)
{
    testsupport::resetHives();
    constexpr Guid kStray = Guid::literal("{DEADBEEF-0000-4000-8000-000000000001}");
    ComPtr<IDispatch> object;

    EXPECT_EQ(createInstance(kStray, object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(takeErrorInfo()->description, "Class {DEADBEEF-0000-4000-8000-000000000001} is not registered");

    registerByHand(kStray, "/nonexistent/Missing.so");
    EXPECT_EQ(createInstance(kStray, object), CO_E_DLLNOTFOUND);
    EXPECT_TRUE(takeErrorInfo()->description.starts_with(
        "Cannot load /nonexistent/Missing.so for class {DEADBEEF-0000-4000-8000-000000000001}: "));

    registerByHand(kStray, TEST_PLUGIN);
    EXPECT_EQ(createInstance(kStray, object), CO_E_ERRORINDLL);
    EXPECT_EQ(takeErrorInfo()->description, std::string(TEST_PLUGIN) + " exports no DllGetClassObject");

    registerByHand(kStray, kLibrary);
    EXPECT_EQ(createInstance(kStray, object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(object);

    ASSERT_EQ(registry::writeString(Hive::Machine, "SOFTWARE\\Classes\\Broken.ProgId\\CLSID", "", "not a guid"),
              registry::kOk);
    EXPECT_EQ(createInstance("Broken.ProgId", object), CO_E_CLASSSTRING);

    // Libraries that are no components, or are not there.
    EXPECT_EQ(registerLibrary(TEST_PLUGIN), S_FALSE);
    EXPECT_EQ(registerLibrary("/nonexistent/Missing.so"), CO_E_DLLNOTFOUND);
    testsupport::resetHives();
}

}  // namespace
}  // namespace platform::com
