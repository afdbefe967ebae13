// The control as a host uses it: Tickrule.so registered in the temporary
// machine hive, created by CLSID or ProgID, called by dispid, driven with the
// mouse. Screenshots (tickrule_*.png) in the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>

#include "constructions/tickrule/tickrule_ids.h"
#include "platform/com/com.h"
#include "platform/registry.h"
#include "testsupport/temp_dir.h"

namespace constructions::tickrule {
namespace {

using namespace platform::com;
using platform::S_OK;
namespace registry = platform::registry;

const std::string kLibrary = std::filesystem::absolute(TICKRULE_LIBRARY).lexically_normal().string();

std::optional<std::string> machineDefault(const std::string& key)
{
    return registry::readString(registry::Hive::Machine, "SOFTWARE\\Classes\\" + key, "");
}

class TickruleHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(registerLibrary(kLibrary), S_OK);
    }
    void TearDown() override
    {
        control.release();
        parent.reset();
        testsupport::resetHives();
    }

    // A control in a 400 by 200 parent, with one task, origin (200, 100), active.
    void place()
    {
        parent = std::make_unique<QWidget>();
        parent->resize(400, 200);
        ComPtr<IDispatch> object;
        ASSERT_EQ(createControl(CLSID_Tickrule, parent.get(), &object, &window), S_OK);
        window->setGeometry(0, 0, 400, 200);
        parent->show();
        control.attach(object);
        tasks.attach(control.getProperty<ComPtr<IDispatch>>(kDispTickruleTaskList));
        ComPtr<IDispatch> created;
        ASSERT_EQ(createInstance(CLSID_Task, created), S_OK);
        task.attach(created);
        task.setProperty(kDispTaskClientOriginPointX, std::int32_t{200});
        task.setProperty(kDispTaskClientOriginPointY, std::int32_t{100});
        tasks.invoke(kDispTasksAdd, created);
        tasks.setProperty(kDispTasksActiveTask, created);
    }

    // Part of the host's exchange: an interval by the host's ProgID, left end
    // closed at -2, right end at plus infinity.
    DispatchDriver addUnboundedInterval(const Variant& included, OLE_COLOR color)
    {
        ComPtr<IDispatch> created;
        EXPECT_EQ(createInstance(kIntervalHostProgId, created), S_OK);
        DispatchDriver item(created);
        DispatchDriver left(item.getProperty<ComPtr<IDispatch>>(kDispIntervalLeftPoint));
        left.setProperty(kDispPointIncluded, included);
        left.setProperty(kDispPointCoordinate, -2.0);
        DispatchDriver right(item.getProperty<ComPtr<IDispatch>>(kDispIntervalRightPoint));
        right.setProperty(kDispPointInfinity, std::int16_t{1});
        item.setProperty(kDispIntervalColor, color);
        task.invoke(kDispTaskAdd, created);
        task.invoke(kDispTaskUpdate);
        return item;
    }

    DispatchDriver addInterval(double left, double right, OLE_COLOR color, const std::string& name = {})
    {
        ComPtr<IDispatch> created;
        EXPECT_EQ(createInstance(kIntervalProgId, created), S_OK);
        DispatchDriver item(created);
        DispatchDriver(item.getProperty<ComPtr<IDispatch>>(kDispIntervalLeftPoint))
            .setProperty(kDispPointCoordinate, left);
        DispatchDriver(item.getProperty<ComPtr<IDispatch>>(kDispIntervalRightPoint))
            .setProperty(kDispPointCoordinate, right);
        item.setProperty(kDispIntervalColor, color);
        item.setProperty(kDispIntervalName, name);
        task.invoke(kDispTaskAdd, created);
        return item;
    }

    QImage shot(const char* name)
    {
        const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        image.save(QStringLiteral(TICKRULE_PNG_DIR "/tickrule_%1.png").arg(QLatin1String(name)));
        return image;
    }

    std::unique_ptr<QWidget> parent;
    QWidget* window = nullptr;
    DispatchDriver control;
    DispatchDriver tasks;
    DispatchDriver task;
};

