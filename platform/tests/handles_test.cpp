#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <memory>

#include "platform/handles.h"

namespace platform::handles {
namespace {

TEST(Handles, WindowHandleResolvesUntilTheWidgetIsDestroyed)
{
    EXPECT_EQ(windowHandle(nullptr), 0u);
    EXPECT_EQ(widgetOf(0), nullptr);

    auto widget = std::make_unique<QWidget>();
    auto other = std::make_unique<QWidget>();
    const WindowHandle handle = windowHandle(widget.get());
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(windowHandle(widget.get()), handle);
    EXPECT_NE(windowHandle(other.get()), handle);
    EXPECT_EQ(widgetOf(handle), widget.get());

    widget.reset();
    EXPECT_EQ(widgetOf(handle), nullptr);
    // A widget made afterwards (perhaps at the same address) never answers the old handle.
    auto next = std::make_unique<QWidget>();
    EXPECT_NE(windowHandle(next.get()), handle);
    EXPECT_EQ(widgetOf(handle), nullptr);
    EXPECT_EQ(widgetOf(windowHandle(next.get())), next.get());
}

TEST(Handles, DeviceContextResolvesWhileRegistered)
{
    QImage image(4, 4, QImage::Format_RGB32);
    QPainter painter(&image);
    DeviceContextHandle handle = 0;
    {
        const DeviceContext context(&painter);
        handle = context.handle();
        EXPECT_NE(handle, 0u);
        EXPECT_EQ(painterOf(handle), &painter);
        const DeviceContext second(&painter);
        EXPECT_NE(second.handle(), handle);
    }
    EXPECT_EQ(painterOf(handle), nullptr);
    EXPECT_EQ(painterOf(0), nullptr);
    EXPECT_EQ(painterOf(0xFFFFFFF0u), nullptr);
}

}  // namespace
}  // namespace platform::handles
