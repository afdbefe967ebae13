#pragma once
// What every construction of the graph library shares: the common fields with
// their defaults, the accessors of IConstruction with their rules (flags, the
// redraw a put asks of the task), the name label of a function graph, and the
// common attributes of the element text.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "constructions/plotwise/component/plotwise_interfaces.h"
#include "platform/com/com.h"

class QPainter;

namespace constructions::plotwise {

using platform::com::DispatchMember;
using platform::com::DispatchObject;
using platform::com::getProperty;
using platform::com::putProperty;
using platform::com::ISupportErrorInfo;

// The attributes of a start tag: name, "=", a quoted value with its entities
// read back. Names match whole; the first occurrence wins.
using Attributes = std::map<std::string, std::string, std::less<>>;
Attributes attributesOf(std::string_view tag);
// The element name of a text: between its first "<" and the first blank.
std::string_view elementName(std::string_view text);
// The start tag of the first element of a text, "<" to ">" (whole text without one).
std::string_view firstTag(std::string_view text);

// Each tag of a text, "<" to the next ">", with its name (the prefix before
// ":" dropped), in order.
struct Tag {
    std::string_view name;
    std::string_view text;
};
std::vector<Tag> tagsOf(std::string_view text);

QColor fromColorRef(std::int32_t color);
// The part of the segment a-b inside box; false when none is.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& box);
// A pixel value as an integer, saturated at +-10^8; NaN gives 0.
int pixel(double value);
// Draws the line between two client points clipped to clip widened by 10
// pixels, ends truncated to integers; nothing for a point that is not finite.
void drawClippedLine(QPainter& painter, const QRectF& clip, QPointF from, QPointF to);
// Text with the top left of its cell at (x, y), in the painter's pen and font.
void textOut(QPainter& painter, int x, int y, const std::string& text);
// The label font of points and lines: "Arial", 15 by 7 points at the
// context's resolution (20 by 9 pixels at 96 pixels per inch).
QFont labelFont();

class CConstructionBase {
public:
    explicit CConstructionBase(std::int16_t lineWidth = 2, double left = 0.0, double right = 0.0)
        : LineWidth(lineWidth), IntervalLeft(left), IntervalRight(right)
    {
    }
    virtual ~CConstructionBase() = default;

    // The name label of a function graph, found from start x to the right.
    virtual void DrawName(DeviceContextHandle dc, double startX);
    // DrawName from the world left edge of the task's view.
    virtual void DrawNameFromLeft(DeviceContextHandle dc);
    // The construction's own getFunctionValue.
    virtual std::int16_t FunctionValue(double x, double* y) = 0;

    // The element head "<gr:name color=... useInterval=.../>" with the
    // interval attributes when UseInterval is set.
    std::string GetCommonXml(std::string_view elementName) const;
    // Inserts name="value" before the closing "/>" (or ">") of text; false
    // when text ends with neither.
    static bool PutAttribute(std::string& text, std::string_view name, std::string_view value);
    static bool PutIntAttribute(std::string& text, std::string_view name, long long value);
    static bool PutDoubleAttribute(std::string& text, std::string_view name, double value);
    // The value of a whole attribute name in a start tag; empty when missing.
    static std::string GetAttributeValue(std::string_view tag, std::string_view name);
    // The common attributes of a start tag; the interval only when useInterval is set.
    bool ReadCommonXml(std::string_view tag);

protected:
    // An interval put happened (after the fields are stored).
    virtual void IntervalChanged() {}
    // Asks the task, when there is one, to redraw with code.
    void RequestUpdate(std::int32_t code);

public:
    std::string Name;
    std::int32_t Color = 255;
    std::int16_t LineWidth = 2;
    std::int32_t Visible = 1;
    ITask* Task = nullptr;  // not held: the task clears it as it lets go
    std::int32_t ShowName = 1;
    double IntervalLeft = 0.0;
    std::int32_t IntervalLeftIsInfinite = 1;
    double IntervalRight = 0.0;
    std::int32_t IntervalRightIsInfinite = 1;
    std::int32_t UseInterval = 0;
};

// The accessors of IConstruction over CConstructionBase, for a class Derived
// with its own interface Interface.
template <class Derived, class Interface>
class IConstructionImpl : public DispatchObject<Derived, Interface, ISupportErrorInfo>, public CConstructionBase {
public:
    using CConstructionBase::CConstructionBase;

