#include "net/socket.h"

#include <cerrno>
#include <sys/ioctl.h>

void CWSocket::Shutdown(int how) {
    if (shutdown(RequireHandle(), how) != 0)
        ThrowSystemError(errno);
}

void CWSocket::SendDisconnect() {
    Shutdown(SHUT_WR);
}

void CWSocket::IoCtl(unsigned long command, int* argument) {
    if (ioctl(RequireHandle(), command, argument) != 0)
        ThrowSystemError(errno);
}
