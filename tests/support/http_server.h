#pragma once

#include "tests/support/http_reply.h"
#include "tests/support/loopback_listener.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace twtest {

class TestCertificate;

// One request as the fixture server read it.
struct RecordedRequest {
    std::string raw; // request line, headers, blank line and body, byte for byte
    std::string method;
    std::string target; // path and query as sent
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first header of that name (any case), "" when there is none.
    std::string HeaderValue(const std::string& name) const;
};

// The scripted loopback HTTP/1.1 server: one request per connection, answered with the reply set for its
// target (path and query, else the path alone), else the default reply (404). Every request is recorded.
// With a certificate it serves HTTPS and records the server names of the handshakes.
class HttpServer {
  public:
    explicit HttpServer(IpFamily family = IpFamily::V4, const TestCertificate* certificate = nullptr);
    ~HttpServer();

    void SetReply(const std::string& target, HttpReply reply);
    void SetDefaultReply(HttpReply reply);

    std::uint16_t Port() const { return m_listener.Port(); }
    // "http://127.0.0.1:port/path" (or https, or "[::1]"); host replaces the address, e.g. "localhost".
    std::string Url(const std::string& path, const std::string& host = "") const;

    std::vector<RecordedRequest> Requests() const;
    int ConnectionCount() const { return m_listener.ConnectionCount(); }
    std::vector<std::string> ServerNames() const { return m_listener.ServerNames(); }
    int FailedHandshakes() const { return m_listener.FailedHandshakes(); }

  private:
    void Handle(ServerConnection& connection);
    HttpReply ReplyFor(const std::string& target) const;

    const bool m_tls;
    mutable std::mutex m_lock;
    std::map<std::string, HttpReply> m_replies;
    HttpReply m_defaultReply;
    std::vector<RecordedRequest> m_requests;
    // Last, so that its threads stop before the members above go away.
    LoopbackListener m_listener;
};

} // namespace twtest
