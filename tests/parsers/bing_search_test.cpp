#include "parsers/bing_search.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::HtmlPage;
using parser_test::S;
using namespace Qt::StringLiterals;

namespace {

using Records = std::vector<CDownloader_Parsers_SE_result>;

QByteArray AdItem(int n) {
    const QByteArray number = QByteArray::number(n);
    return "<li><h3>Ad " + number + "</h3><a href=\"http://ads.example/c?x=1&amp;q=http%3A%2F%2Fshop" +
           number + ".example%2F&amp;y=2\">go</a><p>Line one<br>Line two -</p><cite>shop" + number +
           ".example - Sponsored</cite></li>";
}

QByteArray AdBlock(const QByteArray& className, int from, int to) {
    QByteArray block = "<div class=\"" + className + " wide\"><ul>";
    for (int n = from; n <= to; ++n)
        block += AdItem(n);
    return block + "</ul></div>\n";
}

QByteArray CountLine(const QByteArray& text) {
    return "<div id=\"results_container\"><span id=\"count\">" + text + "</span></div>";
}

TEST(BingAds, ThreeBlocksNumberedTogetherWithTheirFlags) {
    const auto page = DownloadedPage(
        HtmlPage(AdBlock("sb_adsW", 1, 3) + AdBlock("sb_adsN", 4, 5) + AdBlock("sb_adsW", 6, 6)));
    Records ads(2);
    EXPECT_TRUE(CDownloader_Parsers::ParseBingAds(*page, ads));
    ASSERT_EQ(ads.size(), 6u);
    const int flags[] = {1, 1, 1, 2, 2, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ads[i].pos, i + 1);
        EXPECT_EQ(ads[i].second_flag, flags[i]);
        EXPECT_EQ(ads[i].title, u"Ad %1"_s.arg(i + 1));
    }
    EXPECT_EQ(ads[5].full_url, S(u"http://shop6.example/"));
    // Every " - " goes from the shown address.
    EXPECT_EQ(ads[5].show_url, S(u"shop6.exampleSponsored"));
    EXPECT_EQ(ads[5].ad_line1, S(u"Line one "));
    EXPECT_EQ(ads[5].ad_line2, S(u"Line two"));
}

// Organic results are numbered from the count line's first result, or from 1 without one.
TEST(BingResults, NumberedFromTheCountLineAndItsGroupedTotal) {
    const QByteArray item = "<li><h3><a href=\"http://red.example/a\">Red</a></h3><p>Best red widgets</p>"
                            "<cite>red.example/a - Cached page</cite></li>";
    const QByteArray list = "<div id=\"results\"><ul>" + item + item + "</ul></div>";
    struct Case {
        QByteArray count;
        int first, last;
        float total;
    };
    for (const Case& c : {Case{CountLine("1-10 of 2.340.000 results"), 1, 10, 2340000.0f},
                          Case{CountLine(" 21 - 30 of 1,234 results "), 21, 30, 1234.0f},
                          Case{CountLine("no results"), -2, -2, -2.0f},
                          Case{"<span id=\"count\">1-10 of 50 results</span>", -2, -2, -2.0f}}) {
        SCOPED_TRACE(c.count.toStdString());
        const auto page = DownloadedPage(HtmlPage(c.count + list));
        int first = 0, last = 0;
        float total = 0;
        EXPECT_EQ(CDownloader_Parsers::ParseBingResultCount(*page, &first, &last, &total),
                  c.count.contains("results_container"));
        EXPECT_EQ(std::tuple(first, last, total), std::tuple(c.first, c.last, c.total));
        Records results;
        EXPECT_TRUE(CDownloader_Parsers::ParseBingResults(*page, results));
        ASSERT_EQ(results.size(), 2u);
        EXPECT_EQ(results[1].pos, std::max(c.first, 1) + 1);
        EXPECT_EQ(results[0].second_flag, -1);
        EXPECT_EQ(results[0].full_url, S(u"http://red.example/a"));
        EXPECT_EQ(results[0].show_url, S(u"red.example/a"));
        EXPECT_EQ(results[0].body, S(u"Best red widgets"));
    }
}

class BingSearchRequest : public service_test::ServiceTest {};

TEST_F(BingSearchRequest, MarketInTheQueryAndInBothCookies) {
    QString url;
    m_crawler.MSN_Country = S(u"English");
    CDownloader_Parsers::BuildBingSearchUrl(url, S(u"x"), -1, -1);
    EXPECT_TRUE(url.endsWith(S(u"&setmkt=en-US&setlang=en")));
    m_crawler.MSN_Country = S(u"x:en-GB:UK");
    CDownloader_Parsers::BuildBingSearchUrl(url, S(u"red widgets"), -1, -1);
    EXPECT_EQ(url,
              S(u"https://www.bing.com/search?q=red%20widgets&first=0&count=10&setmkt=en-GB&setlang=en"));
    // Set for the engine's domain: every host of it gets them.
    const QString cookies = S(u"_FP=mkt=en-GB&ui=en-US;_FS=mkt=en-GB&ui=en-US;");
    EXPECT_EQ(m_crawler.GetCookieHeader(S(u"www.bing.com"), S(u"/"), true), cookies);
    EXPECT_EQ(m_crawler.GetCookieHeader(S(u"cc.bing.com"), S(u"/x"), false), cookies);

    // On an address they are the address's own. A market holding query or cookie separators, a line break
    // or letters beyond ASCII goes escaped, so the request still carries exactly its own fields and cookies;
    // the keyword keeps its own encoding.
    twtest::HttpServer server;
    PointAt(Endpoint::BingWeb, server);
    const struct {
        QString setting;
        std::string market;
    } markets[] = {{S(u"1:a&b;c:x"), "a%26b%3Bc"},
                   {S(u"1:es_ES.x= y\r\nX-Injected/1"), "es_ES.x%3D%20y%0D%0AX-Injected%2F1"},
                   {S(u"9:fr-\u00c7A"), "fr-%C3%87A"}};
    for (const auto& m : markets) {
        m_crawler.MSN_Country = m.setting;
        CDownloader& downloader = TakeDownloader();
        ASSERT_TRUE(CDownloader_Parsers::StartBingSearch(downloader, S(u"blue-\u00e9 b"), 20, 40));
        ASSERT_TRUE(service_test::WaitFinished(downloader));
        const twtest::RecordedRequest request = server.Requests().back();
        EXPECT_EQ(request.target,
                  "/search?q=blue%2D\xC3\xA9%20b&first=40&count=20&setmkt=" + m.market + "&setlang=en");
        EXPECT_EQ(request.HeaderValue("Cookie"),
                  "_FP=mkt=" + m.market + "&ui=en-US;_FS=mkt=" + m.market + "&ui=en-US;");
        downloader.Release();
    }
    EXPECT_EQ(server.Requests().size(), 3u);
}

} // namespace
