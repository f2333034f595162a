// Response processing over canned replies, without a socket.

#include "core/atomic_file.h"
#include "core/limits.h"
#include "net/downloader.h"
#include "net/http_response.h"
#include "tests/support/compression.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Reply(const std::string& head, const std::string& body) {
    return QByteArray::fromStdString(head + "\r\n\r\n" + body);
}

constexpr int kTextAndTree = CDownloader::kRequestGet | CDownloader::kKeepText | CDownloader::kBuildTree;

class ResponseProcessing : public ::testing::Test {
  protected:
    int Process(const QByteArray& raw, const QString& url = u"http://example.com/dir/page.html"_s) {
        return m_downloader.ProcessResponse(raw, kTextAndTree, url);
    }

    CDownloader m_downloader{-1};
};

TEST_F(ResponseProcessing, SplitsHeaderAndBodyAndReadsTheStatus) {
    EXPECT_EQ(Process(Reply("HTTP/1.1 404 Not Found\r\nContent-Type: text/html", "<p>gone</p>")), 404);
    const DownloadResponse response = m_downloader.Response();
    EXPECT_EQ(response.header, u"HTTP/1.1 404 Not Found\r\nContent-Type: text/html"_s);
    EXPECT_EQ(response.body, u"<p>gone</p>"_s);
    EXPECT_EQ(response.raw.size(), 11);
    EXPECT_EQ(response.raw.constData()[11], '\0');
    EXPECT_NE(response.tree.FindFirst({.tag = u"p"_s}), nullptr);
    // The error page is a complete download: the status goes with it, and the taker decides.
    EXPECT_TRUE(response.status.IsError());
    EXPECT_EQ(response.status.ErrorText(), u"HTTP error 404 Not Found"_s);
    EXPECT_TRUE(response.lastError.isEmpty());
}

// The status line as the taker gets it: the code and the reason phrase, stripped of what a hostile server
// could put on the screen; no code for a reply without a status line.
TEST_F(ResponseProcessing, StatusLineIsHandedOverForTheTakerToJudge) {
    const struct {
        std::string reply;
        int code;
        QString errorText; // empty: not an error
    } cases[] = {
        {"HTTP/1.1 200 OK\r\n\r\n<p>x</p>", 200, {}},
        {"HTTP/1.1 302 Found\r\n\r\n", 302, {}},
        {"HTTP/1.0 500\r\n\r\n", 500, u"HTTP error 500"_s},
        {"HTTP/1.1 503  Service\x01 Unavailable  \r\n\r\n", 503, u"HTTP error 503 Service Unavailable"_s},
        {"HTTP/1.1 451 " + std::string(300, 'x') + "\r\n\r\n", 451, u"HTTP error 451 "_s + QString(80, u'x')},
        {"<html>no header at all</html>", 0, {}},
    };
    for (const auto& c : cases) {
        Process(QByteArray::fromStdString(c.reply));
        const HttpStatus& status = m_downloader.Response().status;
        EXPECT_EQ(status.code, c.code) << c.reply;
        EXPECT_EQ(status.IsError() ? status.ErrorText() : QString(), c.errorText) << c.reply;
    }
}

std::string Chunk(const std::string& data) {
    char size[24];
    std::snprintf(size, sizeof size, "%zx\r\n", data.size());
    return size + data + "\r\n0\r\n\r\n";
}

