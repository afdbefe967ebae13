#pragma once
// A temporary install root for the solver and the calculator: the machine
// hive names it, the scripted kernel stands in kernel/solvekernel/tarvik.so,
// the language file lies in kernel/data/lang/ua; the stand-in guide and the
// real formula control are registered. Message boxes are recorded.
#include <gtest/gtest.h>

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/dispatch_driver.h"
#include "platform/message_box.h"
#include "reckonry/main_frame.h"
#include "scripted_log.h"
#include "testsupport/temp_dir.h"

namespace reckonry::test {

struct RootOptions {
    bool kernel = true;
    bool language = true;
    bool guide = true;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Lays out the install root (call before making a frame).
    void makeRoot(const RootOptions& options);
    // Makes, creates and shows a frame of 800 x 600.
    CReckonryMainFrame& makeFrame(Program program);
    // The scripted kernel's record (null when the root has none).
    ScriptedLog* kernelLog() const;

    // The texts of the message boxes so far, and forgets them.
    std::vector<std::string> takeMessages();
    // The current page's condition and answer.
    solvehost::CSymbrantCtrl& condition();
    solvehost::CSymbrantCtrl& answer();
    // Types into the current condition as a user does.
    void typeCondition(const QString& keys);
    // Fires a guide event through the stand-in guide.
    template <class... A>
    void fireGuide(int event, A&&... args);
    // Triggers a command as a click on its menu item would.
    void trigger(int id);
    bool enabled(int id);
    bool checked(int id);

    std::unique_ptr<testsupport::TempDir> root;
    std::unique_ptr<testsupport::TempDir> workDir;
    std::string oldDir;
    platform::MessageRecorder messages;
    std::unique_ptr<CReckonryMainFrame> frame;
};

// Runs `act` on the next modal dialog once it shows.
void onNextDialog(std::function<void(QDialog&)> act);
// Presses the dialog's OK (id 1) or Cancel (id 2) button with the mouse.
void pressButton(QDialog& dialog, int id);

platform::com::DispatchDriver driverOf(QWidget* control);

template <class... A>
void FrameTest::fireGuide(int event, A&&... args)
{
    ASSERT_TRUE(frame && frame->GetGuide() && frame->GetGuide()->GetControl());
    driverOf(frame->GetGuide()).invoke(9003, std::int32_t{event}, std::forward<A>(args)...);
}

}  // namespace reckonry::test
