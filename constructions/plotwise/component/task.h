#pragma once
// CTask: one coordinate plane (scales, origin, grid, axes) with the
// constructions drawn on it, its GraphTaskXml text, and the polylines of
// function graphs that constructions ask it to draw.
#include <QPointF>
#include <QRectF>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "constructions/plotwise/component/plotwise_interfaces.h"
#include "platform/com/com.h"

class QPainter;
class QWidget;

namespace constructions::plotwise {

using platform::com::ComPtr;
using platform::com::DispatchMember;
using platform::com::DispatchObject;
using platform::com::ISupportErrorInfo;

// A scale that divides and survives the task's text: finite, and not so
// small that its six decimals read back as 0.
bool usableScaleValue(double scale);

class CTask final : public DispatchObject<CTask, ITask, ISupportErrorInfo> {
public:
    CTask() = default;
    ~CTask() override;

    static std::span<const DispatchMember<CTask>> dispatchMembers();

    // IXMLSupport
    HRESULT get_xml(std::string* text) override;
    HRESULT put_xml(const std::string& text) override;

    // ITask
    HRESULT Add(IDispatch* construction) override;
    HRESULT Remove(IConstruction* construction) override;
    HRESULT RemoveAll() override;
    HRESULT MoveFirst() override;
    HRESULT MoveLast() override;
    HRESULT GetNext(IConstruction** construction) override;
    HRESULT GetPrev(IConstruction** construction) override;
    HRESULT Draw(DeviceContextHandle dc, std::int32_t updateType) override;
    HRESULT Update(std::int32_t updateType) override;
    HRESULT get_Tasks(ITasks** tasks) override;
    HRESULT put_Tasks(ITasks* tasks) override;
    HRESULT get_AbscissName(std::string* name) override;
    HRESULT put_AbscissName(const std::string& name) override;
    HRESULT get_OrdinateName(std::string* name) override;
    HRESULT put_OrdinateName(const std::string& name) override;
    HRESULT get_AbscissScale(double* scale) override;
    HRESULT put_AbscissScale(double scale) override;
    HRESULT get_OrdinateScale(double* scale) override;
    HRESULT put_OrdinateScale(double scale) override;
    HRESULT get_ClientOriginPointX(std::int32_t* x) override;
    HRESULT put_ClientOriginPointX(std::int32_t x) override;
    HRESULT get_ClientOriginPointY(std::int32_t* y) override;
    HRESULT put_ClientOriginPointY(std::int32_t y) override;
    HRESULT convertPointFromWorldToClient(double* x, double* y) override;
    HRESULT MoveTo(double x, double y) override;
    HRESULT Get_ClientRect(double* left, double* top, double* width, double* height) override;
    HRESULT get_ShowGrid(std::int32_t* show) override;
    HRESULT put_ShowGrid(std::int32_t show) override;
    HRESULT get_Name(std::string* name) override;
    HRESULT put_Name(const std::string& name) override;
    HRESULT convertPointFromClientToWorld(double* x, double* y) override;
    HRESULT convertPieceFromWorldToClient(double* x, double* y) override;
    HRESULT convertPieceFromClientToWorld(double* x, double* y) override;
    HRESULT tabulate(DeviceContextHandle dc, IConstruction* construction, double start, double end,
                     std::int32_t exceptLeft, std::int32_t exceptRight, double throughtPixels) override;
    HRESULT tabulateAll(DeviceContextHandle dc, IConstruction* construction, double throughtPixels) override;
    HRESULT Init(WindowHandle window) override;
    HRESULT Get_WorldRect(double* left, double* top, double* right, double* bottom) override;
    HRESULT Get_ClientSize(std::int32_t* width, std::int32_t* height) override;
    HRESULT get_GridColor(std::int32_t* color) override;
    HRESULT put_GridColor(std::int32_t color) override;
    HRESULT get_BgColor(std::int32_t* color) override;
    HRESULT put_BgColor(std::int32_t color) override;
    HRESULT get_GridWidth(std::int32_t* width) override;
    HRESULT put_GridWidth(std::int32_t width) override;
    HRESULT AddFromXml(const std::string& text) override;
    HRESULT CreateConstructionFromXml(const std::string& text, IConstruction** construction) override;
    HRESULT RepositionToCenter() override;

    // The members with in/out or several out parameters, as dispatch calls them.
    void dispWorldToClient(double* x, double* y);
    void dispClientToWorld(double* x, double* y);
    void dispPieceWorldToClient(double* x, double* y);
    void dispPieceClientToWorld(double* x, double* y);
    void dispClientRect(double* left, double* top, double* width, double* height);
    void dispWorldRect(double* left, double* top, double* right, double* bottom);
    void dispClientSize(std::int32_t* width, std::int32_t* height);
    HRESULT dispCreateConstructionFromXml(const std::string& text, IConstruction** construction)
    {
        return CreateConstructionFromXml(text, construction);
    }

private:
    // The collection's window, when the task is in a collection that has one.
    QWidget* window() const;
    // The client rectangle of that window; empty without one.
    QRectF clientRect() const;
    bool isActiveTask();
    std::string writeXml() const;
    void drawGridAndAxes(QPainter& painter, int width, int height) const;
    // A line between two client points, clipped to the client rectangle
    // widened by 10 pixels; a point that is not finite draws nothing.
    void drawClippedLine(QPainter& painter, QPointF from, QPointF to) const;
    QPointF worldToClient(double x, double y) const;

    std::vector<ComPtr<IConstruction>> m_constructions;
    std::size_t m_forward = 0;
    std::ptrdiff_t m_backward = -1;
    ITasks* m_tasks = nullptr;  // not held: the collection clears it as it lets go
    std::string m_name;
    std::string m_abscissName = "x";
    std::string m_ordinateName = "y";
    double m_abscissScale = 20.0;
    double m_ordinateScale = 20.0;
    std::int32_t m_originX = 0;
    std::int32_t m_originY = 0;
    std::int32_t m_showGrid = 1;
    std::int32_t m_gridColor = 0xFFC8C8;
    std::int32_t m_gridWidth = 1;
    // The client size last drawn or read, for the clipping of lines.
    QRectF m_clip;
};

}  // namespace constructions::plotwise
