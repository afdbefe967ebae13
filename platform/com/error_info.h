#pragma once
// Rich error information: a component that fails a call leaves the thread's
// last error (source, interface, English description) for the caller, which
// reads it after the failed HRESULT.
#include <exception>
#include <optional>
#include <string>

#include "platform/com/unknown.h"

namespace platform::com {

struct ErrorInfo {
    std::string source;       // the class that failed, e.g. "Tasks"
    IID iid;                  // the interface whose member failed
    std::string description;  // e.g. "New Task must not be NULL pointer!"
    bool operator==(const ErrorInfo&) const = default;
};

// An object that lists this interface tells callers which of its interfaces
// leave error info (Object<...> answers for all of its own).
class ISupportErrorInfo : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{78E0A36D-9DCD-4AEA-9DDE-97CA7004A79F}");
    // S_OK when failing members of that interface set error info, else S_FALSE.
    virtual HRESULT InterfaceSupportsErrorInfo(const IID& id) = 0;
};

// The thread's last error: set replaces it, take answers it and clears it.
void setErrorInfo(ErrorInfo info);
void clearErrorInfo();
std::optional<ErrorInfo> takeErrorInfo();

// Sets the thread's error and answers hr, for `return reportError(...)`.
HRESULT reportError(std::string source, const IID& iid, std::string description, HRESULT hr = E_FAIL);

// After a failed call of object's interface iid: its error info when the
// object supports error info for that interface. Clears the thread's error
// either way, so no stale text is ever reported.
std::optional<ErrorInfo> errorInfoFor(IUnknown* object, const IID& iid);

// English text of a result code ("Unspecified error", "Class not
// registered", ...; "Unknown error 0x80040201" for the rest).
std::string standardMessage(HRESULT hr);

// A failure as an exception: what dispatch members throw to fail with error
// info, and what callers that prefer exceptions get (see throwIfFailed).
class Error : public std::exception {
public:
    explicit Error(HRESULT hr, std::string description = {}, std::string source = {}, IID iid = {});
    Error(HRESULT hr, ErrorInfo info);

    HRESULT hr() const { return m_hr; }
    const ErrorInfo& info() const { return m_info; }
    // The description, or the standard message when there is none.
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    HRESULT m_hr;
    ErrorInfo m_info;
    std::string m_what;
};

// Throws Error carrying the thread's error info (taken) when hr failed.
void throwIfFailed(HRESULT hr);

}  // namespace platform::com
