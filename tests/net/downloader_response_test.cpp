// Response processing over canned replies, without a socket.

#include "core/limits.h"
#include "net/downloader.h"
#include "net/http_response.h"
#include "tests/support/compression.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray reply(const std::string& head, const std::string& body) {
    return QByteArray::fromStdString(head + "\r\n\r\n" + body);
}

constexpr int kTextAndTree = CDownloader::kRequestGet | CDownloader::kKeepText | CDownloader::kBuildTree;

class ResponseProcessing : public ::testing::Test {
  protected:
    int process(const QByteArray& raw, const QString& url = u"http://example.com/dir/page.html"_s) {
        return m_downloader.ProcessResponse(raw, kTextAndTree, url);
    }

    CDownloader m_downloader{-1};
};

TEST_F(ResponseProcessing, SplitsHeaderAndBodyAndReadsTheStatus) {
    EXPECT_EQ(process(reply("HTTP/1.1 404 Not Found\r\nContent-Type: text/html", "<p>gone</p>")), 404);
    const DownloadResponse response = m_downloader.Response();
    EXPECT_EQ(response.header, u"HTTP/1.1 404 Not Found\r\nContent-Type: text/html"_s);
    EXPECT_EQ(response.body, u"<p>gone</p>"_s);
    EXPECT_EQ(response.raw.size(), 11);
    EXPECT_EQ(response.raw.constData()[11], '\0');
    EXPECT_NE(response.tree.FindFirst({.tag = u"p"_s}), nullptr);
}

TEST(ResponseDecoding, TransferAndContentCodingsComeOff) {
    const std::string page = "<html><body>" + std::string(5000, 'x') + "</body></html>";
    const std::string gz = twtest::GzipCompress("chunked and zipped");
    std::string corrupt = twtest::GzipCompress(std::string(2000, 'a') + "tail");
    corrupt[corrupt.size() / 2] ^= 0x55;
    corrupt[corrupt.size() / 2 + 1] ^= 0x33;
    char gzSize[16];
    std::snprintf(gzSize, sizeof gzSize, "%zx", gz.size());
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked";
    const std::string gzip = "HTTP/1.1 200 OK\r\nContent-Encoding: gzip";
    const struct {
        std::string head;
        std::string body;
        std::string raw;   // what the body must become
        bool receiveError; // the reply was cut short or broken
    } cases[] = {
        {chunked, "5\r\nhello\r\n0\r\n\r\n", "hello", false},
        {"HTTP/1.1 200 OK\r\ntransfer-encoding:  Chunked ",
         "3;name=value\r\nabc\r\nA;x\r\n0123456789\r\n0;last\r\nTrailer: x\r\n\r\n", "abc0123456789", false},
        // Removed once even when declared twice: data that looks like chunk-size lines survives.
        {chunked + "\r\nTransfer-Encoding: chunked", "7\r\n2\r\nab\r\n\r\n0\r\n\r\n", "2\r\nab\r\n", false},
        // Cut inside a chunk, or a size far beyond what arrived: what arrived is kept.
        {chunked, "a\r\n0123", "0123", true},
        {chunked, "7fffffffffffffff\r\nxyz", "xyz", true},
        // Sizes that overflow 64 bits, or are no number at all.
        {chunked, "1ffffffffffffffff0\r\nxyz\r\n0\r\n\r\n", "", true},
        {chunked, "zz\r\nxyz\r\n", "", true},
        {chunked, "-5\r\nxyz\r\n", "", true},
        {gzip, twtest::GzipCompress(page), page, false},
        {"HTTP/1.1 200 OK\r\nContent-Encoding: deflate", twtest::DeflateCompress(page), page, false},
        // Compressed and chunked at once: the chunks come off first.
        {chunked + "\r\nContent-Encoding: x-gzip", std::string(gzSize) + "\r\n" + gz + "\r\n0\r\n\r\n",
         "chunked and zipped", false},
        // A broken stream keeps the bytes as received.
        {gzip, corrupt, corrupt, false},
        {gzip, "plainly not gzip", "plainly not gzip", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head + " / " + c.body.substr(0, 40));
        CDownloader downloader(-1);
        downloader.ProcessResponse(reply(c.head, c.body), kTextAndTree, u"http://example.com/"_s);
        const DownloadResponse response = downloader.Response();
        EXPECT_EQ(response.raw.toStdString(), c.raw);
        EXPECT_EQ(response.body, QString::fromUtf8(response.raw));
        EXPECT_EQ(response.lastError.startsWith(u"Receive error: "_s), c.receiveError);
    }
}

