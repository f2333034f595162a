// Whole exchanges against the loopback fixture servers.

#include "core/limits.h"
#include "tests/net/downloader_test_fixture.h"
#include "tests/support/closed_port.h"
#include "tests/support/test_certificate.h"

#include <chrono>
#include <cstring>
#include <functional>
#include <list>

using namespace Qt::StringLiterals;
using dltest::Q;
using twtest::HttpReply;

namespace {

class DownloaderExchange : public dltest::CrawlerTest {
  protected:
    // Runs one job on m_downloader to its end.
    DownloadResponse Fetch(const std::string& url, bool keepBinary = false, bool noTree = false) {
        EXPECT_TRUE(m_downloader.Start(Q(url), keepBinary, noTree));
        EXPECT_TRUE(dltest::WaitFinished(m_downloader, 60000));
        return m_downloader.Response();
    }

    twtest::HttpServer m_server;
    CDownloader m_downloader{0, &m_crawler};
};

TEST_F(DownloaderExchange, PageArrivesAsTextAndTree) {
    m_server.SetReply("/p", HttpReply::Page("<html><body><a href=\"x.html\">link</a></body></html>"));
    const DownloadResponse response = Fetch(m_server.Url("/p"));
    EXPECT_TRUE(response.header.startsWith(u"HTTP/1.1 200 OK\r\n"_s));
    EXPECT_EQ(response.body, u"<html><body><a href=\"x.html\">link</a></body></html>"_s);
    EXPECT_NE(response.tree.FindFirst({.tag = u"a"_s}), nullptr);
    EXPECT_GT(m_downloader.m_received.load(), 0);
}

// A taker showing progress reads the header (and its length) while the body still drips in.
TEST_F(DownloaderExchange, TheHeaderIsReadableBeforeTheBodyHasArrived) {
    HttpReply slow = HttpReply::Page(std::string(400, 'x'), "application/octet-stream");
    slow.delivery = HttpReply::Delivery::Drip;
    slow.dripBytes = 40;
    slow.dripDelayMs = 20;
    m_server.SetReply("/setup.bin", slow);
    ASSERT_TRUE(m_downloader.Start(Q(m_server.Url("/setup.bin")), true, true));
    QString early;
    ASSERT_TRUE(dltest::WaitFor([&] {
        std::lock_guard guard(m_downloader.m_cs);
        early = m_downloader.m_header;
        return !early.isEmpty() || m_downloader.IsFinished();
    }));
    EXPECT_FALSE(m_downloader.IsFinished());
    EXPECT_TRUE(early.contains(u"Content-Length: 400"_s)) << early.toStdString();
    ASSERT_TRUE(dltest::WaitFinished(m_downloader));
    EXPECT_EQ(m_downloader.m_header, early);
}

// Small reads of a chunked, compressed reply: the receive loop and both decodings across read boundaries.
TEST_F(DownloaderExchange, ChunkedCompressedDrippedReplyArrivesWhole) {
    std::string page;
    for (int i = 0; i < 3000; ++i)
        page += "<p>" + std::to_string(i) + "</p>";
    HttpReply reply = HttpReply::Page(page);
    reply.coding = HttpReply::Coding::Gzip;
    reply.framing = HttpReply::Framing::Chunked;
    reply.chunkSize = 333;
    reply.chunkExtension = ";ext=\"v\"";
    reply.delivery = HttpReply::Delivery::Drip;
    reply.dripBytes = 97;
    reply.dripDelayMs = 1;
    m_server.SetReply("/p", reply);
    EXPECT_EQ(Fetch(m_server.Url("/p")).raw.toStdString(), page);
}

// The chunked coding comes off as the reply arrives, a few bytes at a time: a reply cut short keeps what
// came and says so, as when the whole reply is decoded at once.
TEST_F(DownloaderExchange, ChunkedReplyCutShortKeepsWhatArrived) {
    HttpReply reply = HttpReply::Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                     "4;x=1\r\nabcd\r\n\r\n3\r\nefg\n10\r\nhij");
    reply.delivery = HttpReply::Delivery::Drip;
    reply.dripBytes = 3;
    reply.dripDelayMs = 1;
    m_server.SetReply("/cut", reply);
    const DownloadResponse response = Fetch(m_server.Url("/cut"), true, true);
    EXPECT_EQ(response.raw, "abcdefghij");
    EXPECT_EQ(response.lastError, u"Receive error: the chunked body ends early"_s);
}

