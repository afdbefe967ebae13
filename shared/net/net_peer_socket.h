#pragma once
// A socket that reports to a listener: as a server it accepts connections and
// keeps one peer socket per accepted connection, each with its own watcher;
// as a peer it announces its connection, names it by the peer's host name
// and hands every read on to the listener. Every event and every received
// text is written to the socket library's log.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "shared/net/net_socket.h"

namespace shared {

class CNetPeerSocket : public CNetSocket {
public:
    // A socket to be created (CreateSocket) and watched, e.g. as a server.
    explicit CNetPeerSocket(INetListener* listener = nullptr);
    // Around a connection accepted by a listening socket: its watcher first
    // announces the connection (event 0), then reads.
    CNetPeerSocket(int acceptedHandle, INetListener* listener);
    // Stops its own watcher first (no peer is accepted after that), then
    // closes and deletes every accepted peer: no listener call follows.
    ~CNetPeerSocket() override;

    // Only while no watcher thread exists (else ignored).
    void SetListener(INetListener* listener);

    // The first accepted peer whose name equals `name` ignoring letter case
    // and whose socket is open; null otherwise. Any thread may ask.
    CNetPeerSocket* FindPeer(const std::string& name) const;
    // The peer's name: its host name once the connection is established (its
    // dotted address when the name cannot be found), empty before.
    std::string GetAddress() const;

protected:
    void OnDataReceived(const char* buffer, std::size_t length) override;
    void OnEvent(int code) override;
    void Run() override;

private:
    void acceptPeers();
    void passOn(const char* bytes, std::size_t length, const sockaddr_in& sender);

    std::atomic<INetListener*> m_listener{nullptr};
    // Set for a socket around an accepted connection: announce it first.
    const bool m_announce = false;
    mutable std::mutex m_nameMutex;
    std::string m_name;
    mutable std::mutex m_peersMutex;
    std::vector<std::unique_ptr<CNetPeerSocket>> m_peers;
};

}  // namespace shared
