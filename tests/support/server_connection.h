#pragma once

#include <cstddef>
#include <openssl/types.h>
#include <string>

namespace twtest {

// One accepted connection as a fixture handler sees it: plain or TLS, already past the handshake. Every
// wait ends when the server stops, so a handler never outlives its server's destructor.
class ServerConnection {
  public:
    ServerConnection(int fd, SSL* tls, int stopFd) : m_fd(fd), m_tls(tls), m_stopFd(stopFd) {}

    // Reads some bytes; 0 when the peer closed, the read failed or timed out, or the server is stopping.
    std::size_t Read(char* buffer, std::size_t size);
    // Reads until text ends with or contains terminator, at most limit bytes in all; false when the peer
    // closed first.
    bool ReadUntil(std::string& text, const std::string& terminator, std::size_t limit);
    // Reads exactly count more bytes onto text; false when the peer closed first.
    bool ReadExactly(std::string& text, std::size_t count);
    // Writes all bytes; false when the peer is gone.
    bool Write(const char* data, std::size_t size);
    bool Write(const std::string& data) { return Write(data.data(), data.size()); }
    // Sleeps ms; false (at once) when the server is stopping.
    bool Pause(int ms);
    // Holds the connection open without answering until the peer closes it or the server stops.
    void WaitForPeerClose();
    bool Stopping() const;
    // Ends a TLS connection without the close notification, as many real servers do.
    void OmitCloseNotify() { m_closeNotify = false; }
    bool SendsCloseNotify() const { return m_closeNotify; }

  private:
    int m_fd;
    SSL* m_tls;
    int m_stopFd;
    bool m_closeNotify = true;
};

} // namespace twtest
