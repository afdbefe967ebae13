// Tasks, the task list and the control through the registered library: by
// CLSID and ProgID, by vtable and by dispid, with a recording construction.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "constructions/plotwise/component/tests/plotwise_host.h"
#include "platform/fonts.h"

namespace constructions::plotwise::test {
namespace {

using Task = PlotwiseHost;

TEST_F(Task, ClassesAreMadeByClsidAndProgId)
{
    for (const auto& [clsid, iid, name] : {std::tuple{CLSID_ZezidoziBuilder, IID_IZezidoziBuilder, "ZezidoziBuilder"},
                                           std::tuple{CLSID_Task, IID_ITask, "Task"},
                                           std::tuple{CLSID_Tasks, IID_ITasks, "Tasks"}}) {
        SCOPED_TRACE(name);
        void* object = nullptr;
        ASSERT_EQ(createInstance(clsid, iid, &object), platform::S_OK);
        static_cast<IUnknown*>(object)->Release();
        for (const std::string& progId : {std::string("ZezidoziCtrlTessaly.") + name + ".1",
                                         std::string("ZezidoziCtrlTessaly.") + name}) {
            CLSID found;
            ASSERT_EQ(clsidFromProgId(progId, &found), platform::S_OK) << progId;
            EXPECT_EQ(found, clsid);
        }
    }
}

TEST_F(Task, MembersByDispidWithConversions)
{
    const ComPtr<ITask> task = newTask();
    DispatchDriver driver(ComPtr<IDispatch>(task.get()));
    driver.setProperty(disp::task::ClientOriginPointX, std::int32_t{200});
    driver.setProperty(disp::task::ClientOriginPointY, std::int32_t{150});
    driver.setProperty(disp::task::AbscissScale, 10.0);
    EXPECT_EQ(driver.getProperty<double>(disp::task::AbscissScale), 10.0);
    EXPECT_EQ(driver.getProperty<double>(disp::task::OrdinateScale), 20.0);
    EXPECT_EQ(driver.getProperty<std::string>(disp::task::AbscissName), "x");
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::task::GridColor), 0xFFC8C8);

    double x = 2, y = 3;
    driver.invoke(disp::task::convertPointFromWorldToClient, &x, &y);
    EXPECT_EQ(x, 220.0);
    EXPECT_EQ(y, 90.0);
    driver.invoke(disp::task::convertPointFromClientToWorld, &x, &y);
    EXPECT_EQ(x, 2.0);
    EXPECT_EQ(y, 3.0);
    driver.invoke(disp::task::convertPieceFromWorldToClient, &x, &y);
    EXPECT_EQ(x, 20.0);
    EXPECT_EQ(y, 60.0);
    driver.invoke(disp::task::convertPieceFromClientToWorld, &x, &y);
    EXPECT_EQ(x, 2.0);
    EXPECT_EQ(y, 3.0);

    // Without a collection there is no client area.
    double l = 1, t = 1, w = 1, h = 1;
    driver.invoke(disp::task::Get_ClientRect, &l, &t, &w, &h);
    EXPECT_EQ(std::tuple(l, t, w, h), std::tuple(0.0, 0.0, 0.0, 0.0));
    EXPECT_THROW(driver.getProperty<std::int32_t>(disp::task::BgColor), Error);
    EXPECT_EQ(task->RepositionToCenter(), platform::E_FAIL);
    EXPECT_EQ(task->Update(defaultUpdate), platform::S_FALSE);
}

TEST_F(Task, WindowGivesClientAndWorldRectangles)
{
    const ComPtr<ITask> task = taskInWindow(400, 300);
    DispatchDriver driver(ComPtr<IDispatch>(task.get()));
    ASSERT_EQ(task->RepositionToCenter(), platform::S_OK);
    double l = 0, t = 0, r = 0, b = 0;
    driver.invoke(disp::task::Get_ClientRect, &l, &t, &r, &b);
    EXPECT_EQ(std::tuple(l, t, r, b), std::tuple(0.0, 0.0, 400.0, 300.0));
    driver.invoke(disp::task::Get_WorldRect, &l, &t, &r, &b);
    EXPECT_EQ(std::tuple(l, t, r, b), std::tuple(-10.0, 7.5, 10.0, -7.5));
    std::int32_t cx = 0, cy = 0;
    driver.invoke(disp::task::Get_ClientSize, &cx, &cy);
    EXPECT_EQ(std::tuple(cx, cy), std::tuple(400, 300));

    driver.invoke(disp::task::MoveTo, 1.0, 2.0);
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::task::ClientOriginPointX), 180);
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::task::ClientOriginPointY), 190);

    // Truncations and the origin saturate rather than overflow.
    driver.invoke(disp::task::MoveTo, 1e300, -1e300);
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::task::ClientOriginPointX), -100000000);
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::task::ClientOriginPointY), -100000000);
}

