// A stand-in main window of a sibling program for the tests of the program
// links: started by a test (or by the launcher, without arguments), it is
// driven by its environment and writes what happens to it, one line each, to
// $TESSALY_RECEIVER_LOG:
//   "start <pid>", then by $TESSALY_RECEIVER_MODE:
//   listen (default): "listening" or "not-listening" under
//     $TESSALY_RECEIVER_NAME (default "Stepwell_tessaly_WindowClassName");
//     then "activated" when its window becomes active and
//     "text <code> <hex bytes>" from the queued work of each copy-data;
//   exit: ends at once with code 3;
//   idle: never listens;
//   mutex: takes the named mutex $TESSALY_RECEIVER_MUTEX: "mutex acquired",
//     "mutex held" or "mutex denied".
// It ends by itself after a minute so that no test leaves it behind.
#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "platform/ipc/ipc.h"

namespace {

std::string env(const char* name, const char* fallback = "")
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

void log(const std::string& line)
{
    const std::string path = env("TESSALY_RECEIVER_LOG");
    if (path.empty())
        return;
    if (std::FILE* file = std::fopen(path.c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

class ActivationLog : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate)
            log("activated");
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    log("start " + std::to_string(::getpid()));
    const std::string mode = env("TESSALY_RECEIVER_MODE", "listen");
    if (mode == "exit")
        return 3;

    QApplication app(argc, argv);
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);

    std::unique_ptr<platform::ipc::NamedMutex> mutex;
    if (mode == "mutex") {
        mutex = std::make_unique<platform::ipc::NamedMutex>(env("TESSALY_RECEIVER_MUTEX"));
        switch (mutex->result()) {
        case platform::ipc::NamedMutex::Result::Acquired: log("mutex acquired"); break;
        case platform::ipc::NamedMutex::Result::AlreadyHeld: log("mutex held"); break;
        case platform::ipc::NamedMutex::Result::AccessDenied: log("mutex denied"); break;
        }
        return app.exec();
    }
    if (mode == "idle")
        return app.exec();

    // The main window, shown, with another window of the program in front of
    // it: a frame has to bring it forward.
    QWidget window;
    window.setWindowTitle("receiver");
    window.resize(200, 100);
    window.show();
    QWidget other;
    other.resize(100, 50);
    other.show();
    other.activateWindow();
    for (int i = 0; i < 500 && QApplication::activeWindow() != &other; ++i) {
        QCoreApplication::processEvents();
        ::usleep(10000);
    }

    ActivationLog activation;
    window.installEventFilter(&activation);
    platform::ipc::Listener listener(&window, env("TESSALY_RECEIVER_NAME", "Stepwell_tessaly_WindowClassName"),
                                     [&window](std::uint32_t code, std::string text) {
                                         // Copies, and does the work later, as a main window does.
                                         QMetaObject::invokeMethod(
                                             &window,
                                             [code, text = std::move(text)] {
                                                 log("text " + std::to_string(code) + " " + hex(text));
                                             },
                                             Qt::QueuedConnection);
                                     });
    log(listener.isListening() ? "listening" : "not-listening");
    return app.exec();
}
