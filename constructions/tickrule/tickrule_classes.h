#pragma once
// The classes of the number-axis library: an end point, an interval between
// two end points, a number-axis task holding intervals, the task list naming
// the window the tasks draw into, and the control owning a task list.
#include <QCursor>
#include <QPointer>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "constructions/tickrule/tickrule_interfaces.h"

class QPainter;
class QWidget;

namespace constructions::tickrule {

using platform::com::ComPtr;
using platform::com::DispatchMember;
using platform::com::DispatchObject;
using platform::com::IControlWindow;
using platform::com::ISupportErrorInfo;

// The level step of the bars: an interval of index i is drawn i * 14 pixels above the axis.
constexpr int kLevelHeight = 14;

class CNumberAxisPoint final : public DispatchObject<CNumberAxisPoint, INumberAxisPoint, ISupportErrorInfo> {
public:
    static std::span<const DispatchMember<CNumberAxisPoint>> dispatchMembers();

    HRESULT get_xml(std::string* xml) override;
    HRESULT put_xml(const std::string& xml) override;
    HRESULT get_Coordinate(double* value) override;
    HRESULT put_Coordinate(double value) override;
    HRESULT get_FormulaTip(std::string* value) override;
    HRESULT put_FormulaTip(const std::string& value) override;
    HRESULT get_Included(VARIANT_BOOL* value) override;
    HRESULT put_Included(VARIANT_BOOL value) override;
    HRESULT get_Infinity(std::int16_t* value) override;
    HRESULT put_Infinity(std::int16_t value) override;

private:
    double m_coordinate = 0.0;
    std::string m_formulaTip;
    bool m_included = false;
    std::int16_t m_infinity = 0;
};

class CInterval final : public DispatchObject<CInterval, IInterval, ISupportErrorInfo> {
public:
    CInterval();
    static std::span<const DispatchMember<CInterval>> dispatchMembers();

    HRESULT get_xml(std::string* xml) override;
    HRESULT put_xml(const std::string& xml) override;
    HRESULT Draw(DeviceContextHandle hdc) override;
    HRESULT get_IntervalIndex(std::int32_t* value) override;
    HRESULT put_IntervalIndex(std::int32_t value) override;
    HRESULT get_Color(OLE_COLOR* value) override;
    HRESULT put_Color(OLE_COLOR value) override;
    HRESULT get_IsPoint(VARIANT_BOOL* value) override;
    HRESULT get_Length(double* value) override;
    HRESULT get_Name(std::string* value) override;
    HRESULT put_Name(const std::string& value) override;
    HRESULT get_ShowName(std::int32_t* value) override;
    HRESULT put_ShowName(std::int32_t value) override;
    HRESULT get_Task(ITask** task) override;
    HRESULT put_Task(ITask* task) override;
    HRESULT HasClientPoint(std::int32_t x, std::int32_t y, std::int32_t* flag) override;
    HRESULT HasIntersection(double left, double right, std::int32_t* flag) override;
    HRESULT get_LeftPoint(INumberAxisPoint** point) override;
    HRESULT put_LeftPoint(INumberAxisPoint* point) override;
    HRESULT get_RightPoint(INumberAxisPoint** point) override;
    HRESULT put_RightPoint(INumberAxisPoint* point) override;
    HRESULT get_IsSelected(VARIANT_BOOL* value) override;
    HRESULT put_IsSelected(VARIANT_BOOL value) override;

private:
    struct End {
        double coordinate = 0.0;
        std::int16_t infinity = 0;
        bool included = false;
        int clientX = 0;
    };
    // Both end points read through their interface; false when one is missing.
    bool readEnds(End& left, End& right) const;
    bool isPoint(const End& left, const End& right) const;
    int clientX(double coordinate) const;
    int axisY() const;
    int barY() const;
    bool selected() const;
    void drawEnd(QPainter& painter, const End& end, bool nameAbove) const;

    ComPtr<INumberAxisPoint> m_right;
    ComPtr<INumberAxisPoint> m_left;
    ITask* m_task = nullptr;  // the owning task; it clears this when it lets the interval go
    std::string m_name;
    std::int32_t m_showName = 1;
    OLE_COLOR m_color = 0;
    std::int32_t m_index = 0;
    std::int32_t m_pointTolerance = 1;
};

class CAxisTask final : public DispatchObject<CAxisTask, ITask, ISupportErrorInfo> {
public:
    ~CAxisTask() override;
    static std::span<const DispatchMember<CAxisTask>> dispatchMembers();

