#include "stepwell/model/task_receiver.h"

#include <optional>

#include "shared/programs.h"

namespace stepwell {

bool CTaskReceiver::Receive(std::uint32_t code, std::string text)
{
    if (code != shared::CopyDataCode::OpenTask && code != shared::CopyDataCode::OpenLibraryTask)
        return false;
    m_queue.push_back(std::move(text));
    return true;
}

CTaskReceiver::Outcome CTaskReceiver::ProcessPending()
{
    if (m_processing)
        return Outcome::Busy;
    m_processing = true;
    Outcome outcome = Outcome::Done;
    while (!m_queue.empty()) {
        if (m_hooks.isBusy && m_hooks.isBusy()) {
            outcome = Outcome::Busy;
            break;
        }
        const std::string text = std::move(m_queue.front());
        m_queue.pop_front();
        handle(text);
    }
    m_processing = false;
    return outcome;
}

void CTaskReceiver::handle(const std::string& text)
{
    const std::optional<ReceivedTask> task = ReadReceivedTask(text);
    if (!task || (m_hooks.formulasRead && !m_hooks.formulasRead(*task))) {
        if (m_hooks.refuse)
            m_hooks.refuse();
        return;
    }
    if (m_hooks.hasTask && m_hooks.hasTask()) {
        if (m_hooks.confirmClose && !m_hooks.confirmClose())
            return;
        if (m_hooks.closeDialogs)
            m_hooks.closeDialogs();
    }
    if (m_hooks.openTask)
        m_hooks.openTask(*task);
}

}  // namespace stepwell
