#include "parsers/bing_search.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>

using parser_test::downloadedPage;
using parser_test::htmlPage;
using parser_test::s;
using namespace Qt::StringLiterals;

namespace {

using Records = std::vector<CDownloader_Parsers_SE_result>;

QByteArray adItem(int n) {
    const QByteArray number = QByteArray::number(n);
    return "<li><h3>Ad " + number + "</h3><a href=\"http://ads.example/c?x=1&amp;q=http%3A%2F%2Fshop" +
           number + ".example%2F&amp;y=2\">go</a><p>Line one<br>Line two -</p><cite>shop" + number +
           ".example - Sponsored</cite></li>";
}

QByteArray adBlock(const QByteArray& className, int from, int to) {
    QByteArray block = "<div class=\"" + className + " wide\"><ul>";
    for (int n = from; n <= to; ++n)
        block += adItem(n);
    return block + "</ul></div>\n";
}

QByteArray countLine(const QByteArray& text) {
    return "<div id=\"results_container\"><span id=\"count\">" + text + "</span></div>";
}

TEST(BingAds, ThreeBlocksNumberedTogetherWithTheirFlags) {
    const auto page = downloadedPage(
        htmlPage(adBlock("sb_adsW", 1, 3) + adBlock("sb_adsN", 4, 5) + adBlock("sb_adsW", 6, 6)));
    Records ads(2);
    EXPECT_TRUE(CDownloader_Parsers::ParseBingAds(*page, ads));
    ASSERT_EQ(ads.size(), 6u);
    const int flags[] = {1, 1, 1, 2, 2, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ads[i].pos, i + 1);
        EXPECT_EQ(ads[i].second_flag, flags[i]);
        EXPECT_EQ(ads[i].title, u"Ad %1"_s.arg(i + 1));
    }
    EXPECT_EQ(ads[5].full_url, s(u"http://shop6.example/"));
    // Every " - " goes from the shown address.
    EXPECT_EQ(ads[5].show_url, s(u"shop6.exampleSponsored"));
    EXPECT_EQ(ads[5].ad_line1, s(u"Line one "));
    EXPECT_EQ(ads[5].ad_line2, s(u"Line two"));
}

TEST(BingResults, NumberedFromTheCountLine) {
    const QByteArray item = "<li><h3><a href=\"http://red.example/a\">Red widgets</a></h3>"
                            "<p>Best red widgets</p><cite>red.example/a - Cached page</cite></li>";
    Records results;
    const auto page = downloadedPage(htmlPage(countLine("11-12 of 120 results") + "<div id=\"results\"><ul>" +
                                              item + item + "</ul></div>"));
    EXPECT_TRUE(CDownloader_Parsers::ParseBingResults(*page, results));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].pos, 11);
    EXPECT_EQ(results[1].pos, 12);
    EXPECT_EQ(results[0].second_flag, -1);
    EXPECT_EQ(results[0].full_url, s(u"http://red.example/a"));
    EXPECT_EQ(results[0].show_url, s(u"red.example/a"));
    EXPECT_EQ(results[0].body, s(u"Best red widgets"));

    // Without a count line the numbering starts at 1.
    const auto bare = downloadedPage(htmlPage("<div id=\"results\"><ul>" + item + "</ul></div>"));
    EXPECT_TRUE(CDownloader_Parsers::ParseBingResults(*bare, results));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].pos, 1);
}

TEST(BingResultCount, GroupedTotalsInEitherSeparator) {
    struct Case {
        QByteArray page;
        bool found;
        int first;
        int last;
        float total;
    };
    const Case cases[] = {
        {countLine("1-10 of 2.340.000 results"), true, 1, 10, 2340000.0f},
        {countLine(" 21 - 30 of 1,234 results "), true, 21, 30, 1234.0f},
        {countLine("no results"), true, -2, -2, -2.0f},
        {"<span id=\"count\">1-10 of 50 results</span>", false, -2, -2, -2.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page.toStdString());
        int first = 0;
        int last = 0;
        float total = 0;
        const auto page = downloadedPage(htmlPage(c.page));
        EXPECT_EQ(CDownloader_Parsers::ParseBingResultCount(*page, &first, &last, &total), c.found);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(last, c.last);
        EXPECT_EQ(total, c.total);
    }
}

TEST(BingMarket, FromTheRegionSettingAndItsCookieDomain) {
    EXPECT_EQ(BingMarket(s(u"83:en-US:United States - English")), s(u"en-US"));
    EXPECT_EQ(BingMarket(s(u"7:de-DE")), s(u"de-DE"));
    EXPECT_EQ(BingMarket(s(u"English")), s(u"en-US"));
    for (const auto& [host, domain] : {std::pair{u"www.bing.com"_s, u".bing.com"_s},
                                       {u"bing.com"_s, u".bing.com"_s},
                                       {u"127.0.0.1"_s, QString()},
                                       {u"::1"_s, QString()},
                                       {u"localhost"_s, QString()}})
        EXPECT_EQ(BingCookieDomain(host), domain) << host.toStdString();
}

class BingSearchRequest : public service_test::ServiceTest {};

TEST_F(BingSearchRequest, MarketInTheQueryAndInBothCookies) {
    m_crawler.MSN_Country = s(u"x:en-GB:UK");
    QString url;
    CDownloader_Parsers::BuildBingSearchUrl(url, s(u"red widgets"), -1, -1);
    EXPECT_EQ(url,
              s(u"https://www.bing.com/search?q=red%20widgets&first=0&count=10&setmkt=en%2DGB&setlang=en"));
    const QString cookies = s(u"_FP=mkt=en%2DGB&ui=en-US;_FS=mkt=en%2DGB&ui=en-US;");
    EXPECT_EQ(m_crawler.GetCookieHeader(s(u"www.bing.com"), s(u"/"), true), cookies);
    EXPECT_EQ(m_crawler.GetCookieHeader(s(u"cc.bing.com"), s(u"/x"), false), cookies);

    // A market holding a separator of the query or of a cookie goes percent-encoded.
    twtest::HttpServer server;
    pointAt(Endpoint::BingWeb, server);
    m_crawler.MSN_Country = s(u"1:a&b;c:x");
    CDownloader& downloader = takeDownloader();
    ASSERT_TRUE(CDownloader_Parsers::StartBingSearch(downloader, s(u"blue"), 20, 40));
    ASSERT_TRUE(service_test::waitFinished(downloader));
    ASSERT_EQ(server.Requests().size(), 1u);
    const twtest::RecordedRequest request = server.Requests()[0];
    EXPECT_EQ(request.target, "/search?q=blue&first=40&count=20&setmkt=a%26b%3Bc&setlang=en");
    EXPECT_EQ(request.HeaderValue("Cookie"), "_FP=mkt=a%26b%3Bc&ui=en-US;_FS=mkt=a%26b%3Bc&ui=en-US;");
}

} // namespace
