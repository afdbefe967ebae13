// Main of the test binaries that need Qt widgets: Qt's offscreen platform
// unless the caller chose another (test discovery runs without CTest's
// environment, so this cannot be left to CTest).
#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testsupport::enterSandbox();
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
