#include "parsers/google_search.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::HtmlPage;
using parser_test::S;
using namespace Qt::StringLiterals;

namespace {

using Records = std::vector<CDownloader_Parsers_SE_result>;

QByteArray Ad(const QByteArray& href, const QByteArray& title, const QByteArray& text,
              const QByteArray& shown) {
    return "<li><h3><a href=\"" + href + "\">" + title + "</a></h3>" + text + "<cite>" + shown +
           "</cite></li>\n";
}

QByteArray AdsPage(const QByteArray& top, const QByteArray& side) {
    QByteArray body;
    if (!top.isEmpty())
        body += "<div id=\"tads\"><ol>\n" + top + "</ol></div>\n";
    body += "<div id=\"res\"><ol><li>an organic result</li></ol></div>\n";
    if (!side.isEmpty())
        body += "<table id=\"mbEnd\"><tr><td><ol>\n" + side + "</ol></td></tr></table>\n";
    return HtmlPage(body);
}

Records Parse(const QByteArray& page) {
    Records out(5);
    const auto downloader = DownloadedPage(page);
    EXPECT_TRUE(CDownloader_Parsers::ParseGoogleAds(*downloader, out));
    return out;
}

// Top and side blocks are numbered together from 1; the flag tells the block (1 top, 2 side).
TEST(GoogleAds, BothBlocksNumberedTogetherWithTheirFlags) {
    for (const auto& [tops, sides] : {std::pair{4, 3}, std::pair{0, 2}, std::pair{2, 0}, std::pair{0, 0}}) {
        SCOPED_TRACE(testing::Message() << tops << " top, " << sides << " side");
        QByteArray top;
        QByteArray side;
        for (int i = 1; i <= tops + sides; ++i) {
            const QByteArray n = QByteArray::number(i);
            (i <= tops ? top : side) += Ad("http://ad" + n + ".example/", "Ad " + n, "text", "ad.example");
        }
        const Records out = Parse(AdsPage(top, side));
        ASSERT_EQ(out.size(), static_cast<size_t>(tops + sides));
        for (int i = 0; i < tops + sides; ++i) {
            EXPECT_EQ(out[i].pos, i + 1);
            EXPECT_EQ(out[i].second_flag, i < tops ? 1 : 2);
            EXPECT_EQ(out[i].full_url, u"http://ad%1.example/"_s.arg(i + 1));
            EXPECT_EQ(out[i].title, u"Ad %1"_s.arg(i + 1));
        }
    }
}

TEST(GoogleAds, FieldsAndAdLines) {
    const Records out = Parse(AdsPage(
        Ad("/aclk?sa=l&amp;ai=Cx1&amp;q=http://www.shop.example/%3Fref%3Dad%26k%3Dblue+widgets&amp;num=1",
           "Blue <b>Widgets</b> Sale", "<br>Cheap blue widgets.<br>Free shipping today - ",
           "www.shop.example"),
        {}));
    ASSERT_EQ(out.size(), 1u);
    const CDownloader_Parsers_SE_result& r = out[0];
    EXPECT_EQ(r.title, S(u"Blue Widgets Sale"));
    EXPECT_EQ(r.full_url, S(u"http://www.shop.example/?ref=ad&k=blue widgets"));
    EXPECT_EQ(r.show_url, S(u"www.shop.example"));
    EXPECT_EQ(r.body, S(u"Cheap blue widgets. \r\nFree shipping today"));
    EXPECT_EQ(r.ad_line1, S(u"Cheap blue widgets. "));
    EXPECT_EQ(r.ad_line2, S(u"Free shipping today"));
}

TEST(GoogleAds, TargetAddressRules) {
    auto targetOf = [](const QByteArray& href) {
        const Records out = Parse(AdsPage(Ad(href, "t", "x", "c"), {}));
        EXPECT_EQ(out.size(), 1u);
        return out.empty() ? QString() : out[0].full_url;
    };
    // The target is the value after the marker, up to the next parameter.
    EXPECT_EQ(targetOf("/aclk?a=1&amp;q=http%3A%2F%2Fx.example%2F&amp;b=2"), S(u"http://x.example/"));
    // At the end of the link there is nothing to cut.
    EXPECT_EQ(targetOf("/aclk?a=1&amp;q=http://y.example/a+b"), S(u"http://y.example/a b"));
    // Without the marker the link is only decoded.
    EXPECT_EQ(targetOf("http://plain.example/a+b%21?c=1&amp;d=2"),
              S(u"http://plain.example/a b!?c=1&amp;d=2"));
    EXPECT_EQ(targetOf(""), QString());
}

TEST(GoogleAds, AdWithoutHeadingKeepsItsPlaceWithEmptyTitle) {
    const Records out = Parse(AdsPage(
        "<li>Just text<cite>bare.example</cite></li>\n" + Ad("http://b.example/", "B", "y", "b"), {}));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(out[0].title.isEmpty());
    EXPECT_TRUE(out[0].full_url.isEmpty());
    EXPECT_EQ(out[0].show_url, S(u"bare.example"));
    EXPECT_EQ(out[0].body, S(u"Just text"));
    EXPECT_EQ(out[1].pos, 2);
}

struct Count {
    bool found;
    int first;
    int last;
    float total;
};

Count CountOf(const QByteArray& page) {
    Count count{false, 0, 0, 0.0f};
    const auto downloader = DownloadedPage(page);
    count.found =
        CDownloader_Parsers::ParseGoogleResultCount(*downloader, &count.first, &count.last, &count.total);
    return count;
}

QByteArray CountPage(const QByteArray& line) {
    return HtmlPage("<div id=\"ssb\"><div><p id=\"resultStats\">" + line + "</p></div></div>");
}

// A line without total keeps -2 for it; other wording ("About" with a capital is not the word that is
// removed) reads nothing; a missing line gives no data and false.
TEST(GoogleResultCount, RangeAndTotalFromTheStatisticsLine) {
    const struct {
        QByteArray page;
        Count expected;
    } rows[] = {
        {CountPage(" Results <b>1</b> - <b>10</b> of about <b>1,230,000</b> for <b>x</b>. "),
         {true, 1, 10, 1230000.0f}},
        {CountPage("Results <b>11</b> - <b>13</b> for <b>rare words</b>"), {true, 11, 13, -2.0f}},
        {CountPage("About 5,000 results"), {true, -2, -2, -2.0f}},
        {HtmlPage("<div id=\"ssb\">no paragraph</div><p>Results 1 - 10 of 20</p>"), {false, -2, -2, -2.0f}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.page.toStdString());
        const Count count = CountOf(row.page);
        EXPECT_EQ(count.found, row.expected.found);
        EXPECT_EQ(count.first, row.expected.first);
        EXPECT_EQ(count.last, row.expected.last);
        EXPECT_FLOAT_EQ(count.total, row.expected.total);
    }
}

TEST(GoogleResultCount, NullOutputsAreSkipped) {
    const auto downloader = DownloadedPage(CountPage("Results 1 - 10 of 20"));
    float total = 0.0f;
    EXPECT_TRUE(CDownloader_Parsers::ParseGoogleResultCount(*downloader, nullptr, nullptr, &total));
    EXPECT_FLOAT_EQ(total, 20.0f);
    int last = 0;
    EXPECT_TRUE(CDownloader_Parsers::ParseGoogleResultCount(*downloader, nullptr, &last, nullptr));
    EXPECT_EQ(last, 10);
}

} // namespace
