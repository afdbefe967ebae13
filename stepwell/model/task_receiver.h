#pragma once
// Tasks arriving from sibling programs. Each text is kept in order of
// arrival and handled only while no message box is open, so that no
// solution is replaced under a handler that still runs behind a box (the
// frame's own or a control's): a text that arrives meanwhile waits. A text
// is read whole before the open task is given up for it: one that does not
// read is refused and the open task stays as it was.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "stepwell/model/received_task.h"

namespace stepwell {

class CTaskReceiver {
public:
    struct Hooks {
        std::function<bool()> isBusy;        // a message box is open
        std::function<bool()> hasTask;       // a task is open now
        std::function<bool()> confirmClose;  // asks "msgCloseTask"; true for Yes
        std::function<void()> closeDialogs;  // an open task dialog is cancelled
        std::function<void(const ReceivedTask&)> openTask;
        // Tries the formulas of a task that reads (ReadReceivedTask); false
        // when one does not read.
        std::function<bool(const ReceivedTask&)> formulasRead;
        // A text that does not read as a task: said, and nothing else changes.
        std::function<void()> refuse;
    };

    explicit CTaskReceiver(Hooks hooks) : m_hooks(std::move(hooks)) {}

    // Keeps a text with the codes that open a task (1 and 3); any other code
    // is dropped. True when kept.
    bool Receive(std::uint32_t code, std::string text);

    enum class Outcome { Done, Busy };
    // Handles the kept texts in order. Stops with Busy while a box is open
    // (call again once it closes); a call made while another runs (from
    // inside the box of its question) returns Busy at once.
    Outcome ProcessPending();

    std::size_t pending() const { return m_queue.size(); }

private:
    void handle(const std::string& text);

    Hooks m_hooks;
    std::deque<std::string> m_queue;
    bool m_processing = false;
};

}  // namespace stepwell
