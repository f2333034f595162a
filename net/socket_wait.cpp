#include "net/socket.h"
#include "net/socket_deadline.h"

#include <cerrno>
#include <poll.h>

bool CWSocket::IsReadable(int timeoutMs) const {
    return WaitFor(POLLIN, timeoutMs);
}

bool CWSocket::IsWritable(int timeoutMs) const {
    return WaitFor(POLLOUT, timeoutMs);
}

bool CWSocket::WaitFor(short events, int timeoutMs) const {
    const int fd = RequireHandle();
    const SocketDeadline deadline(timeoutMs);
    for (;;) {
        // An error or a hang-up counts as ready: the next call on the socket reports it.
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, timeoutMs == 0 ? 0 : deadline.RemainingMs());
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            ThrowSystemError(errno);
        }
        if (m_interrupted.load())
            ThrowSystemError(ECANCELED);
        return ready > 0;
    }
}
