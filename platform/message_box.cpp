#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

MessageRecorder* g_recorder = nullptr;
int g_openBoxes = 0;

// Appends "caption: text" and a line feed to the message log; the file is
// opened for each message so that lines of several processes never mix.
void appendToLog(const char* path, std::string_view caption, std::string_view text)
{
    std::FILE* file = std::fopen(path, "ab");
    if (!file) {
        std::fprintf(stderr, "cannot append to the message log %s\n", path);
        return;
    }
    std::string line;
    line.reserve(caption.size() + text.size() + 3);
    line.append(caption).append(": ").append(text).push_back('\n');
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
}

MessageAnswer firstAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel: return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
    case MessageButtons::RetryCancel: return MessageAnswer::Retry;
    }
    return MessageAnswer::Ok;
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageAnswer fromQt(int button, MessageButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default:
        // Closed with Escape or the title bar: what Cancel would mean, or the
        // only answer of a plain OK box.
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok
               : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                   : MessageAnswer::Cancel;
    }
}

}  // namespace

void setMessageRecorder(MessageRecorder* recorder) { g_recorder = recorder; }
MessageRecorder* messageRecorder() { return g_recorder; }

MessageAnswer showMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                          MessageButtons buttons, QWidget* parent)
{
    if (g_recorder) {
        g_recorder->messages.push_back({std::string(text), std::string(caption), icon, buttons, parent});
        if (g_recorder->answers.empty())
            return firstAnswer(buttons);
        const MessageAnswer answer = g_recorder->answers.front();
        g_recorder->answers.pop_front();
        return answer;
    }
    if (const char* log = std::getenv("TESSALY_MESSAGE_LOG"); log && *log) {
        appendToLog(log, caption, text);
        return firstAnswer(buttons);
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No widgets in this process (a tool or a test without a display):
        // the message still reaches the user on the error stream.
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
        return firstAnswer(buttons);
    }
    QMessageBox box(qtIcon(icon), QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), qtButtons(buttons),
                    parent);
    ++g_openBoxes;
    const int button = box.exec();
    --g_openBoxes;
    return fromQt(button, buttons);
}

bool isMessageBoxOpen() { return g_openBoxes > 0; }

}  // namespace platform
