#include <gtest/gtest.h>

#include <filesystem>

#include "platform/dynlib.h"
#include "testsupport/temp_dir.h"

namespace platform {
namespace {

TEST(DynamicLibrary, LoadsAndCallsASymbol)
{
    DynamicLibrary library;
    ASSERT_TRUE(library.load(TEST_PLUGIN)) << library.errorText();
    auto answer = library.function<int (*)(int)>("tessaly_test_answer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(20), 41);
    EXPECT_EQ(library.symbol("no_such_symbol"), nullptr);
    EXPECT_FALSE(library.errorText().empty());
}

TEST(DynamicLibrary, DllNamesMapToSharedObjects)
{
    EXPECT_EQ(DynamicLibrary::nativeName("kernel\\solvekernel\\tarvik.DLL"), "kernel/solvekernel/tarvik.so");
    EXPECT_EQ(DynamicLibrary::nativeName("a/b.so"), "a/b.so");

    // A library named with ".dll" loads from its ".so" file.
    testsupport::TempDir dir;
    std::filesystem::copy_file(TEST_PLUGIN, dir.file("plugin.so"));
    DynamicLibrary library;
    ASSERT_TRUE(library.load(dir.path() + "Plugin.dll")) << library.errorText();
    EXPECT_NE(library.symbol("tessaly_test_answer"), nullptr);
}

TEST(DynamicLibrary, MissingLibraryReportsWhy)
{
    DynamicLibrary library;
    EXPECT_FALSE(library.load("/nonexistent/tarvik.so"));
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.errorText().empty());
    EXPECT_EQ(library.symbol("exec_init"), nullptr);
}

}  // namespace
}  // namespace platform
