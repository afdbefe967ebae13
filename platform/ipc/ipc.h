#pragma once
// How the programs of the suite find and message each other on one machine.
// A main window listens, from its creation to its destruction, on a local
// endpoint named after its window class; finding the window is connecting to
// that endpoint; a text for it travels as one frame (frame.h) answered with
// one status. Named mutexes are advisory locks on files that the system
// releases when their holder dies. Endpoints and lock files live in one
// per-user folder of mode 0700 (ipcFolder()).
//
// Every wait is bounded and runs on the calling (user-interface) thread,
// processing events except user input meanwhile; a QCoreApplication must
// exist.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ipc/frame.h"

class QWidget;

namespace platform::ipc {

// $TESSALY_IPC_DIR when set, else the user's runtime folder + "/tessaly";
// created with mode 0700 when missing (an existing folder of this user is
// narrowed to 0700). Ends with "/"; empty when it cannot be made or belongs
// to another user.
std::string ipcFolder();

// Whether a window listens under `name` (the connect succeeds within
// `wait`).
bool exists(std::string_view name, std::chrono::milliseconds wait = std::chrono::milliseconds(1000));

enum class SendResult {
    Received,     // the receiver's handler has returned
    NoEndpoint,   // nobody listens under the name
    Refused,      // the receiver answered with an error status
    NoAnswer,     // no status within the wait, or the connection broke
    TooLong,      // the text exceeds the frame limit; nothing was sent
};

// Sends a copy-data frame: `text` and a terminating NUL, with `code`, and
// waits at most `wait` for the status.
SendResult sendCopyData(std::string_view name, std::uint32_t code, std::string_view text,
                        std::chrono::milliseconds wait = std::chrono::milliseconds(5000));
// Asks the window listening under `name` to come to the front.
SendResult activate(std::string_view name, std::chrono::milliseconds wait = std::chrono::milliseconds(5000));

// A main window's endpoint. On every frame the window is raised and
// activated; a copy-data frame then goes to the handler as (code, bytes
// before the first NUL). The status is sent after the handler returns, so
// the handler should only copy the text and queue the work (the sender waits
// meanwhile). A live endpoint keeps its first owner: a second Listener under
// the same name does not listen; one whose owner died is taken over.
class Listener {
public:
    using CopyDataHandler = std::function<void(std::uint32_t code, std::string text)>;

    Listener(QWidget* window, std::string name, CopyDataHandler handler);
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    bool isListening() const;
    const std::string& name() const;
    // How long a frame may stall half-way before it is refused as truncated.
    void setStallLimit(std::chrono::milliseconds limit);

    struct State;

private:
    std::unique_ptr<State> m_state;
};

// A named mutex of the suite: taken at construction when free, held until
// destruction or the death of the process.
class NamedMutex {
public:
    enum class Result {
        Acquired,
        AlreadyHeld,   // another holder has it (any process, this one too)
        AccessDenied,  // the lock file cannot be opened: counts as held
    };

    explicit NamedMutex(std::string_view name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    Result result() const { return m_result; }
    bool owned() const { return m_result == Result::Acquired; }

private:
    int m_fd = -1;
    Result m_result = Result::AccessDenied;
};

}  // namespace platform::ipc
