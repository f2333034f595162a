#include "parsers/google_search.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::HtmlPage;
using parser_test::S;

namespace {

using Records = std::vector<CDownloader_Parsers_SE_result>;

// One organic result in the shape the parser reads: heading link with its click handler, snippet block
// with the shown address and a cache link.
QByteArray Result(const QByteArray& href, const QByteArray& handler, const QByteArray& title,
                  const QByteArray& snippet) {
    return "<li class=\"g\"><h3 class=\"r\"><a href=\"" + href + "\" onmousedown=\"" + handler + "\">" +
           title + "</a></h3><div class=\"s\">" + snippet + "</div></li>\n";
}

QByteArray ResultsPage(const QByteArray& items) {
    return HtmlPage("<div id=\"main\"><div id=\"res\"><ol>\n" + items + "</ol></div></div>");
}

Records Parse(const QByteArray& page) {
    Records out(3); // whatever the caller held before is replaced
    const auto downloader = DownloadedPage(page);
    EXPECT_TRUE(CDownloader_Parsers::ParseGoogleResults(*downloader, out));
    return out;
}

TEST(GoogleResults, FieldsOfOneResult) {
    const Records out = Parse(ResultsPage(
        Result("http://www.widgets.example/blue?x=1&amp;y=2", "return track(this,'','','','1','AbC','0x9')",
               "Blue <em>Widgets</em> &amp; Gadgets",
               "Widgets in every colour.<br>Fast delivery - <cite>www.widgets.example/blue - 12k</cite> - "
               "<a href=\"http://cache.example/\">Cached</a>")));
    ASSERT_EQ(out.size(), 1u);
    const CDownloader_Parsers_SE_result& r = out[0];
    EXPECT_EQ(r.pos, 1);
    EXPECT_EQ(r.second_flag, -1);
    EXPECT_EQ(r.title, S(u"Blue Widgets & Gadgets"));
    EXPECT_EQ(r.full_url, S(u"http://www.widgets.example/blue?x=1&amp;y=2")); // attributes stay raw
    EXPECT_EQ(r.show_url, S(u"www.widgets.example/blue"));
    EXPECT_EQ(r.body, S(u"Widgets in every colour. \r\nFast delivery"));
    EXPECT_EQ(r.ad_line1, S(u"Widgets in every colour. "));
    EXPECT_EQ(r.ad_line2, S(u"Fast delivery"));
}

TEST(GoogleResults, EngineOwnAndAddresslessLinksAreDroppedAndTheRestMoveUp) {
    const QByteArray handler = "return track(this,'','','','7','a','b')";
    const Records out = Parse(ResultsPage(
        Result("http://first.example/", handler, "First", "one") +
        Result("http://news.google.com/news?q=widgets", handler, "News for widgets", "news") +
        "<li class=\"g\"><h3><a name=\"anchor\">No address</a></h3><div class=\"s\">none</div></li>\n" +
        "<li class=\"g\"><div class=\"s\">no heading at all</div></li>\n" +
        Result("http://www.google.com/search?q=more", handler, "More results", "more") +
        Result("http://second.example/", handler, "Second", "two")));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].full_url, S(u"http://first.example/"));
    EXPECT_EQ(out[1].full_url, S(u"http://second.example/"));
    EXPECT_EQ(out[1].title, S(u"Second"));
    EXPECT_EQ(out[1].body, S(u"two"));
}

TEST(GoogleResults, PositionComesFromTheFifthArgumentOfTheClickHandler) {
    auto positionOf = [](const QByteArray& handler) {
        const Records out = Parse(ResultsPage(Result("http://a.example/", handler, "A", "a")));
        EXPECT_EQ(out.size(), 1u);
        return out.empty() ? 0 : out[0].pos;
    };
    EXPECT_EQ(positionOf("return track(this,'','','','4','x')"), 4);
    EXPECT_EQ(positionOf("RETURN Track(this, '', '', '', '12', 'x', 'y');"), 12);
    EXPECT_EQ(positionOf("return track(this,'','','','4')"), -1);        // five arguments are not enough
    EXPECT_EQ(positionOf("return track(this,'','','','four','x')"), -2); // not a number
    EXPECT_EQ(positionOf("track(this,'','','','4','x')"), -1);           // no "return "
    EXPECT_EQ(positionOf(""), -1);
}

TEST(GoogleResults, SnippetKeepsOnlyItsOwnTextAndCutsTrailingDashes) {
    const Records out = Parse(ResultsPage(Result(
        "http://a.example/", "", "A",
        "  Plain snippet text<table><tr><td>table text</td></tr></table> -- <cite>a.example</cite> - ")));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].body, S(u"Plain snippet text"));
    EXPECT_TRUE(out[0].ad_line1.isEmpty());
    EXPECT_TRUE(out[0].ad_line2.isEmpty());
    EXPECT_EQ(out[0].show_url, S(u"a.example"));
}

TEST(GoogleResults, PageWithoutResultBlockGivesNoResults) {
    EXPECT_TRUE(
        Parse(HtmlPage("<div id=\"other\"><ol>" + Result("http://a.example/", "", "A", "a") + "</ol></div>"))
            .empty());
    EXPECT_TRUE(Parse(QByteArray()).empty());
}

TEST(GoogleResults, UnfinishedDownloaderReadsAsEmptyPage) {
    CDownloader idle(-1);
    Records out(2);
    EXPECT_TRUE(CDownloader_Parsers::ParseGoogleResults(idle, out));
    EXPECT_TRUE(out.empty());
}

} // namespace
