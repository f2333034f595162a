// Plain and TLS byte streams, side by side: the exchange sees them succeed and fail alike.

#include "net/plain_byte_stream.h"
#include "net/sigpipe.h"
#include "net/tls_byte_stream.h"
#include "net/tls_socket_context.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"
#include "tests/support/test_certificate.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using twtest::HttpReply;

namespace {

std::string SystemText(int code) {
    return std::strerror(code);
}

class ByteStreamTest : public ::testing::TestWithParam<bool> {
  protected:
    static void SetUpTestSuite() { IgnoreBrokenPipeSignal(); }
    void SetUp() override {
        QString error;
        ASSERT_TRUE(m_context.CreateClient(QByteArray::fromStdString(m_certificate.Pem()), error));
    }

    std::unique_ptr<ByteStream> Open(int receiveTimeoutMs = 10000) {
        if (GetParam())
            return std::make_unique<TlsByteStream>(&m_context, 2000, receiveTimeoutMs);
        return std::make_unique<PlainByteStream>(2000, receiveTimeoutMs);
    }

    // Connects and sends a request for path: "" or the failure.
    static std::string Request(ByteStream& stream, const std::string& path, std::uint16_t port) {
        const std::string bytes = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        if (!stream.Connect(u"127.0.0.1"_s, port))
            return "connect: " + stream.ErrorText().toStdString();
        if (!stream.Send(bytes.data(), qsizetype(bytes.size())))
            return "send: " + stream.ErrorText().toStdString();
        return {};
    }

    // Reads to the end: the text, or what arrived and the failure.
    static std::string ReadToEnd(ByteStream& stream) {
        std::string text;
        char buffer[4096];
        for (;;) {
            const qsizetype count = stream.Receive(buffer, sizeof buffer);
            if (count < 0)
                return text + "receive: " + stream.ErrorText().toStdString();
            if (count == 0)
                return text;
            text.append(buffer, std::size_t(count));
        }
    }

    twtest::TestCertificate m_certificate;
    CSSLContext m_context;
    twtest::HttpServer m_server{twtest::IpFamily::V4, GetParam() ? &m_certificate : nullptr};
};

// The reply ends when the peer closes, over TLS without a close notification, as many servers do.
TEST_P(ByteStreamTest, ExchangesAPageAndClosesTwiceHarmlessly) {
    HttpReply reply = HttpReply::Generated(200000);
    reply.framing = HttpReply::Framing::CloseDelimited;
    reply.closeNotify = false;
    m_server.SetReply("/page", reply);
    auto stream = Open();
    ASSERT_EQ(Request(*stream, "/page", m_server.Port()), "");
    const std::string text = ReadToEnd(*stream);
    ASSERT_GE(text.size(), 200000u);
    const std::size_t bodyStart = text.size() - 200000;
    for (std::size_t i = 0; i < 200000; i += 997)
        ASSERT_EQ(text[bodyStart + i], twtest::GeneratedBodyByte(i)) << "at " << i;
    // An address is checked as an address and sends no server name.
    EXPECT_TRUE(!GetParam() || m_server.ServerNames() == std::vector<std::string>{""});
    stream->Close();
    stream->Close();
    char buffer[8];
    EXPECT_EQ(stream->Receive(buffer, sizeof buffer), -1);
}

TEST_P(ByteStreamTest, FailuresCarryTheSystemsText) {
    m_server.SetReply("/stall", HttpReply::With(HttpReply::Delivery::Stall));
    const twtest::ClosedPort closed;
    EXPECT_EQ(Request(*Open(), "/", closed.Port()), "connect: " + SystemText(ECONNREFUSED));

    auto stalled = Open(300);
    ASSERT_EQ(Request(*stalled, "/stall", m_server.Port()), "");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadToEnd(*stalled), "receive: " + SystemText(ETIMEDOUT));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);

    // Interrupted from another thread, long before the ten-second time-out.
    auto interrupted = Open();
    ASSERT_EQ(Request(*interrupted, "/stall", m_server.Port()), "");
    std::thread stopper([&] {
        std::this_thread::sleep_for(100ms);
        interrupted->Interrupt();
    });
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadToEnd(*interrupted), "receive: " + SystemText(ECANCELED));
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
}

INSTANTIATE_TEST_SUITE_P(PlainAndTls, ByteStreamTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Tls" : "Plain"; });

} // namespace
