// Whole exchanges against the loopback fixture servers.

#include "core/limits.h"
#include "tests/net/downloader_test_fixture.h"
#include "tests/support/closed_port.h"
#include "tests/support/test_certificate.h"

#include <cstring>

using namespace Qt::StringLiterals;
using dltest::q;
using twtest::HttpReply;

namespace {

class DownloaderExchange : public dltest::CrawlerTest {
  protected:
    // Runs one job on m_downloader to its end.
    void fetch(const std::string& url) {
        ASSERT_TRUE(m_downloader.Start(q(url)));
        ASSERT_TRUE(dltest::waitFinished(m_downloader));
    }

    twtest::HttpServer m_server;
    CDownloader m_downloader{0, &m_crawler};
};

TEST_F(DownloaderExchange, PageArrivesAsTextAndTree) {
    m_server.SetReply("/p", HttpReply::Page("<html><body><a href=\"x.html\">link</a></body></html>"));
    fetch(m_server.Url("/p"));
    EXPECT_TRUE(m_downloader.m_header.startsWith(u"HTTP/1.1 200 OK\r\n"_s));
    EXPECT_EQ(m_downloader.m_body, u"<html><body><a href=\"x.html\">link</a></body></html>"_s);
    ASSERT_NE(m_downloader.m_tree.FindFirst(u"a"_s), nullptr);
    EXPECT_GT(m_downloader.m_received.load(), 0);
}

TEST_F(DownloaderExchange, KeepBinaryAndNoTreeLeaveOnlyTheRawBytes) {
    std::string bytes = "\x89PNG\r\n\x1a\n";
    bytes += std::string(1, '\0') + "binary";
    m_server.SetReply("/img", HttpReply::Page(bytes, "image/png"));
    ASSERT_TRUE(m_downloader.Start(q(m_server.Url("/img")), true, true));
    ASSERT_TRUE(dltest::waitFinished(m_downloader));
    EXPECT_EQ(m_downloader.m_raw, QByteArray::fromStdString(bytes));
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
}

TEST_F(DownloaderExchange, ChunkedCompressedAndDrippedRepliesArriveWhole) {
    std::string page;
    for (int i = 0; i < 3000; ++i)
        page += "<p>" + std::to_string(i) + "</p>";
    HttpReply chunked = HttpReply::Page(page);
    chunked.framing = HttpReply::Framing::Chunked;
    chunked.chunkSize = 100;
    chunked.chunkExtension = ";ext=\"v\"";
    m_server.SetReply("/chunked", chunked);
    fetch(m_server.Url("/chunked"));
    EXPECT_EQ(m_downloader.m_raw.toStdString(), page);

    HttpReply gzip = HttpReply::Page(page);
    gzip.coding = HttpReply::Coding::Gzip;
    gzip.framing = HttpReply::Framing::Chunked;
    gzip.chunkSize = 333;
    m_server.SetReply("/gzip", gzip);
    fetch(m_server.Url("/gzip"));
    EXPECT_EQ(m_downloader.m_raw.toStdString(), page);

    HttpReply deflate = HttpReply::Page(page);
    deflate.coding = HttpReply::Coding::Deflate;
    m_server.SetReply("/deflate", deflate);
    fetch(m_server.Url("/deflate"));
    EXPECT_EQ(m_downloader.m_raw.toStdString(), page);

    HttpReply drip = HttpReply::Page("<p>slowly, slowly</p>");
    drip.delivery = HttpReply::Delivery::Drip;
    drip.dripBytes = 7;
    drip.dripDelayMs = 2;
    m_server.SetReply("/drip", drip);
    fetch(m_server.Url("/drip"));
    EXPECT_EQ(m_downloader.m_body, u"<p>slowly, slowly</p>"_s);
}

TEST_F(DownloaderExchange, LargeBodyArrivesIntact) {
    constexpr std::uint64_t kSize = 12 * 1024 * 1024 + 17;
    m_server.SetReply("/big", HttpReply::Generated(kSize));
    ASSERT_TRUE(m_downloader.Start(q(m_server.Url("/big")), true, true));
    ASSERT_TRUE(dltest::waitFinished(m_downloader, 60000));
    ASSERT_EQ(m_downloader.m_rawLength, qsizetype(kSize));
    for (std::uint64_t i : {std::uint64_t(0), std::uint64_t(63), std::uint64_t(65536), kSize / 2, kSize - 1})
        EXPECT_EQ(m_downloader.m_raw[qsizetype(i)], twtest::GeneratedBodyByte(i)) << i;
}

TEST_F(DownloaderExchange, OversizedReplyIsDroppedWithAReceiveError) {
    m_server.SetReply("/huge", HttpReply::Generated(std::uint64_t(limits::kMaxResponseBytes) + 1));
    ASSERT_TRUE(m_downloader.Start(q(m_server.Url("/huge")), true, true));
    ASSERT_TRUE(dltest::waitFinished(m_downloader, 60000));
    EXPECT_EQ(m_downloader.m_rawLength, 0);
    EXPECT_TRUE(m_downloader.m_header.isEmpty());
    EXPECT_TRUE(m_downloader.m_lastError.startsWith(u"Receive error: "_s))
        << m_downloader.m_lastError.toStdString();
}

TEST_F(DownloaderExchange, ClosedPortGivesConnectErrorWithTheSystemsText) {
    const twtest::ClosedPort closed;
    fetch("http://127.0.0.1:" + std::to_string(closed.Port()) + "/");
    EXPECT_EQ(m_downloader.m_lastError,
              u"Connect error: "_s + QString::fromLocal8Bit(std::strerror(ECONNREFUSED)));
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
    EXPECT_TRUE(m_downloader.m_header.isEmpty());
}

TEST_F(DownloaderExchange, StalledServerGivesReceiveErrorWithinTheTimeOut) {
    m_server.SetReply("/stall", HttpReply::With(HttpReply::Delivery::Stall));
    m_downloader.SetTimeouts(2000, 300);
    const auto started = std::chrono::steady_clock::now();
    fetch(m_server.Url("/stall"));
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_LT(elapsed, std::chrono::seconds(3));
    EXPECT_TRUE(m_downloader.m_lastError.startsWith(u"Receive error: "_s))
        << m_downloader.m_lastError.toStdString();
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
}

TEST_F(DownloaderExchange, ServerClosingAtOnceGivesAnEmptyPage) {
    m_server.SetReply("/gone", HttpReply::With(HttpReply::Delivery::CloseAtOnce));
    fetch(m_server.Url("/gone"));
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
    EXPECT_TRUE(m_downloader.m_header.isEmpty());
}

TEST_F(DownloaderExchange, ReplyWithoutHeaderEndIsAllBody) {
    const std::string raw = "HTTP/1.1 200 OK\r\nX: " + std::string(50000, 'y');
    m_server.SetReply("/noend", HttpReply::Raw(raw));
    fetch(m_server.Url("/noend"));
    EXPECT_TRUE(m_downloader.m_header.isEmpty());
    EXPECT_EQ(m_downloader.m_body.size(), qsizetype(raw.size()));
}

class DownloaderTls : public DownloaderExchange {
  protected:
    void SetUp() override {
        DownloaderExchange::SetUp();
        QString error;
        ASSERT_TRUE(m_trusting.CreateClient(QByteArray::fromStdString(m_certificate.Pem()), error))
            << error.toStdString();
        m_crawler.m_sslContext = &m_trusting;
        m_tlsServer.SetReply("/secure", HttpReply::Page("<p>secure</p>"));
    }

