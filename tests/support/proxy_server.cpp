#include "tests/support/proxy_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace twtest {

namespace {

// A client or target quiet for this long has been forgotten by its test.
constexpr int kIdleMs = 10000;
constexpr std::size_t kMaxHttpHeadBytes = 16384;

bool SendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// A connected socket to a loopback target, or -1.
int ConnectTarget(const std::string& host, int port) {
    const std::string address = host == "localhost" ? "127.0.0.1" : host;
    sockaddr_storage storage{};
    socklen_t length = 0;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
    if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<std::uint16_t>(port));
        length = sizeof *v4;
    } else if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(port));
        length = sizeof *v6;
    } else {
        return -1;
    }
    const int fd = socket(storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&storage), length) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

std::string Base64Decode(const std::string& text) {
    std::string bytes(text.size() / 4 * 3 + 3, '\0');
    const int decoded =
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (decoded < 0)
        return {};
    std::size_t padding = 0;
    for (auto it = text.rbegin(); it != text.rend() && *it == '='; ++it)
        ++padding;
    bytes.resize(static_cast<std::size_t>(decoded) - std::min<std::size_t>(padding, decoded));
    return bytes;
}

} // namespace

// One side of a connection, every wait bounded and ended by the server's stop.
class ProxyServer::Link {
  public:
    Link(int fd, int stopFd) : m_fd(fd), m_stopFd(stopFd) {}

