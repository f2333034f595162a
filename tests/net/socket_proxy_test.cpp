#include "net/sigpipe.h"
#include "net/socket.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/proxy_server.h"

#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using twtest::HttpReply;
using twtest::HttpServer;
using twtest::IpFamily;
using twtest::ProxyAnswer;
using twtest::ProxyProtocol;
using twtest::ProxyServer;

namespace {

using SteadyClock = std::chrono::steady_clock;

const std::string kRequest = "GET /page HTTP/1.1\r\nHost: test\r\nConnection: close\r\n\r\n";
const QString kProxyHost = u"127.0.0.1"_s;

struct Login {
    QString user;
    QString password;
};

void ConnectVia(CWSocket& socket, ProxyProtocol protocol, int proxyPort, const QString& host, int port,
                int timeoutMs, const Login& login = {}, const QString& userAgent = {}) {
    switch (protocol) {
    case ProxyProtocol::Socks4:
        return socket.ConnectViaSocks4(kProxyHost, proxyPort, host, port, timeoutMs);
    case ProxyProtocol::Socks5:
        return socket.ConnectViaSocks5(kProxyHost, proxyPort, host, port, timeoutMs, login.user,
                                       login.password);
    case ProxyProtocol::HttpConnect:
        return socket.ConnectViaHttpProxy(kProxyHost, proxyPort, host, port, timeoutMs, login.user,
                                          login.password, userAgent);
    }
}

std::string ReceiveAll(CWSocket& socket) {
    std::string text;
    char buffer[4096];
    while (const qsizetype received = socket.Receive(buffer, sizeof buffer))
        text.append(buffer, static_cast<std::size_t>(received));
    return text;
}

template <typename Call> int ErrorOf(Call call) {
    try {
        call();
    } catch (const CWSocketException& error) {
        return error.GetErrorCode();
    }
    return 0;
}

class SocketProxyTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { IgnoreBrokenPipeSignal(); }
};

} // namespace

// A page fetched through each kind of proxy, with each form of target the protocol carries; the proxy saw
// the target and the login the client gave.
TEST_F(SocketProxyTest, ExchangesReachTheServerThroughEveryProxy) {
    HttpServer server4(IpFamily::V4);
    HttpServer server6(IpFamily::V6);
    server4.SetReply("/page", HttpReply::Page("<p>through</p>"));
    server6.SetReply("/page", HttpReply::Page("<p>through</p>"));
    const struct {
        ProxyProtocol protocol;
        QString host;
        std::string seenHost;
        const HttpServer* server;
        Login login;
    } cases[] = {
        {ProxyProtocol::Socks4, u"127.0.0.1"_s, "127.0.0.1", &server4, {}},
        {ProxyProtocol::Socks5, u"localhost"_s, "localhost", &server4, {}},
        {ProxyProtocol::Socks5, u"::1"_s, "::1", &server6, {u"ann"_s, u"pässword"_s}},
        {ProxyProtocol::HttpConnect, u"localhost"_s, "localhost", &server4, {u"ann"_s, u"pä:ss"_s}},
        {ProxyProtocol::HttpConnect, u"[::1]"_s, "::1", &server6, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host.toStdString() + " via " + std::to_string(static_cast<int>(c.protocol)));
        ProxyServer proxy(c.protocol, ProxyAnswer::Accept, c.login.user.toStdString(),
                          c.login.password.toStdString());
        CWSocket socket;
        ConnectVia(socket, c.protocol, proxy.Port(), c.host, c.server->Port(), 2000, c.login, u"Agent 1"_s);
        socket.Send(kRequest.data(), static_cast<qsizetype>(kRequest.size()));
        const std::string reply = ReceiveAll(socket);
        EXPECT_EQ(reply.substr(0, 15), "HTTP/1.1 200 OK");
        EXPECT_EQ(reply.substr(reply.size() - 14), "<p>through</p>");

        const auto requests = proxy.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].host, c.seenHost);
        EXPECT_EQ(requests[0].port, c.server->Port());
        EXPECT_EQ(requests[0].user, c.login.user.toStdString());
        EXPECT_EQ(requests[0].password, c.login.password.toStdString());
        if (c.protocol == ProxyProtocol::HttpConnect) {
            const std::string& head = requests[0].head;
            const std::string target = c.seenHost == "::1" ? "[::1]" : c.seenHost;
            EXPECT_EQ(head.substr(0, head.find("\r\n") + 2),
                      "CONNECT " + target + ":" + std::to_string(c.server->Port()) + " HTTP/1.0\r\n");
            EXPECT_NE(head.find("\r\nUser-Agent: Agent 1\r\n\r\n"), std::string::npos) << head;
            EXPECT_EQ(head.find("Proxy-authorization") != std::string::npos, !c.login.user.isEmpty()) << head;
        }
    }
}