    twtest::TestCertificate m_certificate;
    twtest::HttpServer m_tlsServer{twtest::IpFamily::V4, &m_certificate};
    CSSLContext m_trusting;
};

TEST_F(DownloaderTls, HttpsByItsSchemeOnAnyPortWithServerName) {
    fetch(m_tlsServer.Url("/secure", "localhost"));
    EXPECT_EQ(m_downloader.m_body, u"<p>secure</p>"_s);
    ASSERT_EQ(m_tlsServer.ServerNames().size(), 1u);
    EXPECT_EQ(m_tlsServer.ServerNames()[0], "localhost");
    EXPECT_EQ(m_tlsServer.Requests()[0].HeaderValue("Host"),
              "localhost:" + std::to_string(m_tlsServer.Port()));
}

TEST_F(DownloaderTls, PlainHttpToATlsPortIsNotTurnedIntoTls) {
    fetch("http://localhost:" + std::to_string(m_tlsServer.Port()) + "/secure");
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
    EXPECT_TRUE(m_tlsServer.Requests().empty());
}

TEST_F(DownloaderTls, UntrustedCertificateIsAConnectErrorWithTheReason) {
    twtest::TestCertificate stranger;
    CSSLContext trustsStranger;
    QString error;
    ASSERT_TRUE(trustsStranger.CreateClient(QByteArray::fromStdString(stranger.Pem()), error));
    m_crawler.m_sslContext = &trustsStranger;
    fetch(m_tlsServer.Url("/secure", "localhost"));
    EXPECT_TRUE(m_downloader.m_lastError.startsWith(u"Connect error: certificate verify failed"_s))
        << m_downloader.m_lastError.toStdString();
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
    EXPECT_TRUE(m_tlsServer.Requests().empty());
}

TEST_F(DownloaderTls, HostNameMustMatchTheCertificate) {
    twtest::TestCertificate otherName({"other.test"}, {});
    twtest::HttpServer server(twtest::IpFamily::V4, &otherName);
    CSSLContext trustsIt;
    QString error;
    ASSERT_TRUE(trustsIt.CreateClient(QByteArray::fromStdString(otherName.Pem()), error));
    m_crawler.m_sslContext = &trustsIt;
    fetch(server.Url("/", "localhost"));
    EXPECT_TRUE(m_downloader.m_lastError.contains(u"hostname mismatch"_s))
        << m_downloader.m_lastError.toStdString();
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(DownloaderTls, NoContextIsAConnectError) {
    m_crawler.m_sslContext = nullptr;
    fetch(m_tlsServer.Url("/secure", "localhost"));
    EXPECT_TRUE(m_downloader.m_lastError.startsWith(u"Connect error: "_s));
    EXPECT_EQ(m_tlsServer.ConnectionCount(), 0);
}

} // namespace
