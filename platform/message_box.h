#pragma once
// The one message-box service of the suite. Normally a modal QMessageBox; in
// tests a recorder takes the message and answers from a script, so a test can
// check the exact text without blocking. With the environment variable
// TESSALY_MESSAGE_LOG naming a file, every message is appended there (caption,
// then text) and answered with the box's first button at once: a program
// started by a test or a script never waits for a hand on the keyboard.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace platform {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

struct MessageRecord {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    const QWidget* parent = nullptr;  // the window the box is modal to
};

struct MessageRecorder {
    std::vector<MessageRecord> messages;
    // Answers handed out in order; when empty, the box's first button.
    std::deque<MessageAnswer> answers;
};
void setMessageRecorder(MessageRecorder* recorder);
MessageRecorder* messageRecorder();

MessageAnswer showMessage(std::string_view text, std::string_view caption,
                          MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::Ok, QWidget* parent = nullptr);

// True while a message box shown by showMessage waits for its answer (its
// event loop runs): work that would pull data from under the caller waits.
bool isMessageBoxOpen();

}  // namespace platform
