// The road of one transformation through the placed formula control: the
// pupil hovers and double-clicks with the mouse, the host asks the stand-in
// kernel (bound through CKernelFuncMgr under a temporary install root) and
// hands the reply back by dispid, as the steps view does.
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "formula/control/tests/control_host.h"
#include "platform/registry.h"
#include "shared/settings.h"
#include "solvehost/solve_kernel.h"
#include "testsupport/temp_dir.h"

namespace solvehost {
namespace {

namespace fs = std::filesystem;
using namespace formula::control;
using namespace platform::com;

class ControlRoad : public test::ControlHost {
protected:
    void SetUp() override
    {
        ControlHost::SetUp();
        m_oldDir = fs::current_path();
        fs::current_path(m_workDir.path());
        ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                                  "InstallPath", m_root.path()),
                  0);
        fs::create_directories(m_root.path() + "kernel/solvekernel");
        fs::create_symlink(TARVIK_LIBRARY, m_root.path() + "kernel/solvekernel/tarvik.so");
        fs::create_directories(m_root.path() + "modules/tessaly");
        fs::copy_file(std::string(TARVIK_RULES_DIR) + "/stepwell.clew",
                      m_root.path() + "modules/tessaly/stepwell.clew");
    }
    void TearDown() override
    {
        fs::current_path(m_oldDir);
        ControlHost::TearDown();
    }

    // Hover and double-click the nth lexeme reading `lexeme`.
    void doubleClick(DispatchDriver& control, std::string_view lexeme, int nth)
    {
        const QPoint at = test::pointOf(control.getProperty<std::string>(disp::LexemText), lexeme, nth);
        QTest::mouseMove(window, at);
        QTest::mouseDClick(window, Qt::LeftButton, {}, at);
    }

    testsupport::TempDir m_root;
    testsupport::TempDir m_workDir;
    fs::path m_oldDir;
};

// The kernel's "-5" for the "-3-2" of "x-3-2=0" goes in as a term of the
// sum: the formula stays valid and the next double click asks again.
TEST_F(ControlRoad, KernelResultInASumOfAnEquation)
{
    CKernelFuncMgr kernel("stepwell.clew");
    ASSERT_TRUE(kernel.InitKernel());
    DispatchDriver control = createPlaced();
    control.setProperty(disp::LexemText, "x-3-2=0");
    ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
    std::vector<std::string> asked;
    const ComPtr<EventSink> host = make<EventSink>([&](DISPID id, std::span<const Variant> args) {
        std::string data;
        if (id == event::OperationDblClick && args.size() == 2 && args[1].get(data) == platform::S_OK) {
            asked.push_back(data);
        }
    });
    std::uint32_t cookie = 0;
    ASSERT_EQ(connectionAdvise(object.get(), DIID__DFormavelEvents, host.get(), &cookie), platform::S_OK);

    doubleClick(control, "-", 1);
    ASSERT_EQ(asked, std::vector<std::string>{"(-3)+!(-2)"});
    EXPECT_EQ(eventsWithId(event::OperationDblClick), std::vector<std::string>{"5 I4 2 String \"(-3)+!(-2)\""});
    std::string reply;
    ASSERT_TRUE(kernel.CallKernel(11, asked[0], reply));
    EXPECT_EQ(reply, "-5");
    control.invoke(disp::SetOperationResult, true, reply);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "x-5=0");
    EXPECT_EQ(control.invoke<std::string>(disp::GetAplanText), "x+!(-5)=!0");
    EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::IsFormulaValid)), -1);
    EXPECT_TRUE(messages.messages.empty());

    doubleClick(control, "-", 0);
    EXPECT_EQ(asked.size(), 2u);
    connectionUnadvise(object.get(), DIID__DFormavelEvents, cookie);
}

}  // namespace
}  // namespace solvehost
