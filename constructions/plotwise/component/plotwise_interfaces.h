#pragma once
// The dual interfaces of the graph library, members in vtable slot order.
// Texts are UTF-8 strings in place of BSTRs; window and device-context
// values are platform handles.
#include <cstdint>
#include <string>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "platform/com/dispatch.h"
#include "platform/com/variant.h"
#include "platform/handles.h"

namespace constructions::plotwise {

using platform::HRESULT;
using platform::com::IDispatch;
using platform::com::IID;
using platform::com::VARIANT_BOOL;
using platform::handles::DeviceContextHandle;
using platform::handles::WindowHandle;

class ITask;
class ITasks;

class IXMLSupport : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = IID_IXMLSupport;

    virtual HRESULT get_xml(std::string* text) = 0;
    virtual HRESULT put_xml(const std::string& text) = 0;
};

class IConstruction : public IXMLSupport {
public:
    using Base = IXMLSupport;
    static constexpr IID iid = IID_IConstruction;

    virtual HRESULT get_Name(std::string* name) = 0;
    virtual HRESULT put_Name(const std::string& name) = 0;
    virtual HRESULT get_Color(std::int32_t* color) = 0;
    virtual HRESULT put_Color(std::int32_t color) = 0;
    virtual HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) = 0;
    virtual HRESULT get_Visible(std::int32_t* visible) = 0;
    virtual HRESULT put_Visible(std::int32_t visible) = 0;
    virtual HRESULT get_Task(ITask** task) = 0;
    virtual HRESULT put_Task(ITask* task) = 0;
    virtual HRESULT get_ShowName(std::int32_t* show) = 0;
    virtual HRESULT put_ShowName(std::int32_t show) = 0;
    // 1 when the function is defined at x (y written), else 0.
    virtual std::int16_t getFunctionValue(double x, double* y) = 0;
    virtual HRESULT Init(WindowHandle window) = 0;
    virtual HRESULT get_LineWidth(std::int16_t* width) = 0;
    virtual HRESULT put_LineWidth(std::int16_t width) = 0;
    virtual HRESULT get_IntervalLeft(double* left) = 0;
    virtual HRESULT put_IntervalLeft(double left) = 0;
    virtual HRESULT get_IntervalLeftIsInfinite(VARIANT_BOOL* infinite) = 0;
    virtual HRESULT put_IntervalLeftIsInfinite(VARIANT_BOOL infinite) = 0;
    virtual HRESULT get_IntervalRight(double* right) = 0;
    virtual HRESULT put_IntervalRight(double right) = 0;
    virtual HRESULT get_IntervalRightIsInfinite(VARIANT_BOOL* infinite) = 0;
    virtual HRESULT put_IntervalRightIsInfinite(VARIANT_BOOL infinite) = 0;
    virtual HRESULT get_UseInterval(VARIANT_BOOL* use) = 0;
    virtual HRESULT put_UseInterval(VARIANT_BOOL use) = 0;
};

// The curves given by numbers: y = A|bx + C| + D, (Ax + b)/(Cx + D),
// (Ax + b)x + C and A sqrt(bx + C) + D; members A, b, C (and D) in order.
#define PLOTWISE_PARAMETER(P)                         \
    virtual HRESULT get_##P(double* value) = 0;       \
    virtual HRESULT put_##P(double value) = 0;
#define PLOTWISE_CURVE_INTERFACE(I, ...)              \
    class I : public IConstruction {                  \
    public:                                           \
        using Base = IConstruction;                   \
        static constexpr IID iid = IID_##I;           \
        __VA_ARGS__                                   \
    };
PLOTWISE_CURVE_INTERFACE(IQuadricConstruction, PLOTWISE_PARAMETER(A) PLOTWISE_PARAMETER(b) PLOTWISE_PARAMETER(C))
PLOTWISE_CURVE_INTERFACE(IAbsoluteConstruction, PLOTWISE_PARAMETER(A) PLOTWISE_PARAMETER(b) PLOTWISE_PARAMETER(C)
                                                    PLOTWISE_PARAMETER(D))
PLOTWISE_CURVE_INTERFACE(IInverslyConstruction, PLOTWISE_PARAMETER(A) PLOTWISE_PARAMETER(b) PLOTWISE_PARAMETER(C)
                                                    PLOTWISE_PARAMETER(D))
PLOTWISE_CURVE_INTERFACE(ISquareRootConstruction, PLOTWISE_PARAMETER(A) PLOTWISE_PARAMETER(b)
                                                      PLOTWISE_PARAMETER(C) PLOTWISE_PARAMETER(D))
