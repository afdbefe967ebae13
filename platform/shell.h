#pragma once
// The shell: opening documents with their desktop program and starting the
// suite's programs. Never through a shell command string. A recorder takes
// the calls in tests.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::shell {

struct Call {
    enum class Kind { OpenDocument, StartProgram };
    Kind kind = Kind::OpenDocument;
    std::string target;                  // the document, or the program file
    std::vector<std::string> arguments;  // programs only
    std::string workingFolder;           // programs only; empty: the current one
};

// While installed, calls are recorded and answered with `result` instead of
// being carried out.
struct Recorder {
    std::vector<Call> calls;
    bool result = true;
};
void setRecorder(Recorder* recorder);

// Opens a document (backslashes turned into "/"); false when there is no
// such file or nothing could open it.
bool openDocument(std::string_view path);

// Starts a program detached. A ".exe" ending is dropped; false when the
// program file is missing or cannot be started. When `processId` is given it
// receives the started process's id (0 when nothing was started, and under a
// recorder).
bool startProgram(std::string_view program, const std::vector<std::string>& arguments = {},
                  std::string_view workingFolder = {}, std::int64_t* processId = nullptr);

// "Stepwell.exe" -> "Stepwell" (any case), backslashes -> "/".
std::string programFileName(std::string_view program);

}  // namespace platform::shell
