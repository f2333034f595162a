#include "tests/support/server_connection.h"

#include <algorithm>
#include <cerrno>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>

namespace twtest {

std::size_t ServerConnection::Read(char* buffer, std::size_t size) {
    if (Stopping())
        return 0;
    if (m_tls) {
        std::size_t received = 0;
        return SSL_read_ex(m_tls, buffer, size, &received) == 1 ? received : 0;
    }
    for (;;) {
        const ssize_t received = recv(m_fd, buffer, size, 0);
        if (received < 0 && errno == EINTR)
            continue;
        return received > 0 ? static_cast<std::size_t>(received) : 0;
    }
}

bool ServerConnection::ReadUntil(std::string& text, const std::string& terminator, std::size_t limit) {
    char buffer[4096];
    while (text.find(terminator) == std::string::npos) {
        if (text.size() >= limit)
            return false;
        const std::size_t received = Read(buffer, std::min(sizeof buffer, limit - text.size()));
        if (received == 0)
            return false;
        text.append(buffer, received);
    }
    return true;
}

bool ServerConnection::ReadExactly(std::string& text, std::size_t count) {
    char buffer[65536];
    while (count > 0) {
        const std::size_t received = Read(buffer, std::min(sizeof buffer, count));
        if (received == 0)
            return false;
        text.append(buffer, received);
        count -= received;
    }
    return true;
}

bool ServerConnection::Write(const char* data, std::size_t size) {
    while (size > 0) {
        if (Stopping())
            return false;
        std::size_t sent = 0;
        if (m_tls) {
            if (SSL_write_ex(m_tls, data, size, &sent) != 1)
                return false;
        } else {
            const ssize_t result = send(m_fd, data, size, MSG_NOSIGNAL);
            if (result < 0 && errno == EINTR)
                continue;
            if (result <= 0)
                return false;
            sent = static_cast<std::size_t>(result);
        }
        data += sent;
        size -= sent;
    }
    return true;
}

bool ServerConnection::Pause(int ms) {
    pollfd stop{m_stopFd, POLLIN, 0};
    return poll(&stop, 1, ms) == 0;
}

bool ServerConnection::Stopping() const {
    pollfd stop{m_stopFd, POLLIN, 0};
    return poll(&stop, 1, 0) > 0;
}

void ServerConnection::WaitForPeerClose() {
    // Bounded all the same: a test that forgets its client must not keep the server thread forever.
    for (int round = 0; round < 600; ++round) {
        pollfd waits[2] = {{m_fd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        if (poll(waits, 2, 100) < 0 && errno != EINTR)
            return;
        if (waits[1].revents)
            return;
        if (waits[0].revents) {
            char discard[4096];
            const ssize_t received = recv(m_fd, discard, sizeof discard, 0);
            if (received == 0 || (received < 0 && errno != EINTR && errno != EAGAIN))
                return;
        }
    }
}

} // namespace twtest
