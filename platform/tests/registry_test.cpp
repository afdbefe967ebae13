#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/paths.h"
#include "platform/registry.h"
#include "testsupport/temp_dir.h"

namespace platform::registry {
namespace {

constexpr const char* kKey = "SOFTWARE\\Pelmarin\\Tessaly";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { testsupport::resetHives(); }
    void TearDown() override { testsupport::resetHives(); }
};

// Points an environment variable elsewhere for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST_F(Registry, HivePathsFollowTheEnvironment)
{
    EXPECT_EQ(hivePath(Hive::Machine), testsupport::sandboxPath() + "machine.ini");
    EXPECT_EQ(hivePath(Hive::User), testsupport::sandboxPath() + "config/Pelmarin/Tessaly.ini");
    {
        ScopedEnv machine("TESSALY_MACHINE_HIVE", "");
        EXPECT_EQ(hivePath(Hive::Machine), paths::programFolder() + "../../kernel/data/machine.ini");
    }
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", "/home/pupil");
    EXPECT_EQ(hivePath(Hive::User), "/home/pupil/.config/Pelmarin/Tessaly.ini");
}

TEST_F(Registry, ValuesReadBackByteForByte)
{
    const std::string awkward = std::string("a\\b\"c\nd\re\tf") + '\0' + "g\x01\x7f\xff Її =[x]";
    const std::string bytes("\x00\x01\xfe\xff", 4);
    ASSERT_EQ(writeString(Hive::User, kKey, "text", awkward), kOk);
    ASSERT_EQ(writeString(Hive::User, kKey, "empty", ""), kOk);
    ASSERT_EQ(writeBinary(Hive::User, kKey, "bytes", bytes), kOk);
    ASSERT_EQ(writeDWord(Hive::User, kKey, "number", 0xDEADBEEF), kOk);
    ASSERT_EQ(writeString(Hive::User, kKey, "", "default value"), kOk);

    EXPECT_EQ(readString(Hive::User, kKey, "text"), awkward);
    EXPECT_EQ(readString(Hive::User, kKey, "empty"), "");
    EXPECT_EQ(readBinary(Hive::User, kKey, "bytes"), bytes);
    EXPECT_EQ(readDWord(Hive::User, kKey, "number"), 0xDEADBEEFu);
    EXPECT_EQ(readString(Hive::User, kKey, ""), "default value");
    EXPECT_FALSE(readString(Hive::User, kKey, "missing"));
    EXPECT_FALSE(readString(Hive::Machine, kKey, "text"));  // the other hive
}

TEST_F(Registry, TypedReadsRefuseOtherTypes)
{
    ASSERT_EQ(writeBinary(Hive::User, kKey, "flag", "\x01"), kOk);
    ASSERT_EQ(writeString(Hive::User, kKey, "name", "1"), kOk);
    EXPECT_FALSE(readString(Hive::User, kKey, "flag"));
    EXPECT_FALSE(readDWord(Hive::User, kKey, "flag"));
    EXPECT_FALSE(readBinary(Hive::User, kKey, "name"));
    ASSERT_TRUE(readValue(Hive::User, kKey, "flag"));
    EXPECT_EQ(readValue(Hive::User, kKey, "flag")->type, ValueType::Binary);
}

TEST_F(Registry, KeysAndNamesIgnoreCaseAndSlashKind)
{
    ASSERT_EQ(writeString(Hive::User, "Software\\PELMARIN\\tessaly", "Module", "algebra"), kOk);
    EXPECT_EQ(readString(Hive::User, kKey, "module"), "algebra");
    EXPECT_EQ(readString(Hive::User, "software/pelmarin/tessaly/", "MODULE"), "algebra");
    ASSERT_EQ(writeString(Hive::User, kKey, "MODULE", "geometry"), kOk);
    EXPECT_EQ(values(Hive::User, kKey).size(), 1u);
    EXPECT_EQ(readString(Hive::User, kKey, "Module"), "geometry");
}

TEST_F(Registry, KeyTreeListingAndDeletion)
{
    ASSERT_EQ(writeString(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\{1}\\InprocServer32", "", "a.so"), kOk);
    ASSERT_EQ(writeString(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\{2}", "", "b"), kOk);
    ASSERT_EQ(writeString(Hive::Machine, "SOFTWARE\\Classes\\Tessaly.Formula", "", "c"), kOk);
    EXPECT_TRUE(keyExists(Hive::Machine, "software\\classes\\clsid"));
    EXPECT_FALSE(keyExists(Hive::Machine, "software\\classes\\cls"));
    EXPECT_EQ(subKeys(Hive::Machine, "SOFTWARE\\Classes"),
              (std::vector<std::string>{"CLSID", "Tessaly.Formula"}));
    EXPECT_EQ(subKeys(Hive::Machine, "SOFTWARE\\Classes\\CLSID"), (std::vector<std::string>{"{1}", "{2}"}));

    ASSERT_EQ(deleteKeyTree(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\{1}"), kOk);
    EXPECT_FALSE(keyExists(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\{1}\\InprocServer32"));
    EXPECT_EQ(readString(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\{2}", ""), "b");
    ASSERT_EQ(deleteValue(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\{2}", ""), kOk);
    EXPECT_FALSE(readString(Hive::Machine, "SOFTWARE\\Classes\\CLSID\\{2}", ""));
    EXPECT_EQ(deleteValue(Hive::Machine, "SOFTWARE\\Nothing", "x"), kOk);
}

TEST_F(Registry, BadKeysAreRefused)
{
    EXPECT_EQ(writeString(Hive::User, "", "a", "b"), kErrorInvalidData);
    EXPECT_EQ(writeString(Hive::User, "A]\n[B", "a", "b"), kErrorInvalidData);
    EXPECT_EQ(createKey(Hive::User, "\\"), kErrorInvalidData);
    EXPECT_FALSE(std::filesystem::exists(hivePath(Hive::User)));
}

TEST_F(Registry, EveryReadSeesTheFileAsItIsNow)
{
    ASSERT_EQ(writeString(Hive::User, kKey, "userName", "anna"), kOk);
    EXPECT_EQ(readString(Hive::User, kKey, "userName"), "anna");
    // Another program rewrites the file: same size, same second.
    std::ofstream(hivePath(Hive::User), std::ios::trunc) << "[" << kKey << "]\n\"userName\"=\"olha\"\n";
    EXPECT_EQ(readString(Hive::User, kKey, "userName"), "olha");
}

TEST_F(Registry, TheMachineHiveIsReadOnceUntilItsFileChanges)
{
    const std::string classKey = std::string(kKey) + "\\Components\\Formula";
    ASSERT_EQ(writeString(Hive::Machine, kKey, "InstallPath", "/opt/suite/"), kOk);
    ASSERT_EQ(writeDWord(Hive::Machine, classKey, "Version", 3), kOk);
    ASSERT_EQ(writeString(Hive::User, kKey, "userName", "anna"), kOk);
    const std::size_t before = machineHiveReads();
    // A program's start: the controls look the same values up again and again.
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(readString(Hive::Machine, kKey, "InstallPath"), "/opt/suite/");
        EXPECT_EQ(readDWord(Hive::Machine, classKey, "Version"), 3u);
        EXPECT_TRUE(keyExists(Hive::Machine, classKey));
        EXPECT_EQ(subKeys(Hive::Machine, kKey), std::vector<std::string>{"Components"});
        EXPECT_EQ(values(Hive::Machine, kKey).size(), 1u);
        EXPECT_FALSE(readString(Hive::Machine, kKey, "missing"));
    }
    EXPECT_EQ(machineHiveReads(), before + 1);

    // Another program rewrites the file in place with a new size.
    std::ofstream(hivePath(Hive::Machine), std::ios::trunc) << "[" << kKey << "]\n\"InstallPath\"=\"/srv/tessaly/\"\n";
    EXPECT_EQ(readString(Hive::Machine, kKey, "InstallPath"), "/srv/tessaly/");
    EXPECT_FALSE(keyExists(Hive::Machine, classKey));
    EXPECT_EQ(machineHiveReads(), before + 2);
    // This process's own write is seen at once; the user hive is apart.
    ASSERT_EQ(writeString(Hive::Machine, kKey, "InstallPath", "/usr/tessaly/"), kOk);
    EXPECT_EQ(readString(Hive::Machine, kKey, "InstallPath"), "/usr/tessaly/");
    EXPECT_EQ(readString(Hive::User, kKey, "userName"), "anna");
    EXPECT_FALSE(readString(Hive::User, kKey, "InstallPath"));
    // The file removed reads as an empty hive.
    std::filesystem::remove(hivePath(Hive::Machine));
    EXPECT_FALSE(readString(Hive::Machine, kKey, "InstallPath"));
    // Another file named by the environment is another hive.
    testsupport::TempDir dir;
    ScopedEnv other("TESSALY_MACHINE_HIVE",
                    dir.write("machine.ini", std::string("[") + kKey + "]\n\"InstallPath\"=\"/other/\"\n"));
    EXPECT_EQ(readString(Hive::Machine, kKey, "InstallPath"), "/other/");
}

TEST_F(Registry, AMalformedHiveIsReadButNeverRewritten)
{
    const std::string content = std::string("[") + kKey + "]\n\"Module\"=\"algebra\"\n\"Broken\"=what\n";
    std::filesystem::create_directories(std::filesystem::path(hivePath(Hive::User)).parent_path());
    std::ofstream(hivePath(Hive::User)) << content;
    EXPECT_EQ(readString(Hive::User, kKey, "Module"), "algebra");
    EXPECT_EQ(writeString(Hive::User, kKey, "userName", "x"), kErrorInvalidData);
    EXPECT_EQ(testsupport::readFile(hivePath(Hive::User)), content);
}

TEST_F(Registry, AFailedWriteReportsAndLeavesTheOldFileWhole)
{
    ASSERT_EQ(writeString(Hive::Machine, kKey, "InstallPath", "/opt/suite/"), kOk);
    const std::string before = testsupport::readFile(hivePath(Hive::Machine));
    // The temporary file cannot be created: a folder holds its name.
    const std::string temp = hivePath(Hive::Machine) + ".tmp." + std::to_string(::getpid());
    std::filesystem::create_directory(temp);
    EXPECT_NE(writeString(Hive::Machine, kKey, "InstallPath", "/elsewhere/"), kOk);
    std::filesystem::remove(temp);
    EXPECT_EQ(testsupport::readFile(hivePath(Hive::Machine)), before);
    EXPECT_EQ(readString(Hive::Machine, kKey, "InstallPath"), "/opt/suite/");

    // A hive whose folder cannot exist: a regular file stands in its way.
    testsupport::TempDir dir;
    dir.write("blocker", "");
    ScopedEnv config("XDG_CONFIG_HOME", dir.path() + "blocker");
    EXPECT_NE(writeString(Hive::User, kKey, "userName", "x"), kOk);
    EXPECT_FALSE(readString(Hive::User, kKey, "userName"));
}

TEST_F(Registry, ConcurrentWritersLoseNothing)
{
    constexpr int kWrites = 40;
    auto writer = [](const std::string& prefix) {
        for (int i = 0; i < kWrites; ++i)
            writeDWord(Hive::User, kKey, prefix + std::to_string(i), static_cast<std::uint32_t>(i));
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    EXPECT_EQ(values(Hive::User, kKey).size(), 2u * kWrites);
    EXPECT_EQ(readDWord(Hive::User, kKey, "b39"), 39u);
}

}  // namespace
}  // namespace platform::registry
