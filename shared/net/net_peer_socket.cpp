#include "shared/net/net_peer_socket.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/net.h"
#include "platform/text.h"
#include "shared/net/net_host_info.h"
#include "shared/net/net_log.h"

namespace shared {

namespace {

// A smart-addressing read hands on at most this many bytes, its sender's
// address included.
constexpr std::size_t kSmartCopySize = 276;
// Each received text is followed in the log by a line of this many "=".
constexpr std::size_t kLogRuleLength = 76;

const char* eventLogText(int code)
{
    switch (code) {
    case NetEvent::Established:
        return "Connection Established\r\n";
    case NetEvent::Failed:
        return "Connection Failed\r\n";
    case NetEvent::Abandoned:
        return "Connection Abandonned\r\n";
    case NetEvent::ZeroLength:
        return "Zero Length Message\r\n";
    default:
        return "";
    }
}

}  // namespace

CNetPeerSocket::CNetPeerSocket(INetListener* listener) : m_listener(listener) {}

CNetPeerSocket::CNetPeerSocket(int acceptedHandle, INetListener* listener)
    : CNetSocket(acceptedHandle), m_listener(listener), m_announce(true)
{
}

CNetPeerSocket::~CNetPeerSocket()
{
    // The accept thread must end before the peers go: it appends to them.
    Close();
    std::vector<std::unique_ptr<CNetPeerSocket>> peers;
    {
        std::lock_guard lock(m_peersMutex);
        peers.swap(m_peers);
    }
    peers.clear();
}

void CNetPeerSocket::SetListener(INetListener* listener)
{
    if (!HasWatcher())
        m_listener = listener;
}

CNetPeerSocket* CNetPeerSocket::FindPeer(const std::string& name) const
{
    std::lock_guard lock(m_peersMutex);
    for (const auto& peer : m_peers) {
        if (peer->IsOpen() && platform::text::equalsIgnoreCase(peer->GetAddress(), name))
            return peer.get();
    }
    return nullptr;
}

std::string CNetPeerSocket::GetAddress() const
{
    std::lock_guard lock(m_nameMutex);
    return m_name;
}

void CNetPeerSocket::Run()
{
    if (IsServer() && !IsBroadcast()) {
        acceptPeers();
        return;
    }
    // The announcement and its name look-up run here, on the peer's own
    // watcher: a slow name service never holds up accepting the next pupil.
    if (m_announce && IsOpen())
        OnEvent(NetEvent::Established);
    WatchReads();
}

void CNetPeerSocket::acceptPeers()
{
    for (;;) {
        const int connection = AcceptConnection();
        if (connection < 0) {
            EndWatch(NetEvent::Failed);
            return;
        }
        auto peer = std::make_unique<CNetPeerSocket>(connection, m_listener.load());
        CNetPeerSocket* started = peer.get();
        {
            std::lock_guard lock(m_peersMutex);
            m_peers.push_back(std::move(peer));
        }
        if (!started->StartWatch()) {
            NetLogWrite("Could not start a watcher thread for a new connection\r\n");
            started->Close();
        }
    }
}

void CNetPeerSocket::OnEvent(int code)
{
    NetLogWrite(eventLogText(code));
    if (code == NetEvent::Established) {
        sockaddr_in address{};
        if (GetPeerName(address)) {
            const std::string dotted = platform::net::dottedAddress(address.sin_addr.s_addr);
            std::string name;
            try {
                name = CNetHostInfo(dotted, CNetHostInfo::kByAddress).GetHostName();
            } catch (const CNetSocketException&) {
                // A pupil's computer the name service does not know is known by its address.
                name = dotted;
            }
            std::lock_guard lock(m_nameMutex);
            m_name = name;
        }
    }
    if (INetListener* listener = m_listener.load())
        listener->OnPeerEvent(this, code);
}

void CNetPeerSocket::OnDataReceived(const char* buffer, std::size_t length)
{
    if (!IsSmartAddressing()) {
        passOn(buffer, length, sockaddr_in{});
        return;
    }
    const std::size_t copied = std::min(length, kSmartCopySize);
    if (copied < kAddressSize)
        return;
    sockaddr_in sender{};
    std::memcpy(&sender, buffer, kAddressSize);
    passOn(buffer + kAddressSize, copied - kAddressSize, sender);
}

void CNetPeerSocket::passOn(const char* bytes, std::size_t length, const sockaddr_in& sender)
{
    std::string text;
    if (sender.sin_addr.s_addr != 0 || sender.sin_port != 0) {
        const auto* part = reinterpret_cast<const unsigned char*>(&sender.sin_addr.s_addr);
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%u.%u.%u.%u (%d)>", part[0], part[1], part[2], part[3],
                      ntohs(sender.sin_port));
        text = prefix;
    }
    text.append(bytes, length);
    // One write, so another peer's text never lands between a text and its rule.
    NetLogWrite(text + std::string(kLogRuleLength, '='));
    if (INetListener* listener = m_listener.load())
        listener->OnPeerData(this, text);
}

}  // namespace shared
