#pragma once
// A test host of the graph library: Plotwise.so registered in the temporary
// machine hive, its classes created by CLSID, and a construction of the
// tests' own that answers a given function and records what it is asked.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "constructions/plotwise/component/plotwise_interfaces.h"
#include "platform/com/com.h"

namespace constructions::plotwise::test {

using namespace platform::com;
using platform::HRESULT;

// A construction of the tests: f(x) where f answers a value, undefined where
// it answers nothing; records Draw codes, Init windows and every evaluation.
class TestConstruction final : public Object<IConstruction> {
public:
    std::function<std::optional<double>(double)> function = [](double x) { return x; };
    std::vector<std::int32_t> drawCodes;
    std::vector<WindowHandle> initWindows;
    std::vector<double> evaluatedAt;
    std::string text = "<gr:testConstr color=\"255\" name=\"t\"/>";
    ITask* task = nullptr;  // not held, as constructions keep it
    VARIANT_BOOL useInterval = VARIANT_FALSE;
    double left = 0, right = 0;
    VARIANT_BOOL leftInfinite = VARIANT_TRUE, rightInfinite = VARIANT_TRUE;
    // Called with the device context of every Draw.
    std::function<void(DeviceContextHandle)> onDraw;

    HRESULT GetIDsOfNames(std::string_view, DISPID*) override { return platform::DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID, InvokeKind, std::span<const Variant>, Variant*) override
    {
        return platform::DISP_E_MEMBERNOTFOUND;
    }
    HRESULT get_xml(std::string* out) override
    {
        *out = text;
        return platform::S_OK;
    }
    HRESULT put_xml(const std::string& in) override
    {
        text = in;
        return platform::S_OK;
    }
    HRESULT get_Name(std::string* name) override
    {
        *name = "t";
        return platform::S_OK;
    }
    HRESULT put_Name(const std::string&) override { return platform::S_OK; }
    HRESULT get_Color(std::int32_t* color) override
    {
        *color = 255;
        return platform::S_OK;
    }
    HRESULT put_Color(std::int32_t) override { return platform::S_OK; }
    HRESULT Draw(DeviceContextHandle dc, std::int32_t code) override;
    HRESULT get_Visible(std::int32_t* v) override
    {
        *v = 1;
        return platform::S_OK;
    }
    HRESULT put_Visible(std::int32_t) override { return platform::S_OK; }
    HRESULT get_Task(ITask** out) override
    {
        *out = ComPtr<ITask>(task).detach();
        return platform::S_OK;
    }
    HRESULT put_Task(ITask* in) override
    {
        task = in;
        return platform::S_OK;
    }
    HRESULT get_ShowName(std::int32_t* v) override
    {
        *v = 0;
        return platform::S_OK;
    }
    HRESULT put_ShowName(std::int32_t) override { return platform::S_OK; }
    std::int16_t getFunctionValue(double x, double* y) override
    {
        evaluatedAt.push_back(x);
        const std::optional<double> value = function(x);
        if (!value)
            return 0;
        *y = *value;
        return 1;
    }
    HRESULT Init(WindowHandle window) override
    {
        initWindows.push_back(window);
        return platform::S_OK;
    }
    HRESULT get_LineWidth(std::int16_t* w) override
    {
        *w = 2;
        return platform::S_OK;
    }
    HRESULT put_LineWidth(std::int16_t) override { return platform::S_OK; }
    HRESULT get_IntervalLeft(double* v) override
    {
        *v = left;
        return platform::S_OK;
    }
    HRESULT put_IntervalLeft(double v) override
    {
        left = v;
        return platform::S_OK;
    }
    HRESULT get_IntervalLeftIsInfinite(VARIANT_BOOL* v) override
    {
        *v = leftInfinite;
        return platform::S_OK;
    }
    HRESULT put_IntervalLeftIsInfinite(VARIANT_BOOL v) override
    {
        leftInfinite = v;
        return platform::S_OK;
    }
    HRESULT get_IntervalRight(double* v) override
    {
        *v = right;
        return platform::S_OK;
    }
    HRESULT put_IntervalRight(double v) override
    {
        right = v;
        return platform::S_OK;
    }
    HRESULT get_IntervalRightIsInfinite(VARIANT_BOOL* v) override
    {
        *v = rightInfinite;
        return platform::S_OK;
    }
    HRESULT put_IntervalRightIsInfinite(VARIANT_BOOL v) override
    {
        rightInfinite = v;
        return platform::S_OK;
    }
    HRESULT get_UseInterval(VARIANT_BOOL* v) override
    {
        *v = useInterval;
        return platform::S_OK;
    }
    HRESULT put_UseInterval(VARIANT_BOOL v) override
    {
        useInterval = v;
        return platform::S_OK;
    }
};

// A dispatch object that is no construction.
class NotAConstruction final : public Object<IDispatch> {
public:
    HRESULT GetIDsOfNames(std::string_view, DISPID*) override { return platform::DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID, InvokeKind, std::span<const Variant>, Variant*) override
    {
        return platform::DISP_E_MEMBERNOTFOUND;
    }
};

class PlotwiseHost : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ComPtr<ITask> newTask();
    ComPtr<ITasks> newTasks();
    // A task made active in a collection whose window is a plain widget of
    // the given size and whose device context paints into `canvas`.
    ComPtr<ITask> taskInWindow(int width = 400, int height = 300);
    // The control placed in a parent of the given size; its task list.
    ComPtr<ITasks> placeControl(int width = 400, int height = 300);

    std::unique_ptr<QWidget> plainWindow;
    QImage canvas;
    std::unique_ptr<QPainter> canvasPainter;
    std::unique_ptr<platform::handles::DeviceContext> canvasDc;
    ComPtr<ITasks> tasks;

    std::unique_ptr<QWidget> parent;
    QWidget* controlWindow = nullptr;
    ComPtr<IDispatch> control;
};

// The error info a failed call left, for the interface iid.
std::optional<ErrorInfo> lastError(IUnknown* object, const IID& iid);

}  // namespace constructions::plotwise::test
