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
    EXPECT_TRUE(m_downloader.IsFinished());
    EXPECT_EQ(m_downloader.m_header, u"HTTP/1.1 404 Not Found\r\nContent-Type: text/html"_s);
    EXPECT_EQ(m_downloader.m_body, u"<p>gone</p>"_s);
    EXPECT_EQ(m_downloader.m_rawLength, 11);
    EXPECT_EQ(m_downloader.m_raw.constData()[11], '\0');
    ASSERT_NE(m_downloader.m_tree.FindFirst({.tag = u"p"_s}), nullptr);
}

TEST_F(ResponseProcessing, ChunkedBodiesLoseTheirCodingAndExtensions) {
    process(reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked", "5\r\nhello\r\n0\r\n\r\n"));
    EXPECT_EQ(m_downloader.m_body, u"hello"_s);
    EXPECT_EQ(m_downloader.m_rawLength, 5);

    process(reply("HTTP/1.1 200 OK\r\ntransfer-encoding:  Chunked ",
                  "3;name=value\r\nabc\r\nA;x\r\n0123456789\r\n0;last\r\nTrailer: x\r\n\r\n"));
    EXPECT_EQ(m_downloader.m_body, u"abc0123456789"_s);
}

TEST_F(ResponseProcessing, ChunkedCodingIsRemovedOnceEvenWhenDeclaredTwice) {
    // Data that itself looks like chunk-size lines must survive.
    process(reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nTransfer-Encoding: chunked",
                  "7\r\n2\r\nab\r\n\r\n0\r\n\r\n"));
    EXPECT_EQ(m_downloader.m_body, u"2\r\nab\r\n"_s);
}