#undef PLOTWISE_CURVE_INTERFACE
#undef PLOTWISE_PARAMETER

class IPointConstruction : public IConstruction {
public:
    using Base = IConstruction;
    static constexpr IID iid = IID_IPointConstruction;

    virtual HRESULT get_x(double* x) = 0;
    virtual HRESULT put_x(double x) = 0;
    virtual HRESULT get_y(double* y) = 0;
    virtual HRESULT put_y(double y) = 0;
    virtual HRESULT get_ShowProjection(std::int32_t* show) = 0;
    virtual HRESULT put_ShowProjection(std::int32_t show) = 0;
};

class ILineConstruction : public IConstruction {
public:
    using Base = IConstruction;
    static constexpr IID iid = IID_ILineConstruction;

    virtual HRESULT get_Type(std::int32_t* type) = 0;
    virtual HRESULT put_Type(std::int32_t type) = 0;
    virtual HRESULT get_X1(double* v) = 0;
    virtual HRESULT put_X1(double v) = 0;
    virtual HRESULT get_Y1(double* v) = 0;
    virtual HRESULT put_Y1(double v) = 0;
    virtual HRESULT get_X2(double* v) = 0;
    virtual HRESULT put_X2(double v) = 0;
    virtual HRESULT get_Y2(double* v) = 0;
    virtual HRESULT put_Y2(double v) = 0;
    virtual HRESULT get_A(double* v) = 0;
    virtual HRESULT put_A(double v) = 0;
    virtual HRESULT get_b(double* v) = 0;
    virtual HRESULT put_b(double v) = 0;
    virtual HRESULT get_C(double* v) = 0;
    virtual HRESULT put_C(double v) = 0;
    virtual HRESULT get_ShowProjection1(std::int32_t* v) = 0;
    virtual HRESULT put_ShowProjection1(std::int32_t v) = 0;
    virtual HRESULT get_ShowProjection2(std::int32_t* v) = 0;
    virtual HRESULT put_ShowProjection2(std::int32_t v) = 0;
    virtual HRESULT get_ShowPoint1(std::int32_t* v) = 0;
    virtual HRESULT put_ShowPoint1(std::int32_t v) = 0;
    virtual HRESULT get_ShowPoint2(std::int32_t* v) = 0;
    virtual HRESULT put_ShowPoint2(std::int32_t v) = 0;
};

class ISegment : public IConstruction {
public:
    using Base = IConstruction;
    static constexpr IID iid = IID_ISegment;

    virtual HRESULT get_PointA(IPointConstruction** point) = 0;
    virtual HRESULT put_PointA(IPointConstruction* point) = 0;
    virtual HRESULT get_PointB(IPointConstruction** point) = 0;
    virtual HRESULT put_PointB(IPointConstruction* point) = 0;
};

class ICircleConstruction : public IConstruction {
public:
    using Base = IConstruction;
    static constexpr IID iid = IID_ICircleConstruction;

    virtual HRESULT get_CenterX(double* x) = 0;
    virtual HRESULT put_CenterX(double x) = 0;
    virtual HRESULT get_CenterY(double* y) = 0;
    virtual HRESULT put_CenterY(double y) = 0;
    virtual HRESULT get_r(double* r) = 0;
    virtual HRESULT put_r(double r) = 0;
    virtual HRESULT get_RY(double* ry) = 0;
    virtual HRESULT put_RY(double ry) = 0;
};

class IArbitraryConstruction : public IConstruction {
public:
    using Base = IConstruction;
    static constexpr IID iid = IID_IArbitraryConstruction;

    virtual HRESULT get_Expression(std::string* expression) = 0;
    virtual HRESULT put_Expression(const std::string& expression) = 0;
    virtual HRESULT get_TabStepInPixels(double* step) = 0;
    virtual HRESULT put_TabStepInPixels(double step) = 0;
    virtual HRESULT get_VarName(std::string* name) = 0;
    virtual HRESULT put_VarName(const std::string& name) = 0;
};

class ITask : public IXMLSupport {
public:
    using Base = IXMLSupport;
    static constexpr IID iid = IID_ITask;

