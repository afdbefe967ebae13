#pragma once
// A temporary install root for the drill's window tests: the language file,
// the picture archive, the built kernel and the sample module, with the
// machine hive pointing at it, a logged-in user and the real formula control
// registered. The working folder is the root (the kernel's log goes there).
// A scripted kernel can stand in for the real one.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "exercise/exercise_frame.h"
#include "platform/message_box.h"
#include "testsupport/temp_dir.h"

namespace exercise::testing {

struct ScriptedKernelState {
    std::string libraryPath;  // as the start gave them
    std::string arguments;
    std::deque<std::string> replies;  // handed out in order; "" when empty
    bool failCall = false;            // the call fails (a reply still comes)
    std::vector<std::string> requests;
    std::vector<int> codes;
    int removed = 0;
    int outstanding = 0;  // replies not yet handed back
};
ScriptedKernelState& scriptedKernel();

// A frame whose kernel is the scripted one.
class ScriptedFrame : public CExerciseFrame {
public:
    using CExerciseFrame::CExerciseFrame;

protected:
    std::unique_ptr<solvehost::CSolveKernel> createSolveKernel(const std::string& libraryPath) override;
};

class DrillRoot {
public:
    DrillRoot();
    ~DrillRoot();
    const std::string& path() const { return m_root.path(); }
    std::string modulePath() const { return m_root.path() + "modules/tessaly/"; }
    void setPersonified(bool on) const;
    platform::MessageRecorder recorder;

private:
    testsupport::TempDir m_root;
    std::string m_oldDirectory;
};

// The messages' texts, in order.
std::vector<std::string> texts(const platform::MessageRecorder& recorder);
// The language text of a key in the sample exercise.lng.
std::string lang(const char* key);

}  // namespace exercise::testing