TEST_F(ResponseProcessing, TruncatedAndHostileChunkSizesEndCleanly) {
    // Cut inside a chunk: what arrived is kept.
    process(reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked", "a\r\n0123"));
    EXPECT_EQ(m_downloader.m_body, u"0123"_s);
    EXPECT_TRUE(m_downloader.m_lastError.startsWith(u"Receive error: "_s));

    // A size far beyond the bytes received.
    process(reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked", "7fffffffffffffff\r\nxyz"));
    EXPECT_EQ(m_downloader.m_body, u"xyz"_s);

    // Sizes that overflow 64 bits, or are no number at all.
    for (const char* body : {"1ffffffffffffffff0\r\nxyz\r\n0\r\n\r\n", "zz\r\nxyz\r\n", "-5\r\nxyz\r\n"}) {
        m_downloader.m_lastError.clear();
        process(reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked", body));
        EXPECT_TRUE(m_downloader.m_body.isEmpty()) << body;
        EXPECT_TRUE(m_downloader.m_lastError.startsWith(u"Receive error: "_s)) << body;
    }
}

TEST_F(ResponseProcessing, GzipAndDeflateBodiesAreInflated) {
    const std::string page = "<html><body>" + std::string(5000, 'x') + "</body></html>";
    process(reply("HTTP/1.1 200 OK\r\nContent-Encoding: gzip", twtest::GzipCompress(page)));
    EXPECT_EQ(m_downloader.m_body.size(), qsizetype(page.size()));
    EXPECT_EQ(m_downloader.m_raw.toStdString(), page);

    process(reply("HTTP/1.1 200 OK\r\nContent-Encoding: deflate", twtest::DeflateCompress(page)));
    EXPECT_EQ(m_downloader.m_raw.toStdString(), page);

    // Compressed and chunked at once: the chunks come off first.
    const std::string gz = twtest::GzipCompress("chunked and zipped");
    char size[16];
    std::snprintf(size, sizeof size, "%zx", gz.size());
    process(reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Encoding: x-gzip",
                  std::string(size) + "\r\n" + gz + "\r\n0\r\n\r\n"));
    EXPECT_EQ(m_downloader.m_body, u"chunked and zipped"_s);
}

TEST_F(ResponseProcessing, CorruptGzipKeepsTheBytesAsReceived) {
    std::string gz = twtest::GzipCompress(std::string(2000, 'a') + "tail");
    gz[gz.size() / 2] ^= 0x55;
    gz[gz.size() / 2 + 1] ^= 0x33;
    process(reply("HTTP/1.1 200 OK\r\nContent-Encoding: gzip", gz));
    EXPECT_EQ(m_downloader.m_raw, QByteArray::fromStdString(gz));
    EXPECT_EQ(m_downloader.m_body, QString::fromUtf8(QByteArray::fromStdString(gz)));

    process(reply("HTTP/1.1 200 OK\r\nContent-Encoding: gzip", "plainly not gzip"));
    EXPECT_EQ(m_downloader.m_body, u"plainly not gzip"_s);
}

TEST_F(ResponseProcessing, DecompressionBombIsRefusedWithoutInflatingIt) {
    const std::string bomb = twtest::GzipOfRepeatedByte('a', std::size_t(limits::kMaxInflatedBytes) * 3);
    process(reply("HTTP/1.1 200 OK\r\nContent-Encoding: gzip", bomb));
    EXPECT_TRUE(m_downloader.IsFinished());
    EXPECT_EQ(m_downloader.m_rawLength, qsizetype(bomb.size()));
    EXPECT_TRUE(m_downloader.m_lastError.startsWith(u"Receive error: "_s));
}

TEST_F(ResponseProcessing, BodyExactlyAtTheInflateLimitIsKept) {
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
    EXPECT_TRUE(m_downloader.m_header.isEmpty());
    EXPECT_TRUE(m_downloader.m_redirectUrl.isEmpty());
    EXPECT_EQ(m_downloader.m_body.size(), qsizetype(head.size() + 4 + 4));
}

TEST_F(ResponseProcessing, RelativeLocationOnTheLastBudgetIsProcessedAsThePage) {
    m_downloader.m_redirectBudget = 1;
    EXPECT_EQ(process(reply("HTTP/1.1 302 Found\r\nLocation: ../other/x.html", "<p>moved</p>"),
                      u"http://example.com/a/b/page.html"_s),
              302);
    EXPECT_TRUE(m_downloader.IsFinished());
    EXPECT_EQ(m_downloader.m_redirectUrl, u"http://example.com/a/other/x.html"_s);
    EXPECT_EQ(m_downloader.m_body, u"<p>moved</p>"_s);
}

TEST_F(ResponseProcessing, BaseFolderComesFromTheUrlOrTheBaseElement) {
    process(reply("HTTP/1.1 200 OK", "<p>x</p>"), u"http://example.com/first/second"_s);
    EXPECT_EQ(m_downloader.m_baseUrl, u"http://example.com/first"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"a.html"_s), u"http://example.com/first/a.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"/top.html"_s), u"http://example.com/top.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"b.html"_s, u"http://other.org/x/y.html"_s),
              u"http://other.org/x/b.html"_s);

    process(reply("HTTP/1.1 200 OK", "<p>x</p>"), u"http://example.com"_s);
    EXPECT_EQ(m_downloader.m_baseUrl, u"http://example.com/"_s);

    process(reply("HTTP/1.1 200 OK", "<html><head><base href=\"http://cdn.example.net/s/\"></head></html>"),
            u"http://example.com/a/b.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"img.png"_s), u"http://cdn.example.net/s/img.png"_s);
}

TEST_F(ResponseProcessing, EmptyInputEndsDoneAndEmpty) {
    process(reply("HTTP/1.1 200 OK", "<p>old</p>"));
    EXPECT_EQ(process(QByteArray()), 200);
    EXPECT_TRUE(m_downloader.IsFinished());
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
    EXPECT_EQ(m_downloader.m_tree.FindFirst({.tag = u"p"_s}), nullptr);
}

TEST(HeaderEndScanner, FindsTheFirstBlankLineFedByteByByte) {
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
}

TEST(HeaderEndScanner, LooksNoFurtherThanItsLimit) {
    QByteArray text(100, 'x');
    text += "\r\n\r\nbody";
    HeaderEndScanner scanner(50);
    EXPECT_FALSE(scanner.Scan(text));
    EXPECT_FALSE(scanner.Found());
}

} // namespace
