#include "parsers/yahoo_search.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::HtmlPage;
using parser_test::S;
using namespace Qt::StringLiterals;

namespace {

using Records = std::vector<CDownloader_Parsers_SE_result>;

class YahooSearchRequest : public service_test::ServiceTest {
  protected:
    static QString UrlFor(const QString& keyword, int count = -1, int start = -1) {
        QString url;
        CDownloader_Parsers::BuildYahooSearchUrl(url, keyword, count, start);
        return url;
    }
};

TEST_F(YahooSearchRequest, CountStartAndPercentEncodedRegion) {
    EXPECT_TRUE(UrlFor(S(u"red widgets")).endsWith(S(u"/search?ei=UTF-8&p=red%20widgets&b=1&n=10&vc=us")));
    EXPECT_TRUE(UrlFor(S(u"x"), 20, 40).endsWith(S(u"&p=x&b=41&n=20&vc=us")));
    // The setting is the user's text: whatever its first two characters are, they cannot end the value.
    const std::pair<QString, QString> regions[] = {
        {S(u"GB_United Kingdom"), S(u"&vc=gb")}, {S(u"A&B_odd"), S(u"&vc=a%26")}, {S(u"#"), S(u"&vc=%23")}};
    for (const auto& [setting, query] : regions) {
        m_crawler.Yahoo_Country = setting;
        EXPECT_TRUE(UrlFor(S(u"x")).endsWith(query)) << setting.toStdString();
    }
}

QByteArray Ad(int n, bool withText = true) {
    const QByteArray number = QByteArray::number(n);
    return "<li><a href=\"http://ads.example/c?x=1&amp;q=http%3A%2F%2Fshop" + number +
           ".example%2F&amp;y=2\">Ad " + number + "</a>" +
           (withText ? "<div>Line one<br>Line two - <a href=\"/more\">more</a></div>" : "") + "<em>shop" +
           number + ".example</em></li>";
}

TEST(YahooAds, DroppedAdKeepsTheNumbersAndBlocksOfTheOthers) {
    // Top block: ads 1 and 2 (2 has no text); side block: 3; a further block: 4.
    const auto page = DownloadedPage(HtmlPage("<div class=\"bbox top\"><ul>" + Ad(1) + Ad(2, false) +
                                              "</ul></div><div id=\"right\"><ul>" + Ad(3) +
                                              "</ul></div><div class=\"bbox\"><ul>" + Ad(4) + "</ul></div>"));
    Records ads(2);
    EXPECT_TRUE(CDownloader_Parsers::ParseYahooAds(*page, ads));
    ASSERT_EQ(ads.size(), 3u);
    const int positions[] = {1, 3, 4};
    const int flags[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ads[i].pos, positions[i]);
        EXPECT_EQ(ads[i].second_flag, flags[i]);
        EXPECT_EQ(ads[i].title, u"Ad %1"_s.arg(positions[i]));
        EXPECT_EQ(ads[i].full_url, u"http://shop%1.example/"_s.arg(positions[i]));
        EXPECT_EQ(ads[i].show_url, u"shop%1.example"_s.arg(positions[i]));
    }
    EXPECT_EQ(ads[0].body, S(u"Line one \r\nLine two"));
    EXPECT_EQ(ads[0].ad_line1, S(u"Line one "));
    EXPECT_EQ(ads[0].ad_line2, S(u"Line two"));
}

QByteArray Result(const QByteArray& href, const QByteArray& title) {
    return "<li><div><h3><a href=\"" + href + "\">" + title +
           "</a></h3></div><div class=\"abstr\">Fresh widgets<br>daily - </div>"
           "<span class=\"url\">www.widgets.example - 12k - <a href=\"/cache\">Cached</a></span></li>";
}

