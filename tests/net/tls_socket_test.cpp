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
  protected:
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

TestCertificate* TlsSocketTest::s_certificate = nullptr;

} // namespace

// --- handshake, names and the exchange ---

TEST_F(TlsSocketTest, FetchesOverTlsAndSendsTheHostNameAsSni) {
    HttpServer server(IpFamily::V4, s_certificate);
    server.SetReply("/page", HttpReply::Generated(300000));
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket)) << tls.GetErrorText().toStdString();
    ASSERT_TRUE(tls.Connect(u"localhost"_s, server.Port())) << tls.GetErrorText().toStdString();
    ASSERT_EQ(tls.Send(kRequest.data(), static_cast<qsizetype>(kRequest.size())),
              static_cast<qsizetype>(kRequest.size()));
    std::string reply;
    ASSERT_TRUE(ReceiveAll(tls, reply)) << tls.GetErrorText().toStdString();
    tls.Close();

    const std::size_t bodyStart = reply.find("\r\n\r\n") + 4;
    ASSERT_EQ(reply.size() - bodyStart, 300000u);
    for (std::size_t i = 0; i < 300000; i += 997)
        ASSERT_EQ(reply[bodyStart + i], twtest::GeneratedBodyByte(i)) << "at " << i;
    EXPECT_EQ(server.ServerNames(), std::vector<std::string>{"localhost"});
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].raw, kRequest);
}

TEST_F(TlsSocketTest, AnIpAddressIsCheckedAsAnAddressAndSendsNoSni) {
    HttpServer server(IpFamily::V4, s_certificate);
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    ASSERT_TRUE(tls.Connect(u"127.0.0.1"_s, server.Port())) << tls.GetErrorText().toStdString();
    tls.Close();
    WaitFor([&] { return !server.ServerNames().empty(); });
    EXPECT_EQ(server.ServerNames(), std::vector<std::string>{""});
}