TEST(ResponseDecoding, TransferAndContentCodingsComeOff) {
    const std::string page = "<html><body>" + std::string(5000, 'x') + "</body></html>";
    const std::string gz = twtest::GzipCompress("chunked and zipped");
    std::string corrupt = twtest::GzipCompress(std::string(2000, 'a') + "tail");
    corrupt[corrupt.size() / 2] ^= 0x55;
    corrupt[corrupt.size() / 2 + 1] ^= 0x33;
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked";
    const std::string gzip = "HTTP/1.1 200 OK\r\nContent-Encoding: gzip";
    const std::string cut = "Receive error: ";
    const struct {
        std::string head;
        std::string body;
        std::string raw;   // what the body must become
        std::string error; // the beginning of the last error, or none
    } cases[] = {
        {chunked, "5\r\nhello\r\n0\r\n\r\n", "hello", ""},
        {"HTTP/1.1 200 OK\r\ntransfer-encoding:  Chunked ",
         "3;name=value\r\nabc\r\nA;x\r\n0123456789\r\n0;last\r\nTrailer: x\r\n\r\n", "abc0123456789", ""},
        // Removed once even when declared twice: data that looks like chunk-size lines survives.
        {chunked + "\r\nTransfer-Encoding: chunked", "7\r\n2\r\nab\r\n\r\n0\r\n\r\n", "2\r\nab\r\n", ""},
        // Cut inside a chunk, or a size far beyond what arrived: what arrived is kept.
        {chunked, "a\r\n0123", "0123", cut},
        {chunked, "7fffffffffffffff\r\nxyz", "xyz", cut},
        // Sizes that overflow 64 bits, or are no number at all.
        {chunked, "1ffffffffffffffff0\r\nxyz\r\n0\r\n\r\n", "", cut},
        {chunked, "zz\r\nxyz\r\n", "", cut},
        {chunked, "-5\r\nxyz\r\n", "", cut},
        {gzip, twtest::GzipCompress(page), page, ""},
        {"HTTP/1.1 200 OK\r\nContent-Encoding: deflate", twtest::DeflateCompress(page), page, ""},
        // Compressed and chunked at once: the chunks come off first.
        {chunked + "\r\nContent-Encoding: x-gzip", Chunk(gz), "chunked and zipped", ""},
        // Transfer codings on one line or several, undone right to left, then the content coding.
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked", Chunk(gz), "chunked and zipped", ""},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: deflate\r\nTransfer-Encoding: GZIP,chunked",
         Chunk(twtest::GzipCompress(twtest::DeflateCompress(page))), page, ""},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\nContent-Encoding: deflate",
         twtest::GzipCompress(twtest::DeflateCompress(page)), page, ""},
        // An unknown transfer coding keeps the bytes as far as they were decoded.
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: compress, chunked\r\nContent-Encoding: gzip", Chunk(gz), gz,
         "Receive error: unsupported transfer coding compress"},
        // A broken stream keeps the bytes as received.
        {gzip, corrupt, corrupt, ""},
        {gzip, "plainly not gzip", "plainly not gzip", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head + " / " + c.body.substr(0, 40));
        CDownloader downloader(-1);
        downloader.ProcessResponse(Reply(c.head, c.body), kTextAndTree, u"http://example.com/"_s);
        const DownloadResponse response = downloader.Response();
        EXPECT_EQ(response.raw.toStdString(), c.raw);
        EXPECT_EQ(response.body, QString::fromUtf8(response.raw));
        EXPECT_EQ(c.error.empty() ? response.lastError.isEmpty()
                                  : response.lastError.startsWith(QString::fromStdString(c.error)),
                  true)
            << response.lastError.toStdString();
    }
}

// The body of the final page is checked against a Content-Length the reply states plainly.
TEST(ResponseDecoding, BodyShorterThanItsContentLengthIsKeptWithTheReason) {
    const std::string body(1000, 'b');
    const struct {
        std::string head;
        int budget;
        QString error;
    } cases[] = {
        {"Content-Length: 1000000", 0, u"Receive error: the reply ended after 1,000 of 1,000,000 bytes"_s},
        {"Content-Length: 1001\r\nContent-length:  1001 ", 0,
         u"Receive error: the reply ended after 1,000 of 1,001 bytes"_s},
        {"Content-Length: 1000", 0, {}},
        {"Content-Length: 900", 0, {}},
        // Lengths that are not plain digits, or that disagree, say nothing.
        {"Content-Length: 1001, 1001", 0, {}},
        {"Content-Length: +1001", 0, {}},
        {"Content-Length: 99999999999999999999999", 0, {}},
        {"Content-Length: 1001\r\nContent-Length: 1002", 0, {}},
        // A body in a transfer coding is framed by it, not by the length.
        {"Content-Length: 5000\r\nTransfer-Encoding: identity", 0, {}},
        // A redirect that is followed is no page.
        {"Content-Length: 5000\r\nLocation: /next", 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head);
        CDownloader downloader(-1);
        downloader.m_redirectBudget = c.budget;
        downloader.ProcessResponse(Reply("HTTP/1.1 200 OK\r\n" + c.head, body), kTextAndTree,
                                   u"http://example.com/"_s);
        EXPECT_EQ(downloader.Response().lastError, c.error);
        EXPECT_EQ(downloader.Response().raw.size(), c.budget == 0 ? qsizetype(body.size()) : 0);
    }
}

TEST(ResponseDecoding, PagesOfHttpJobsStopAtTheNodeBudgetFilesNever) {
    QString page;
    for (int i = 0; i <= limits::kMaxPageNodes; ++i)
        page += u"<i>"_s;
    CDownloader downloader(-1);
    downloader.ProcessResponse(Reply("HTTP/1.1 200 OK", page.toStdString()), kTextAndTree,
                               u"http://example.com/"_s);
    EXPECT_EQ(downloader.Response().tree.GetChildren().size(), std::size_t(limits::kMaxPageNodes));
    EXPECT_EQ(downloader.Response().body, page);
    EXPECT_EQ(downloader.Response().lastError,
              u"Receive error: the page is too large to parse whole (more than 500,000 elements)"_s);

    QTemporaryDir dir;
    const QString path = dir.path() + u"/big.zxml"_s;
    ASSERT_TRUE(WriteFileAtomically(path, page.toUtf8()));
    CDownloader document(-1);
    ASSERT_TRUE(document.LoadPageFromFile(path));
    EXPECT_EQ(document.Response().tree.GetChildren().size(), std::size_t(limits::kMaxPageNodes) + 1);
    EXPECT_TRUE(document.Response().lastError.isEmpty());
}

