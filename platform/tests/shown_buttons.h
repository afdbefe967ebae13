#pragma once
// The buttons of a message box as the user sees them: the box is shown for
// real through the suite's message service (the recorder set aside), its
// buttons' texts are read with their mnemonic marks removed (in no
// particular order: the style decides the order on the screen), and it is
// answered with one of them. With `screenshot`, the box is also saved there.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace platform::test {

inline std::vector<std::string> shownButtonTexts(MessageButtons buttons, const char* screenshot = nullptr)
{
    MessageRecorder* const recorder = messageRecorder();
    setMessageRecorder(nullptr);
    std::vector<std::string> texts;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        reader.stop();
        for (QAbstractButton* button : box->buttons())
            texts.push_back(button->text().remove(QLatin1Char('&')).toStdString());
        if (screenshot)
            box->grab().save(QString::fromUtf8(screenshot));
        box->buttons().front()->click();
    });
    reader.start(10);
    showMessage("Закрити задачу?", "", MessageIcon::Question, buttons);
    setMessageRecorder(recorder);
    return texts;
}

}  // namespace platform::test
