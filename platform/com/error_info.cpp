#include "platform/com/error_info.h"

#include <array>
#include <cstdio>
#include <utility>

namespace platform::com {

namespace {

thread_local std::optional<ErrorInfo> t_lastError;

}  // namespace

void setErrorInfo(ErrorInfo info) { t_lastError = std::move(info); }

void clearErrorInfo() { t_lastError.reset(); }

std::optional<ErrorInfo> takeErrorInfo() { return std::exchange(t_lastError, std::nullopt); }

HRESULT reportError(std::string source, const IID& iid, std::string description, HRESULT hr)
{
    setErrorInfo({std::move(source), iid, std::move(description)});
    return hr;
}

std::optional<ErrorInfo> errorInfoFor(IUnknown* object, const IID& iid)
{
    std::optional<ErrorInfo> info = takeErrorInfo();
    if (!object)
        return std::nullopt;
    void* raw = nullptr;
    if (Failed(object->QueryInterface(ISupportErrorInfo::iid, &raw)))
        return std::nullopt;
    const auto support = ComPtr<ISupportErrorInfo>::adopt(static_cast<ISupportErrorInfo*>(raw));
    if (support->InterfaceSupportsErrorInfo(iid) != S_OK)
        return std::nullopt;
    return info;
}

std::string standardMessage(HRESULT hr)
{
    struct Entry {
        HRESULT hr;
        const char* text;
    };
    static constexpr std::array kMessages = {
        Entry{S_OK, "The operation completed successfully."},
        Entry{E_NOTIMPL, "Not implemented"},
        Entry{E_NOINTERFACE, "No such interface supported"},
        Entry{E_POINTER, "Invalid pointer"},
        Entry{E_FAIL, "Unspecified error"},
        Entry{E_UNEXPECTED, "Catastrophic failure"},
        Entry{E_INVALIDARG, "The parameter is incorrect."},
        Entry{E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
        Entry{E_ACCESSDENIED, "Access is denied."},
        Entry{REGDB_E_CLASSNOTREG, "Class not registered"},
        Entry{CLASS_E_NOAGGREGATION, "Class does not support aggregation (or class object is remote)"},
        Entry{CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class"},
        Entry{CO_E_CLASSSTRING, "Invalid class string"},
        Entry{CO_E_ERRORINDLL, "Error in the DLL"},
        Entry{CO_E_DLLNOTFOUND, "DLL for class not found"},
        Entry{DISP_E_MEMBERNOTFOUND, "Member not found."},
        Entry{DISP_E_UNKNOWNNAME, "Unknown name."},
        Entry{DISP_E_TYPEMISMATCH, "Type mismatch."},
        Entry{DISP_E_OVERFLOW, "Out of present range."},
        Entry{DISP_E_BADPARAMCOUNT, "Invalid number of parameters."},
        Entry{CONNECT_E_NOCONNECTION, "The connection does not exist."},
        Entry{CONNECT_E_CANNOTCONNECT, "The sink cannot be connected."},
        Entry{SELFREG_E_CLASS, "The class could not be registered."},
    };
    for (const Entry& entry : kMessages)
        if (entry.hr == hr)
            return entry.text;
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "Unknown error 0x%08X", static_cast<unsigned>(hr));
    return buffer.data();
}

Error::Error(HRESULT hr, std::string description, std::string source, IID iid)
    : Error(hr, ErrorInfo{std::move(source), iid, std::move(description)})
{
}

Error::Error(HRESULT hr, ErrorInfo info)
    : m_hr(hr), m_info(std::move(info)),
      m_what(m_info.description.empty() ? standardMessage(hr) : m_info.description)
{
}

void throwIfFailed(HRESULT hr)
{
    if (Succeeded(hr))
        return;
    std::optional<ErrorInfo> info = takeErrorInfo();
    throw Error(hr, info ? std::move(*info) : ErrorInfo{});
}

}  // namespace platform::com
