#include "tests/support/loopback_listener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace twtest {

namespace {

// Enough for the busiest test (a pool of 64 downloaders); further clients wait in the backlog.
constexpr std::size_t kMaxConcurrentConnections = 128;
// A client that neither sends nor closes gives up its server thread after this.
constexpr int kIoTimeoutSeconds = 10;
// After the reply, how long the server waits for the client's close before closing itself.
constexpr int kLingerMs = 2000;

[[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string("loopback listener: ") + what + ": " + std::strerror(errno));
}

} // namespace

LoopbackListener::LoopbackListener(IpFamily family, SSL_CTX* tls, Handler handler)
    : m_family(family), m_tls(tls), m_handler(std::move(handler)) {
    // OpenSSL writes with write(); a client that hangs up must not end the test process.
    signal(SIGPIPE, SIG_IGN);
    if (pipe2(m_stopPipe, O_CLOEXEC) != 0)
        Fail("pipe");
    const int domain = family == IpFamily::V4 ? AF_INET : AF_INET6;
    m_listenFd = socket(domain, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0)
        Fail("socket");
    sockaddr_storage address{};
    socklen_t length = 0;
    if (family == IpFamily::V4) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof(sockaddr_in);
    } else {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = in6addr_loopback;
        length = sizeof(sockaddr_in6);
    }
    if (bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0)
        Fail("bind");
    if (listen(m_listenFd, SOMAXCONN) != 0)
        Fail("listen");
    if (getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        Fail("getsockname");
    m_port = ntohs(family == IpFamily::V4 ? reinterpret_cast<sockaddr_in*>(&address)->sin_port
                                          : reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

LoopbackListener::~LoopbackListener() {
    // The byte is never read, so the stop pipe stays readable for every wait of every thread.
    const char stop = 's';
    while (write(m_stopPipe[1], &stop, 1) < 0 && errno == EINTR) {
    }
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
        m_workerDone.notify_all();
    }
    m_acceptThread.join();
    {
        std::lock_guard lock(m_lock);
        for (Worker& worker : m_workers)
            if (worker.fd >= 0)
                shutdown(worker.fd, SHUT_RDWR);
    }
    for (Worker& worker : m_workers)
        worker.thread.join();
    close(m_listenFd);
    close(m_stopPipe[0]);
    close(m_stopPipe[1]);
}

std::string LoopbackListener::Host() const {
    return m_family == IpFamily::V4 ? "127.0.0.1" : "::1";
}

int LoopbackListener::ConnectionCount() const {
    std::lock_guard lock(m_lock);
    return m_connections;
}

std::vector<std::string> LoopbackListener::ServerNames() const {
    std::lock_guard lock(m_lock);
    return m_serverNames;
}

int LoopbackListener::FailedHandshakes() const {
    std::lock_guard lock(m_lock);
    return m_failedHandshakes;
}

void LoopbackListener::ReapFinished(std::unique_lock<std::mutex>& lock) {
    std::list<Worker> finished;
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        auto next = std::next(it);
        if (it->done)
            finished.splice(finished.end(), m_workers, it);
        it = next;
    }
    lock.unlock();
    for (Worker& worker : finished)
        worker.thread.join();
    lock.lock();
}

void LoopbackListener::AcceptLoop() {
    for (;;) {
        pollfd waits[2] = {{m_listenFd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(waits, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waits[1].revents)
            return;
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const timeval timeout{kIoTimeoutSeconds, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);

        std::unique_lock lock(m_lock);
        ReapFinished(lock);
        m_workerDone.wait(lock,
                          [this] { return m_stopping || m_workers.size() < kMaxConcurrentConnections; });
        if (m_stopping) {
            close(fd);
            return;
        }
        ++m_connections;
        Worker& worker = m_workers.emplace_back();
        worker.fd = fd;
        worker.thread = std::thread([this, &worker, fd] { Serve(worker, fd); });
    }
}

void LoopbackListener::Serve(Worker& worker, int fd) {
    SSL* tls = nullptr;
    bool ready = true;
    if (m_tls) {
        tls = SSL_new(m_tls);
        ready = tls && SSL_set_fd(tls, fd) == 1 && SSL_accept(tls) == 1;
        std::lock_guard lock(m_lock);
        if (ready) {
            const char* name = SSL_get_servername(tls, TLSEXT_NAMETYPE_host_name);
            m_serverNames.emplace_back(name ? name : "");
        } else {
            ++m_failedHandshakes;
        }
    }
    bool closeNotify = ready;
    if (ready) {
        ServerConnection connection(fd, tls, m_stopPipe[0]);
        m_handler(connection);
        closeNotify = connection.SendsCloseNotify();
    }
    Finish(fd, closeNotify ? tls : nullptr);
    if (tls)
        SSL_free(tls);
    ERR_clear_error();

    std::lock_guard lock(m_lock);
    close(fd);
    worker.fd = -1;
    worker.done = true;
    m_workerDone.notify_all();
}

void LoopbackListener::Finish(int fd, SSL* tls) {
    if (tls)
        SSL_shutdown(tls);
    shutdown(fd, SHUT_WR);
    // Closing with unread bytes would reset the connection and could cut the reply short on the client's
    // side, so wait (briefly) for the client to close first.
    char discard[4096];
    for (int waited = 0; waited < kLingerMs; waited += 50) {
        pollfd waits[2] = {{fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(waits, 2, 50) < 0 || waits[1].revents)
            return;
        if (waits[0].revents && recv(fd, discard, sizeof discard, 0) <= 0)
            return;
    }
}

} // namespace twtest