TEST_F(TickruleHost, RegistersBothIntervalProgIdsAndRemovesThem)
{
    const std::string interval = CLSID_Interval.toString();
    EXPECT_EQ(machineDefault("CLSID\\" + interval + "\\ProgID"), kIntervalProgId);
    EXPECT_EQ(machineDefault("CLSID\\" + interval), "intervalTessaly Class");
    EXPECT_EQ(machineDefault(std::string(kIntervalHostProgId) + "\\CLSID"), interval);
    EXPECT_EQ(machineDefault("TickruleTessaly.Interval\\CurVer"), kIntervalProgId);
    EXPECT_EQ(machineDefault("TickruleTessaly.NumberAxisPointTessaly\\CLSID"), CLSID_NumberAxisPoint.toString());
    EXPECT_EQ(machineDefault("CLSID\\" + CLSID_Tickrule.toString()), "TickruleTessaly Class");
    ASSERT_EQ(unregisterLibrary(kLibrary), S_OK);
    EXPECT_FALSE(machineDefault(std::string(kIntervalHostProgId) + "\\CLSID"));
    EXPECT_FALSE(machineDefault(std::string(kIntervalProgId) + "\\CLSID"));
    EXPECT_FALSE(registry::keyExists(registry::Hive::Machine, "SOFTWARE\\Classes\\CLSID\\" + interval));
}

TEST_F(TickruleHost, HostExchangeDrawsAClosedEndTowardsInfinity)
{
    place();
    const OLE_COLOR color = 0x2080C0;  // red C0, green 80, blue 20
    const QColor drawn(0xC0, 0x80, 0x20);
    DispatchDriver item = addUnboundedInterval(Variant(true), color);
    QImage image = shot("unbounded_closed");
    EXPECT_EQ(image.pixelColor(140, 100), drawn);
    // The bar at row 86, solid from 140 to 18 pixels before the right edge, dashed over them.
    for (int x = 141; x < 382; x += 7)
        EXPECT_EQ(image.pixelColor(x, 86), drawn) << x;
    int ink = 0;
    int gaps = 0;
    for (int x = 382; x < 400; ++x)
        (image.pixelColor(x, 86) == drawn ? ink : gaps) += 1;
    EXPECT_GT(ink, 4);
    EXPECT_GT(gaps, 4);
    EXPECT_NE(image.pixelColor(140, 80), drawn);

    // A VARIANT_BOOL of 1 is not VARIANT_TRUE: the end is open, hollow in the back colour.
    task.invoke(kDispTaskRemoveAll);
    addUnboundedInterval(Variant(VARIANT_BOOL{1}), color);
    image = shot("unbounded_open");
    EXPECT_EQ(image.pixelColor(140, 100), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(143, 100), drawn);  // the ring
}

TEST_F(TickruleHost, InOutConversionsAndErrorInfoByDispid)
{
    place();
    double x = 1.0;
    task.invoke(kDispTaskConvertPointFromWorldToClient, &x);
    EXPECT_EQ(x, 230.0);
    task.invoke(kDispTaskConvertPointFromClientToWorld, &x);
    EXPECT_EQ(x, 1.0);
    DispatchDriver item = addInterval(1, 2, 0, "");
    EXPECT_EQ(item.invoke<std::int32_t>(kDispIntervalHasClientPoint, std::int32_t{245}, std::int32_t{93}), 1);
    EXPECT_EQ(task.invoke<double>(kDispTaskGetIntersectedIntervalsCount, 2.0, 5.0), 1.0);
    try {
        task.invoke(kDispTaskAdd, ComPtr<IDispatch>());
        ADD_FAILURE() << "a null interval was added";
    } catch (const Error& error) {
        EXPECT_EQ(error.info(), (ErrorInfo{"Task", IID_ITask,
                                           "Interval has to implement IInterval interface \t\t\t\t\t and have to be "
                                           "not NULL"}));
    }
    try {
        tasks.invoke(kDispTasksAdd, ComPtr<IDispatch>(task.get()));
        ADD_FAILURE() << "a task was added twice";
    } catch (const Error& error) {
        EXPECT_EQ(error.info(), (ErrorInfo{"Tasks", IID_ITasks, "Such task already exists in TaskList collection"}));
    }
}

