#include "parsers/alexa_traffic.h"
#include "parsers/ask_search.h"
#include "parsers/wordtracker_suggest.h"
#include "parsers/yahoo_search.h"
#include "parsers/yahoo_site_explorer.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <functional>
#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::HtmlPage;
using parser_test::S;

namespace {

using Start = std::function<bool(CDownloader&)>;

class SiteServices : public service_test::ServiceTest {};

// What each single-request service sends for what it is given.
TEST_F(SiteServices, RequestsOnTheWire) {
    twtest::HttpServer server;
    for (Endpoint endpoint : {Endpoint::YahooWeb, Endpoint::WordtrackerFree, Endpoint::AskWeb,
                              Endpoint::AlexaData, Endpoint::YahooSiteExplorer})
        PointAt(endpoint, server);
    using namespace CDownloader_Parsers;
    const std::pair<Start, std::string> rows[] = {
        {[](CDownloader& d) { return StartYahooSearch(d, S(u"blue+green"), -1, -1); },
         "/search?ei=UTF-8&p=blue%2Bgreen&b=1&n=10&vc=us"},
        {[](CDownloader& d) { return StartWordtrackerSuggest(d, S(u"blue widgets")); },
         "/?suggest=Hit+Me&adult_filter=remove_dubious&seed=blue%20widgets"},
        {[](CDownloader& d) { return StartAskSearch(d, S(u"salt&pepper")); },
         "/web?qsrc=0&o=&q=salt%26pepper"},
        // Traffic ranks are asked by site: lower case without the host's leading "www." (and only that), its
        // port kept; an address whole is asked by its site.
        {[](CDownloader& d) { return StartAlexaQuery(d, S(u"WWW.Example.COM")); },
         "/data?cli=10&dat=nsa&ver=quirk-searchstatus&url=example%2Ecom"},
        {[](CDownloader& d) { return StartAlexaQuery(d, S(u"showww.com")); },
         "/data?cli=10&dat=nsa&ver=quirk-searchstatus&url=showww%2Ecom"},
        {[](CDownloader& d) { return StartAlexaQuery(d, S(u"http://www.www.example:8080/a")); },
         "/data?cli=10&dat=nsa&ver=quirk-searchstatus&url=www%2Eexample%3A8080"},
        // A site without a scheme is asked as an http address.
        {[](CDownloader& d) { return StartSiteExplorer(d, S(u"example.com")); },
         "/search?p=http%3A%2F%2Fexample%2Ecom&fr=sfp&bwm=i"},
        {[](CDownloader& d) { return StartSiteExplorer(d, S(u"https://example.com/a")); },
         "/search?p=https%3A%2F%2Fexample%2Ecom%2Fa&fr=sfp&bwm=i"},
    };
    for (const auto& [start, target] : rows) {
        SCOPED_TRACE(target);
        CDownloader& downloader = TakeDownloader();
        ASSERT_TRUE(start(downloader));
        ASSERT_TRUE(service_test::WaitFinished(downloader));
        downloader.Release();
        ASSERT_FALSE(server.Requests().empty());
        EXPECT_EQ(server.Requests().back().method, "GET");
        EXPECT_EQ(server.Requests().back().target, target);
    }
}

TEST(SiteExplorerReply, LinkingPagesFromTheCountButton) {
    const std::pair<QByteArray, int> rows[] = {
        {"<div id=\"main\"><p><span class=\"btn\">Inlinks (12,345)</span></p></div>", 12345},
        {"<div id=\"main\"><span class=\"btn big\">Inlinks: 7 pages (of 9)</span></div>", 7},
        {"<div id=\"main\"><span class=\"btn\">Inlinks</span></div>", -2},
        {"<div id=\"main\"><span>Inlinks (5)</span></div>", -2},
        {"<span class=\"btn\">Inlinks (5)</span><div id=\"main\"></div>", -2},
    };
    for (const auto& [body, value] : rows)
        EXPECT_EQ(CDownloader_Parsers::ParseYahooBlocks(*DownloadedPage(HtmlPage(body))), value)
            << body.data();
}

TEST(TrafficReply, RankFromThePopularityElement) {
    const std::pair<QByteArray, int> rows[] = {
        {"<ALEXA><SD><POPULARITY URL=\"example.com/\" TEXT=\"1,234\"/></SD></ALEXA>", 1234},
        {"<alexa><sd><popularity text=\"17\"></popularity></sd></alexa>", 17},
        {"<ALEXA><SD><POPULARITY URL=\"example.com/\" TEXT=\"\"/></SD></ALEXA>", -2},
        {"<ALEXA><SD><REACH RANK=\"5\"/></SD></ALEXA>", -2},
        {"", -2},
    };
    for (const auto& [reply, value] : rows)
        EXPECT_EQ(
            CDownloader_Parsers::ParseKeywordPopularity(*DownloadedPage("<?xml version=\"1.0\"?>" + reply)),
            value)
            << reply.data();
    // A downloader that has not finished reads as an empty reply.
    EXPECT_EQ(CDownloader_Parsers::ParseKeywordPopularity(CDownloader(-1)), -2);
}

} // namespace
