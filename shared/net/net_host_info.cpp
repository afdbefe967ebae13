#include "shared/net/net_host_info.h"

#include <string_view>

#include "platform/net.h"

namespace shared {

namespace {

namespace error = platform::net::error;

struct CodeText {
    int code;
    std::string_view text;
};

constexpr std::string_view kBlockingCallInProgress =
    "A blocking Windows Sockets 1.1 call is in progress, or the service provider is still processing a "
    "callback function.";
constexpr std::string_view kBlockingCallCanceled =
    "A blocking Windows Socket 1.1 call was canceled through WSACancelBlockingCall.";

constexpr CodeText kNameErrors[] = {
    {error::NotInitialised, "need to call WSAStartup to initialize socket system on Window system."},
    {error::NetworkDown, "The network subsystem has failed."},
    {error::HostNotFound, "Authoritative Answer Host not found."},
    {error::TryAgain, "Non-Authoritative Host not found, or server failure."},
    {error::NoRecovery, "Nonrecoverable error occurred."},
    {error::NoData, "Valid name, no data record of requested type."},
    {error::InProgress, kBlockingCallInProgress},
    {error::Fault, "The name parameter is not a valid part of the user address space."},
    {error::Interrupted, kBlockingCallCanceled},
};

constexpr CodeText kAddressErrors[] = {
    {error::NotInitialised, "A successful WSAStartup must occur before using this function."},
    {error::NetworkDown, "The network subsystem has failed."},
    {error::HostNotFound, "Authoritative Answer Host not found."},
    {error::TryAgain, "Non-Authoritative Host not found, or server failed."},
    {error::NoRecovery, "Nonrecoverable error occurred."},
    {error::NoData, "Valid name, no data record of requested type."},
    {error::InProgress, kBlockingCallInProgress},
    {error::FamilyNotSupported, "The type specified is not supported by the Windows Sockets implementation."},
    {error::Fault,
     "The addr parameter is not a valid part of the user address space, or the len parameter is too small."},
    {error::Interrupted, kBlockingCallCanceled},
};

template <std::size_t N>
std::string textOf(const CodeText (&table)[N], int code)
{
    for (const CodeText& entry : table) {
        if (entry.code == code)
            return std::string(entry.text);
    }
    return {};
}

// The local host's name as a 64-byte buffer holds it.
constexpr std::size_t kLocalNameBuffer = 64;

}  // namespace

void CNetSocketException::Print(std::ostream& out) const
{
    out << "Error detect: " << '\n'
        << "\t\t==> error code: " << m_code << '\n'
        << "\t\t==> error message: " << m_message << '\n';
    out.flush();
}

CNetHostInfo::CNetHostInfo()
{
    std::string name;
    int code = platform::net::localHostName(name);
    if (code == 0 && name.size() >= kLocalNameBuffer)
        code = error::Fault;
    if (code != 0)
        throw CNetSocketException(code, NameErrorText(code));
    resolve(name);
}

CNetHostInfo::CNetHostInfo(const std::string& host, int type)
{
    if (type == kByName) {
        resolve(host);
        return;
    }
    if (type != kByAddress)
        throw CNetSocketException(0, "unknown host type: host name/address has to be given ");
    std::uint32_t address = 0;
    if (!platform::net::parseDottedAddress(host, address))
        throw CNetSocketException(0, "Error calling inet_addr()");
    const int code = platform::net::lookUpName(address, m_name);
    if (code != 0)
        throw CNetSocketException(code, AddressErrorText(code));
    m_addresses.push_back(platform::net::dottedAddress(address));
}

void CNetHostInfo::resolve(const std::string& name)
{
    platform::net::HostEntry entry;
    const int code = platform::net::resolveName(name, entry);
    if (code != 0)
        throw CNetSocketException(code, NameErrorText(code));
    m_name = entry.name;
    for (const std::uint32_t address : entry.addresses)
        m_addresses.push_back(platform::net::dottedAddress(address));
}

std::string CNetHostInfo::NameErrorText(int code)
{
    return textOf(kNameErrors, code);
}

std::string CNetHostInfo::AddressErrorText(int code)
{
    return textOf(kAddressErrors, code);
}

}  // namespace shared
