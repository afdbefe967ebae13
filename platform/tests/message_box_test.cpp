#include <gtest/gtest.h>

#include "platform/message_box.h"

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

}  // namespace
}  // namespace platform
