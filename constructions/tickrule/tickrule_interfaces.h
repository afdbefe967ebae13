#pragma once
// The interfaces of the number-axis library, in slot order. The graph library
// has interfaces of the same names under other ids: these live in their own
// namespace.
#include <cstdint>
#include <string>

#include "constructions/tickrule/tickrule_ids.h"
#include "platform/com/com.h"
#include "platform/handles.h"

namespace constructions::tickrule {

using platform::HRESULT;
using platform::com::IDispatch;
using platform::com::OLE_COLOR;
using platform::com::VARIANT_BOOL;
using platform::handles::DeviceContextHandle;
using platform::handles::WindowHandle;

class ITask;
class ITasks;

class IXMLSupport : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr platform::com::IID iid = IID_IXMLSupport;
    virtual HRESULT get_xml(std::string* xml) = 0;
    virtual HRESULT put_xml(const std::string& xml) = 0;
};

class INumberAxisPoint : public IXMLSupport {
public:
    using Base = IXMLSupport;
    static constexpr platform::com::IID iid = IID_INumberAxisPoint;
    virtual HRESULT get_Coordinate(double* value) = 0;
    virtual HRESULT put_Coordinate(double value) = 0;
    virtual HRESULT get_FormulaTip(std::string* value) = 0;
    virtual HRESULT put_FormulaTip(const std::string& value) = 0;
    virtual HRESULT get_Included(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_Included(VARIANT_BOOL value) = 0;
    virtual HRESULT get_Infinity(std::int16_t* value) = 0;
    virtual HRESULT put_Infinity(std::int16_t value) = 0;
};

class IInterval : public IXMLSupport {
public:
    using Base = IXMLSupport;
    static constexpr platform::com::IID iid = IID_IInterval;
    virtual HRESULT Draw(DeviceContextHandle hdc) = 0;
    virtual HRESULT get_IntervalIndex(std::int32_t* value) = 0;
    virtual HRESULT put_IntervalIndex(std::int32_t value) = 0;
    virtual HRESULT get_Color(OLE_COLOR* value) = 0;
    virtual HRESULT put_Color(OLE_COLOR value) = 0;
    virtual HRESULT get_IsPoint(VARIANT_BOOL* value) = 0;
    virtual HRESULT get_Length(double* value) = 0;
    virtual HRESULT get_Name(std::string* value) = 0;
    virtual HRESULT put_Name(const std::string& value) = 0;
    virtual HRESULT get_ShowName(std::int32_t* value) = 0;
    virtual HRESULT put_ShowName(std::int32_t value) = 0;
    virtual HRESULT get_Task(ITask** task) = 0;
    virtual HRESULT put_Task(ITask* task) = 0;
    virtual HRESULT HasClientPoint(std::int32_t x, std::int32_t y, std::int32_t* flag) = 0;
    virtual HRESULT HasIntersection(double left, double right, std::int32_t* flag) = 0;
    virtual HRESULT get_LeftPoint(INumberAxisPoint** point) = 0;
    virtual HRESULT put_LeftPoint(INumberAxisPoint* point) = 0;
    virtual HRESULT get_RightPoint(INumberAxisPoint** point) = 0;
    virtual HRESULT put_RightPoint(INumberAxisPoint* point) = 0;
    virtual HRESULT get_IsSelected(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_IsSelected(VARIANT_BOOL value) = 0;
};

class ITask : public IXMLSupport {
public:
    using Base = IXMLSupport;
    static constexpr platform::com::IID iid = IID_ITask;
    virtual HRESULT get_AbscissName(std::string* value) = 0;
    virtual HRESULT put_AbscissName(const std::string& value) = 0;
    virtual HRESULT get_AbscissScale(double* value) = 0;
    virtual HRESULT put_AbscissScale(double value) = 0;
    virtual HRESULT get_BackColor(OLE_COLOR* value) = 0;
    virtual HRESULT put_BackColor(OLE_COLOR value) = 0;
    virtual HRESULT get_ClientOriginPointX(std::int32_t* value) = 0;
    virtual HRESULT put_ClientOriginPointX(std::int32_t value) = 0;
    virtual HRESULT get_ClientOriginPointY(std::int32_t* value) = 0;
    virtual HRESULT put_ClientOriginPointY(std::int32_t value) = 0;
    virtual HRESULT get_SelectedInterval(IInterval** interval) = 0;
    virtual HRESULT put_SelectedInterval(IInterval* interval) = 0;
    virtual HRESULT get_ShowGrid(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_ShowGrid(VARIANT_BOOL value) = 0;
    virtual HRESULT get_TaskList(ITasks** list) = 0;
    virtual HRESULT put_TaskList(ITasks* list) = 0;
    virtual HRESULT Add(IDispatch* interval) = 0;
    virtual HRESULT ConvertPointFromClientToWorld(double* x) = 0;
    virtual HRESULT ConvertPointFromWorldToClient(double* x) = 0;
    virtual HRESULT GetIntersectedIntervalsCount(double left, double right, double* count) = 0;
    virtual HRESULT GetNext(IInterval** interval) = 0;
    virtual HRESULT GetPrev(IInterval** interval) = 0;
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveLast() = 0;
    virtual HRESULT Remove(IDispatch* interval) = 0;
    virtual HRESULT RemoveAll() = 0;
    virtual HRESULT SelectInterval(IInterval* interval) = 0;
    virtual HRESULT SelectIntervalAt(std::int32_t x, std::int32_t y, IInterval** interval) = 0;
    virtual HRESULT Update() = 0;
    virtual HRESULT get_IntervalCount(std::int32_t* count) = 0;
    virtual HRESULT get_GridColor(OLE_COLOR* value) = 0;
    virtual HRESULT put_GridColor(OLE_COLOR value) = 0;
};

class ITasks : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr platform::com::IID iid = IID_ITasks;
    virtual HRESULT get_ActiveTask(ITask** task) = 0;
    virtual HRESULT put_ActiveTask(IDispatch* task) = 0;
    virtual HRESULT Add(IDispatch* task) = 0;
    virtual HRESULT GetNext(ITask** task) = 0;
    virtual HRESULT GetPrev(ITask** task) = 0;
    virtual HRESULT get_TickruleHwnd(WindowHandle* window) = 0;
    virtual HRESULT put_TickruleHwnd(WindowHandle window) = 0;
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveLast() = 0;
    virtual HRESULT Remove(IDispatch* task) = 0;
    virtual HRESULT RemoveAll() = 0;
};

class ITickrule : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr platform::com::IID iid = IID_ITickrule;
    virtual HRESULT get_TaskList(ITasks** list) = 0;
    virtual HRESULT put_TaskList(ITasks* list) = 0;
};

}  // namespace constructions::tickrule