TEST_F(Task, ScalePutsRefuseZeroAndNanButRedraw)
{
    const ComPtr<ITask> task = taskInWindow();
    const auto recorder = make<TestConstruction>();
    ASSERT_EQ(task->Add(recorder.get()), platform::S_OK);
    for (double bad : {0.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        recorder->drawCodes.clear();
        EXPECT_EQ(task->put_AbscissScale(bad), platform::S_OK);
        EXPECT_EQ(task->put_OrdinateScale(bad), platform::S_OK);
        double scale = 0;
        task->get_AbscissScale(&scale);
        EXPECT_EQ(scale, 20.0);
        task->get_OrdinateScale(&scale);
        EXPECT_EQ(scale, 20.0);
        EXPECT_EQ(recorder->drawCodes, (std::vector<std::int32_t>{0, 0}));
    }
}

TEST_F(Task, ErrorsCarryTheirTextSourceAndInterface)
{
    const ComPtr<ITask> task = newTask();
    const ComPtr<ITask> other = newTask();
    const auto construction = make<TestConstruction>();
    const auto stranger = make<NotAConstruction>();
    ASSERT_EQ(other->Add(construction.get()), platform::S_OK);

    struct Case {
        const char* text;
        std::function<HRESULT()> call;
        IUnknown* object;
        const char* source;
        IID iid;
    };
    const ComPtr<ITasks> list = newTasks();
    const ComPtr<ITask> outsider = newTask();
    const Case cases[] = {
        {"New Construction must not be NULL pointer!", [&] { return task->Add(nullptr); }, task.get(), "Task",
         IID_ITask},
        {"Provided argument is not Construction object!", [&] { return task->Add(stranger.get()); }, task.get(),
         "Task", IID_ITask},
        {"The Construction is already in some Task!", [&] { return task->Add(construction.get()); }, task.get(),
         "Task", IID_ITask},
        {"Task collection is empty!", [&] { return task->Remove(construction.get()); }, task.get(), "Task",
         IID_ITask},
        {"New Task must not be NULL pointer!", [&] { return list->Add(nullptr); }, list.get(), "Tasks", IID_ITasks},
        {"Tasks collection is empty!", [&] { return list->Remove(outsider.get()); }, list.get(), "Tasks",
         IID_ITasks},
        {"Active Task must not be NULL pointer!", [&] { return list->put_ActiveTask(nullptr); }, list.get(),
         "Tasks", IID_ITasks},
        {"Active Task must be a member of Tasks collection!", [&] { return list->put_ActiveTask(outsider.get()); },
         list.get(), "Tasks", IID_ITasks},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.call(), platform::E_FAIL);
        const std::optional<ErrorInfo> info = lastError(c.object, c.iid);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->description, c.text);
        EXPECT_EQ(info->source, c.source);
        EXPECT_EQ(info->iid, c.iid);
    }

    // The same failure through dispatch: the text, not a type mismatch.
    DispatchDriver driver(ComPtr<IDispatch>(task.get()));
    try {
        driver.invoke(disp::task::Add, ComPtr<IDispatch>(stranger.get()));
        ADD_FAILURE() << "Add of a non-construction succeeded";
    } catch (const Error& error) {
        EXPECT_EQ(error.hr(), platform::E_FAIL);
        EXPECT_EQ(error.info().description, "Provided argument is not Construction object!");
    }
}

TEST_F(Task, ListIterationAndActiveTask)
{
    const ComPtr<ITask> task = newTask();
    const auto a = make<TestConstruction>();
    const auto b = make<TestConstruction>();
    task->Add(a.get());
    task->Add(b.get());
    IConstruction* got = nullptr;
    EXPECT_EQ(task->GetNext(&got), platform::S_OK);
    EXPECT_EQ(got, static_cast<IConstruction*>(a.get()));
    got->Release();
    EXPECT_EQ(task->GetPrev(&got), platform::S_OK);
    EXPECT_EQ(got, static_cast<IConstruction*>(b.get()));
    got->Release();
    task->GetNext(&got);
    got->Release();
    EXPECT_EQ(task->GetNext(&got), platform::S_OK);
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(task->Remove(a.get()), platform::S_OK);
    EXPECT_EQ(a->task, nullptr);
    EXPECT_EQ(task->RemoveAll(), platform::S_OK);
    EXPECT_EQ(b->task, nullptr);

    // The collection: a task never added leaves the active one; Add with a
    // window known calls the task's Init at once.
    const ComPtr<ITasks> list = newTasks();
    const ComPtr<ITask> member = newTask();
    const ComPtr<ITask> stranger = newTask();
    list->put_hWND(77);
    const auto recorder = make<TestConstruction>();
    member->Add(recorder.get());
    ASSERT_EQ(list->Add(member.get()), platform::S_OK);
    EXPECT_EQ(recorder->initWindows, (std::vector<WindowHandle>{77}));
    ASSERT_EQ(list->put_ActiveTask(member.get()), platform::S_OK);
    EXPECT_EQ(list->put_ActiveTask(stranger.get()), platform::E_FAIL);
    ComPtr<ITask> active;
    list->get_ActiveTask(active.put());
    EXPECT_EQ(active.get(), member.get());
    list->Remove(member.get());
    list->get_ActiveTask(active.put());
    EXPECT_FALSE(active);
    ComPtr<ITasks> owner;
    member->get_Tasks(owner.put());
    EXPECT_FALSE(owner);
}

