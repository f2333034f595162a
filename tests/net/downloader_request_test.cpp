#include "net/http_url.h"
#include "tests/net/downloader_test_fixture.h"

using namespace Qt::StringLiterals;
using dltest::Q;
using twtest::HttpReply;

namespace {

// Every request carries these, in this order, between Host and what the job adds.
const std::string kFixedHeaders = "Accept: */*\r\n"
                                  "Accept-Language: *\r\n"
                                  "Accept-Encoding: text/*\r\n"
                                  "Accept-Charset: iso-8859-1; utf-8; *\r\n"
                                  "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)\r\n"
                                  "Connection: close\r\n";

class DownloaderRequest : public dltest::CrawlerTest {
  protected:
    // Runs one job on a fresh slot and returns the request the server saw.
    twtest::RecordedRequest Fetch(const std::string& path, const QString& postData = {}) {
        CDownloader downloader(0, &m_crawler);
        if (!postData.isEmpty())
            downloader.SetPostData(postData);
        EXPECT_TRUE(downloader.Start(Q(m_server.Url(path))));
        EXPECT_TRUE(dltest::WaitFinished(downloader));
        const auto requests = m_server.Requests();
        return requests.empty() ? twtest::RecordedRequest{} : requests.back();
    }

    std::string HostLine() const { return "Host: 127.0.0.1:" + std::to_string(m_server.Port()) + "\r\n"; }

    twtest::HttpServer m_server;
};

TEST_F(DownloaderRequest, PostCarriesTheUtf8BodyAndItsByteCount) {
    const auto request = Fetch("/form", u"q=\u00e4\u20ac&x=1"_s);
    EXPECT_EQ(request.raw, "POST /form HTTP/1.1\r\n" + HostLine() + kFixedHeaders +
                               "Content-Type: application/x-www-form-urlencoded\r\n"
                               "Content-Length: 11\r\n"
                               "Cache-Control: max-age=0;\r\n"
                               "\r\n"
                               "q=\xc3\xa4\xe2\x82\xac&x=1");
}

TEST_F(DownloaderRequest, CookiesOfTheJarGoAfterTheConnectionLine) {
    m_server.SetReply("/set", HttpReply::Page("set")
                                  .Header("Set-Cookie", "first=1; path=/")
                                  .Header("Set-Cookie", "second=2; path=/shop"));
    Fetch("/set");
    const auto shop = Fetch("/shop/cart");
    EXPECT_EQ(shop.HeaderValue("Cookie"), "first=1;second=2;");
    EXPECT_NE(shop.raw.find("Connection: close\r\nCookie: first=1;second=2;\r\nCache-Control"),
              std::string::npos);
    // The path rule keeps the shop's cookie away from other folders.
    EXPECT_EQ(Fetch("/other").HeaderValue("Cookie"), "first=1;");
}

TEST_F(DownloaderRequest, StartOnAFinishedDownloaderDropsTheOldBody) {
    CDownloader downloader(0, &m_crawler);
    downloader.SetPostData(u"a=1"_s);
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/one"))));
    ASSERT_TRUE(dltest::WaitFinished(downloader));
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/two"))));
    ASSERT_TRUE(dltest::WaitFinished(downloader));
    const auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].raw.find("Content-Length"), std::string::npos);
}

// The three request fields set on an idle slot reach the server; the next Start resets the finished slot, and
// with it the fields, to the defaults.
TEST_F(DownloaderRequest, ContentTypeAgentAndRefererLastOneJob) {
    CDownloader downloader(0, &m_crawler);
    downloader.SetContentType(u"application/json; charset=utf-8"_s);
    downloader.SetUserAgent(u"Tarnwick 2.0 probe/\u00e9"_s);
    downloader.SetReferer(u"http://127.0.0.1/from?a=1"_s);
    downloader.SetPostData(u"{}"_s);
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/json"))));
    ASSERT_TRUE(dltest::WaitFinished(downloader));
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/plain"))));
    ASSERT_TRUE(dltest::WaitFinished(downloader));
    const auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].raw, "POST /json HTTP/1.1\r\n" + HostLine() +
                                   "Accept: */*\r\n"
                                   "Accept-Language: *\r\n"
                                   "Accept-Encoding: text/*\r\n"
                                   "Accept-Charset: iso-8859-1; utf-8; *\r\n"
                                   "User-Agent: Tarnwick 2.0 probe/\xc3\xa9\r\n"
                                   "Connection: close\r\n"
                                   "Referer: http://127.0.0.1/from?a=1\r\n"
                                   "Content-Type: application/json; charset=utf-8\r\n"
                                   "Content-Length: 2\r\n"
                                   "Cache-Control: max-age=0;\r\n"
                                   "\r\n"
                                   "{}");
    EXPECT_EQ(requests[1].raw,
              "GET /plain HTTP/1.1\r\n" + HostLine() + kFixedHeaders + "Cache-Control: max-age=0;\r\n\r\n");
}

TEST_F(DownloaderRequest, UrlsThatCouldInjectLinesOrAreNotHttpEndEmptyUnsent) {
    const QString base = Q(m_server.Url(""));
    for (const QString& url :
         {base + u"/a\r\nX-Injected: 1"_s, base + u"/a\nb"_s, base + u"/a"_s + QChar(u'\0') + u"b"_s,
          u"ftp://127.0.0.1:%1/file"_s.arg(m_server.Port())}) {
        CDownloader downloader(0, &m_crawler);
        ASSERT_TRUE(downloader.Start(url));
        ASSERT_TRUE(dltest::WaitFinished(downloader));
        const DownloadResponse response = downloader.Response();
        EXPECT_TRUE(response.body.isEmpty());
        EXPECT_TRUE(response.header.isEmpty());
        EXPECT_TRUE(response.lastError.startsWith(u"Connect error: "_s));
    }
    EXPECT_EQ(m_server.ConnectionCount(), 0);
}

TEST(HttpUrl, SplitsWhatARequestNeedsAndRejectsTheRest) {
    const struct {
        QString url;
        bool tls;
        QString host;
        int port;
        QString object;
        QString hostHeader;
    } cases[] = {
        {u"HTTPS://user:pw@Example.com/a/b?c=d#frag"_s, true, u"Example.com"_s, 443, u"/a/b?c=d"_s,
         u"Example.com"_s},
        // TLS follows the scheme, not the port.
        {u"http://example.com:443?q=1"_s, false, u"example.com"_s, 443, u"/?q=1"_s, u"example.com:443"_s},
        {u"http://[::1]:81/x"_s, false, u"::1"_s, 81, u"/x"_s, u"[::1]:81"_s},
    };
    for (const auto& c : cases) {
        const HttpUrlParts parts = SplitHttpUrl(c.url);
        EXPECT_TRUE(parts.valid) << c.url.toStdString();
        EXPECT_EQ(std::tie(parts.tls, parts.host, parts.port, parts.object, parts.hostHeader),
                  std::tie(c.tls, c.host, c.port, c.object, c.hostHeader))
            << c.url.toStdString();
    }
    for (const QString& url :
         {u"example.com/a"_s, u"ftp://example.com/"_s, u"http:///path"_s, u"http://host:0/"_s,
          u"http://host:65536/"_s, u"http://host:8x/"_s, u"http://[::1/"_s})
        EXPECT_FALSE(SplitHttpUrl(url).valid) << url.toStdString();
}

} // namespace
