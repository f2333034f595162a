#include "net/sigpipe.h"
#include "net/tls_socket.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/proxy_server.h"
#include "tests/support/test_certificate.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <openssl/ssl.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using twtest::HttpReply;
using twtest::HttpServer;
using twtest::IpFamily;
using twtest::ProxyAnswer;
using twtest::ProxyProtocol;
using twtest::ProxyServer;
using twtest::TestCertificate;

namespace {

using SteadyClock = std::chrono::steady_clock;

const std::string kRequest = "GET /page HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";

// A context that trusts certificate, handed over as a bare handle the way a caller that made its own
// context would.
SSL_CTX* TrustingHandle(const TestCertificate& certificate) {
    CSSLContext made;
    QString error;
    EXPECT_TRUE(made.CreateClient(QByteArray::fromStdString(certificate.Pem()), error))
        << error.toStdString();
    return made.Detach();
}

std::string ReceiveAll(CSSLSocket& tls) {
    std::string text;
    char buffer[4096];
    qsizetype received = 0;
    while ((received = tls.Receive(buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(received));
    EXPECT_EQ(received, 0) << tls.GetErrorText().toStdString();
    return text;
}

class TlsSocketConnectTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { IgnoreBrokenPipeSignal(); }

    TestCertificate m_certificate; // names "localhost" and 127.0.0.1
};

} // namespace

// The same HTTPS page directly within a time-out and through each kind of proxy, with the server's name
// checked at the far end of the tunnel.
TEST_F(TlsSocketConnectTest, ExchangesWithATimeOutAndThroughEveryProxy) {
    HttpServer server(IpFamily::V4, &m_certificate);
    server.SetReply("/page", HttpReply::Page("<p>secret</p>"));
    const int port = server.Port();
    ProxyServer socks4(ProxyProtocol::Socks4);
    ProxyServer socks5(ProxyProtocol::Socks5, ProxyAnswer::Accept, "ann", "pw");
    ProxyServer http(ProxyProtocol::HttpConnect, ProxyAnswer::Accept, "ann", "pw");
    const QString proxy = u"127.0.0.1"_s;
    const std::pair<std::string, std::function<bool(CSSLSocket&)>> routes[] = {
        {"direct", [&](CSSLSocket& tls) { return tls.ConnectWithTimeout(u"localhost"_s, port, 2000); }},
        {"socks4",
         [&](CSSLSocket& tls) {
             return tls.ConnectViaSocks4(proxy, socks4.Port(), u"127.0.0.1"_s, port, 2000);
         }},
        {"socks5",
         [&](CSSLSocket& tls) {
             return tls.ConnectViaSocks5(proxy, socks5.Port(), u"localhost"_s, port, 2000, u"ann"_s, u"pw"_s);
         }},
        {"http",
         [&](CSSLSocket& tls) {
             return tls.ConnectViaHttpProxy(proxy, http.Port(), u"localhost"_s, port, 2000, u"ann"_s, u"pw"_s,
                                            u"Agent"_s);
         }},
    };
    CSSLContext context;
    context.Attach(TrustingHandle(m_certificate));
    for (const auto& [name, connect] : routes) {
        SCOPED_TRACE(name);
        CWSocket socket;
        CSSLSocket tls;
        ASSERT_TRUE(tls.Create(context, socket));
        ASSERT_TRUE(connect(tls)) << tls.GetErrorText().toStdString();
        ASSERT_EQ(tls.Send(kRequest.data(), static_cast<qsizetype>(kRequest.size())),
                  static_cast<qsizetype>(kRequest.size()));
        const std::string reply = ReceiveAll(tls);
        EXPECT_EQ(reply.substr(0, 15), "HTTP/1.1 200 OK");
        EXPECT_EQ(reply.substr(reply.size() - 13), "<p>secret</p>");
    }
    EXPECT_EQ(server.ServerNames(), (std::vector<std::string>{"localhost", "", "localhost", "localhost"}));
    EXPECT_EQ(socks4.Requests().size(), 1u);
    EXPECT_EQ(socks5.Requests().size(), 1u);
    EXPECT_EQ(http.Requests().size(), 1u);
}

// The handshake's time-out holds however long the socket's own receive time-out is; a silent proxy fails
// the connect as the plain socket does.
TEST_F(TlsSocketConnectTest, SilentPeersAreBoundedByTheTimeOut) {
    CSSLContext context(TrustingHandle(m_certificate));
    HttpServer plain; // reads the client's hello as the start of a request and never answers
    ProxyServer silent(ProxyProtocol::Socks5, ProxyAnswer::Silent);
    for (const bool viaProxy : {false, true}) {
        SCOPED_TRACE(viaProxy);
        CWSocket socket;
        socket.SetTimeouts(10000, 10000);
        CSSLSocket tls;
        ASSERT_TRUE(tls.Create(context, socket));
        const auto start = SteadyClock::now();
        int code = 0;
        bool connected = false;
        try {
            connected = viaProxy
                            ? tls.ConnectViaSocks5(u"127.0.0.1"_s, silent.Port(), u"localhost"_s, 443, 300)
                            : tls.ConnectWithTimeout(u"localhost"_s, plain.Port(), 300);
        } catch (const CWSocketException& error) {
            code = error.GetErrorCode();
        }
        const auto took = SteadyClock::now() - start;
        EXPECT_GE(took, 250ms);
        EXPECT_LT(took, 2s);
        EXPECT_FALSE(connected);
        if (viaProxy)
            EXPECT_EQ(code, ETIMEDOUT);
        else
            EXPECT_EQ(tls.GetErrorText().toStdString(), std::strerror(ETIMEDOUT));
    }
}

TEST_F(TlsSocketConnectTest, DecryptedBytesWaitingInTheConnectionMakeItReadable) {
    // One record of 100 bytes, then silence with the connection open.
    twtest::LoopbackListener server(IpFamily::V4, m_certificate.ServerContext(),
                                    [](twtest::ServerConnection& c) {
                                        c.Write(std::string(100, 'r'));
                                        c.WaitForPeerClose();
                                    });
    CSSLContext context(TrustingHandle(m_certificate));
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    ASSERT_TRUE(tls.ConnectWithTimeout(u"localhost"_s, server.Port(), 2000))
        << tls.GetErrorText().toStdString();
    EXPECT_TRUE(tls.IsReadable(2000));
    char buffer[128];
    ASSERT_EQ(tls.Receive(buffer, 10), 10);
    EXPECT_FALSE(socket.IsReadable(0)) << "the whole record was read from the socket";
    EXPECT_TRUE(tls.IsReadable(0));
    EXPECT_EQ(tls.Receive(buffer, sizeof buffer), 90);
    EXPECT_FALSE(tls.IsReadable(0));
    tls.Close();
    EXPECT_FALSE(tls.IsReadable(0));
}

TEST_F(TlsSocketConnectTest, HoldersFreeWhatTheyHeldAndGiveUpWhatTheyDetach) {
    CSSLContext context(TrustingHandle(m_certificate));
    SSL* first = SSL_new(context.GetHandle());
    SSL* second = SSL_new(context.GetHandle());
    ASSERT_TRUE(first && second);
    // One reference more than the holder's: after Attach has freed its share, the test's is the last.
    SSL_up_ref(first);
    CSSLHandle handle(first);
    handle.Attach(second);
    EXPECT_EQ(handle.GetHandle(), second);
    SSL_free(first);
    EXPECT_EQ(handle.Detach(), second);
    EXPECT_EQ(handle.GetHandle(), nullptr);
    handle.Release();
    SSL_free(second);

    SSL_CTX* raw = context.Detach();
    EXPECT_EQ(context.GetHandle(), nullptr);
    SSL_CTX_up_ref(raw);
    context.Attach(raw);
    context.Attach(TrustingHandle(m_certificate));
    EXPECT_NE(context.GetHandle(), raw);
    SSL_CTX_free(raw);
}