TEST_F(Task, UpdateOnlyForTheActiveTaskWithWindowAndContext)
{
    const ComPtr<ITask> task = taskInWindow();
    const auto recorder = make<TestConstruction>();
    task->Add(recorder.get());
    EXPECT_EQ(task->Update(kPaintUpdate), platform::S_OK);
    EXPECT_EQ(recorder->drawCodes, (std::vector<std::int32_t>{200}));

    const ComPtr<ITask> second = newTask();
    const auto secondRecorder = make<TestConstruction>();
    second->Add(secondRecorder.get());
    tasks->Add(second.get());
    EXPECT_EQ(second->Update(defaultUpdate), platform::S_FALSE) << "not the active task";
    second->put_ShowGrid(0);
    EXPECT_TRUE(secondRecorder->drawCodes.empty());

    tasks->put_hDc(0);
    EXPECT_EQ(task->Update(defaultUpdate), platform::S_FALSE);
    tasks->put_hDc(canvasDc->handle());
    plainWindow.reset();
    EXPECT_EQ(task->Update(defaultUpdate), platform::S_FALSE) << "the window is gone";
    EXPECT_EQ(recorder->drawCodes.size(), 1u);
}

TEST_F(Task, TabulateWalksOnlyTheView)
{
    const ComPtr<ITask> task = taskInWindow(400, 300);
    task->RepositionToCenter();  // origin (200, 150), scale 20: x from -10 to 10
    const auto f = make<TestConstruction>();
    task->Add(f.get());
    const auto dc = canvasDc->handle();

    EXPECT_EQ(task->tabulate(dc, f.get(), 1.0, 1.0, 0, 0, 1.0), platform::S_OK);
    EXPECT_TRUE(f->evaluatedAt.empty()) << "start equal to end";
    EXPECT_EQ(task->tabulate(dc, f.get(), 1.0, 2.0, 0, 0, -1.0), platform::S_OK);
    EXPECT_TRUE(f->evaluatedAt.empty()) << "direction against the step";

    EXPECT_EQ(task->tabulate(dc, f.get(), -1e7, 10.0, 0, 0, 1.0), platform::S_OK);
    EXPECT_LE(f->evaluatedAt.size(), 410u);
    EXPECT_GE(f->evaluatedAt.size(), 400u);
    EXPECT_DOUBLE_EQ(f->evaluatedAt.back(), 10.0);

    // exceptLeft / exceptRight leave out the first and last step of a kept end.
    f->evaluatedAt.clear();
    EXPECT_EQ(task->tabulate(dc, f.get(), 0.0, 1.0, 1, 1, 2.0), platform::S_OK);
    ASSERT_EQ(f->evaluatedAt.size(), 9u);
    EXPECT_DOUBLE_EQ(f->evaluatedAt.front(), 0.1);
    EXPECT_DOUBLE_EQ(f->evaluatedAt.back(), 0.9);
    // ...and not to an end the narrowing moved.
    f->evaluatedAt.clear();
    EXPECT_EQ(task->tabulate(dc, f.get(), -100.0, 0.0, 1, 0, 1.0), platform::S_OK);
    ASSERT_FALSE(f->evaluatedAt.empty());
    EXPECT_DOUBLE_EQ(f->evaluatedAt.front(), -10.05);

    // A tiny step is walked in a bounded number of steps, by dispatch too.
    f->evaluatedAt.clear();
    DispatchDriver driver(ComPtr<IDispatch>(task.get()));
    driver.invoke(disp::task::tabulate, dc, ComPtr<IDispatch>(f.get()), -1.0, 1.0, std::int32_t{0},
                  std::int32_t{0}, 1e-12);
    EXPECT_GT(f->evaluatedAt.size(), 1000u);
    EXPECT_LE(f->evaluatedAt.size(), (1u << 20) + 1);

    // tabulateAll walks the view, narrowed to a finite interval end.
    f->evaluatedAt.clear();
    f->useInterval = VARIANT_TRUE;
    f->leftInfinite = VARIANT_FALSE;
    f->left = -1.0;
    f->right = 2.0;  // infinite: not used
    EXPECT_EQ(task->tabulateAll(dc, f.get(), 1.0), platform::S_OK);
    ASSERT_FALSE(f->evaluatedAt.empty());
    EXPECT_DOUBLE_EQ(f->evaluatedAt.front(), -1.0);
    EXPECT_DOUBLE_EQ(f->evaluatedAt.back(), 10.0);
}