TEST_F(SocketProxyTest, RefusalsAndSilenceEndTheConnection) {
    HttpServer server;
    const int port = server.Port();
    const struct {
        ProxyProtocol protocol;
        ProxyAnswer answer;
        std::string required; // the login the proxy insists on ("" none)
        Login given;
        int code;
    } cases[] = {
        {ProxyProtocol::Socks4, ProxyAnswer::Refuse, "", {}, ECONNREFUSED},
        {ProxyProtocol::Socks5, ProxyAnswer::Refuse, "", {}, ECONNREFUSED},
        {ProxyProtocol::Socks5, ProxyAnswer::Accept, "ann", {}, ECONNREFUSED},
        {ProxyProtocol::Socks5, ProxyAnswer::Accept, "ann", {u"ann"_s, u"wrong"_s}, EACCES},
        {ProxyProtocol::HttpConnect, ProxyAnswer::Refuse, "", {}, ECONNREFUSED},
        {ProxyProtocol::HttpConnect, ProxyAnswer::Accept, "ann", {u"ann"_s, u"wrong"_s}, ECONNREFUSED},
        {ProxyProtocol::Socks4, ProxyAnswer::Silent, "", {}, ETIMEDOUT},
        {ProxyProtocol::Socks5, ProxyAnswer::Silent, "", {}, ETIMEDOUT},
        {ProxyProtocol::HttpConnect, ProxyAnswer::Silent, "", {}, ETIMEDOUT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.protocol)) + " expecting " + std::to_string(c.code));
        ProxyServer proxy(c.protocol, c.answer, c.required, "secret");
        CWSocket socket;
        const auto start = SteadyClock::now();
        EXPECT_EQ(ErrorOf([&] {
                      ConnectVia(socket, c.protocol, proxy.Port(), u"127.0.0.1"_s, port, 300, c.given);
                  }),
                  c.code);
        const auto took = SteadyClock::now() - start;
        EXPECT_LT(took, 2s);
        EXPECT_TRUE(c.code != ETIMEDOUT || took >= 250ms) << "a silent proxy is given its time";
        EXPECT_FALSE(socket.IsOpen());
    }
    EXPECT_TRUE(server.Requests().empty());
}

// Replies no proxy of the protocol sends: each read is bounded by the protocol or a limit, never by the
// peer's say-so, and nothing after the reply is taken from the tunnel.
TEST_F(SocketProxyTest, HostileRepliesAreBoundedAndTunnelBytesAreKept) {
    // Each step reads that many bytes (0: an HTTP request head), then writes its reply; then the proxy
    // closes.
    using Steps = std::vector<std::pair<std::size_t, std::string>>;
    const struct {
        ProxyProtocol protocol;
        Steps steps;
        int code;
    } cases[] = {
        {ProxyProtocol::Socks5, {{3, std::string("\5\0", 2)}, {10, std::string("\5\0\0\x09", 4)}}, EPROTO},
        {ProxyProtocol::Socks5,
         {{3, std::string("\5\0", 2)}, {10, std::string("\5\0\0\3\4name\0\x50tunnel", 17)}},
         0},
        {ProxyProtocol::Socks4, {{9, std::string("\4\x5A\0\0\0\0\0\0", 8)}}, EPROTO},
        {ProxyProtocol::HttpConnect, {{0, "SSH-2.0-other\r\n\r\n"}}, EPROTO},
        {ProxyProtocol::HttpConnect, {{0, "HTTP/1.0 200 OK\r\nX: " + std::string(20000, 'x')}}, EMSGSIZE},
        {ProxyProtocol::HttpConnect, {{0, "HTTP/1.0 200 OK\r\nX: half"}}, ECONNRESET},
        {ProxyProtocol::HttpConnect, {{0, "HTTP/1.1 200 OK\r\n\r\ntunnel"}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps.back().second.substr(0, 20));
        twtest::LoopbackListener proxy(IpFamily::V4, nullptr, [&](twtest::ServerConnection& connection) {
            for (const auto& [bytes, reply] : c.steps) {
                std::string request;
                const bool read = bytes > 0 ? connection.ReadExactly(request, bytes)
                                            : connection.ReadUntil(request, "\r\n\r\n", 4096);
                if (!read || !connection.Write(reply))
                    return;
            }
        });
        CWSocket socket;
        EXPECT_EQ(ErrorOf([&] { ConnectVia(socket, c.protocol, proxy.Port(), u"127.0.0.1"_s, 80, 2000); }),
                  c.code);
        if (c.code == 0) {
            char buffer[16];
            EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 6);
            EXPECT_EQ(std::string(buffer, 6), "tunnel");
        } else {
            EXPECT_FALSE(socket.IsOpen());
        }
    }
}