TEST(YahooResults, RedirectLinksUnwrappedAndNumberedFromTheCountLine) {
    const auto page = DownloadedPage(HtmlPage(
        "<div id=\"results\"><p><span id=\"infotext\">11 - 12 of about 345 for widgets</span></p></div>"
        "<div id=\"web\"><ol>" +
        Result("http://rds.yahoo.com/_ylt=A0x/SIG=1x/EXP=9/**http%3a//www.widgets.example/a+b%3Fc%3D1",
               "One") +
        Result("http://plain.example/red+blue", "Two") + "</ol></div>"));
    Records results(4);
    EXPECT_TRUE(CDownloader_Parsers::ParseYahooResults(*page, results));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].pos, 11);
    EXPECT_EQ(results[1].pos, 12);
    EXPECT_EQ(results[0].second_flag, -1);
    EXPECT_EQ(results[0].title, S(u"One"));
    EXPECT_EQ(results[0].full_url, S(u"http://www.widgets.example/a b?c=1"));
    EXPECT_EQ(results[1].full_url, S(u"http://plain.example/red blue"));
    EXPECT_EQ(results[0].show_url, S(u"www.widgets.example"));
    EXPECT_EQ(results[0].body, S(u"Fresh widgets \r\ndaily"));
    EXPECT_EQ(results[0].ad_line2, S(u"daily"));

    // Without a count line the numbers start at 1.
    EXPECT_TRUE(CDownloader_Parsers::ParseYahooResults(
        *DownloadedPage(HtmlPage("<div id=\"web\"><ol>" + Result("http://x.example/", "X") + "</ol></div>")),
        results));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].pos, 1);
}

// A count line whose first number leaves no room to number every result on from it is no real count line:
// the results are numbered from 1, as without one.
TEST(YahooResults, FirstShownTooLargeToNumberOnFromCountsFromOne) {
    const QByteArray results = "<div id=\"web\"><ol>" + Result("http://a.example/", "A") +
                               Result("http://b.example/", "B") + "</ol></div>";
    Records records;
    for (const auto& [first, positions] : {std::pair{"2147483646", std::pair{2147483646, 2147483647}},
                                           std::pair{"2147483647", std::pair{1, 2}}}) {
        EXPECT_TRUE(CDownloader_Parsers::ParseYahooResults(
            *DownloadedPage(HtmlPage("<div id=\"results\"><span id=\"infotext\">" + QByteArray(first) +
                                     " - 5 of 9</span></div>" + results)),
            records));
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].pos, positions.first) << first;
        EXPECT_EQ(records[1].pos, positions.second) << first;
    }
}

TEST(YahooLinks, UnwrapRules) {
    const std::pair<QString, QString> rows[] = {
        {S(u"http://rds.yahoo.com/_ylt=A/**http%3a//x.example/p%3Fq%3D1"), S(u"http://x.example/p?q=1")},
        // A link still on the redirect server after decoding gives its href value.
        {S(u"http://rds.yahoo.com/click?u=1&href=http://y.example/&sig=2"), S(u"http://y.example/")},
        {S(u"http://rds.yahoo.com/click?u=1&sig=2"), S(u"http://rds.yahoo.com/click?u=1")},
        // Other hosts are only decoded, plus signs becoming blanks.
        {S(u"http://plain.example/a+b?href=z&k=1"), S(u"http://plain.example/a b?href=z&k=1")},
        {S(u"http://rds.example.org/a&b"), S(u"http://rds.example.org/a&b")},
        {QString(), QString()},
    };
    for (const auto& [link, target] : rows)
        EXPECT_EQ(CDownloader_Parsers::UnwrapYahooLink(link), target) << link.toStdString();
}

TEST(YahooResultCount, RangeAndTotalFromTheInfoLine) {
    auto page = [](const QByteArray& line) {
        return HtmlPage("<div id=\"results\"><div><span id=\"infotext\">" + line + "</span></div></div>");
    };
    const struct {
        QByteArray page;
        bool found;
        int first, last;
        float total;
    } rows[] = {
        {page(" 1 - 10 of about 1,230,000 for <b>x</b> "), true, 1, 10, 1230000.0f},
        {page("About 5,000 results"), true, -2, -2, -2.0f},
        {HtmlPage("<span id=\"infotext\">1 - 10 of 20</span>"), false, -2, -2, -2.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.page.toStdString());
        int first = 0;
        int last = 0;
        float total = 0.0f;
        const auto downloader = DownloadedPage(row.page);
        EXPECT_EQ(CDownloader_Parsers::ParseYahooResultCount(*downloader, &first, &last, &total), row.found);
        EXPECT_EQ(first, row.first);
        EXPECT_EQ(last, row.last);
        EXPECT_FLOAT_EQ(total, row.total);
        EXPECT_EQ(CDownloader_Parsers::ParseYahooResultCount(*downloader, nullptr, nullptr, &total),
                  row.found);
    }
}

} // namespace
