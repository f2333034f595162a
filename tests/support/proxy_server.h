#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twtest {

enum class ProxyProtocol { Socks4, Socks5, HttpConnect };

// How the proxy answers a request: let it through and relay both ways, refuse it, or read it and never
// answer at all.
enum class ProxyAnswer { Accept, Refuse, Silent };

// One request as the proxy read it.
struct ProxyRequest {
    std::string host; // as the client named it: numeric address or name
    int port = 0;
    std::string user; // SOCKS5 login, or the decoded Basic login of the HTTP proxy
    std::string password;
    std::string head; // HTTP: request line and headers, byte for byte
};

// A scripted loopback proxy of one protocol on 127.0.0.1, made of plain POSIX sockets (it tests our proxy
// handshakes rather than trusting them). With a login, SOCKS5 insists on the user name method and the HTTP
// proxy on Basic authorization; a wrong login is refused. Tunnels reach loopback targets only: "localhost"
// is 127.0.0.1 and any other name is refused without a look-up. The destructor stops every wait and joins
// every thread.
class ProxyServer {
  public:
    explicit ProxyServer(ProxyProtocol protocol, ProxyAnswer answer = ProxyAnswer::Accept,
                         std::string user = {}, std::string password = {});
    ~ProxyServer();
    ProxyServer(const ProxyServer&) = delete;
    ProxyServer& operator=(const ProxyServer&) = delete;

    std::uint16_t Port() const { return m_port; }
    std::vector<ProxyRequest> Requests() const;

  private:
    class Link;

    void AcceptLoop();
    void Serve(int fd);
    // Each reads one client's request, records it and answers; a tunnel's target comes back in target.
    void ServeSocks4(Link& client, int& target);
    void ServeSocks5(Link& client, int& target);
    void ServeHttp(Link& client, int& target);
    void Record(const ProxyRequest& request);

    const ProxyProtocol m_protocol;
    const ProxyAnswer m_answer;
    const std::string m_user;
    const std::string m_password;
    int m_listenFd = -1;
    int m_stopPipe[2] = {-1, -1};
    std::uint16_t m_port = 0;
    mutable std::mutex m_lock;
    std::vector<ProxyRequest> m_requests;
    std::vector<std::thread> m_connections; // touched by the accept thread only, until it is joined
    std::thread m_acceptThread;
};

} // namespace twtest
