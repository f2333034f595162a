#include "net/http_url.h"
#include "tests/net/downloader_test_fixture.h"

using namespace Qt::StringLiterals;
using dltest::q;
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
    twtest::RecordedRequest fetch(const std::string& path, const QString& postData = {}) {
        CDownloader downloader(0, &m_crawler);
        if (!postData.isEmpty())
            downloader.SetPostData(postData);
        EXPECT_TRUE(downloader.Start(q(m_server.Url(path))));
        EXPECT_TRUE(dltest::waitFinished(downloader));
        const auto requests = m_server.Requests();
        return requests.empty() ? twtest::RecordedRequest{} : requests.back();
    }

    std::string hostLine() const { return "Host: 127.0.0.1:" + std::to_string(m_server.Port()) + "\r\n"; }

    twtest::HttpServer m_server;
};

TEST_F(DownloaderRequest, GetSendsTheFixedHeaderSetInOrder) {
    m_server.SetReply("/page?x=1&y=2", HttpReply::Page("<html></html>"));
    const auto request = fetch("/page?x=1&y=2#part");
    EXPECT_EQ(request.raw, "GET /page?x=1&y=2 HTTP/1.1\r\n" + hostLine() + kFixedHeaders +
                               "Cache-Control: max-age=0;\r\n"
                               "\r\n");
}

TEST_F(DownloaderRequest, PostCarriesTheUtf8BodyAndItsByteCount) {
    const auto request = fetch("/form", u"q=\u00e4\u20ac&x=1"_s);
    EXPECT_EQ(request.raw, "POST /form HTTP/1.1\r\n" + hostLine() + kFixedHeaders +
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
    fetch("/set");
    const auto shop = fetch("/shop/cart");
    EXPECT_EQ(shop.HeaderValue("Cookie"), "first=1;second=2;");
    EXPECT_NE(shop.raw.find("Connection: close\r\nCookie: first=1;second=2;\r\nCache-Control"),
              std::string::npos);
    // The path rule keeps the shop's cookie away from other folders.
    EXPECT_EQ(fetch("/other").HeaderValue("Cookie"), "first=1;");
}

TEST_F(DownloaderRequest, StartOnAFinishedDownloaderDropsTheOldBody) {
    CDownloader downloader(0, &m_crawler);
    downloader.SetPostData(u"a=1"_s);
    ASSERT_TRUE(downloader.Start(q(m_server.Url("/one"))));
    ASSERT_TRUE(dltest::waitFinished(downloader));
    ASSERT_TRUE(downloader.Start(q(m_server.Url("/two"))));
    ASSERT_TRUE(dltest::waitFinished(downloader));
    const auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].raw.find("Content-Length"), std::string::npos);
}

TEST_F(DownloaderRequest, UrlsThatCouldInjectLinesAreRefusedUnsent) {
    for (const QString& tail : {u"/a\r\nX-Injected: 1"_s, u"/a\nb"_s, u"/a"_s + QChar(u'\0') + u"b"_s}) {
        CDownloader downloader(0, &m_crawler);
        ASSERT_TRUE(downloader.Start(q(m_server.Url("")) + tail));
        ASSERT_TRUE(dltest::waitFinished(downloader));
        EXPECT_TRUE(downloader.m_body.isEmpty());
        EXPECT_TRUE(downloader.m_header.isEmpty());
        EXPECT_TRUE(downloader.m_lastError.startsWith(u"Connect error: "_s));
    }
    EXPECT_EQ(m_server.ConnectionCount(), 0);
}

TEST_F(DownloaderRequest, OtherSchemesEndEmptyWithoutAConnection) {
    CDownloader downloader(0, &m_crawler);
    ASSERT_TRUE(downloader.Start(u"ftp://127.0.0.1:%1/file"_s.arg(m_server.Port())));
    ASSERT_TRUE(dltest::waitFinished(downloader));
    EXPECT_TRUE(downloader.m_body.isEmpty());
    EXPECT_TRUE(downloader.m_lastError.startsWith(u"Connect error: "_s));
    EXPECT_EQ(m_server.ConnectionCount(), 0);
}

TEST_F(DownloaderRequest, Ipv6LiteralHostsConnectAndNameThemselvesInBrackets) {
    twtest::HttpServer server(twtest::IpFamily::V6);
    server.SetReply("/six", HttpReply::Page("<p>six</p>"));
    CDownloader downloader(0, &m_crawler);
    ASSERT_TRUE(downloader.Start(q(server.Url("/six"))));
    ASSERT_TRUE(dltest::waitFinished(downloader));
    EXPECT_EQ(downloader.m_body, u"<p>six</p>"_s);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].HeaderValue("Host"), "[::1]:" + std::to_string(server.Port()));
}

TEST(HttpUrl, SplitsWhatARequestNeeds) {
    HttpUrlParts parts = SplitHttpUrl(u"HTTPS://user:pw@Example.com/a/b?c=d#frag"_s);
    ASSERT_TRUE(parts.valid);
    EXPECT_TRUE(parts.tls);
    EXPECT_EQ(parts.host, u"Example.com"_s);
    EXPECT_EQ(parts.port, 443);
    EXPECT_EQ(parts.object, u"/a/b?c=d"_s);
    EXPECT_EQ(parts.hostHeader, u"Example.com"_s);

    parts = SplitHttpUrl(u"http://example.com:8080?q=1"_s);
    ASSERT_TRUE(parts.valid);
    EXPECT_FALSE(parts.tls);
    EXPECT_EQ(parts.port, 8080);
    EXPECT_EQ(parts.object, u"/?q=1"_s);
    EXPECT_EQ(parts.hostHeader, u"example.com:8080"_s);

    // TLS follows the scheme, not the port.
    EXPECT_FALSE(SplitHttpUrl(u"http://example.com:443/"_s).tls);
    EXPECT_TRUE(SplitHttpUrl(u"https://example.com:8443/"_s).tls);

    parts = SplitHttpUrl(u"http://[::1]:81/x"_s);
    ASSERT_TRUE(parts.valid);
    EXPECT_EQ(parts.host, u"::1"_s);
    EXPECT_EQ(parts.hostHeader, u"[::1]:81"_s);
}

TEST(HttpUrl, RejectsWhatCannotBeRequested) {
    for (const QString& url :
         {u"example.com/a"_s, u"ftp://example.com/"_s, u"http:///path"_s, u"http://host:0/"_s,
          u"http://host:65536/"_s, u"http://host:8x/"_s, u"http://[::1/"_s}) {
        EXPECT_FALSE(SplitHttpUrl(url).valid) << url.toStdString();
    }
}

} // namespace
