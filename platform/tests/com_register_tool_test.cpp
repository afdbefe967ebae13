// tessaly-register as the install step and a person run it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <filesystem>
#include <string>

#include "platform/com/creation.h"
#include "platform/com/dispatch.h"
#include "platform/registry.h"
#include "platform/tests/sample_component/sample_ids.h"
#include "testsupport/temp_dir.h"

namespace platform::com {
namespace {

namespace fs = std::filesystem;
using registry::Hive;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolRun run(const std::string& program, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromStdString(program), arguments);
    ToolRun result;
    if (!process.waitForStarted(30000))
        return result;
    process.waitForFinished(60000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

QStringList args(std::initializer_list<std::string> items)
{
    QStringList out;
    for (const std::string& item : items)
        out << QString::fromStdString(item);
    return out;
}

// An install root: kernel/bin with the tool, the platform library, a
// component, a library that is no component, and one of the suite's own
// libraries that exports DllRegisterServer but must be left alone.
std::string makeInstallTree(const testsupport::TempDir& dir)
{
    const std::string root = fs::canonical(dir.path()).string() + "/";
    const fs::path bin = root + "kernel/bin";
    fs::create_directories(bin);
    fs::copy_file(TESSALY_REGISTER, bin / "tessaly-register");
    fs::copy_file(PLATFORM_LIBRARY, bin / "libtessaly_platform.so");
    fs::copy_file(COM_SAMPLE_COMPONENT, bin / "ComSample.so");
    fs::copy_file(TEST_PLUGIN, bin / "Helper.so");
    fs::copy_file(COM_SAMPLE_COMPONENT, bin / "libtessaly_shared.so");
    return root;
}

class RegisterTool : public ::testing::Test {
protected:
    void SetUp() override { testsupport::resetHives(); }
    void TearDown() override { testsupport::resetHives(); }
};

TEST_F(RegisterTool, RegistersAndUnregistersOneLibrary)
{
    const std::string library = fs::absolute(COM_SAMPLE_COMPONENT).lexically_normal().string();
    ToolRun result = run(TESSALY_REGISTER, args({"--register", COM_SAMPLE_COMPONENT}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "registered " + library + "\n");
    EXPECT_EQ(registeredLibrary(sample::CLSID_SampleCtrl), library);

    result = run(TESSALY_REGISTER, args({"--unregister", COM_SAMPLE_COMPONENT}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "unregistered " + library + "\n");
    EXPECT_EQ(registeredLibrary(sample::CLSID_SampleCtrl), "");
}

TEST_F(RegisterTool, FailsForWhatIsNoComponentAndForBadUse)
{
    ToolRun result = run(TESSALY_REGISTER, args({"--register", TEST_PLUGIN}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("no DllRegisterServer export"), std::string::npos) << result.err;

    result = run(TESSALY_REGISTER, args({"--register", "/nonexistent/Missing.so"}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Cannot load /nonexistent/Missing.so"), std::string::npos) << result.err;

    EXPECT_EQ(run(TESSALY_REGISTER, args({})).exitCode, 2);
    EXPECT_EQ(run(TESSALY_REGISTER, args({"--registr", COM_SAMPLE_COMPONENT})).exitCode, 2);
    EXPECT_FALSE(registry::keyExists(Hive::Machine, "SOFTWARE\\Classes"));
}

TEST_F(RegisterTool, InstallRootRegistersTheComponentsBesideIt)
{
    testsupport::TempDir dir;
    const std::string root = makeInstallTree(dir);
    const ToolRun result = run(root + "kernel/bin/tessaly-register", args({"--install-root", root}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "InstallPath=" + root + " written to " + registry::hivePath(Hive::Machine) +
                              "\nregistered " + root + "kernel/bin/ComSample.so\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(registry::readString(Hive::Machine, "SOFTWARE\\Pelmarin\\Tessaly", "InstallPath"), root);
    EXPECT_EQ(registeredLibrary(sample::CLSID_SampleCtrl), root + "kernel/bin/ComSample.so");

    ComPtr<IDispatch> control;
    EXPECT_EQ(createInstance(sample::kSampleCtrlProgId, control), S_OK);
}

TEST_F(RegisterTool, StagedInstallRecordsWhereLibrariesWillLive)
{
    testsupport::TempDir dir;
    const std::string stage = makeInstallTree(dir);
    const std::string finalRoot = "/nonexistent/tessaly-final/";
    const ToolRun result = run(stage + "kernel/bin/tessaly-register", args({"--install-root", finalRoot}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(registry::readString(Hive::Machine, "SOFTWARE\\Pelmarin\\Tessaly", "InstallPath"), finalRoot);
    EXPECT_EQ(registeredLibrary(sample::CLSID_SampleCtrl), finalRoot + "kernel/bin/ComSample.so");
}

}  // namespace
}  // namespace platform::com
