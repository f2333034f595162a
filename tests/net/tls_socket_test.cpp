#include "net/sigpipe.h"
#include "net/tls_socket.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/test_certificate.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <thread>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using twtest::HttpServer;
using twtest::IpFamily;
using twtest::TestCertificate;

namespace {

using SteadyClock = std::chrono::steady_clock;

// The server's thread records a handshake after the client already returned: wait (briefly) for it.
template <typename Predicate> void WaitFor(Predicate done) {
    for (int wait = 0; wait < 200 && !done(); ++wait)
        std::this_thread::sleep_for(10ms);
}

// A client whose context trusts the given certificate, or the system's store when none is given.
struct TlsClient {
    explicit TlsClient(const TestCertificate* trusted, int sendMs = CWSocket::kSendTimeoutMs,
                       int receiveMs = CWSocket::kReceiveTimeoutMs) {
        QString error;
        EXPECT_TRUE(trusted ? context.CreateClient(QByteArray::fromStdString(trusted->Pem()), error)
                            : context.CreateClient(error))
            << error.toStdString();
        socket.SetTimeouts(sendMs, receiveMs);
        EXPECT_TRUE(tls.Create(context, socket)) << tls.GetErrorText().toStdString();
    }
    CSSLContext context;
    CWSocket socket;
    CSSLSocket tls;
};

class TlsSocketTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { IgnoreBrokenPipeSignal(); }

    // Names "localhost" and 127.0.0.1, but not ::1.
    TestCertificate m_certificate;
};

} // namespace

// Refused peers: the handshake fails with OpenSSL's reason and the certificate check's verdict.
TEST_F(TlsSocketTest, UntrustedOrMisnamedPeersAreRefusedWithTheReason) {
    const TestCertificate otherName({"other.test"}, {});
    const struct {
        const TestCertificate* trusted; // none: the system's store, which knows no test certificate
        const TestCertificate* presented;
        IpFamily family;
        QString host;
        int verdict;
    } cases[] = {
        {nullptr, &m_certificate, IpFamily::V4, u"localhost"_s, X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT},
        {&otherName, &otherName, IpFamily::V4, u"localhost"_s, X509_V_ERR_HOSTNAME_MISMATCH},
        {&m_certificate, &m_certificate, IpFamily::V6, u"[::1]"_s, X509_V_ERR_IP_ADDRESS_MISMATCH},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verdict);
        HttpServer server(c.family, c.presented);
        TlsClient client(c.trusted);
        EXPECT_FALSE(client.tls.Connect(c.host, server.Port()));
        const std::string text = client.tls.GetErrorText().toStdString();
        EXPECT_NE(text.find("certificate verify failed"), std::string::npos) << text;
        EXPECT_NE(text.find(X509_verify_cert_error_string(c.verdict)), std::string::npos) << text;
        WaitFor([&] { return server.FailedHandshakes() > 0; });
        EXPECT_EQ(server.FailedHandshakes(), 1);
        EXPECT_TRUE(server.Requests().empty());
    }
}

TEST_F(TlsSocketTest, FailuresOfTheTcpConnectionStillThrow) {
    const twtest::ClosedPort closed;
    TlsClient client(&m_certificate);
    EXPECT_THROW(client.tls.Connect(u"localhost"_s, closed.Port()), CWSocketException);
}

// The system's store is read by the first connection, once, however many threads open their first
// connection at the same moment; none of them gets a connection before the store is complete.
TEST_F(TlsSocketTest, TheSystemStoreIsReadOnceByTheFirstConnections) {
    CSSLContext context;
    QString error;
    ASSERT_TRUE(context.CreateClient(error)) << error.toStdString();
    const auto storedObjects = [&] {
        return sk_X509_OBJECT_num(X509_STORE_get0_objects(SSL_CTX_get_cert_store(context.GetHandle())));
    };
    EXPECT_EQ(storedObjects(), 0);
    std::vector<std::thread> threads;
    std::vector<int> seen(8, -1);
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&, i] {
            QString text;
            SSL* connection = context.NewConnection(text);
            seen[i] = connection ? storedObjects() : -1;
            SSL_free(connection);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const bool haveBundle = QFile::exists(QString::fromLocal8Bit(X509_get_default_cert_file()));
    for (const int objects : seen) {
        EXPECT_GE(objects, 0) << "every thread got its connection";
        EXPECT_TRUE(!haveBundle || objects == seen.front())
            << "the store was complete before any connection was made";
    }
    EXPECT_TRUE(!haveBundle || seen.front() > 0);
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
    TlsClient client(&m_certificate, 2000, 300);
    const auto start = SteadyClock::now();
    EXPECT_FALSE(client.tls.Connect(u"localhost"_s, plain.Port()));
    EXPECT_LT(SteadyClock::now() - start, 3000ms);
    EXPECT_EQ(client.tls.GetErrorText().toStdString(), std::strerror(ETIMEDOUT));
}

TEST_F(TlsSocketTest, CloseDoesNotWaitForAPeerThatKeepsTheConnectionOpen) {
    // The peer completes the handshake, then neither answers the close notification nor closes.
    twtest::LoopbackListener listener(IpFamily::V4, m_certificate.ServerContext(),
                                      [](twtest::ServerConnection& connection) { connection.Pause(60000); });
    TlsClient client(&m_certificate, 3000, 3000);
    ASSERT_TRUE(client.tls.Connect(u"localhost"_s, listener.Port()));
    const auto start = SteadyClock::now();
    client.tls.Close();
    EXPECT_LT(SteadyClock::now() - start, 1000ms);
    EXPECT_EQ(client.socket.GetHandle(), -1);
    client.tls.Close();
}
