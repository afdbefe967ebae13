#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"
#include "testsupport/temp_dir.h"

namespace platform::paths {
namespace {

TEST(Paths, SlashesAndJoining)
{
    EXPECT_EQ(toSlashes("C:\\Suite\\kernel\\"), "C:/Suite/kernel/");
    EXPECT_EQ(withFinalSlash("/a"), "/a/");
    EXPECT_EQ(withFinalSlash("/a/"), "/a/");
    EXPECT_EQ(withFinalSlash(""), "");
    EXPECT_EQ(join("/a/", "/b"), "/a/b");
    EXPECT_EQ(join("/a", "b/c"), "/a/b/c");
    EXPECT_EQ(join("", "b"), "b");
}

TEST(Paths, ProgramFolderIsThisTestsFolder)
{
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "platform_tests"));
}

TEST(Paths, UserDataFolderFollowsTheDataHome)
{
    const std::string kept = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", "/data/home/", 1);
    EXPECT_EQ(userDataFolder(), "/data/home/Pelmarin/Tessaly/");
    ::setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(userDataFolder(), std::string(std::getenv("HOME")) + "/.local/share/Pelmarin/Tessaly/");
    ::setenv("XDG_DATA_HOME", kept.c_str(), 1);
}

TEST(Paths, CaseInsensitiveLookup)
{
    testsupport::TempDir dir;
    dir.write("Modules/Tessaly/TaskBook.xml", "<a/>");
    // Exact spelling, another spelling, backslashes: all find the one file.
    EXPECT_EQ(findCaseInsensitive(dir.path() + "Modules/Tessaly/TaskBook.xml"),
              dir.path() + "Modules/Tessaly/TaskBook.xml");
    EXPECT_EQ(findCaseInsensitive(dir.path() + "modules\\TESSALY\\taskbook.XML"),
              dir.path() + "Modules/Tessaly/TaskBook.xml");
    EXPECT_EQ(findCaseInsensitive(dir.path() + "modules/tessaly/"), dir.path() + "Modules/Tessaly/");
    EXPECT_FALSE(findCaseInsensitive(dir.path() + "modules/other/taskbook.xml"));
    EXPECT_EQ(resolve(dir.path() + "modules\\none.xml"), dir.path() + "modules/none.xml");
    EXPECT_TRUE(fileExists(resolve(dir.path() + "MODULES/tessaly/taskbook.xml")));
    EXPECT_TRUE(folderExists(dir.path() + "Modules"));
    EXPECT_FALSE(fileExists(dir.path() + "Modules"));
}

TEST(Paths, CanonicalFolder)
{
    testsupport::TempDir dir;
    dir.write("a/b/file", "");
    EXPECT_EQ(canonicalFolder(dir.path() + "a/b/../"),
              std::filesystem::canonical(dir.path() + "a").string() + "/");
    EXPECT_FALSE(canonicalFolder(dir.path() + "a/b/file"));
    EXPECT_FALSE(canonicalFolder(dir.path() + "missing"));
}

}  // namespace
}  // namespace platform::paths