TEST_F(ResponseProcessing, DecompressionBombIsRefusedWithoutInflatingIt) {
    const std::string bomb = twtest::GzipOfRepeatedByte('a', std::size_t(limits::kMaxInflatedBytes) * 3);
    process(reply("HTTP/1.1 200 OK\r\nContent-Encoding: gzip", bomb));
    EXPECT_EQ(m_downloader.Response().raw.size(), qsizetype(bomb.size()));
    EXPECT_TRUE(m_downloader.Response().lastError.startsWith(u"Receive error: "_s));

    QByteArray out;
    const std::string gz = twtest::GzipOfRepeatedByte('z', 300000);
    EXPECT_EQ(InflateBody(QByteArrayView(gz.data(), qsizetype(gz.size())), true, 300000, out),
              InflateResult::Done);
    EXPECT_EQ(out.size(), 300000);
    EXPECT_EQ(InflateBody(QByteArrayView(gz.data(), qsizetype(gz.size())), true, 299999, out),
              InflateResult::TooLarge);
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(ResponseProcessing, HeaderBlockBeyondItsLimitMakesTheWholeReplyTheBody) {
    const std::string head = "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nX-Long: " +
                             std::string(limits::kHeaderSearchBytes, 'h');
    m_downloader.m_redirectBudget = 5;
    EXPECT_EQ(process(reply(head, "body")), 200);
    const DownloadResponse response = m_downloader.Response();
    EXPECT_TRUE(response.header.isEmpty());
    EXPECT_TRUE(response.redirectUrl.isEmpty());
    EXPECT_EQ(response.body.size(), qsizetype(head.size() + 4 + 4));
}

TEST_F(ResponseProcessing, RelativeLocationOnTheLastBudgetIsProcessedAsThePage) {
    m_downloader.m_redirectBudget = 1;
    EXPECT_EQ(process(reply("HTTP/1.1 302 Found\r\nLocation: ../other/x.html", "<p>moved</p>"),
                      u"http://example.com/a/b/page.html"_s),
              302);
    EXPECT_EQ(m_downloader.Response().redirectUrl, u"http://example.com/a/other/x.html"_s);
    EXPECT_EQ(m_downloader.Response().body, u"<p>moved</p>"_s);
}

TEST_F(ResponseProcessing, BaseFolderComesFromTheUrlOrTheBaseElement) {
    process(reply("HTTP/1.1 200 OK", "<p>x</p>"), u"http://example.com/first/second"_s);
    EXPECT_EQ(m_downloader.Response().baseUrl, u"http://example.com/first"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"a.html"_s), u"http://example.com/first/a.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"/top.html"_s), u"http://example.com/top.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"b.html"_s, u"http://other.org/x/y.html"_s),
              u"http://other.org/x/b.html"_s);

    process(reply("HTTP/1.1 200 OK", "<p>x</p>"), u"http://example.com"_s);
    EXPECT_EQ(m_downloader.Response().baseUrl, u"http://example.com/"_s);

    process(reply("HTTP/1.1 200 OK", "<html><head><base href=\"http://cdn.example.net/s/\"></head></html>"),
            u"http://example.com/a/b.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"img.png"_s), u"http://cdn.example.net/s/img.png"_s);
}

TEST_F(ResponseProcessing, EmptyInputEndsDoneAndEmpty) {
    process(reply("HTTP/1.1 200 OK", "<p>old</p>"));
    EXPECT_EQ(process(QByteArray()), 200);
    EXPECT_TRUE(m_downloader.IsFinished());
    EXPECT_TRUE(m_downloader.Response().body.isEmpty());
    EXPECT_EQ(m_downloader.Response().tree.FindFirst({.tag = u"p"_s}), nullptr);
}

TEST(HeaderEndScanner, FindsTheFirstBlankLineFedByteByByteWithinItsLimit) {
    const QByteArray text = "HTTP/1.1 200 OK\r\nA: b\r\n\r\nbody\n\nmore";
    HeaderEndScanner scanner(limits::kHeaderSearchBytes);
    qsizetype fedWhenFound = -1;
    for (qsizetype n = 1; n <= text.size() && fedWhenFound < 0; ++n) {
        if (scanner.Scan(QByteArrayView(text).first(n)))
            fedWhenFound = n;
    }
    EXPECT_EQ(fedWhenFound, text.indexOf("body"));
    EXPECT_EQ(scanner.HeaderLength(), text.indexOf("\r\n\r\n"));

    HeaderEndScanner bare(limits::kHeaderSearchBytes);
    EXPECT_TRUE(bare.Scan("HTTP/1.0 200 OK\nA: b\n\nbody"));
    EXPECT_EQ(bare.HeaderLength(), 20);

    HeaderEndScanner limited(50);
    EXPECT_FALSE(limited.Scan(QByteArray(100, 'x') + "\r\n\r\nbody"));
    EXPECT_FALSE(limited.Found());
}

} // namespace
