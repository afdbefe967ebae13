#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdlib>

#include "platform/message_box.h"
#include "testsupport/temp_dir.h"

namespace platform {
namespace {

TEST(MessageBox, RecorderKeepsTextsAndAnswersFromItsScript)
{
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    setMessageRecorder(&recorder);
    EXPECT_EQ(showMessage("Зберегти урок?", "Coursewright", MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::No);
    // Script used up: the box's first button.
    EXPECT_EQ(showMessage("Помилка", "Stepwell", MessageIcon::Error, MessageButtons::RetryCancel),
              MessageAnswer::Retry);
    EXPECT_EQ(showMessage("x", ""), MessageAnswer::Ok);
    setMessageRecorder(nullptr);

    ASSERT_EQ(recorder.messages.size(), 3u);
    EXPECT_EQ(recorder.messages[0].text, "Зберегти урок?");
    EXPECT_EQ(recorder.messages[0].caption, "Coursewright");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(recorder.messages[1].buttons, MessageButtons::RetryCancel);
}

TEST(MessageBox, LogFileTakesEveryMessageAndTheFirstButtonAnswersAtOnce)
{
    testsupport::TempDir dir;
    const std::string log = dir.write("messages.log", "earlier\n");
    ::setenv("TESSALY_MESSAGE_LOG", log.c_str(), 1);
    // A box that opens after all is closed again, so the test fails instead of waiting.
    bool boxOpened = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxOpened = true;
            box->close();
        }
    });
    closer.start(10);
    const MessageAnswer yes =
        showMessage("Закрити задачу?", "Stepwell", MessageIcon::Question, MessageButtons::YesNo);
    const MessageAnswer retry =
        showMessage("Error!\nCann't set task condition", "Stepwell", MessageIcon::Warning,
                    MessageButtons::RetryCancel);
    ::unsetenv("TESSALY_MESSAGE_LOG");
    EXPECT_FALSE(boxOpened);
    EXPECT_EQ(yes, MessageAnswer::Yes);
    EXPECT_EQ(retry, MessageAnswer::Retry);
    EXPECT_FALSE(isMessageBoxOpen());
    EXPECT_EQ(testsupport::readFile(log),
              "earlier\nStepwell: Закрити задачу?\nStepwell: Error!\nCann't set task condition\n");
}

TEST(MessageBox, TellsWhileARealBoxWaitsForItsAnswer)
{
    ASSERT_FALSE(isMessageBoxOpen());
    bool openInside = false;
    QTimer::singleShot(0, [&] {
        openInside = isMessageBoxOpen();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(showMessage("?", "Stepwell", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_TRUE(openInside);
    EXPECT_FALSE(isMessageBoxOpen());
}

}  // namespace
}  // namespace platform
