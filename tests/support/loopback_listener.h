#pragma once

#include "tests/support/server_connection.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <openssl/types.h>
#include <string>
#include <thread>
#include <vector>

namespace twtest {

enum class IpFamily { V4, V6 };

// The base of every fixture server: listens on 127.0.0.1 or ::1 on a port the system picks, accepts on its
// own thread and runs handler for each connection on a thread of its own (after the TLS handshake when a
// server context is given). Made only of plain POSIX sockets and OpenSSL, so it tests our socket classes
// rather than trusting them. The destructor stops every wait, shuts every connection and joins every thread.
class LoopbackListener {
  public:
    using Handler = std::function<void(ServerConnection&)>;

    // tls (not owned) must outlive the listener; null serves plain TCP.
    LoopbackListener(IpFamily family, SSL_CTX* tls, Handler handler);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    std::uint16_t Port() const { return m_port; }
    // "127.0.0.1" or "::1".
    std::string Host() const;
    // Connections accepted so far.
    int ConnectionCount() const;
    // The server name each finished TLS handshake received, "" when the client sent none.
    std::vector<std::string> ServerNames() const;
    // TLS handshakes that failed (for instance because the client refused the certificate).
    int FailedHandshakes() const;

  private:
    struct Worker {
        std::thread thread;
        int fd = -1;
        bool done = false;
    };

    void AcceptLoop();
    void Serve(Worker& worker, int fd);
    void Finish(int fd, SSL* tls);
    void ReapFinished(std::unique_lock<std::mutex>& lock);

    IpFamily m_family;
    SSL_CTX* m_tls;
    Handler m_handler;
    int m_listenFd = -1;
    int m_stopPipe[2] = {-1, -1};
    std::uint16_t m_port = 0;

    mutable std::mutex m_lock;
    std::condition_variable m_workerDone;
    std::list<Worker> m_workers;
    bool m_stopping = false;
    int m_connections = 0;
    int m_failedHandshakes = 0;
    std::vector<std::string> m_serverNames;
    std::thread m_acceptThread;
};

} // namespace twtest