    HRESULT get_xml(std::string* xml) override;
    HRESULT put_xml(const std::string& xml) override;
    HRESULT get_AbscissName(std::string* value) override;
    HRESULT put_AbscissName(const std::string& value) override;
    HRESULT get_AbscissScale(double* value) override;
    HRESULT put_AbscissScale(double value) override;
    HRESULT get_BackColor(OLE_COLOR* value) override;
    HRESULT put_BackColor(OLE_COLOR value) override;
    HRESULT get_ClientOriginPointX(std::int32_t* value) override;
    HRESULT put_ClientOriginPointX(std::int32_t value) override;
    HRESULT get_ClientOriginPointY(std::int32_t* value) override;
    HRESULT put_ClientOriginPointY(std::int32_t value) override;
    HRESULT get_SelectedInterval(IInterval** interval) override;
    HRESULT put_SelectedInterval(IInterval* interval) override;
    HRESULT get_ShowGrid(VARIANT_BOOL* value) override;
    HRESULT put_ShowGrid(VARIANT_BOOL value) override;
    HRESULT get_TaskList(ITasks** list) override;
    HRESULT put_TaskList(ITasks* list) override;
    HRESULT Add(IDispatch* interval) override;
    HRESULT ConvertPointFromClientToWorld(double* x) override;
    HRESULT ConvertPointFromWorldToClient(double* x) override;
    HRESULT GetIntersectedIntervalsCount(double left, double right, double* count) override;
    HRESULT GetNext(IInterval** interval) override;
    HRESULT GetPrev(IInterval** interval) override;
    HRESULT MoveFirst() override;
    HRESULT MoveLast() override;
    HRESULT Remove(IDispatch* interval) override;
    HRESULT RemoveAll() override;
    HRESULT SelectInterval(IInterval* interval) override;
    HRESULT SelectIntervalAt(std::int32_t x, std::int32_t y, IInterval** interval) override;
    HRESULT Update() override;
    HRESULT get_IntervalCount(std::int32_t* count) override;
    HRESULT get_GridColor(OLE_COLOR* value) override;
    HRESULT put_GridColor(OLE_COLOR value) override;

    // The in/out conversions as dispatch members.
    void convertFromClient(double* x) { ConvertPointFromClientToWorld(x); }
    void convertFromWorld(double* x) { ConvertPointFromWorldToClient(x); }

    // The whole picture of the task at the given size, as Update paints it.
    void paint(QPainter& painter, int width, int height);

private:
    HRESULT taskError(const char* text) const;
    void releaseInterval(const ComPtr<IInterval>& interval);
    std::int32_t lowestFreeLevel(IInterval* joining) const;

    std::vector<ComPtr<IInterval>> m_intervals;
    std::ptrdiff_t m_position = 0;
    IInterval* m_selected = nullptr;  // an entry of m_intervals, or null
    std::int32_t m_intervalCount = 0;
    ITasks* m_taskList = nullptr;  // the list holding this task; it clears this when it lets the task go
    std::string m_abscissName = "X";
    double m_abscissScale = 30.0;
    std::int32_t m_originX = 0;
    std::int32_t m_originY = 0;
    OLE_COLOR m_backColor = 0xFFFFFF;
    OLE_COLOR m_gridColor = 0xFFC8C8;
    VARIANT_BOOL m_showGrid{1};
};

class CAxisTasks final : public DispatchObject<CAxisTasks, ITasks, ISupportErrorInfo> {
public:
    ~CAxisTasks() override;
    static std::span<const DispatchMember<CAxisTasks>> dispatchMembers();

    HRESULT get_ActiveTask(ITask** task) override;
    HRESULT put_ActiveTask(IDispatch* task) override;
    HRESULT Add(IDispatch* task) override;
    HRESULT GetNext(ITask** task) override;
    HRESULT GetPrev(ITask** task) override;
    HRESULT get_TickruleHwnd(WindowHandle* window) override;
    HRESULT put_TickruleHwnd(WindowHandle window) override;
    HRESULT MoveFirst() override;
    HRESULT MoveLast() override;
    HRESULT Remove(IDispatch* task) override;
    HRESULT RemoveAll() override;

private:
    HRESULT tasksError(const char* text) const;
    void releaseTask(const ComPtr<ITask>& task);

    std::vector<ComPtr<ITask>> m_tasks;
    std::ptrdiff_t m_position = 0;
    WindowHandle m_window = 0;
    ITask* m_active = nullptr;  // an entry of m_tasks, or null
};

class TickruleWidget;

class CTickrule final : public DispatchObject<CTickrule, ITickrule, IControlWindow, ISupportErrorInfo> {
public:
    CTickrule();
    ~CTickrule() override;
    static std::span<const DispatchMember<CTickrule>> dispatchMembers();

    HRESULT get_TaskList(ITasks** list) override;
    HRESULT put_TaskList(ITasks* list) override;

    QWidget* createWindow(QWidget* parent) override;
    QWidget* window() override;

    // From the widget: a paint that Update did not ask for, and the mouse.
    void paintRequested();
    void leftPressed(int x, int y);
    void mouseMoved(int x, int y, bool leftDown);
    void leftReleased();
    void rightPressed(int x, int y);

private:
    ComPtr<ITask> activeTask() const;

    ComPtr<ITasks> m_taskList;
    QPointer<TickruleWidget> m_widget;
    bool m_dragging = false;
    int m_dragOffsetX = 0;
    int m_dragOffsetY = 0;
    // The widget's own cursor before a drag, put back after it.
    bool m_hadCursor = false;
    QCursor m_cursorBeforeDrag;
};

}  // namespace constructions::tickrule