TEST_F(DownloaderExchange, LargeBodyArrivesIntactAsBytesOnly) {
    constexpr std::uint64_t kSize = 12 * 1024 * 1024 + 17;
    m_server.SetReply("/big", HttpReply::Generated(kSize));
    const DownloadResponse response = Fetch(m_server.Url("/big"), true, true);
    EXPECT_TRUE(response.body.isEmpty());
    ASSERT_EQ(response.raw.size(), qsizetype(kSize));
    for (std::uint64_t i : {std::uint64_t(0), std::uint64_t(63), std::uint64_t(65536), kSize / 2, kSize - 1})
        EXPECT_EQ(response.raw[qsizetype(i)], twtest::GeneratedBodyByte(i)) << i;
}

// The next reply lands in the last reply's storage, never in storage a taker still holds; a large reply's
// storage is kept only a short while, for the next large reply. Room is made from the announced length, but
// never more than 8 MB on its word.
TEST_F(DownloaderExchange, ReceiveStorageIsReusedWhenUnsharedAndLargeOnlyBrieflyAndSizedFromTheLength) {
    constexpr qsizetype kFive = 5 * 1024 * 1024;
    m_server.SetReply("/a", HttpReply::Page(std::string(5000, 'a'), "text/plain"));
    m_server.SetReply("/b", HttpReply::Page(std::string(3000, 'b'), "text/plain"));
    m_server.SetReply("/five", HttpReply::Generated(kFive));
    HttpReply chunked = HttpReply::Generated(kFive - 4321);
    chunked.framing = HttpReply::Framing::Chunked;
    m_server.SetReply("/chunked", chunked);
    m_server.SetReply("/claims", HttpReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 60000000\r\n\r\nshort"));
    // Where the kept storage lies, read without sharing it.
    const auto keptStorage = [this] {
        std::lock_guard guard(m_downloader.m_cs);
        const QByteArray& kept = m_downloader.m_receiveBuffer;
        return std::pair(kept.constData(), kept.capacity());
    };
    const auto receivedInto = [](const QByteArray& raw, std::pair<const char*, qsizetype> storage) {
        return raw.constData() >= storage.first && raw.constData() < storage.first + storage.second;
    };
    const auto isGenerated = [](const QByteArray& raw, qsizetype size) {
        if (raw.size() != size)
            return false;
        for (qsizetype i = 0; i < size; ++i)
            if (raw[i] != twtest::GeneratedBodyByte(std::uint64_t(i)))
                return false;
        return true;
    };

    const QByteArray held = Fetch(m_server.Url("/a"), true, true).raw;
    m_downloader.Reset();
    EXPECT_EQ(keptStorage().second, 0) << "the taker still holds the bytes";
    EXPECT_EQ(Fetch(m_server.Url("/b"), true, true).raw, QByteArray(3000, 'b'));
    EXPECT_EQ(held, QByteArray(5000, 'a'));
    m_downloader.Reset();
    const auto small = keptStorage();
    ASSERT_GT(small.second, 0);
    EXPECT_TRUE(receivedInto(Fetch(m_server.Url("/a"), true, true).raw, small))
        << "received into the kept storage";
    EXPECT_EQ(m_downloader.Response().raw, QByteArray(5000, 'a'));

    EXPECT_TRUE(isGenerated(Fetch(m_server.Url("/five"), true, true).raw, kFive));
    EXPECT_LT(m_downloader.Response().raw.capacity(), kFive + 256 * 1024)
        << "room made once, not doubled into";
    m_downloader.Reset();
    const auto large = keptStorage();
    EXPECT_GE(large.second, kFive) << "large storage is kept a short while";
    // Shorter replies of either framing land in it and come out exact, whatever the last one left there.
    EXPECT_TRUE(isGenerated(Fetch(m_server.Url("/chunked"), true, true).raw, kFive - 4321));
    EXPECT_TRUE(receivedInto(m_downloader.Response().raw, large));
    m_downloader.Reset();
    EXPECT_EQ(Fetch(m_server.Url("/b"), true, true).raw, QByteArray(3000, 'b'));
    m_downloader.Reset();
    EXPECT_EQ(keptStorage().second, 0) << "a small reply does not keep large storage alive";

    EXPECT_TRUE(isGenerated(Fetch(m_server.Url("/five"), true, true).raw, kFive));
    m_downloader.Reset();
    const auto keptFrom = std::chrono::steady_clock::now();
    EXPECT_GE(keptStorage().second, kFive);
    EXPECT_TRUE(
        dltest::WaitFor([&] { return keptStorage().second == 0; }, 4 * limits::kKeptLargeReceiveBufferMs))
        << "large storage goes";
    EXPECT_GE(std::chrono::steady_clock::now() - keptFrom,
              std::chrono::milliseconds(limits::kKeptLargeReceiveBufferMs / 2));
    const QByteArray claimed = Fetch(m_server.Url("/claims"), true, true).raw;
    EXPECT_EQ(claimed, QByteArray("short"));
    EXPECT_LE(claimed.capacity(), 8 * 1024 * 1024);
}

// A failed or odd exchange still ends done; the page is empty and the reason waits in the last error.
TEST_F(DownloaderExchange, FailuresEndDoneAndEmptyWithTheStageAndReason) {
    const twtest::ClosedPort closed;
    m_server.SetReply("/huge", HttpReply::Generated(std::uint64_t(limits::kMaxResponseBytes) + 1));
    m_server.SetReply("/stall", HttpReply::With(HttpReply::Delivery::Stall));
    m_server.SetReply("/gone", HttpReply::With(HttpReply::Delivery::CloseAtOnce));
    m_downloader.SetTimeouts(2000, 300);
    const QString refused = u"Connect error: "_s + QString::fromLocal8Bit(std::strerror(ECONNREFUSED));
    const struct {
        std::string url;
        QString error; // the whole text, or its beginning when it ends in ": "
    } cases[] = {
        {"http://127.0.0.1:" + std::to_string(closed.Port()) + "/", refused},
        {m_server.Url("/huge"), u"Receive error: "_s},
        {m_server.Url("/stall"), u"Receive error: "_s},
        {m_server.Url("/gone"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        const auto started = std::chrono::steady_clock::now();
        const DownloadResponse response = Fetch(c.url);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
        EXPECT_TRUE(response.raw.isEmpty());
        EXPECT_TRUE(response.header.isEmpty());
        EXPECT_TRUE(response.body.isEmpty());
        if (c.error.endsWith(u": "_s))
            EXPECT_TRUE(response.lastError.startsWith(c.error)) << response.lastError.toStdString();
        else
            EXPECT_EQ(response.lastError, c.error);
    }
}

// A slot keeps no failure from one job to the next: each job reports its own error, whether the taker
// resets the slot, starts the finished one again or gives it back and takes it anew.
TEST_F(DownloaderExchange, AJobAfterAFailedOneReportsOnlyItsOwnError) {
    const twtest::ClosedPort closed;
    const std::string refused = "http://127.0.0.1:" + std::to_string(closed.Port()) + "/";
    m_server.SetReply("/page", HttpReply::Page("<p>fine</p>"));
    m_server.SetReply("/short", HttpReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\n0123456789"));
    m_server.SetReply("/gone", HttpReply::With(HttpReply::Delivery::CloseAtOnce));
    m_server.SetReply("/missing", HttpReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));
    const std::function<void()> handOver[] = {
        [] {},
        [&] { m_downloader.Reset(); },
        [&] {
            m_downloader.Release();
            ASSERT_TRUE(dltest::WaitReusable(m_downloader));
        },
    };
    for (const auto& between : handOver) {
        EXPECT_TRUE(Fetch(refused).FailureText().startsWith(u"Connect error: "_s));
        between();
        const DownloadResponse page = Fetch(m_server.Url("/page"));
        EXPECT_EQ(page.status.code, 200);
        EXPECT_EQ(page.announcedLength, 11);
        EXPECT_TRUE(page.lastError.isEmpty()) << page.lastError.toStdString();
        EXPECT_TRUE(page.FailureText().isEmpty());

        EXPECT_EQ(Fetch(m_server.Url("/short")).lastError,
                  u"Receive error: the reply ended after 10 of 50 bytes"_s);
        between();
        const DownloadResponse gone = Fetch(m_server.Url("/gone"));
        EXPECT_TRUE(gone.lastError.isEmpty()) << gone.lastError.toStdString();
        EXPECT_EQ(gone.announcedLength, std::nullopt);
        EXPECT_EQ(gone.FailureText(), u"Receive error: the server closed the connection without a reply"_s);
        between();
        // The server's own word comes first; the earlier job's failure is no part of it.
        const DownloadResponse missing = Fetch(m_server.Url("/missing"));
        EXPECT_TRUE(missing.lastError.isEmpty());
        EXPECT_EQ(missing.FailureText(), u"HTTP error 404 Not Found"_s);
    }
}

// Replies as a careless server sends them: bare line feeds, and a body cut short of its stated length.
TEST_F(DownloaderExchange, BareLineFeedsAndShortBodiesAreReadForWhatTheyAre) {
    m_server.SetReply("/lf", HttpReply::Raw("HTTP/1.0 200 OK\nContent-Type: text/html\n\n<p>page</p>"));
    const DownloadResponse page = Fetch(m_server.Url("/lf"));
    EXPECT_EQ(page.header, u"HTTP/1.0 200 OK\nContent-Type: text/html"_s);
    EXPECT_EQ(page.body, u"<p>page</p>"_s);

    m_server.SetReply("/short", HttpReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n" +
                                               std::string(1000, 'x')));
    const DownloadResponse cut = Fetch(m_server.Url("/short"));
    EXPECT_EQ(cut.raw.size(), 1000);
    EXPECT_EQ(cut.lastError, u"Receive error: the reply ended after 1,000 of 1,000,000 bytes"_s);
}

// The time limits of a reply, shortened: a header that never ends and a body slower than the least rate
// both end; a slow body above that rate arrives whole.
TEST_F(DownloaderExchange, RepliesThatArriveTooSlowlyEnd) {
    m_downloader.SetReplyTimeLimits({.headerDeadlineMs = 1000, .windowMs = 1000, .windowMinBytes = 4096});
    std::string endlessHeader = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 1000; ++i)
        endlessHeader += "X-a: b\r\n";
    HttpReply header = HttpReply::Raw(endlessHeader);
    header.delivery = HttpReply::Delivery::Drip;
    header.dripBytes = 8;
    header.dripDelayMs = 200;
    m_server.SetReply("/header", header);

    HttpReply fast = HttpReply::Page(std::string(20 * 1024, 'f'));
    fast.delivery = HttpReply::Delivery::Drip;
    fast.dripBytes = 1024;
    fast.dripDelayMs = 100;
    m_server.SetReply("/fast", fast);
    HttpReply slow = fast;
    slow.body = std::string(100 * 1024, 's');
    slow.dripDelayMs = 400;
    m_server.SetReply("/slow", slow);

    const struct {
        std::string path;
        QString error;
        int maxMs;
    } cases[] = {
        {"/header", u"Receive error: the header arrived too slowly"_s, 5000},
        {"/fast", {}, 12000},
        {"/slow", u"Receive error: the reply arrives at less than 16 KB a minute"_s, 6000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(m_downloader.Start(Q(m_server.Url(c.path))));
        ASSERT_TRUE(dltest::WaitFinished(m_downloader, 15000));
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(c.maxMs));
        EXPECT_EQ(m_downloader.Response().lastError, c.error);
        EXPECT_EQ(m_downloader.Response().raw.size() == 20 * 1024, c.error.isEmpty());
    }
}

// A reply that keeps above the rate floor still ends at the exchange's overall deadline, keeping what came.
TEST_F(DownloaderExchange, ASteadyDripEndsAtTheDeadline) {
    m_downloader.SetReplyTimeLimits(
        {.headerDeadlineMs = 1000, .windowMs = 1000, .windowMinBytes = 1024, .totalDeadlineMs = 1500});
    HttpReply steady = HttpReply::Page(std::string(1024 * 1024, 's'));
    steady.delivery = HttpReply::Delivery::Drip;
    steady.dripBytes = 1024;
    steady.dripDelayMs = 50;
    m_server.SetReply("/steady", steady);
    const auto started = std::chrono::steady_clock::now();
    const DownloadResponse response = Fetch(m_server.Url("/steady"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(5000));
    EXPECT_EQ(response.lastError, u"Receive error: the reply took longer than 1 seconds"_s);
    EXPECT_GT(response.raw.size(), 10 * 1024);
    EXPECT_LT(response.raw.size(), 1024 * 1024);
}

class DownloaderTls : public DownloaderExchange {
  protected:
    void SetUp() override {
        DownloaderExchange::SetUp();
        m_crawler.m_sslContext = &Trusting(m_certificate);
        m_tlsServer.SetReply("/secure", HttpReply::Page("<p>secure</p>"));
    }

    // A context that trusts certificate, kept for the test's length.
    CSSLContext& Trusting(const twtest::TestCertificate& certificate) {
        QString error;
        EXPECT_TRUE(
            m_contexts.emplace_back().CreateClient(QByteArray::fromStdString(certificate.Pem()), error))
            << error.toStdString();
        return m_contexts.back();
    }

    twtest::TestCertificate m_certificate;
    twtest::HttpServer m_tlsServer{twtest::IpFamily::V4, &m_certificate};
    std::list<CSSLContext> m_contexts;
};

TEST_F(DownloaderTls, HttpsByItsSchemeOnAnyPortWithServerName) {
    EXPECT_EQ(Fetch(m_tlsServer.Url("/secure", "localhost")).body, u"<p>secure</p>"_s);
    EXPECT_EQ(m_tlsServer.ServerNames(), std::vector<std::string>{"localhost"});
    EXPECT_EQ(m_tlsServer.Requests()[0].HeaderValue("Host"),
              "localhost:" + std::to_string(m_tlsServer.Port()));
}

TEST_F(DownloaderTls, RefusedPeersAndPlainRequestsSendNothing) {
    const twtest::TestCertificate stranger;
    const twtest::TestCertificate otherName({"other.test"}, {});
    twtest::HttpServer otherServer(twtest::IpFamily::V4, &otherName);
    const std::string secureUrl = m_tlsServer.Url("/secure", "localhost");
    const struct {
        CSSLContext* context;
        std::string url;
        QString error; // what the last error holds after "Connect error: "
    } cases[] = {
        {&Trusting(stranger), secureUrl, u"certificate verify failed"_s},
        {&Trusting(otherName), otherServer.Url("/", "localhost"), u"hostname mismatch"_s},
        {nullptr, secureUrl, u"no TLS context"_s},
        // Plain http to a TLS port is not turned into TLS.
        {m_crawler.m_sslContext, "http://localhost:" + std::to_string(m_tlsServer.Port()) + "/secure", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        m_crawler.m_sslContext = c.context;
        const int connections = m_tlsServer.ConnectionCount();
        const DownloadResponse response = Fetch(c.url);
        EXPECT_TRUE(response.body.isEmpty());
        if (!c.error.isEmpty()) {
            EXPECT_TRUE(response.lastError.startsWith(u"Connect error: "_s));
            EXPECT_TRUE(response.lastError.contains(c.error)) << response.lastError.toStdString();
        }
        EXPECT_TRUE(c.context || m_tlsServer.ConnectionCount() == connections);
    }
    EXPECT_TRUE(m_tlsServer.Requests().empty());
    EXPECT_TRUE(otherServer.Requests().empty());
}

} // namespace
