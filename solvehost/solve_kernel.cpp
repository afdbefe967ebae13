#include "solvehost/solve_kernel.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "platform/message_box.h"
#include "shared/language.h"
#include "shared/settings.h"

namespace solvehost {

namespace {

constexpr const char* kInitError = "CKernelFuncMgr::m_pSolveKernel->initClew error";
// The pupil's text of a kernel that does not start: the host's language
// table, else the same words held here (a host whose table did not load).
constexpr const char* kInitErrorKey = "erKernelStart";
constexpr const char* kInitErrorText = "Сервер обчислень не запущено: перевірте встановлення.";
constexpr const char* kServerError = "Помилка в сервері обчислень";

bool lowByte(int result) { return (result & 0xFF) != 0; }

}  // namespace

CSolveKernel::CSolveKernel(std::string_view libraryPath)
    : std::ofstream("solution.txt", std::ios::out | std::ios::trunc), m_libraryPath(libraryPath)
{
    m_library.load(m_libraryPath);
}

CSolveKernel::~CSolveKernel() = default;

void* CSolveKernel::lookupEntry(const char* name) { return m_library.symbol(name); }

bool CSolveKernel::initClew(const std::string& arguments)
{
    if (!m_library.isLoaded())
        return false;
    if (!m_execInit) {
        m_execInit = reinterpret_cast<ExecInitFn>(lookupEntry("exec_init"));
        if (!m_execInit)
            return false;
        m_execRemove = reinterpret_cast<ExecRemoveFn>(lookupEntry("exec_remove"));
    }
    return lowByte(m_execInit(m_libraryPath.c_str(), arguments.c_str(), &m_handle, this));
}

bool CSolveKernel::GetResult(const char* text, std::int32_t code, char** reply)
{
    if (!m_library.isLoaded())
        return false;
    if (!m_execGetRes) {
        m_execGetRes = reinterpret_cast<ExecGetResFn>(lookupEntry("exec_getres"));
        if (!m_execGetRes)
            return false;
    }
    return lowByte(m_execGetRes(text, code, reply, m_handle));
}

void CSolveKernel::RemoveResult(char* reply)
{
    if (m_execRemove)
        m_execRemove(reply, 0);
}

CKernelFuncMgr::CKernelFuncMgr(std::string ruleFile) : m_ruleFile(std::move(ruleFile)) {}

CKernelFuncMgr::~CKernelFuncMgr() = default;

std::unique_ptr<CSolveKernel> CKernelFuncMgr::createSolveKernel(const std::string& libraryPath)
{
    return std::make_unique<CSolveKernel>(libraryPath);
}

bool CKernelFuncMgr::InitKernel()
{
    const shared::CSettings& settings = shared::CSettings::Instance();
    const std::string libraryPath = settings.GetInstallPath() + "kernel/solvekernel/tarvik.so";
    // The path stays relative and in the hosts' own form: where the rule
    // file lies is the kernel's concern.
    const std::string ruleFile = "modules\\" + settings.GetModule() + "\\" + m_ruleFile;
    bool started = false;
    try {
        m_pSolveKernel = createSolveKernel(libraryPath);
        started = m_pSolveKernel->initClew("-l " + ruleFile);
    } catch (const std::exception&) {
        started = false;
    }
    m_started = started;
    if (!started) {
        // The developer's account goes to the error stream, the pupil reads
        // what to do.
        std::fprintf(stderr, "%s (%s)\n", kInitError, libraryPath.c_str());
        ShowKernelMessage(shared::GetLangString(kInitErrorKey, kInitErrorText));
    }
    return true;
}

void CKernelFuncMgr::ShowKernelMessage(const std::string& text)
{
    platform::showMessage(text, "", platform::MessageIcon::Warning);
}

bool CKernelFuncMgr::CallKernel(std::int32_t code, const std::string& text, std::string& out)
{
    if (!m_pSolveKernel)
        return false;
    char* reply = nullptr;
    try {
        const bool ok = m_pSolveKernel->GetResult(text.c_str(), code, &reply);
        if (!ok) {
            if (reply)
                m_pSolveKernel->RemoveResult(reply);
            return false;
        }
        if (!reply)
            return false;
        std::string copy(reply);
        m_pSolveKernel->RemoveResult(reply);
        reply = nullptr;
        out = std::move(copy);
        return out != kNoResult;
    } catch (...) {
        if (reply)
            m_pSolveKernel->RemoveResult(reply);
        ShowKernelMessage(kServerError);
        return false;
    }
}

}  // namespace solvehost