TEST_F(Task, TabulateJoinsAnUndefinedStretchStraightAcross)
{
    const ComPtr<ITask> task = taskInWindow(400, 300);
    task->RepositionToCenter();
    const auto f = make<TestConstruction>();
    f->function = [](double x) -> std::optional<double> {
        if (x > -2 && x < 2)
            return std::nullopt;
        return 2.0;
    };
    canvas.fill(Qt::white);
    canvasPainter->setPen(QPen(Qt::black, 1));
    EXPECT_EQ(task->tabulate(canvasDc->handle(), f.get(), -5.0, 5.0, 0, 0, 1.0), platform::S_OK);
    // y = 2 is row 110; the gap from x = -2 to 2 (columns 160 to 240) is bridged.
    for (int column : {110, 160, 200, 239, 290})
        EXPECT_EQ(canvas.pixelColor(column, 110), QColor(Qt::black)) << column;
    EXPECT_EQ(canvas.pixelColor(200, 109), QColor(Qt::white));
}

TEST_F(Task, HugeAndNanPointsAreClippedOrLeftOut)
{
    const ComPtr<ITask> task = taskInWindow(400, 300);
    task->RepositionToCenter();
    const auto f = make<TestConstruction>();
    // A steep line through the origin, with one NaN sample on the way.
    f->function = [](double x) -> std::optional<double> {
        if (x > 3 && x < 3.1)
            return std::nan("");
        return 1e12 * x;
    };
    canvas.fill(Qt::white);
    canvasPainter->setPen(QPen(Qt::black, 1));
    EXPECT_EQ(task->tabulate(canvasDc->handle(), f.get(), -5.0, 5.0, 0, 0, 1.0), platform::S_OK);
    // Every row has the line within a pixel of x = 0 (column 200).
    int rowsCrossed = 0;
    for (int row = 0; row < 300; ++row) {
        bool found = false;
        for (int column = 199; column <= 201; ++column)
            found = found || canvas.pixelColor(column, row) == QColor(Qt::black);
        rowsCrossed += found;
    }
    EXPECT_EQ(rowsCrossed, 300);
}

TEST_F(Task, ConstructionsFindTheGridsDrawingState)
{
    const ComPtr<ITask> task = taskInWindow();
    struct Seen {
        QFont font;
        Qt::BGMode mode = Qt::OpaqueMode;
        QPen pen;
    } seen;
    const auto probe = make<TestConstruction>();
    probe->onDraw = [&](DeviceContextHandle dc) {
        QPainter* painter = platform::handles::painterOf(dc);
        ASSERT_NE(painter, nullptr);
        seen = {painter->font(), painter->backgroundMode(), painter->pen()};
        EXPECT_FALSE(painter->testRenderHint(QPainter::Antialiasing));
    };
    task->Add(probe.get());
    ASSERT_EQ(task->Update(defaultUpdate), platform::S_OK);
    EXPECT_EQ(seen.font, platform::fonts::systemFont());
    EXPECT_EQ(seen.mode, Qt::TransparentMode);
    EXPECT_EQ(seen.pen.color(), QColor(Qt::black));
    EXPECT_EQ(seen.pen.width(), 1);
    // The image reached the window's device context: white with the axes.
    EXPECT_EQ(canvas.pixelColor(5, 5), QColor(Qt::white));
}

TEST_F(Task, BackPointersAreClearedByTheSideThatGoes)
{
    const auto construction = make<TestConstruction>();
    ComPtr<ITask> task = newTask();
    {
        const ComPtr<ITasks> list = placeControl();
        task->Add(construction.get());
        list->Add(task.get());
        list->put_ActiveTask(task.get());
    }
    // The control and its collection go; the task lives on.
    control.reset();
    parent.reset();
    ComPtr<ITasks> owner;
    task->get_Tasks(owner.put());
    EXPECT_FALSE(owner);
    EXPECT_EQ(task->Update(defaultUpdate), platform::S_FALSE);
    // The task goes; the construction lives on and names no task.
    task.reset();
    EXPECT_EQ(construction->task, nullptr);
}

}  // namespace
}  // namespace constructions::plotwise::test
