#pragma once
// Host look-ups of the socket library: the local host, a host by name, a
// host by its dotted IPv4 address. Failures throw CNetSocketException with
// the socket error code and the text the library has always shown for it.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace shared {

// The socket library's error: a socket error code (0 for the library's own
// refusals) and a text.
class CNetSocketException : public std::exception {
public:
    CNetSocketException(int code, std::string message) : m_code(code), m_message(std::move(message)) {}

    int GetErrorCode() const { return m_code; }
    const std::string& GetErrorMessage() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }
    // "Error detect: ", then "\t\t==> error code: <code>" and
    // "\t\t==> error message: <message>", each on a line of its own.
    void Print(std::ostream& out = std::cout) const;

private:
    int m_code;
    std::string m_message;
};

class CNetHostInfo {
public:
    static constexpr int kByName = 0;
    static constexpr int kByAddress = 1;

    // The local host: its name and addresses.
    CNetHostInfo();
    // A host by name (kByName) or by dotted address (kByAddress, resolved to
    // its name through the library's one peer-name look-up). Another type
    // throws code 0 "unknown host type: host name/address has to be given ",
    // an address that is not a dotted address code 0 "Error calling inet_addr()".
    CNetHostInfo(const std::string& host, int type);

    const std::string& GetHostName() const { return m_name; }
    // The host's IPv4 addresses as "a.b.c.d", in the name service's order.
    const std::vector<std::string>& GetAddresses() const { return m_addresses; }

    // The texts of a failed look-up by name and by address; empty for a code
    // that has none.
    static std::string NameErrorText(int code);
    static std::string AddressErrorText(int code);

private:
    void resolve(const std::string& name);

    std::string m_name;
    std::vector<std::string> m_addresses;
};

}  // namespace shared
