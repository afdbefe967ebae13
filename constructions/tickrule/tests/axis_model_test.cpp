// The number-axis model called directly: bar levels, hit tests, lengths,
// selection, intersections, error texts, the picture of a task and who
// outlives whom.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>
#include <limits>

#include "constructions/tickrule/tickrule_classes.h"

namespace constructions::tickrule {
namespace {

using platform::E_FAIL;
using platform::S_FALSE;
using platform::S_OK;
using platform::com::ComPtr;
using platform::com::ErrorInfo;
using platform::com::make;
using platform::com::takeErrorInfo;
using platform::com::VARIANT_FALSE;
using platform::com::VARIANT_TRUE;

ComPtr<CInterval> interval(double left, double right, std::int16_t leftInfinity = 0, std::int16_t rightInfinity = 0)
{
    const ComPtr<CInterval> result = make<CInterval>();
    ComPtr<INumberAxisPoint> point;
    result->get_LeftPoint(point.put());
    point->put_Coordinate(left);
    point->put_Infinity(leftInfinity);
    result->get_RightPoint(point.put());
    point->put_Coordinate(right);
    point->put_Infinity(rightInfinity);
    return result;
}

// The view of the checks: 400 by 200, origin (200, 100), scale 30.
ComPtr<CAxisTask> viewTask()
{
    const ComPtr<CAxisTask> task = make<CAxisTask>();
    task->put_ClientOriginPointX(200);
    task->put_ClientOriginPointY(100);
    return task;
}

QImage picture(CAxisTask& task, int width = 400, int height = 200)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    task.paint(painter, width, height);
    return image;
}

int barRow(CInterval& item)
{
    std::int32_t index = 0;
    item.get_IntervalIndex(&index);
    return 100 - index * kLevelHeight;
}

TEST(AxisModel, BarsTakeTheLowestFreeLevel)
{
    const ComPtr<CAxisTask> task = viewTask();
    const ComPtr<CInterval> a = interval(1, 2);
    const ComPtr<CInterval> point = interval(2, 2);
    const ComPtr<CInterval> b = interval(3, 4);
    const ComPtr<CInterval> c = interval(5, 6);
    for (const auto& each : {a, point, b, c})
        ASSERT_EQ(task->Add(each.get()), S_OK);
    EXPECT_EQ(barRow(*a), 86);
    EXPECT_EQ(barRow(*b), 72);
    EXPECT_EQ(barRow(*c), 58);
    // The bar is drawn at its row, in its colour.
    c->put_Color(0x0000FF);
    const QImage drawn = picture(*task);
    EXPECT_EQ(drawn.pixelColor(380, 58), QColor(Qt::red));  // x = 30 * 6 + 200
    EXPECT_NE(drawn.pixelColor(380, 62), QColor(Qt::red));

    ASSERT_EQ(task->Remove(b.get()), S_OK);
    EXPECT_EQ(barRow(*c), 58);
    const ComPtr<CInterval> d = interval(-3, -1);
    task->Add(d.get());
    EXPECT_EQ(barRow(*d), 72);
    std::int32_t count = 0;
    task->get_IntervalCount(&count);
    EXPECT_EQ(count, 3);
}

TEST(AxisModel, HitTestPointAndLength)
{
    const ComPtr<CAxisTask> task = viewTask();
    const ComPtr<CInterval> bar = interval(1, 2);
    task->Add(bar.get());
    for (const auto& [y, hit] : {std::pair{79, 1}, {93, 1}, {78, 0}, {94, 0}}) {
        std::int32_t flag = -5;
        bar->HasClientPoint(245, y, &flag);
        EXPECT_EQ(flag, hit) << "row " << y;
    }
    std::int32_t flag = -5;
    bar->HasClientPoint(261, 86, &flag);  // right end at 260
    EXPECT_EQ(flag, 0);

    const ComPtr<CInterval> point = interval(2, 2);
    const ComPtr<CInterval> near = interval(2, 2.1);
    task->Add(point.get());
    task->Add(near.get());
    VARIANT_BOOL isPoint = VARIANT_FALSE;
    point->get_IsPoint(&isPoint);
    EXPECT_EQ(isPoint, VARIANT_TRUE);
    near->get_IsPoint(&isPoint);
    EXPECT_EQ(isPoint, VARIANT_FALSE);

    double length = 0;
    EXPECT_EQ(interval(1, 3.5)->get_Length(&length), S_OK);
    EXPECT_EQ(length, 2.5);
    EXPECT_EQ(interval(1, 0, 0, 1)->get_Length(&length), E_FAIL);

    // A far end is saturated, not wrapped: the bar still reaches across the view.
    const ComPtr<CInterval> far = interval(0, 1e300);
    task->Add(far.get());
    std::int32_t farLevel = 0;
    far->get_IntervalIndex(&farLevel);
    far->HasClientPoint(399, 100 - farLevel * kLevelHeight, &flag);
    EXPECT_EQ(flag, 1);

    // Without a task nothing is hit or a point, and nothing is drawn.
    const ComPtr<CInterval> loose = interval(2, 2);
    loose->get_IsPoint(&isPoint);
    EXPECT_EQ(isPoint, VARIANT_FALSE);
    loose->HasClientPoint(0, 0, &flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(loose->Draw(1), S_FALSE);
}

TEST(AxisModel, SelectionPutsAndIntersections)
{
    const ComPtr<CAxisTask> task = viewTask();
    const ComPtr<CInterval> a = interval(1, 3);
    const ComPtr<CInterval> b = interval(4, 5);
    task->Add(a.get());
    task->Add(b.get());
    a->put_IsSelected(VARIANT_TRUE);
    ComPtr<IInterval> selected;
    b->put_IsSelected(VARIANT_FALSE);  // not b's selection: nothing changes
    task->get_SelectedInterval(selected.put());
    EXPECT_EQ(selected.get(), static_cast<IInterval*>(a.get()));
    a->put_IsSelected(VARIANT_FALSE);
    task->get_SelectedInterval(selected.put());
    EXPECT_FALSE(selected);

    // The selected interval is drawn last: its line along the axis covers b's open end at 4.
    const ComPtr<CInterval> overlapping = interval(2.5, 4);
    a->put_Color(0x0000FF);
    task->Add(overlapping.get());
    a->put_IsSelected(VARIANT_TRUE);
    task->put_ClientOriginPointX(110);  // a from 140 to 200, the open end at 185
    const QImage drawn = picture(*task);
    EXPECT_EQ(drawn.pixelColor(185, 100), QColor(Qt::red));
    drawn.save(QStringLiteral(TICKRULE_PNG_DIR "/tickrule_selected_last.png"));
    task->Remove(overlapping.get());

    constexpr double inf = std::numeric_limits<double>::infinity();
    const ComPtr<CInterval> lowOpen = interval(0, 3, -1, 0);
    const struct {
        CInterval* item;
        double l, r;
        std::int32_t answer;
    } cases[] = {{a.get(), 4, 5, 0}, {a.get(), 3, 5, 1}, {a.get(), -1, 0.5, 0}, {a.get(), 2, 2, 1},
                 {lowOpen.get(), -100, -50, 1}, {lowOpen.get(), 3.5, inf, 0}};
    for (const auto& c : cases) {
        std::int32_t flag = -1;
        c.item->HasIntersection(c.l, c.r, &flag);
        EXPECT_EQ(flag, c.answer) << c.l << " " << c.r;
    }
    double count = 0;
    task->GetIntersectedIntervalsCount(2, 4.5, &count);
    EXPECT_EQ(count, 2.0);
}

TEST(AxisModel, ErrorTextsCarryTheirInterfaces)
{
    const ComPtr<CAxisTask> task = make<CAxisTask>();
    const ComPtr<CAxisTasks> list = make<CAxisTasks>();
    const ComPtr<CAxisTask> other = make<CAxisTask>();
    const std::string badInterval = "Interval has to implement IInterval interface \t\t\t\t\t and have to be not NULL";
    const struct {
        std::function<platform::HRESULT()> call;
        ErrorInfo info;
    } cases[] = {
        {[&] { return task->Add(nullptr); }, {"Task", IID_ITask, badInterval}},
        {[&] { return task->Add(other.get()); }, {"Task", IID_ITask, badInterval}},
        {[&] { return task->Remove(list.get()); }, {"Task", IID_ITask, badInterval}},
        {[&] { return task->Remove(interval(1, 2).get()); },
         {"Task", IID_ITask, "Interval must be a member of internal collection"}},
        {[&] { return list->Remove(task.get()); }, {"Tasks", IID_ITasks, "TaskList collection is empty"}},
        {[&] { return list->Add(nullptr); }, {"Tasks", IID_ITasks, "Task have to be not NULL"}},
        {[&] { return list->Add(interval(1, 2).get()); }, {"Tasks", IID_ITasks, "Task has to implement ITask interface"}},
        {[&] { return list->Add(task.get()) == S_OK ? list->Add(task.get()) : S_OK; },
         {"Tasks", IID_ITasks, "Such task already exists in TaskList collection"}},
        {[&] { return list->Remove(other.get()); },
         {"Tasks", IID_ITasks, "Given task is not a member of the TaskList collection"}},
        {[&] { return list->put_ActiveTask(nullptr); }, {"Tasks", IID_ITasks, "ActiveTask have to be not NULL"}},
        {[&] { return list->put_ActiveTask(interval(1, 2).get()); },
         {"Tasks", IID_ITasks, "ActiveTask has to implement ITask interface"}},
        {[&] { return list->put_ActiveTask(other.get()); },
         {"Tasks", IID_ITasks, "ActiveTask have to be a member of a TaskList collection"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.info.description);
        EXPECT_EQ(c.call(), E_FAIL);
        EXPECT_EQ(takeErrorInfo(), c.info);
    }
}

TEST(AxisModel, TicksAtScaleTwentyAndNoneBelowOne)
{
    const ComPtr<CAxisTask> task = viewTask();
    task->put_AbscissScale(20);
    task->put_GridColor(0xFFFFFF);  // the grid out of the way of the tick checks
    const QImage drawn = picture(*task);
    const QColor label(36, 18, 252);
    auto labelColumns = [&](const QImage& image) {
        std::vector<int> columns;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 104; y < 125; ++y)
                if (image.pixelColor(x, y) == label) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    };
    for (int k = -10; k < 10; ++k) {
        const int x = 200 + 20 * k;
        EXPECT_EQ(drawn.pixelColor(x, 98), QColor(Qt::black)) << "tick at " << x;
        EXPECT_NE(drawn.pixelColor(x + 10, 98), QColor(Qt::black));
    }
    // Every label sits under its tick: label ink only within 8 pixels of one.
    const std::vector<int> columns = labelColumns(drawn);
    ASSERT_FALSE(columns.empty());
    for (int x : columns)
        EXPECT_LE(std::abs((x + 8) % 20 - 8), 8) << x;
    drawn.save(QStringLiteral(TICKRULE_PNG_DIR "/tickrule_scale20.png"));

    for (double scale : {0.5, -30.0}) {
        task->put_AbscissScale(scale);
        EXPECT_TRUE(labelColumns(picture(*task)).empty()) << scale;
    }
    EXPECT_EQ(task->put_AbscissScale(std::nan("")), S_FALSE);
    EXPECT_EQ(task->put_AbscissScale(0.0), S_FALSE);
    double scale = 0;
    task->get_AbscissScale(&scale);
    EXPECT_EQ(scale, -30.0);
}

TEST(AxisModel, WhatGoesFirstLeavesNoDanglingPointer)
{
    ComPtr<CInterval> kept = interval(1, 2);
    ComPtr<CAxisTask> task = viewTask();
    task->Add(kept.get());
    std::int32_t level = 0;
    kept->get_IntervalIndex(&level);
    task.reset();
    // The task is gone: the interval names none and keeps its level.
    ComPtr<ITask> owner;
    kept->get_Task(owner.put());
    EXPECT_FALSE(owner);
    std::int32_t after = -1;
    kept->get_IntervalIndex(&after);
    EXPECT_EQ(after, level);
    std::int32_t flag = -1;
    kept->HasClientPoint(230, 86, &flag);
    EXPECT_EQ(flag, 0);
    VARIANT_BOOL selected = VARIANT_TRUE;
    EXPECT_EQ(kept->get_IsSelected(&selected), S_FALSE);
    EXPECT_EQ(kept->put_IsSelected(VARIANT_TRUE), S_FALSE);

    ComPtr<CAxisTask> keptTask = viewTask();
    ComPtr<CAxisTasks> list = make<CAxisTasks>();
    list->Add(keptTask.get());
    list->put_ActiveTask(keptTask.get());
    list.reset();
    ComPtr<ITasks> named;
    keptTask->get_TaskList(named.put());
    EXPECT_FALSE(named);
    EXPECT_EQ(keptTask->Update(), S_FALSE);

    // Removing the active task clears it; removing an interval clears its task.
    list = make<CAxisTasks>();
    list->Add(keptTask.get());
    list->put_ActiveTask(keptTask.get());
    list->Remove(keptTask.get());
    ComPtr<ITask> active;
    list->get_ActiveTask(active.put());
    EXPECT_FALSE(active);
    keptTask->Add(kept.get());
    keptTask->Remove(kept.get());
    kept->get_Task(owner.put());
    EXPECT_FALSE(owner);
}

}  // namespace
}  // namespace constructions::tickrule