TEST_F(TlsSocketTest, APeerClosingWithoutCloseNotifyEndsThePageNormally) {
    HttpServer server(IpFamily::V4, s_certificate);
    HttpReply reply = HttpReply::Page("complete");
    reply.framing = HttpReply::Framing::CloseDelimited;
    reply.closeNotify = false;
    server.SetReply("/page", reply);
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    ASSERT_TRUE(tls.Connect(u"localhost"_s, server.Port()));
    tls.Send(kRequest.data(), static_cast<qsizetype>(kRequest.size()));
    std::string text;
    EXPECT_TRUE(ReceiveAll(tls, text)) << tls.GetErrorText().toStdString();
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

TEST_F(TlsSocketTest, AHostNameTheCertificateDoesNotNameIsRefused) {
    const TestCertificate other({"other.test"}, {});
    HttpServer server(IpFamily::V4, &other);
    const CSSLContext context = TrustingContext(other);
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    EXPECT_FALSE(tls.Connect(u"localhost"_s, server.Port()));
    const std::string text = tls.GetErrorText().toStdString();
    EXPECT_NE(text.find(X509_verify_cert_error_string(X509_V_ERR_HOSTNAME_MISMATCH)), std::string::npos)
        << text;
    EXPECT_EQ(FailedHandshakes(server), 1);
}

TEST_F(TlsSocketTest, AnAddressTheCertificateDoesNotNameIsRefused) {
    // The test certificate names 127.0.0.1 but not ::1.
    HttpServer server(IpFamily::V6, s_certificate);
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    EXPECT_FALSE(tls.Connect(u"[::1]"_s, server.Port()));
    const std::string text = tls.GetErrorText().toStdString();
    EXPECT_NE(text.find(X509_verify_cert_error_string(X509_V_ERR_IP_ADDRESS_MISMATCH)), std::string::npos)
        << text;
}

TEST_F(TlsSocketTest, FailuresOfTheTcpConnectionStillThrow) {
    const twtest::ClosedPort closed;
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    try {
        tls.Connect(u"localhost"_s, closed.Port());
        FAIL() << "connect to a closed port succeeded";
    } catch (const CWSocketException& error) {
        EXPECT_EQ(error.GetErrorCode(), ECONNREFUSED);
    }
}

TEST_F(TlsSocketTest, CreateWithoutAContextFails) {
    CSSLContext empty;
    CWSocket socket;
    CSSLSocket tls;
    EXPECT_FALSE(tls.Create(empty, socket));
    EXPECT_FALSE(tls.GetErrorText().isEmpty());
    EXPECT_FALSE(tls.Connect(u"localhost"_s, 1));
    char buffer[8];
    EXPECT_EQ(tls.Receive(buffer, sizeof buffer), -1);
    tls.Close();
    tls.Close();
}

TEST_F(TlsSocketTest, TrustTextWithoutACertificateIsRefused) {
    CSSLContext context;
    QString error;
    EXPECT_FALSE(context.CreateClient(QByteArray("not a certificate"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(context.GetHandle(), nullptr);
}

// --- stalls, interruption and closing ---

TEST_F(TlsSocketTest, AStalledServerEndsTheReceiveWithATimeOut) {
    HttpServer server(IpFamily::V4, s_certificate);
    server.SetDefaultReply(HttpReply::With(HttpReply::Delivery::Stall));
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    socket.SetTimeouts(2000, 300);
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    ASSERT_TRUE(tls.Connect(u"localhost"_s, server.Port()));
    tls.Send(kRequest.data(), static_cast<qsizetype>(kRequest.size()));
    char buffer[64];
    const auto start = SteadyClock::now();
    EXPECT_EQ(tls.Receive(buffer, sizeof buffer), -1);
    EXPECT_LT(SteadyClock::now() - start, 3000ms);
    EXPECT_EQ(tls.GetErrorText().toStdString(), SystemText(ETIMEDOUT));
}

TEST_F(TlsSocketTest, AServerThatNeverAnswersTheHandshakeTimesOut) {
    HttpServer plain; // reads the client's hello as the start of a request that never ends
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    socket.SetTimeouts(2000, 300);
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    const auto start = SteadyClock::now();
    EXPECT_FALSE(tls.Connect(u"localhost"_s, plain.Port()));
    EXPECT_LT(SteadyClock::now() - start, 3000ms);
    EXPECT_EQ(tls.GetErrorText().toStdString(), SystemText(ETIMEDOUT));
}

TEST_F(TlsSocketTest, InterruptingTheSocketEndsABlockedTlsReceive) {
    HttpServer server(IpFamily::V4, s_certificate);
    server.SetDefaultReply(HttpReply::With(HttpReply::Delivery::Stall));
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    ASSERT_TRUE(tls.Connect(u"localhost"_s, server.Port()));
    tls.Send(kRequest.data(), static_cast<qsizetype>(kRequest.size()));
    std::thread stopper([&] {
        std::this_thread::sleep_for(100ms);
        socket.Interrupt();
    });
    char buffer[64];
    const auto start = SteadyClock::now();
    EXPECT_EQ(tls.Receive(buffer, sizeof buffer), -1);
    stopper.join();
    EXPECT_LT(SteadyClock::now() - start, 2000ms);
    EXPECT_EQ(tls.GetErrorText().toStdString(), SystemText(ECANCELED));
}

TEST_F(TlsSocketTest, CloseDoesNotWaitForAPeerThatKeepsTheConnectionOpen) {
    // The peer completes the handshake, then neither answers the close notification nor closes.
    twtest::LoopbackListener listener(IpFamily::V4, s_certificate->ServerContext(),
                                      [](twtest::ServerConnection& connection) { connection.Pause(60000); });
    const CSSLContext context = TrustingContext(*s_certificate);
    CWSocket socket;
    socket.SetTimeouts(3000, 3000);
    CSSLSocket tls;
    ASSERT_TRUE(tls.Create(context, socket));
    ASSERT_TRUE(tls.Connect(u"localhost"_s, listener.Port()));
    const auto start = SteadyClock::now();
    tls.Close();
    EXPECT_LT(SteadyClock::now() - start, 1000ms);
    EXPECT_EQ(socket.GetHandle(), -1);
    tls.Close();
}
