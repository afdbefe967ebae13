// Main of the test binaries that need no display.
#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

int main(int argc, char** argv)
{
    testsupport::enterSandbox();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
