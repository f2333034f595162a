#include "tests/support/unanswered_port.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace twtest {

UnansweredPort::UnansweredPort() {
    if (listen(m_bound.Fd(), 0) != 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(m_bound.Port());
    // Fill the queue until a connect hangs.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        m_queued.push_back(client);
        connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
        pollfd wait{client, POLLOUT, 0};
        if (poll(&wait, 1, 200) == 0) {
            m_port = m_bound.Port();
            return;
        }
    }
}

UnansweredPort::~UnansweredPort() {
    for (int client : m_queued)
        close(client);
}

} // namespace twtest
