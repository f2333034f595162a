#include "parsers/google_search.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>

using parser_test::S;

namespace {

class GoogleSearchRequest : public service_test::ServiceTest {
  protected:
    static QString UrlFor(const QString& keyword, int count = -1, int start = -1) {
        QString url;
        CDownloader_Parsers::BuildGoogleSearchUrl(url, keyword, count, start);
        return url;
    }
};

TEST_F(GoogleSearchRequest, QueryFromKeywordCountStartAndRegion) {
    EXPECT_TRUE(UrlFor(S(u"x"), 100, 20).endsWith(S(u"&q=x&start=20&num=100")));

    m_crawler.Google_Country = S(u"GB_United Kingdom");
    EXPECT_TRUE(UrlFor(S(u"x")).contains(S(u"&gl=gb&q=x&")));
    // The all-countries entry has no two-letter code: no region is asked for.
    m_crawler.Google_Country = S(u"* _All Countries and Territories");
    EXPECT_TRUE(UrlFor(S(u"x")).contains(S(u"?hl=en&gl=&q=x&")));
}

TEST_F(GoogleSearchRequest, RequestLineOnTheWireAndTheReplyParsed) {
    twtest::HttpServer server;
    // Letters of any script go out as they are (in UTF-8), every other character escaped.
    const std::string target = "/search?hl=en&gl=us&q=red%20\xC3\xA4pfel%2Bpears&start=0&num=10";
    server.SetReply(
        target, twtest::HttpReply::Page(
                    "<!DOCTYPE html><html><body><div id=\"res\"><ol><li><h3><a href=\"http://r.example/\" "
                    "onmousedown=\"return t(this,'','','','1','x')\">Red</a></h3>"
                    "<div class=\"s\">Apples<cite>r.example</cite></div></li></ol></div></body></html>"));
    PointAt(Endpoint::GoogleWeb, server);

    CDownloader& downloader = TakeDownloader();
    ASSERT_TRUE(CDownloader_Parsers::StartGoogleSearch(downloader, S(u"red \u00e4pfel+pears"), -1, -1));
    ASSERT_TRUE(service_test::WaitFinished(downloader));

    const std::vector<twtest::RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw.substr(0, requests[0].raw.find("\r\n")), "GET " + target + " HTTP/1.1");
    EXPECT_EQ(requests[0].HeaderValue("Host"), "127.0.0.1:" + std::to_string(server.Port()));

    std::vector<CDownloader_Parsers_SE_result> results;
    EXPECT_TRUE(CDownloader_Parsers::ParseGoogleResults(downloader, results));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].pos, 1);
    EXPECT_EQ(results[0].title, S(u"Red"));
    EXPECT_EQ(results[0].show_url, S(u"r.example"));
    downloader.Release();
}

} // namespace
