#include "parsers/yahoo_marketing.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>
#include <limits>
#include <regex>

using parser_test::DownloadedPage;
using parser_test::S;
using Row = CDownloader_Parsers_Adwords_result;

namespace {

const std::string kSuggestionPath = "/adui/campaign/kwSuggestionAjaxProcessor.do";

// The sign-in host and the suggestion host as two fixture servers; the login answers 302 to the other host,
// which answers 302 again before its start page.
class YahooMarketingExchange : public service_test::ServiceTest {
  protected:
    void SetUp() override {
        ServiceTest::SetUp();
        m_signIn.SetReply("/adui/signin/displaySignin.do", twtest::HttpReply::Page("<form></form>"));
        m_signIn.SetReply("/adui/servlet/login",
                          twtest::HttpReply::Redirect(302, m_tool.Url("/adui/account/start.do")));
        m_tool.SetReply("/adui/account/start.do", twtest::HttpReply::Redirect(302, "/adui/campaign/home.do"));
        m_tool.SetReply("/adui/campaign/home.do", twtest::HttpReply::Page("welcome"));
        m_tool.SetReply(kSuggestionPath,
                        twtest::HttpReply::Page("<?xml version=\"1.0\"?><RESULT><KEYWORDS>"
                                                "<KEYWORD TEXT=\"red widgets\" maxRange=\"1200\"/>"
                                                "<KEYWORD TEXT=\"salt &amp; pepper\" maxRange=\"35.5\"/>"
                                                "<KEYWORD maxRange=\"7\"/>"
                                                "<KEYWORD text=\"cheap widgets\"/>"
                                                "</KEYWORDS></RESULT>",
                                                "text/xml"));
        PointAt(Endpoint::YahooMarketingSignIn, m_signIn);
        PointAt(Endpoint::YahooMarketing, m_tool);
    }

    // Steps the run as the project tick does until it reports the reply; false when it never does.
    static bool RunToReply(CDownloader& downloader, const QString& user, const QString& password,
                           const QString& keywords, bool keywordsOnly) {
        return service_test::WaitFor([&] {
            return CDownloader_Parsers::StartYahooMarketingKeywords(downloader, user, password, keywords,
                                                                    keywordsOnly) ==
                   CDownloader_Parsers::StepResult::ReplyIn;
        });
    }

    std::string Port(const twtest::HttpServer& server) const { return std::to_string(server.Port()); }

    twtest::HttpServer m_signIn;
    twtest::HttpServer m_tool;
};

TEST_F(YahooMarketingExchange, SignInLoginThroughRedirectsThenSuggestionsShared) {
    CDownloader& downloader = TakeDownloader();
    ASSERT_TRUE(RunToReply(downloader, S(u"ann@example.test"), S(u"p&ss w"), S(u"red widgets"), false));
    EXPECT_EQ(g_searchParsers.m_yahoo.m_downloaderIndex, -1);

    const auto signIn = m_signIn.Requests();
    ASSERT_EQ(signIn.size(), 2u);
    EXPECT_EQ(signIn[0].method, "GET");
    EXPECT_EQ(signIn[1].method, "POST");
    EXPECT_EQ(signIn[1].target, "/adui/servlet/login");
    EXPECT_EQ(signIn[1].body,
              "u=ann%40example%2Etest&p=p%26ss%20w&l=http%3A%2F%2F127%2E0%2E0%2E1%3A" + Port(m_tool) +
                  "%2Fadui%2Fsignin%2FprocessSignin%2Edo%3FJS%5FENABLED%3Dtrue&lf=http%3A%2F%2F127%2E0%"
                  "2E0%2E1%3A" +
                  Port(m_signIn) + "%2Fadui%2Fsignin%2FloadSignin%2Edo%3FJS%5FENABLED%3Dtrue&JS_ENABLE=true");

    const auto tool = m_tool.Requests();
    ASSERT_EQ(tool.size(), 3u);
    EXPECT_EQ(tool[0].target, "/adui/account/start.do");
    EXPECT_EQ(tool[1].target, "/adui/campaign/home.do");
    EXPECT_EQ(tool[2].method, "POST");
    EXPECT_EQ(tool[2].target, kSuggestionPath);
    EXPECT_TRUE(std::regex_match(
        tool[2].body, std::regex("ajax_event=search&requiredPhrases=&url=&positiveKeywords=red%20widgets&"
                                 "selectedKeywords=red%20widgets&excludedPhrases=&__r=a&trnd=[1-9][0-9]{8}")))
        << tool[2].body;

    // Rows are appended to what the caller holds and shared with every project.
    std::vector<Row> rows(1);
    CDownloader_Parsers::ParseYahooKeywordSuggest(downloader, rows);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].keyword, S(u"red widgets"));
    EXPECT_FLOAT_EQ(rows[1].estimatedSearch, 1200.0f);
    EXPECT_EQ(rows[2].keyword, S(u"salt & pepper"));
    EXPECT_FLOAT_EQ(rows[2].estimatedSearch, 35.5f);
    EXPECT_EQ(rows[3].keyword, S(u"cheap widgets"));
    EXPECT_FLOAT_EQ(rows[3].estimatedSearch, -1.0f);
    std::vector<QString> shared;
    for (const Row& row : m_crawler.GetAdwordsResults())
        shared.push_back(row.keyword);
    EXPECT_EQ(shared, (std::vector<QString>{S(u"cheap widgets"), S(u"red widgets"), S(u"salt & pepper")}));
    downloader.Release();
}

// A run dropped after its first step lends nothing to the next one, which signs in with its own account.
TEST_F(YahooMarketingExchange, EveryRunSendsItsOwnTexts) {
    CDownloader& first = TakeDownloader();
    EXPECT_EQ(CDownloader_Parsers::StartYahooMarketingKeywords(first, S(u"ann"), S(u"pw1"), S(u"red"), false),
              CDownloader_Parsers::StepResult::Running);
    ASSERT_TRUE(service_test::WaitFinished(first));
    first.Release();

    CDownloader& second = TakeDownloader();
    ASSERT_TRUE(RunToReply(second, S(u"bob"), S(u"pw2"), S(u"blue"), true));
    second.Release();
    const auto signIn = m_signIn.Requests();
    ASSERT_EQ(signIn.size(), 3u);
    EXPECT_EQ(signIn[2].body.substr(0, signIn[2].body.find("&l=")), "u=bob&p=pw2");
    const auto tool = m_tool.Requests();
    ASSERT_FALSE(tool.empty());
    EXPECT_NE(tool.back().body.find("&positiveKeywords=blue&selectedKeywords=&excludedPhrases="),
              std::string::npos)
        << tool.back().body;
}

// "nan" and "inf" in a suggestion's range read like numbers but are no count of searches.
TEST(YahooSuggestions, SuggestionMaxRangeOfNanOrInfinityIsNoCount) {
    std::vector<Row> rows;
    CDownloader_Parsers::ParseYahooKeywordSuggest(
        *DownloadedPage(
            "<RESULT><KEYWORD TEXT=\"a\" maxRange=\"nan\"/><KEYWORD TEXT=\"b\" maxRange=\"-inf\"/>"
            "<KEYWORD TEXT=\"c\" maxRange=\"1e39\"/></RESULT>"),
        rows);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].estimatedSearch, -1.0f);
    EXPECT_EQ(rows[1].estimatedSearch, -1.0f);
    EXPECT_EQ(rows[2].estimatedSearch, std::numeric_limits<float>::max());
}

} // namespace
