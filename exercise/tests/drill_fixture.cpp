#include "exercise/tests/drill_fixture.h"

#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "exercise/esf_bitmap.h"
#include "platform/com/com.h"
#include "platform/registry.h"
#include "shared/language.h"
#include "shared/settings.h"

namespace exercise::testing {

namespace fs = std::filesystem;

ScriptedKernelState& scriptedKernel()
{
    static ScriptedKernelState state;
    return state;
}

namespace {

int scriptedInit(const char* libPath, const char* args, std::int32_t* handle, std::ostream*)
{
    scriptedKernel().libraryPath = libPath ? libPath : "";
    scriptedKernel().arguments = args ? args : "";
    *handle = 1;
    return 1;
}

int scriptedGetRes(const char* request, std::int32_t code, char** reply, std::int32_t)
{
    ScriptedKernelState& state = scriptedKernel();
    state.requests.push_back(request);
    state.codes.push_back(code);
    std::string text;
    if (!state.replies.empty()) {
        text = state.replies.front();
        state.replies.pop_front();
    }
    *reply = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(*reply, text.c_str(), text.size() + 1);
    ++state.outstanding;
    return state.failCall ? 0 : 1;
}

void scriptedRemove(char* reply, int)
{
    std::free(reply);
    ++scriptedKernel().removed;
    --scriptedKernel().outstanding;
}

class ScriptedKernel : public solvehost::CSolveKernel {
public:
    using CSolveKernel::CSolveKernel;

protected:
    void* lookupEntry(const char* name) override
    {
        if (std::strcmp(name, "exec_init") == 0)
            return reinterpret_cast<void*>(&scriptedInit);
        if (std::strcmp(name, "exec_getres") == 0)
            return reinterpret_cast<void*>(&scriptedGetRes);
        if (std::strcmp(name, "exec_remove") == 0)
            return reinterpret_cast<void*>(&scriptedRemove);
        return nullptr;
    }
};

std::string absolute(const char* path)
{
    return fs::absolute(path).lexically_normal().string();
}

}  // namespace

std::unique_ptr<solvehost::CSolveKernel> ScriptedFrame::createSolveKernel(const std::string& libraryPath)
{
    return std::make_unique<ScriptedKernel>(libraryPath);
}

DrillRoot::DrillRoot()
{
    testsupport::resetHives();
    scriptedKernel() = ScriptedKernelState{};
    const fs::path root = m_root.path();
    fs::create_directories(root / "kernel/data/lang/ua");
    fs::create_directories(root / "kernel/data/resources");
    fs::create_directories(root / "kernel/solvekernel");
    fs::create_directories(root / "modules");
    fs::copy_file(std::string(TESSALY_DATA_SOURCE) + "/lang/ua/exercise.lng", root / "kernel/data/lang/ua/exercise.lng");
    fs::copy_file(TESSALY_EXERCISE_ARCHIVE, root / "kernel/data/resources/exercise.esf");
    fs::create_symlink(absolute(TARVIK_LIBRARY), root / "kernel/solvekernel/tarvik.so");
    fs::create_directory_symlink(std::string(TESSALY_DATA_SOURCE) + "/modules/tessaly", root / "modules/tessaly");
    platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath",
                                    m_root.path());
    setPersonified(true);
    platform::com::registerLibrary(absolute(FORMAVEL_LIBRARY));
    char cwd[4096];
    m_oldDirectory = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
    if (::chdir(m_root.path().c_str()) != 0)
        m_oldDirectory.clear();
    platform::setMessageRecorder(&recorder);
}

DrillRoot::~DrillRoot()
{
    platform::setMessageRecorder(nullptr);
    EsfPictures& pictures = esfPictures();
    for (CEsfBitmap* picture : {&pictures.sheet, &pictures.lightOff, &pictures.green, &pictures.yellow, &pictures.red})
        picture->Release();
    if (!m_oldDirectory.empty() && ::chdir(m_oldDirectory.c_str()) != 0)
        m_oldDirectory.clear();
    testsupport::resetHives();
}

void DrillRoot::setPersonified(bool on) const
{
    shared::CSettings::Instance().SetUserPersonified(on);
}

std::vector<std::string> texts(const platform::MessageRecorder& recorder)
{
    std::vector<std::string> out;
    for (const platform::MessageRecord& record : recorder.messages)
        out.push_back(record.text);
    return out;
}

std::string lang(const char* key)
{
    return shared::GetLangString(key);
}

}  // namespace exercise::testing