    virtual HRESULT Add(IDispatch* construction) = 0;
    virtual HRESULT Remove(IConstruction* construction) = 0;
    virtual HRESULT RemoveAll() = 0;
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveLast() = 0;
    virtual HRESULT GetNext(IConstruction** construction) = 0;
    virtual HRESULT GetPrev(IConstruction** construction) = 0;
    virtual HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) = 0;
    virtual HRESULT Update(std::int32_t updateType) = 0;
    virtual HRESULT get_Tasks(ITasks** tasks) = 0;
    virtual HRESULT put_Tasks(ITasks* tasks) = 0;
    virtual HRESULT get_AbscissName(std::string* name) = 0;
    virtual HRESULT put_AbscissName(const std::string& name) = 0;
    virtual HRESULT get_OrdinateName(std::string* name) = 0;
    virtual HRESULT put_OrdinateName(const std::string& name) = 0;
    virtual HRESULT get_AbscissScale(double* scale) = 0;
    virtual HRESULT put_AbscissScale(double scale) = 0;
    virtual HRESULT get_OrdinateScale(double* scale) = 0;
    virtual HRESULT put_OrdinateScale(double scale) = 0;
    virtual HRESULT get_ClientOriginPointX(std::int32_t* x) = 0;
    virtual HRESULT put_ClientOriginPointX(std::int32_t x) = 0;
    virtual HRESULT get_ClientOriginPointY(std::int32_t* y) = 0;
    virtual HRESULT put_ClientOriginPointY(std::int32_t y) = 0;
    virtual HRESULT convertPointFromWorldToClient(double* x, double* y) = 0;
    virtual HRESULT MoveTo(double x, double y) = 0;
    virtual HRESULT Get_ClientRect(double* left, double* top, double* width, double* height) = 0;
    virtual HRESULT get_ShowGrid(std::int32_t* show) = 0;
    virtual HRESULT put_ShowGrid(std::int32_t show) = 0;
    virtual HRESULT get_Name(std::string* name) = 0;
    virtual HRESULT put_Name(const std::string& name) = 0;
    virtual HRESULT convertPointFromClientToWorld(double* x, double* y) = 0;
    virtual HRESULT convertPieceFromWorldToClient(double* x, double* y) = 0;
    virtual HRESULT convertPieceFromClientToWorld(double* x, double* y) = 0;
    virtual HRESULT tabulate(DeviceContextHandle dc, IConstruction* construction, double start, double end,
                             std::int32_t exceptLeft, std::int32_t exceptRight, double throughtPixels) = 0;
    virtual HRESULT tabulateAll(DeviceContextHandle dc, IConstruction* construction, double throughtPixels) = 0;
    virtual HRESULT Init(WindowHandle window) = 0;
    virtual HRESULT Get_WorldRect(double* left, double* top, double* right, double* bottom) = 0;
    virtual HRESULT Get_ClientSize(std::int32_t* width, std::int32_t* height) = 0;
    virtual HRESULT get_GridColor(std::int32_t* color) = 0;
    virtual HRESULT put_GridColor(std::int32_t color) = 0;
    virtual HRESULT get_BgColor(std::int32_t* color) = 0;
    virtual HRESULT put_BgColor(std::int32_t color) = 0;
    virtual HRESULT get_GridWidth(std::int32_t* width) = 0;
    virtual HRESULT put_GridWidth(std::int32_t width) = 0;
    virtual HRESULT AddFromXml(const std::string& text) = 0;
    virtual HRESULT CreateConstructionFromXml(const std::string& text, IConstruction** construction) = 0;
    virtual HRESULT RepositionToCenter() = 0;
};

class ITasks : public IXMLSupport {
public:
    using Base = IXMLSupport;
    static constexpr IID iid = IID_ITasks;

    virtual HRESULT Add(ITask* task) = 0;
    virtual HRESULT Remove(ITask* task) = 0;
    virtual HRESULT RemoveAll() = 0;
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveLast() = 0;
    virtual HRESULT GetNext(ITask** task) = 0;
    virtual HRESULT GetPrev(ITask** task) = 0;
    virtual HRESULT get_hWND(WindowHandle* window) = 0;
    virtual HRESULT put_hWND(WindowHandle window) = 0;
    virtual HRESULT get_ActiveTask(ITask** task) = 0;
    virtual HRESULT put_ActiveTask(ITask* task) = 0;
    virtual HRESULT Init(WindowHandle window) = 0;
    virtual HRESULT get_hDc(DeviceContextHandle* dc) = 0;
    virtual HRESULT put_hDc(DeviceContextHandle dc) = 0;
};

class IZezidoziBuilder : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = IID_IZezidoziBuilder;

    virtual HRESULT get_Tasks(ITasks** tasks) = 0;
};

}  // namespace constructions::plotwise