    bool WaitReadable() const {
        pollfd waits[2] = {{m_fd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        return poll(waits, 2, kIdleMs) > 0 && !waits[1].revents;
    }
    bool Read(void* buffer, std::size_t size) {
        auto* bytes = static_cast<char*>(buffer);
        while (size > 0) {
            if (!WaitReadable())
                return false;
            const ssize_t received = recv(m_fd, bytes, size, 0);
            if (received <= 0)
                return false;
            bytes += received;
            size -= static_cast<std::size_t>(received);
        }
        return true;
    }
    std::uint8_t Byte() {
        std::uint8_t byte = 0;
        return Read(&byte, 1) ? byte : 0;
    }
    bool Write(const std::string& bytes) { return SendAll(m_fd, bytes.data(), bytes.size()); }
    void WaitForClose() {
        char discard[256];
        while (WaitReadable() && recv(m_fd, discard, sizeof discard, 0) > 0) {
        }
    }
    int Fd() const { return m_fd; }
    int StopFd() const { return m_stopFd; }

  private:
    int m_fd;
    int m_stopFd;
};

namespace {

// Copies bytes both ways until both sides have closed, passing each close on as a half-close.
void Relay(int client, int target, int stopFd) {
    int open[2] = {client, target};
    char buffer[16384];
    while (open[0] >= 0 || open[1] >= 0) {
        pollfd waits[3] = {{open[0], POLLIN, 0}, {open[1], POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (poll(waits, 3, kIdleMs) <= 0 || waits[2].revents)
            return;
        for (int side = 0; side < 2; ++side) {
            if (open[side] < 0 || !waits[side].revents)
                continue;
            const int to = side == 0 ? target : client;
            const ssize_t received = recv(open[side], buffer, sizeof buffer, 0);
            if (received <= 0) {
                shutdown(to, SHUT_WR);
                open[side] = -1;
            } else if (!SendAll(to, buffer, static_cast<std::size_t>(received))) {
                return;
            }
        }
    }
}

} // namespace

ProxyServer::ProxyServer(ProxyProtocol protocol, ProxyAnswer answer, std::string user, std::string password)
    : m_protocol(protocol), m_answer(answer), m_user(std::move(user)), m_password(std::move(password)) {
    signal(SIGPIPE, SIG_IGN);
    m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (pipe2(m_stopPipe, O_CLOEXEC) != 0 || m_listenFd < 0 ||
        bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(m_listenFd, 16) != 0 ||
        getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error(std::string("proxy server: ") + std::strerror(errno));
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

ProxyServer::~ProxyServer() {
    // Never read, so every wait of every thread sees it.
    while (write(m_stopPipe[1], "s", 1) < 0 && errno == EINTR) {
    }
    m_acceptThread.join();
    for (std::thread& connection : m_connections)
        connection.join();
    close(m_listenFd);
    close(m_stopPipe[0]);
    close(m_stopPipe[1]);
}

std::vector<ProxyRequest> ProxyServer::Requests() const {
    std::lock_guard lock(m_lock);
    return m_requests;
}

void ProxyServer::Record(const ProxyRequest& request) {
    std::lock_guard lock(m_lock);
    m_requests.push_back(request);
}

void ProxyServer::AcceptLoop() {
    for (;;) {
        pollfd waits[2] = {{m_listenFd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(waits, 2, -1) < 0 && errno != EINTR)
            return;
        if (waits[1].revents)
            return;
        if (!waits[0].revents)
            continue;
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0)
            m_connections.emplace_back([this, fd] { Serve(fd); });
    }
}

void ProxyServer::Serve(int fd) {
    Link client(fd, m_stopPipe[0]);
    int target = -1;
    switch (m_protocol) {
    case ProxyProtocol::Socks4:
        ServeSocks4(client, target);
        break;
    case ProxyProtocol::Socks5:
        ServeSocks5(client, target);
        break;
    case ProxyProtocol::HttpConnect:
        ServeHttp(client, target);
        break;
    }
    if (target >= 0) {
        Relay(fd, target, m_stopPipe[0]);
        close(target);
    }
    close(fd);
}

void ProxyServer::ServeSocks4(Link& client, int& target) {
    std::uint8_t head[8];
    if (!client.Read(head, sizeof head) || head[0] != 4 || head[1] != 1)
        return;
    for (int i = 0; i < 256 && client.Byte() != 0; ++i) { // the user id
    }
    char address[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, head + 4, address, sizeof address);
    ProxyRequest request;
    request.host = address;
    request.port = head[2] << 8 | head[3];
    Record(request);

    if (m_answer == ProxyAnswer::Silent)
        return client.WaitForClose();
    if (m_answer == ProxyAnswer::Accept)
        target = ConnectTarget(request.host, request.port);
    const char granted = target >= 0 ? 90 : 91;
    client.Write(std::string{0, granted, 0, 0, 0, 0, 0, 0});
}

void ProxyServer::ServeSocks5(Link& client, int& target) {
    std::uint8_t greeting[2];
    std::uint8_t methods[255];
    if (!client.Read(greeting, 2) || greeting[0] != 5 || !client.Read(methods, greeting[1]))
        return;
    if (m_answer == ProxyAnswer::Silent)
        return client.WaitForClose();
    const std::uint8_t wanted = m_user.empty() ? 0 : 2;
    if (std::memchr(methods, wanted, greeting[1]) == nullptr) {
        client.Write(std::string{5, '\xFF'});
        return;
    }
    client.Write(std::string{5, static_cast<char>(wanted)});

    ProxyRequest request;
    if (wanted == 2) {
        std::uint8_t version = client.Byte();
        request.user.resize(client.Byte());
        client.Read(request.user.data(), request.user.size());
        request.password.resize(client.Byte());
        if (version != 1 || !client.Read(request.password.data(), request.password.size()))
            return;
        const bool loggedIn = request.user == m_user && request.password == m_password;
        client.Write(std::string{1, loggedIn ? '\0' : '\1'});
        if (!loggedIn)
            return Record(request);
    }

    std::uint8_t head[4];
    if (!client.Read(head, sizeof head) || head[0] != 5 || head[1] != 1)
        return;
    if (head[3] == 1 || head[3] == 4) {
        std::uint8_t address[16];
        char text[INET6_ADDRSTRLEN] = {};
        const int family = head[3] == 1 ? AF_INET : AF_INET6;
        if (!client.Read(address, family == AF_INET ? 4 : 16))
            return;
        request.host = inet_ntop(family, address, text, sizeof text);
    } else if (head[3] == 3) {
        request.host.resize(client.Byte());
        if (!client.Read(request.host.data(), request.host.size()))
            return;
    } else {
        return;
    }
    std::uint8_t port[2];
    if (!client.Read(port, 2))
        return;
    request.port = port[0] << 8 | port[1];
    Record(request);

    if (m_answer == ProxyAnswer::Accept)
        target = ConnectTarget(request.host, request.port);
    // Granted, else "connection not allowed by ruleset"; bound to 127.0.0.1:0 either way.
    const char reply = target >= 0 ? 0 : 2;
    client.Write(std::string{5, reply, 0, 1, 127, 0, 0, 1, 0, 0});
}

void ProxyServer::ServeHttp(Link& client, int& target) {
    ProxyRequest request;
    while (request.head.size() < kMaxHttpHeadBytes && request.head.find("\r\n\r\n") == std::string::npos) {
        const char byte = static_cast<char>(client.Byte());
        if (byte == 0)
            return;
        request.head += byte;
    }
    // "CONNECT host:port HTTP/1.0": the port after the last colon, brackets off an IPv6 address.
    const std::size_t start = request.head.find(' ') + 1;
    const std::string authority = request.head.substr(start, request.head.find(' ', start) - start);
    const std::size_t colon = authority.rfind(':');
    request.host = authority.substr(0, colon);
    if (request.host.size() > 1 && request.host.front() == '[')
        request.host = request.host.substr(1, request.host.size() - 2);
    request.port = std::atoi(authority.c_str() + colon + 1);
    const std::string authorization = "\r\nProxy-authorization: Basic ";
    const std::size_t found = request.head.find(authorization);
    if (found != std::string::npos) {
        const std::size_t value = found + authorization.size();
        const std::string login =
            Base64Decode(request.head.substr(value, request.head.find('\r', value) - value));
        request.user = login.substr(0, login.find(':'));
        request.password = login.find(':') == std::string::npos ? "" : login.substr(login.find(':') + 1);
    }
    Record(request);

    if (m_answer == ProxyAnswer::Silent)
        return client.WaitForClose();
    if (!m_user.empty() && (request.user != m_user || request.password != m_password)) {
        client.Write("HTTP/1.0 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic\r\n\r\n");
        return;
    }
    if (m_answer == ProxyAnswer::Accept)
        target = ConnectTarget(request.host, request.port);
    client.Write(target >= 0 ? "HTTP/1.0 200 Connection established\r\nProxy-agent: fixture\r\n\r\n"
                             : "HTTP/1.0 403 Forbidden\r\n\r\n");
}

} // namespace twtest
