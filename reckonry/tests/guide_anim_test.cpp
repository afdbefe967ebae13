// The solver's "how to do it" window: made on the guide's first request,
// titled, sized and centred, then reused and brought to the front.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <filesystem>
#include <memory>

#include "platform/message_box.h"
#include "platform/registry.h"
#include "reckonry/guide_anim.h"
#include "reckonry/main_frame.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "solvehost/anim/task_anim_frame.h"
#include "testsupport/temp_dir.h"

namespace reckonry::test {
namespace {

namespace fs = std::filesystem;

TEST(GuideAnimation, MadeOnceCentredAndReused)
{
    testsupport::resetHives();
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    testsupport::TempDir root;
    testsupport::TempDir workDir;
    const fs::path oldDir = fs::current_path();
    fs::current_path(workDir.path());
    fs::create_directories(fs::path(root.path()) / "kernel/temp");
    fs::copy_file(fs::path(TESSALY_STAGE_DIR) / "kernel/temp/guideanim.xslt",
                  fs::path(root.path()) / "kernel/temp/guideanim.xslt");
    ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                              "InstallPath", root.path()),
              0);
    shared::ProgramLanguageTable().Set("guideHowtodoExt", "Як це зробити");
    InstallGuideAnimation();
    {
        CReckonryMainFrame frame(Program::Reckonry);
        ASSERT_TRUE(frame.Create());
        frame.show();
        messages.messages.clear();

        frame.OnShowExtendedHowTodo("solve_linear.xml");
        auto* window = dynamic_cast<solvehost::CTaskAnimFrame*>(frame.GetAnimWindow());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->GetStyleSheet(), "guideanim.xslt");
        EXPECT_EQ(window->GetAnimFile(), "solve_linear.xml");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Як це зробити"));
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isMinimized());
        EXPECT_EQ(window->geometry().size(), QSize(850, 650));
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_EQ(window->geometry().topLeft(),
                  QPoint(work.x() + (work.width() - 850) / 2, work.y() + (work.height() - 650) / 2));
        const std::string anim = testsupport::readFile(root.path() + "kernel/temp/anim.xml");
        EXPECT_NE(anim.find("solve_linear.xml"), std::string::npos) << anim;

        // Minimised by the user, then asked again: the same window, restored.
        window->showMinimized();
        frame.OnShowExtendedHowTodo("factor.xml");
        EXPECT_EQ(frame.GetAnimWindow(), window);
        EXPECT_EQ(window->GetAnimFile(), "factor.xml");
        EXPECT_FALSE(window->isMinimized());
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(messages.messages.empty());
    }
    CReckonryMainFrame::SetHowTodoPresenter({});
    fs::current_path(oldDir);
    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}

}  // namespace
}  // namespace reckonry::test
