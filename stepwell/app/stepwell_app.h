#pragma once
// The application object: Qt's texts in Ukrainian, the language table, the
// login check, the working folder, then the main frame.
#include <memory>
#include <optional>
#include <string>

#include "platform/message_box.h"

namespace stepwell {

class CStepwellMainFrame;

class CStepwellApp {
public:
    CStepwellApp();
    ~CStepwellApp();

    // None while the frame runs; the exit code when start-up ends the program.
    std::optional<int> InitInstance();
    CStepwellMainFrame* frame() const { return m_frame.get(); }

    // A message box of the program: owned by the main frame when there is one,
    // caption "messageTitle", a question mark for Yes/No, else an exclamation mark.
    platform::MessageAnswer DoMessageBox(const std::string& text,
                                         platform::MessageButtons buttons = platform::MessageButtons::Ok);

private:
    std::unique_ptr<CStepwellMainFrame> m_frame;
};

}  // namespace stepwell
