// The number axis: an interval the kernel computes for the picked part is
// drawn on a number-axis control in a bar at the bottom of the frame.
#include <QAction>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>

#include "constructions/tickrule/tickrule_ids.h"
#include "platform/com/com.h"
#include "shared/language.h"
#include "shared/widgets/docking_pane_bar.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/main_frame.h"
#include "stepwell/model/interval_reply.h"
#include "stepwell/model/pane_heights.h"

namespace stepwell {

namespace {

namespace tickrule = constructions::tickrule;
using platform::com::ComPtr;
using platform::com::DispatchDriver;
using platform::com::IDispatch;

constexpr int kNumberAxisBarId = 0xE811;
constexpr int kNumberAxisHeight = 120;
// Pixels a unit: a tick and its label every unit; a label a margin inside
// the edges shows whole.
constexpr int kAxisScale = 30;
constexpr int kAxisLabelMargin = 15;

// A failed creation as the error a failing call raises.
void check(platform::HRESULT hr, const char* what)
{
    if (hr != platform::S_OK)
        throw platform::com::Error(hr, what);
}

}  // namespace

bool CStepwellMainFrame::createNumberAxis()
{
    if (m_numberAxisBar)
        return true;
    auto* holder = new QWidget;
    holder->setObjectName(QStringLiteral("numberAxis"));
    holder->resize(600, kNumberAxisHeight);
    ComPtr<IDispatch> control;
    QWidget* window = nullptr;
    check(platform::com::createControl(tickrule::CLSID_Tickrule, holder, &control, &window), "Tickrule");
    // The control fills its holder.
    m_numberAxisWindow = window;
    holder->installEventFilter(this);
    window->setGeometry(holder->rect());
    m_numberAxis.attach(control);
    DispatchDriver tasks(m_numberAxis.getProperty<ComPtr<IDispatch>>(tickrule::kDispTickruleTaskList));
    ComPtr<IDispatch> task;
    check(platform::com::createInstance(tickrule::CLSID_Task, task), "Tickrule.Task");
    DispatchDriver taskDriver(task);
    taskDriver.setProperty(tickrule::kDispTaskAbscissScale, double{kAxisScale});
    tasks.invoke(tickrule::kDispTasksAdd, task);
    tasks.setProperty(tickrule::kDispTasksActiveTask, task);
    placeNumberAxisOrigin();

    m_numberAxisBar = new shared::CDockingPaneBar;
    m_numberAxisBar->Create(this, holder, QString::fromStdString(shared::GetLangString("viewNumAxis")),
                            kNumberAxisBarId, 0);
    m_numberAxisBar->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, m_numberAxisBar);
    return true;
}

void CStepwellMainFrame::placeNumberAxisOrigin()
{
    if (!m_numberAxis || !m_numberAxisWindow)
        return;
    const QSize size = m_numberAxisWindow->size();
    try {
        DispatchDriver tasks(m_numberAxis.getProperty<ComPtr<IDispatch>>(tickrule::kDispTickruleTaskList));
        DispatchDriver task(tasks.getProperty<ComPtr<IDispatch>>(tickrule::kDispTasksActiveTask));
        task.setProperty(tickrule::kDispTaskClientOriginPointX,
                         std::int32_t{AxisOriginX(size.width(), kAxisScale, kAxisLabelMargin)});
        task.setProperty(tickrule::kDispTaskClientOriginPointY, std::int32_t{size.height() / 2});
        task.invoke(tickrule::kDispTaskUpdate);
    } catch (const platform::com::Error&) {
        // (called from a resize too) the axis keeps the place it had
    }
}

void CStepwellMainFrame::onViewNumberAxis()
{
    if (!m_numberAxisBar) {
        action(kCmdViewNumAxis)->setChecked(false);
        return;
    }
    m_numberAxisBar->setVisible(m_numberAxisBar->isHidden());
    action(kCmdViewNumAxis)->setChecked(!m_numberAxisBar->isHidden());
}

void CStepwellMainFrame::clearNumberAxis()
{
    if (!m_numberAxisBar)
        return;
    try {
        DispatchDriver tasks(m_numberAxis.getProperty<ComPtr<IDispatch>>(tickrule::kDispTickruleTaskList));
        DispatchDriver task(tasks.getProperty<ComPtr<IDispatch>>(tickrule::kDispTasksActiveTask));
        task.invoke(tickrule::kDispTaskRemoveAll);
        task.invoke(tickrule::kDispTaskUpdate);
    } catch (const std::exception& error) {
        // The bar goes out of sight all the same.
        std::fprintf(stderr, "Stepwell: the number axis keeps its intervals: %s\n", error.what());
    }
    m_numberAxisBar->hide();
    action(kCmdViewNumAxis)->setChecked(false);
}

bool CStepwellMainFrame::ExchangeInterval(const std::string& args)
{
    std::string reply;
    if (!CallKernel(1035, args, reply))
        return false;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const unsigned red = static_cast<unsigned>(std::rand() % 210);
    const unsigned green = static_cast<unsigned>(std::rand() % 210);
    const unsigned blue = static_cast<unsigned>(std::rand() % 210);
    const IntervalReply read = ReadIntervalReply(reply);

    createNumberAxis();
    ComPtr<IDispatch> created;
    check(platform::com::createInstance(tickrule::kIntervalHostProgId, created), tickrule::kIntervalHostProgId);
    DispatchDriver interval(created);
    DispatchDriver left(interval.getProperty<ComPtr<IDispatch>>(tickrule::kDispIntervalLeftPoint));
    left.setProperty(tickrule::kDispPointIncluded, read.leftIncluded);
    if (read.minusInfinity)
        left.setProperty(tickrule::kDispPointInfinity, std::int16_t{-1});
    else
        left.setProperty(tickrule::kDispPointCoordinate, read.left);
    DispatchDriver right(interval.getProperty<ComPtr<IDispatch>>(tickrule::kDispIntervalRightPoint));
    right.setProperty(tickrule::kDispPointIncluded, read.rightIncluded);
    if (read.plusInfinity)
        right.setProperty(tickrule::kDispPointInfinity, std::int16_t{1});
    else
        right.setProperty(tickrule::kDispPointCoordinate, read.right);
    interval.setProperty(tickrule::kDispIntervalColor,
                         static_cast<platform::com::OLE_COLOR>(red | (green << 8) | (blue << 16)));

    DispatchDriver tasks(m_numberAxis.getProperty<ComPtr<IDispatch>>(tickrule::kDispTickruleTaskList));
    DispatchDriver task(tasks.getProperty<ComPtr<IDispatch>>(tickrule::kDispTasksActiveTask));
    task.invoke(tickrule::kDispTaskAdd, created);
    task.invoke(tickrule::kDispTaskUpdate);
    m_numberAxisBar->show();
    action(kCmdViewNumAxis)->setChecked(true);
    return true;
}

}  // namespace stepwell
