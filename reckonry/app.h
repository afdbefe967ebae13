#pragma once
// The start of the solver and of the calculator: settings, language table,
// the main frame; each program's main chooses its variant.
#include <string>

#include "reckonry/command_ids.h"

namespace reckonry {

class CReckonryMainFrame;

class CReckonryApp {
public:
    explicit CReckonryApp(Program program) : m_program(program) {}

    // Puts Qt's own texts into Ukrainian, reads the settings and the language
    // table and makes the frame, shown. False when the program must end (the
    // calculator without its language table, a frame that cannot be made).
    bool InitInstance();
    // The install path read at start, with "/" separators.
    const std::string& GetInstallDir() const { return m_installDir; }
    CReckonryMainFrame* GetMainFrame() const { return m_frame; }
    ~CReckonryApp();

private:
    const Program m_program;
    std::string m_installDir;
    CReckonryMainFrame* m_frame = nullptr;
};

// The whole program: a QApplication must exist. Answers the exit code.
int RunProgram(Program program);

}  // namespace reckonry
