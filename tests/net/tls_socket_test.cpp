#include "net/sigpipe.h"
#include "net/tls_socket.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/test_certificate.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <openssl/x509_vfy.h>
#include <thread>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using twtest::HttpReply;
using twtest::HttpServer;
using twtest::IpFamily;
using twtest::TestCertificate;

namespace {

using SteadyClock = std::chrono::steady_clock;

const std::string kRequest = "GET /page HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";

std::string SystemText(int code) {
    return std::strerror(code);
}

// Receives until the peer closes; false when a receive fails.
bool ReceiveAll(CSSLSocket& tls, std::string& text) {
    char buffer[16384];
    for (;;) {
        const qsizetype received = tls.Receive(buffer, sizeof buffer);
        if (received < 0)
            return false;
        if (received == 0)
            return true;
        text.append(buffer, static_cast<std::size_t>(received));
    }
}

// The server's thread records a handshake after the client already returned: wait (briefly) for it.
template <typename Predicate> void WaitFor(Predicate done) {
    for (int wait = 0; wait < 200 && !done(); ++wait)
        std::this_thread::sleep_for(10ms);
}

int FailedHandshakes(const HttpServer& server) {
    WaitFor([&] { return server.FailedHandshakes() > 0; });
    return server.FailedHandshakes();
}

class TlsSocketTest : public ::testing::Test {
  public:
    static void SetUpTestSuite() {
        IgnoreBrokenPipeSignal();
        s_certificate = new TestCertificate();
    }
    static void TearDownTestSuite() {
        delete s_certificate;
        s_certificate = nullptr;
    }

    // A client context that trusts the test certificate.
    static CSSLContext TrustingContext(const TestCertificate& certificate) {
        CSSLContext context;
        QString error;
        EXPECT_TRUE(context.CreateClient(QByteArray::fromStdString(certificate.Pem()), error))
            << error.toStdString();
        return context;
    }

    static TestCertificate* s_certificate;
};

// A client whose context trusts the given certificate; Request connects and sends kRequest.
struct TlsClient {
    explicit TlsClient(const TestCertificate& trusted, int sendMs = CWSocket::kSendTimeoutMs,
                       int receiveMs = CWSocket::kReceiveTimeoutMs)
        : context(TlsSocketTest::TrustingContext(trusted)) {
        socket.SetTimeouts(sendMs, receiveMs);
        EXPECT_TRUE(tls.Create(context, socket)) << tls.GetErrorText().toStdString();
    }
    bool Request(const QString& host, std::uint16_t port) {
        return tls.Connect(host, port) &&
               tls.Send(kRequest.data(), qsizetype(kRequest.size())) == qsizetype(kRequest.size());
    }

    CSSLContext context;
    CWSocket socket;
    CSSLSocket tls;
};

TestCertificate* TlsSocketTest::s_certificate = nullptr;

} // namespace

// --- handshake, names and the exchange ---

// A name goes out as SNI and is checked against the certificate's names; an address is checked as an
// address and sends no SNI.
TEST_F(TlsSocketTest, FetchesByNameOrAddress) {
    HttpServer server(IpFamily::V4, s_certificate);
    server.SetReply("/page", HttpReply::Page("<p>over tls</p>"));
    for (const QString& host : {u"localhost"_s, u"127.0.0.1"_s}) {
        TlsClient client(*s_certificate);
        ASSERT_TRUE(client.Request(host, server.Port())) << client.tls.GetErrorText().toStdString();
        std::string reply;
        ASSERT_TRUE(ReceiveAll(client.tls, reply)) << client.tls.GetErrorText().toStdString();
        EXPECT_TRUE(reply.ends_with("\r\n\r\n<p>over tls</p>")) << reply;
    }
    WaitFor([&] { return server.ServerNames().size() == 2; });
    EXPECT_EQ(server.ServerNames(), (std::vector<std::string>{"localhost", ""}));
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].raw, kRequest);
}

TEST_F(TlsSocketTest, APeerClosingWithoutCloseNotifyEndsThePageNormally) {
    HttpServer server(IpFamily::V4, s_certificate);
    HttpReply reply = HttpReply::Page("complete");
    reply.framing = HttpReply::Framing::CloseDelimited;
    reply.closeNotify = false;
    server.SetReply("/page", reply);
    TlsClient client(*s_certificate);
    ASSERT_TRUE(client.Request(u"localhost"_s, server.Port()));
    std::string text;
    EXPECT_TRUE(ReceiveAll(client.tls, text)) << client.tls.GetErrorText().toStdString();
    EXPECT_EQ(text.substr(text.size() - 8), "complete");
}

