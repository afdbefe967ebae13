#pragma once
// The binding of the outside solving kernel "tarvik": the executor
// CSolveKernel owns the library and its three entry points; CKernelFuncMgr,
// a role of a host's main frame, starts it with the program's rule file and
// offers CallKernel to the rest of the program.
#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/dynlib.h"

namespace solvehost {

// The kernel's entry points: C calling convention, booleans in the low byte.
using ExecInitFn = int (*)(const char* libPath, const char* args, std::int32_t* handle, std::ostream* log);
using ExecGetResFn = int (*)(const char* request, std::int32_t code, char** reply, std::int32_t handle);
using ExecRemoveFn = void (*)(char* reply, int zero);

// The reply that means "no result" (seven characters, quotes included).
inline constexpr std::string_view kNoResult = "\"NORES\"";

// The executor. It is itself the kernel's log stream: "solution.txt" in the
// working directory, emptied when the executor is made.
class CSolveKernel : public std::ofstream {
public:
    // Loads the library; a failed load is not reported here (initClew then
    // answers false).
    explicit CSolveKernel(std::string_view libraryPath);
    ~CSolveKernel() override;
    CSolveKernel(const CSolveKernel&) = delete;
    CSolveKernel& operator=(const CSolveKernel&) = delete;

    // Starts the kernel with its argument text ("-l modules\tessaly\x.clew").
    // exec_init and exec_remove are looked up on the first call, and again
    // on the next while exec_init is missing.
    bool initClew(const std::string& arguments);
    // One request; exec_getres is looked up on the first call. The reply the
    // kernel allocated (or null) is left in `reply`.
    bool GetResult(const char* text, std::int32_t code, char** reply);
    // Hands a reply back to the kernel (nothing when exec_remove is missing).
    void RemoveResult(char* reply);

    bool isLoaded() const { return m_library.isLoaded(); }
    const std::string& libraryPath() const { return m_libraryPath; }

protected:
    // An entry point by name; null when missing.
    virtual void* lookupEntry(const char* name);

private:
    std::string m_libraryPath;
    platform::DynamicLibrary m_library;
    ExecInitFn m_execInit = nullptr;
    ExecGetResFn m_execGetRes = nullptr;
    ExecRemoveFn m_execRemove = nullptr;
    std::int32_t m_handle = 0;
};

// The kernel manager role of a host's main frame.
class CKernelFuncMgr {
public:
    // `ruleFile`: "stepwell.clew", "exercise.clew" or "reckonry.clew".
    explicit CKernelFuncMgr(std::string ruleFile);
    virtual ~CKernelFuncMgr();
    CKernelFuncMgr(const CKernelFuncMgr&) = delete;
    CKernelFuncMgr& operator=(const CKernelFuncMgr&) = delete;

    // Creates the executor on "<install root>kernel/solvekernel/tarvik.so"
    // and starts it with "-l modules\<module>\<rule file>". When it cannot
    // start, the program's language text "erKernelStart" is shown and
    // "CKernelFuncMgr::m_pSolveKernel->initClew error" with the library's path
    // goes to the error stream. Start-up goes on in every case: always true.
    bool InitKernel();
    // Whether the last InitKernel started the kernel: without it no request
    // can be made.
    bool IsStarted() const { return m_started; }
    // One kernel request. True when the reply holds a result: `out` then
    // holds it. A reply "\"NORES\"" gives false and is left in `out`; no
    // reply gives false with `out` unchanged.
    bool CallKernel(std::int32_t code, const std::string& text, std::string& out);

    CSolveKernel* solveKernel() const { return m_pSolveKernel.get(); }

protected:
    virtual std::unique_ptr<CSolveKernel> createSolveKernel(const std::string& libraryPath);
    // Shows the binding's own messages (a kernel that does not start, a
    // fault in a request): a plain warning box unless the host shows its
    // boxes its own way.
    virtual void ShowKernelMessage(const std::string& text);

    std::unique_ptr<CSolveKernel> m_pSolveKernel;

private:
    std::string m_ruleFile;
    bool m_started = false;
};

}  // namespace solvehost