TEST_F(ResponseProcessing, DecompressionBombIsRefusedWithoutInflatingIt) {
    const std::string bomb = twtest::GzipOfRepeatedByte('a', std::size_t(limits::kMaxInflatedBytes) * 3);
    Process(Reply("HTTP/1.1 200 OK\r\nContent-Encoding: gzip", bomb));
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
    EXPECT_EQ(Process(Reply(head, "body")), 200);
    const DownloadResponse response = m_downloader.Response();
    EXPECT_TRUE(response.header.isEmpty());
    EXPECT_TRUE(response.redirectUrl.isEmpty());
    EXPECT_EQ(response.body.size(), qsizetype(head.size() + 4 + 4));
}

TEST_F(ResponseProcessing, BaseFolderComesFromTheUrlOrTheBaseElement) {
    Process(Reply("HTTP/1.1 200 OK", "<p>x</p>"), u"http://example.com/first/second"_s);
    EXPECT_EQ(m_downloader.Response().baseUrl, u"http://example.com/first"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"a.html"_s), u"http://example.com/first/a.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"/top.html"_s), u"http://example.com/top.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"b.html"_s, u"http://other.org/x/y.html"_s),
              u"http://other.org/x/b.html"_s);

    Process(Reply("HTTP/1.1 200 OK", "<p>x</p>"), u"http://example.com"_s);
    EXPECT_EQ(m_downloader.Response().baseUrl, u"http://example.com/"_s);

    Process(Reply("HTTP/1.1 200 OK", "<html><head><base href=\"http://cdn.example.net/s/\"></head></html>"),
            u"http://example.com/a/b.html"_s);
    EXPECT_EQ(m_downloader.ResolveUrl(u"img.png"_s), u"http://cdn.example.net/s/img.png"_s);
}

TEST_F(ResponseProcessing, EmptyInputEndsDoneAndEmpty) {
    Process(Reply("HTTP/1.1 200 OK", "<p>old</p>"));
    EXPECT_EQ(Process(QByteArray()), 200);
    EXPECT_TRUE(m_downloader.IsFinished());
    EXPECT_EQ(m_downloader.Response().status.code, 0) << "no status line came";
    EXPECT_TRUE(m_downloader.Response().body.isEmpty());
    EXPECT_EQ(m_downloader.Response().tree.FindFirst({.tag = u"p"_s}), nullptr);
}

// One rule splits every HTTP reply, whether it is processed from canned bytes or watched arriving in steps.
TEST(HeaderSplit, FirstBlankLineOfAnHttpReplyEndsItsHeader) {
    const struct {
        QByteArray reply;
        QString header;
        QString body;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nA: b\r\n\r\nbody\n\nmore", u"HTTP/1.1 200 OK\r\nA: b"_s, u"body\n\nmore"_s},
        // Bare line feeds, even with a CR LF blank line further on.
        {"HTTP/1.0 200 OK\nA: b\n\n<p>x</p>\r\n\r\ny", u"HTTP/1.0 200 OK\nA: b"_s, u"<p>x</p>\r\n\r\ny"_s},
        {"HTTP/1.0 200 OK\r\nA: b\n\r\nbody", u"HTTP/1.0 200 OK\r\nA: b"_s, u"body"_s},
        // No status line: no header at all.
        {"<html>\r\n\r\n<p>x</p>", {}, u"<html>\r\n\r\n<p>x</p>"_s},
        {"http/1.1 200 OK\r\n\r\nx", {}, u"http/1.1 200 OK\r\n\r\nx"_s},
        {"HTTP/1.1 200 OK\r\n", {}, u"HTTP/1.1 200 OK\r\n"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.toStdString());
        CDownloader downloader(-1);
        downloader.ProcessResponse(c.reply, kTextAndTree, u"http://example.com/"_s);
        EXPECT_EQ(downloader.Response().header, c.header);
        EXPECT_EQ(downloader.Response().body, c.body);

        const HeaderSplit whole = SplitHeaderBlock(c.reply, limits::kHeaderSearchBytes);
        for (qsizetype step = 1; step <= 4; ++step) {
            HeaderEndScanner scanner(limits::kHeaderSearchBytes);
            for (qsizetype fed = 0; fed < c.reply.size() && !scanner.Decided();) {
                fed = std::min(fed + step, c.reply.size());
                scanner.Scan(QByteArrayView(c.reply).first(fed));
            }
            EXPECT_EQ(scanner.Found() ? scanner.HeaderLength() : -1, whole.headerLength) << step;
        }
    }

    HeaderEndScanner limited(50);
    EXPECT_EQ(limited.Scan("HTTP/1.1 200 OK\r\nX: " + QByteArray(100, 'x') + "\r\n\r\nbody"),
              HeaderEndScanner::State::NoHeader);
}

} // namespace