// --- refused peers ---

TEST_F(TlsSocketTest, AnUntrustedCertificateIsRefusedWithOpenSslsReason) {
    HttpServer server(IpFamily::V4, s_certificate);
    CSSLContext systemTrust;
    QString error;
    ASSERT_TRUE(systemTrust.CreateClient(error)) << error.toStdString();
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(systemTrust, socket));
    EXPECT_FALSE(tls.Connect(u"localhost"_s, server.Port()));
    const std::string text = tls.GetErrorText().toStdString();
    EXPECT_NE(text.find("certificate verify failed"), std::string::npos) << text;
    EXPECT_NE(text.find(X509_verify_cert_error_string(X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT)),
              std::string::npos)
        << text;
    EXPECT_EQ(FailedHandshakes(server), 1);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(TlsSocketTest, ANameOrAddressTheCertificateDoesNotNameIsRefused) {
    const TestCertificate other({"other.test"}, {});
    HttpServer otherServer(IpFamily::V4, &other);
    TlsClient otherClient(other);
    EXPECT_FALSE(otherClient.tls.Connect(u"localhost"_s, otherServer.Port()));
    std::string text = otherClient.tls.GetErrorText().toStdString();
    EXPECT_NE(text.find(X509_verify_cert_error_string(X509_V_ERR_HOSTNAME_MISMATCH)), std::string::npos)
        << text;
    EXPECT_EQ(FailedHandshakes(otherServer), 1);

    // The test certificate names 127.0.0.1 but not ::1.
    HttpServer server6(IpFamily::V6, s_certificate);
    TlsClient client(*s_certificate);
    EXPECT_FALSE(client.tls.Connect(u"[::1]"_s, server6.Port()));
    text = client.tls.GetErrorText().toStdString();
    EXPECT_NE(text.find(X509_verify_cert_error_string(X509_V_ERR_IP_ADDRESS_MISMATCH)), std::string::npos)
        << text;
}

TEST_F(TlsSocketTest, FailuresOfTheTcpConnectionStillThrow) {
    const twtest::ClosedPort closed;
    TlsClient client(*s_certificate);
    try {
        client.tls.Connect(u"localhost"_s, closed.Port());
        FAIL() << "connect to a closed port succeeded";
    } catch (const CWSocketException& error) {
        EXPECT_EQ(error.GetErrorCode(), ECONNREFUSED);
    }
}

TEST_F(TlsSocketTest, WithoutAUsableContextNothingIsCreated) {
    CSSLContext context;
    QString error;
    EXPECT_FALSE(context.CreateClient(QByteArray("not a certificate"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(context.GetHandle(), nullptr);

    CWSocket socket;
    CSSLSocket tls;
    EXPECT_FALSE(tls.Create(context, socket));
    EXPECT_FALSE(tls.GetErrorText().isEmpty());
    EXPECT_FALSE(tls.Connect(u"localhost"_s, 1));
    char buffer[8];
    EXPECT_EQ(tls.Receive(buffer, sizeof buffer), -1);
    tls.Close();
    tls.Close();
}

// --- peers that stay silent ---

TEST_F(TlsSocketTest, AServerThatNeverAnswersTheHandshakeTimesOut) {
    HttpServer plain; // reads the client's hello as the start of a request that never ends
    TlsClient client(*s_certificate, 2000, 300);
    const auto start = SteadyClock::now();
    EXPECT_FALSE(client.tls.Connect(u"localhost"_s, plain.Port()));
    EXPECT_LT(SteadyClock::now() - start, 3000ms);
    EXPECT_EQ(client.tls.GetErrorText().toStdString(), SystemText(ETIMEDOUT));
}

TEST_F(TlsSocketTest, CloseDoesNotWaitForAPeerThatKeepsTheConnectionOpen) {
    // The peer completes the handshake, then neither answers the close notification nor closes.
    twtest::LoopbackListener listener(IpFamily::V4, s_certificate->ServerContext(),
                                      [](twtest::ServerConnection& connection) { connection.Pause(60000); });
    TlsClient client(*s_certificate, 3000, 3000);
    ASSERT_TRUE(client.tls.Connect(u"localhost"_s, listener.Port()));
    const auto start = SteadyClock::now();
    client.tls.Close();
    EXPECT_LT(SteadyClock::now() - start, 1000ms);
    EXPECT_EQ(client.socket.GetHandle(), -1);
    client.tls.Close();
}
