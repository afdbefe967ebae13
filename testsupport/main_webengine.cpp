// Main of the test binaries that show web pages: the gui main's offscreen
// platform and sandbox, the browser engine prepared before the application
// exists, and no GPU.
#include <cstdlib>
#include <string>

#include <QApplication>
#include <gtest/gtest.h>

#include "platform/html/html_view.h"
#include "testsupport/temp_dir.h"

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS") ? std::getenv("QTWEBENGINE_CHROMIUM_FLAGS") : "";
    if (flags.find("--disable-gpu") == std::string::npos)
        ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --disable-gpu").c_str(), 1);
    testsupport::enterSandbox();
    ::testing::InitGoogleTest(&argc, argv);
    platform::html::prepareApplication();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