    HRESULT get_Name(std::string* name) override { return getProperty(name, CConstructionBase::Name); }
    HRESULT put_Name(const std::string& name) override { return putProperty(CConstructionBase::Name, name); }
    HRESULT get_Color(std::int32_t* color) override { return getProperty(color, CConstructionBase::Color); }
    HRESULT put_Color(std::int32_t color) override { return putProperty(CConstructionBase::Color, color); }
    HRESULT get_Visible(std::int32_t* visible) override { return getProperty(visible, CConstructionBase::Visible); }
    HRESULT put_Visible(std::int32_t visible) override { return putAndRedraw(CConstructionBase::Visible, visible); }
    HRESULT get_Task(ITask** task) override { return getProperty(task, CConstructionBase::Task); }
    HRESULT put_Task(ITask* task) override { return putProperty(CConstructionBase::Task, task); }
    HRESULT get_ShowName(std::int32_t* show) override { return getProperty(show, CConstructionBase::ShowName); }
    HRESULT put_ShowName(std::int32_t show) override { return putAndRedraw(CConstructionBase::ShowName, show); }
    HRESULT Init(WindowHandle) override { return platform::S_OK; }
    HRESULT get_LineWidth(std::int16_t* width) override { return getProperty(width, CConstructionBase::LineWidth); }
    HRESULT put_LineWidth(std::int16_t width) override { return putProperty(CConstructionBase::LineWidth, width); }
    HRESULT get_IntervalLeft(double* left) override { return getProperty(left, IntervalLeft); }
    HRESULT put_IntervalLeft(double left) override { return putEnd(left, IntervalLeft, IntervalLeftIsInfinite); }
    HRESULT get_IntervalLeftIsInfinite(VARIANT_BOOL* v) override { return flag(v, IntervalLeftIsInfinite); }
    HRESULT put_IntervalLeftIsInfinite(VARIANT_BOOL v) override { return putFlag(v, IntervalLeftIsInfinite); }
    HRESULT get_IntervalRight(double* right) override { return getProperty(right, IntervalRight); }
    HRESULT put_IntervalRight(double right) override { return putEnd(right, IntervalRight, IntervalRightIsInfinite); }
    HRESULT get_IntervalRightIsInfinite(VARIANT_BOOL* v) override { return flag(v, IntervalRightIsInfinite); }
    HRESULT put_IntervalRightIsInfinite(VARIANT_BOOL v) override { return putFlag(v, IntervalRightIsInfinite); }
    HRESULT get_UseInterval(VARIANT_BOOL* v) override { return flag(v, UseInterval); }
    HRESULT put_UseInterval(VARIANT_BOOL v) override { return putFlag(v, UseInterval); }

    std::int16_t FunctionValue(double x, double* y) override
    {
        return static_cast<Derived*>(this)->getFunctionValue(x, y);
    }

    // getFunctionValue through dispatch: the flag, y written only when it is 1.
    std::int16_t dispFunctionValue(double x, double* y) { return this->getFunctionValue(x, y); }

protected:
    // A put that changes the picture: stored, then the task asked to redraw.
    HRESULT putAndRedraw(std::int32_t& field, std::int32_t value)
    {
        field = value;
        RequestUpdate(defaultUpdate);
        return platform::S_OK;
    }

private:
    // A flag field answers true only when it is above 0.
    static HRESULT flag(VARIANT_BOOL* to, std::int32_t value)
    {
        return getProperty(to, platform::com::toVariantBool(value > 0));
    }
    // A given end is finite.
    HRESULT putEnd(double value, double& end, std::int32_t& infinite)
    {
        end = value;
        return putFlag(platform::com::VARIANT_FALSE, infinite);
    }
    HRESULT putFlag(VARIANT_BOOL value, std::int32_t& field)
    {
        field = value == platform::com::VARIANT_TRUE ? 1 : 0;
        IntervalChanged();
        return platform::S_OK;
    }
};

}  // namespace constructions::plotwise

// The dispatch entries of IXMLSupport and IConstruction for class C.
#define PLOTWISE_CONSTRUCTION_MEMBERS(C)                                                                   \
    dualGet<&C::get_xml>(disp::xml, "xml"), dualPut<&C::put_xml>(disp::xml, "xml"),                        \
        dualGet<&C::get_Name>(disp::construction::Name, "Name"),                                           \
        dualPut<&C::put_Name>(disp::construction::Name, "Name"),                                           \
        dualGet<&C::get_Color>(disp::construction::Color, "Color"),                                        \
        dualPut<&C::put_Color>(disp::construction::Color, "Color"),                                        \
        dualMethod<&C::Draw>(disp::construction::Draw, "Draw"),                                            \
        dualGet<&C::get_Visible>(disp::construction::Visible, "Visible"),                                  \
        dualPut<&C::put_Visible>(disp::construction::Visible, "Visible"),                                  \
        dualGet<&C::get_Task>(disp::construction::Task, "Task"),                                           \
        dualPut<&C::put_Task>(disp::construction::Task, "Task"),                                           \
        dualGet<&C::get_ShowName>(disp::construction::ShowName, "ShowName"),                               \
        dualPut<&C::put_ShowName>(disp::construction::ShowName, "ShowName"),                               \
        method<&C::dispFunctionValue>(disp::construction::getFunctionValue, "getFunctionValue"),           \
        dualMethod<&C::Init>(disp::construction::Init, "Init"),                                            \
        dualGet<&C::get_LineWidth>(disp::construction::LineWidth, "LineWidth"),                            \
        dualPut<&C::put_LineWidth>(disp::construction::LineWidth, "LineWidth"),                            \
        dualGet<&C::get_IntervalLeft>(disp::construction::IntervalLeft, "IntervalLeft"),                   \
        dualPut<&C::put_IntervalLeft>(disp::construction::IntervalLeft, "IntervalLeft"),                   \
        dualGet<&C::get_IntervalLeftIsInfinite>(disp::construction::IntervalLeftIsInfinite,                \
                                                "IntervalLeftIsInfinite"),                                 \
        dualPut<&C::put_IntervalLeftIsInfinite>(disp::construction::IntervalLeftIsInfinite,                \
                                                "IntervalLeftIsInfinite"),                                 \
        dualGet<&C::get_IntervalRight>(disp::construction::IntervalRight, "IntervalRight"),                \
        dualPut<&C::put_IntervalRight>(disp::construction::IntervalRight, "IntervalRight"),                \
        dualGet<&C::get_IntervalRightIsInfinite>(disp::construction::IntervalRightIsInfinite,              \
                                                 "IntervalRightIsInfinite"),                               \
        dualPut<&C::put_IntervalRightIsInfinite>(disp::construction::IntervalRightIsInfinite,              \
                                                 "IntervalRightIsInfinite"),                               \
        dualGet<&C::get_UseInterval>(disp::construction::UseInterval, "UseInterval"),                      \
        dualPut<&C::put_UseInterval>(disp::construction::UseInterval, "UseInterval")
