#include "frame_fixture.h"

#include <dlfcn.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "platform/com/com.h"
#include "platform/registry.h"
#include "reckonry/task_wnd.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "solvehost/control_wrapper.h"

namespace reckonry::test {

namespace fs = std::filesystem;

void FrameTest::SetUp()
{
    testsupport::resetHives();
    shared::ProgramLanguageTable() = shared::CLanguageTable();
    platform::setMessageRecorder(&messages);
    root = std::make_unique<testsupport::TempDir>();
    workDir = std::make_unique<testsupport::TempDir>();
    oldDir = fs::current_path().string();
    fs::current_path(workDir->path());
}

void FrameTest::TearDown()
{
    frame.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    shared::SetFlatTabStyleFlags(false, 0);
    fs::current_path(oldDir);
    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}

void FrameTest::makeRoot(const RootOptions& options)
{
    const fs::path base = root->path();
    fs::create_directories(base / "kernel/solvekernel");
    fs::create_directories(base / "kernel/data/lang/ua");
    if (options.kernel)
        fs::create_symlink(fs::absolute(SCRIPTED_KERNEL), base / "kernel/solvekernel/tarvik.so");
    if (options.language)
        fs::copy_file(LANGUAGE_FILE, base / "kernel/data/lang/ua/reckonry.lng");
    ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                              "InstallPath", root->path()),
              0);
    if (options.guide) {
        ASSERT_EQ(platform::com::registerLibrary(fs::absolute(TEST_COMPONENTS).string()), platform::S_OK);
    }
#ifdef FORMAVEL_LIBRARY
    ASSERT_EQ(platform::com::registerLibrary(fs::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);
#endif
    if (options.language) {
        ASSERT_TRUE(shared::LoadLanguageFile(root->path() + "kernel/data/lang/ua/reckonry.lng"));
    }
}

CReckonryMainFrame& FrameTest::makeFrame(Program program)
{
    frame = std::make_unique<CReckonryMainFrame>(program);
    EXPECT_TRUE(frame->Create());
    frame->resize(800, 600);
    frame->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    return *frame;
}

ScriptedLog* FrameTest::kernelLog() const
{
    const std::string path = root->path() + "kernel/solvekernel/tarvik.so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    auto* get = reinterpret_cast<ScriptedLog* (*)()>(dlsym(handle, "scripted_log"));
    ScriptedLog* log = get ? get() : nullptr;
    dlclose(handle);
    return log;
}

std::vector<std::string> FrameTest::takeMessages()
{
    std::vector<std::string> out;
    for (const platform::MessageRecord& record : messages.messages)
        out.push_back(record.text);
    messages.messages.clear();
    return out;
}

solvehost::CSymbrantCtrl& FrameTest::condition() { return frame->GetTaskTabs()->GetCurrentPage()->Condition(); }

solvehost::CSymbrantCtrl& FrameTest::answer() { return frame->GetTaskTabs()->GetCurrentPage()->Answer(); }

void FrameTest::typeCondition(const QString& keys)
{
    QWidget* window = condition().GetControlWindow();
    ASSERT_NE(window, nullptr);
    window->setFocus();
    QTest::keyClicks(window, keys);
}

void FrameTest::trigger(int id)
{
    frame->UpdateCommandUI();
    QAction* action = frame->GetAction(id);
    ASSERT_NE(action, nullptr) << id;
    ASSERT_TRUE(action->isEnabled()) << id;
    action->trigger();
}

bool FrameTest::enabled(int id)
{
    frame->UpdateCommandUI();
    QAction* action = frame->GetAction(id);
    return action && action->isEnabled();
}

bool FrameTest::checked(int id)
{
    frame->UpdateCommandUI();
    QAction* action = frame->GetAction(id);
    return action && action->isChecked();
}

void onNextDialog(std::function<void(QDialog&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start();
}

void pressButton(QDialog& dialog, int id)
{
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->property("dlgCtrlId").toInt() == id) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    ADD_FAILURE() << "no button " << id;
}

platform::com::DispatchDriver driverOf(QWidget* control)
{
    auto* wrapper = static_cast<solvehost::CControlWrapper*>(control);
    return platform::com::DispatchDriver(platform::com::ComPtr<platform::com::IDispatch>(wrapper->GetControl()));
}

}  // namespace reckonry::test