TEST_F(TickruleHost, WholeLineIsDashedAtBothEnds)
{
    place();
    DispatchDriver item = addInterval(0, 0, 0x0000C0, "R");
    DispatchDriver(item.getProperty<ComPtr<IDispatch>>(kDispIntervalLeftPoint))
        .setProperty(kDispPointInfinity, std::int16_t{-1});
    DispatchDriver(item.getProperty<ComPtr<IDispatch>>(kDispIntervalRightPoint))
        .setProperty(kDispPointInfinity, std::int16_t{1});
    task.invoke(kDispTaskUpdate);
    const QImage image = shot("whole_line");
    const QColor red(0xC0, 0, 0);
    auto inkIn = [&](int from, int to) {
        int ink = 0;
        for (int x = from; x < to; ++x)
            ink += image.pixelColor(x, 86) == red ? 1 : 0;
        return ink;
    };
    EXPECT_EQ(inkIn(18, 382), 382 - 18);
    for (const auto& [from, to] : {std::pair{0, 18}, {382, 400}}) {
        EXPECT_GT(inkIn(from, to), 4) << from;
        EXPECT_LT(inkIn(from, to), 14) << from;
    }
    // No end point is finite: no circle on the axis, no selection line.
    EXPECT_NE(image.pixelColor(200, 100), red);
}

TEST_F(TickruleHost, MouseDragsTheAxisAndSelectsWithTheRightButton)
{
    place();
    DispatchDriver first = addInterval(1, 2, 0x0000C0, "A");
    DispatchDriver second = addInterval(-3, -1, 0x008000, "B");
    task.invoke(kDispTaskUpdate);

    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(245, 86));
    ComPtr<IDispatch> selected = task.getProperty<ComPtr<IDispatch>>(kDispTaskSelectedInterval);
    EXPECT_EQ(selected.get(), first.get());
    EXPECT_EQ(first.getProperty<VARIANT_BOOL>(kDispIntervalIsSelected), VARIANT_TRUE);
    shot("selected");
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(300, 30));
    EXPECT_FALSE(task.getProperty<ComPtr<IDispatch>>(kDispTaskSelectedInterval));

    window->setCursor(Qt::CrossCursor);  // the host's cursor comes back after the drag
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(window->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(window, QPoint(80, 70));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(80, 70));
    EXPECT_EQ(task.getProperty<std::int32_t>(kDispTaskClientOriginPointX), 230);
    EXPECT_EQ(task.getProperty<std::int32_t>(kDispTaskClientOriginPointY), 120);
    EXPECT_EQ(window->cursor().shape(), Qt::CrossCursor);
    const QImage image = shot("dragged");
    EXPECT_EQ(image.pixelColor(230 + 45, 120 - 14), QColor(0xC0, 0, 0));
}

TEST_F(TickruleHost, PlaceholderWithoutAnActiveTaskAndAListOutlivingItsControl)
{
    place();
    tasks.invoke(kDispTasksRemove, ComPtr<IDispatch>(task.get()));
    const QImage image = shot("placeholder");
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    // A right press or a drag without an active task does nothing.
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(20, 20));
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(window, QPoint(80, 70));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(80, 70));

    // A new list takes the control's window from the old one.
    ComPtr<IDispatch> newList;
    ASSERT_EQ(createInstance(CLSID_Tasks, newList), S_OK);
    control.setProperty(kDispTickruleTaskList, newList);
    EXPECT_EQ(tasks.getProperty<std::uint32_t>(kDispTasksTickruleHwnd), 0u);
    EXPECT_NE(DispatchDriver(newList).getProperty<std::uint32_t>(kDispTasksTickruleHwnd), 0u);

    // The list outlives its control: its task redraws into nothing.
    tasks.invoke(kDispTasksAdd, ComPtr<IDispatch>(task.get()));
    control.release();
    parent.reset();
    tasks.setProperty(kDispTasksActiveTask, ComPtr<IDispatch>(task.get()));
    task.invoke(kDispTaskUpdate);
    EXPECT_EQ(task.getProperty<std::int32_t>(kDispTaskIntervalCount), 0);
}

}  // namespace
}  // namespace constructions::tickrule
