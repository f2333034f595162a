#include "parsers/ad_center_research.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::S;

namespace {

using Rows = std::vector<CDownloader_Parsers_Adwords_result>;

const std::string kSignInPath = "/Default.aspx";
const std::string kResearchPath = "/Research/KeywordResearcher.aspx";

// The research reply: script text carrying the grid in a quoted string, its quotes escaped.
std::string GridReply(const std::string& rows) {
    return "0|updatePanel|grid|Sys.Application.add_init(function(){$create(Grid, {\"data\":\"<gridData>" +
           rows + "</gridData>\");});|";
}

std::string GridRow(const std::string& keyword, const std::string& searches, const std::string& cpc) {
    std::string row = "<R><C n=\\\"Keyword\\\">" + keyword + "</C><C n=\\\"SearchsDisplay\\\">" + searches +
                      "</C><C n=\\\"CTRDisplay\\\">1.5</C>";
    if (!cpc.empty())
        row += "<C n=\\\"CPCDisplay\\\">" + cpc + "</C>";
    return row + "</R>";
}

class AdCenterResearch : public service_test::ServiceTest {
  protected:
    Rows Parse(const std::string& reply) {
        Rows rows(3);
        const auto downloader = DownloadedPage(QByteArray::fromStdString(reply));
        CDownloader_Parsers::ParseAdCenterGrid(*downloader, rows);
        return rows;
    }

    // One call of the step operation, then the wait for the request it started.
    CDownloader_Parsers::StepResult Step(CDownloader& downloader, const QString& user) {
        const CDownloader_Parsers::StepResult result = CDownloader_Parsers::StartAdCenterKeywordResearch(
            downloader, user, S(u"p&w d"), S(u"red widgets"));
        EXPECT_TRUE(service_test::WaitFinished(downloader));
        return result;
    }
};

TEST_F(AdCenterResearch, GridRowsWithACostPerClickAreKeptAndShared) {
    const Rows rows = Parse(GridReply(GridRow("red widgets", "1,234", "0.55") + GridRow("no bid", "10", "") +
                                      GridRow("bad bid", "10", "-1") + GridRow("", "10", "1.00") +
                                      GridRow("blue widgets", "n/a", "2,000.5")));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].keyword, S(u"red widgets"));
    EXPECT_EQ(rows[0].estimatedSearch, 1234.0f);
    EXPECT_FLOAT_EQ(rows[0].avgCTR, 1.5f);
    EXPECT_FLOAT_EQ(rows[0].avgCPC, 0.55f);
    EXPECT_EQ(rows[1].estimatedSearch, -1.0f);
    EXPECT_FLOAT_EQ(rows[1].avgCPC, 2000.5f);
    const Rows shared = m_crawler.GetAdwordsResults();
    ASSERT_EQ(shared.size(), 2u);
    EXPECT_EQ(shared[0].keyword, S(u"blue widgets"));

    // A reply without the grid (a failed sign-in) leaves no rows of an earlier keyword behind.
    for (const std::string& reply :
         {std::string("<html>Sign in failed</html>"), GridReply(GridRow("x", "1", "1")).substr(0, 60),
          std::string("<gridData>")})
        EXPECT_TRUE(Parse(reply).empty()) << reply;
}

// "infinity" or "nan" in a grid cell reads as scanf would, but is no figure: the row keeps the no-data value,
// and a row whose cost per click is no figure is dropped like one without it.
TEST_F(AdCenterResearch, GridFigureOfInfinityOrNanIsNoFigure) {
    const Rows rows =
        Parse(GridReply(GridRow("red widgets", "infinity1.5", "0.30") + GridRow("blue widgets", "10", "nan") +
                        GridRow("green", "-inf", "inf")));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].keyword, S(u"red widgets"));
    EXPECT_EQ(rows[0].estimatedSearch, -1.0f);
    EXPECT_FLOAT_EQ(rows[0].avgCPC, 0.30f);
    EXPECT_EQ(m_crawler.GetAdwordsResults().size(), 1u);
}

TEST_F(AdCenterResearch, SignInLoginResearchPageAndFormPost) {
    twtest::HttpServer server;
    PointAt(Endpoint::BingAdCenter, server);
    server.SetReply(kSignInPath, twtest::HttpReply::Page("<form><input type=hidden name=\"JPGUID\" "
                                                         "value=\"tok 1/2\"></form>"));
    server.SetReply(kResearchPath, twtest::HttpReply::Page(
                                       "<form><input name=\"__VIEWSTATE\" value=\"a b/c\">"
                                       "<input name=\"ctl00$main$keywordCollection$list\" value=\"skip\">"
                                       "<input name=\"ctl00$main$inputcontrol$TextBox1\" value=\"old\">"
                                       "<input name=\"ctl00$main$inputcontrol$group1\" value=\"\">"
                                       "<input name=\"ctl00_header_dummydropdwn_datafld\">"
                                       "<input name=\"ctl00_main_inputcontrol_DropDownControl1_datafld\">"
                                       "<input name=\"ctl00_main_keywordCollection_dd1\" value=\"#@#A#@#B\">"
                                       "<input name=\"__VIEWSTATE\" value=\"again\"></form>"));

    // A run abandoned after its first request lends nothing to the next run, on another downloader.
    CDownloader& abandoned = TakeDownloader();
    EXPECT_EQ(Step(abandoned, S(u"ann")), CDownloader_Parsers::StepResult::Running);
    CDownloader& downloader = TakeDownloader();
    EXPECT_EQ(Step(downloader, S(u"bob@example.com")), CDownloader_Parsers::StepResult::Running);
    // The login's cookie must come back with the research page's request.
    server.SetReply(kSignInPath, twtest::HttpReply::Page("ok").Header("Set-Cookie", "MSAuth=yes; Path=/"));
    EXPECT_EQ(Step(downloader, S(u"ann")), CDownloader_Parsers::StepResult::Running);
    EXPECT_EQ(Step(downloader, S(u"ann")), CDownloader_Parsers::StepResult::Running);
    server.SetReply(kResearchPath,
                    twtest::HttpReply::Page(GridReply(GridRow("red widgets", "10", "0.5")), "text/plain"));
    EXPECT_EQ(Step(downloader, S(u"ann")), CDownloader_Parsers::StepResult::Running);
    EXPECT_EQ(Step(downloader, S(u"ann")), CDownloader_Parsers::StepResult::ReplyIn);

    const std::vector<twtest::RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[2].method + " " + requests[2].target, "POST " + kSignInPath);
    EXPECT_EQ(requests[2].body, "txtUsername=bob%40example%2Ecom&txtPassword=p%26w%20d&JPGUID=tok%201%2F2"
                                "&__EVENTTARGET=btnLogin&__EVENTARGUMENT=LogIn&__ISASYNC=true");
    EXPECT_EQ(requests[3].method + " " + requests[3].target, "GET " + kResearchPath);
    EXPECT_EQ(requests[3].HeaderValue("Cookie"), "MSAuth=yes;");
    EXPECT_EQ(requests[4].method + " " + requests[4].target, "POST " + kResearchPath);
    EXPECT_EQ(
        requests[4].body,
        "__VIEWSTATE=a%20b%2Fc&"
        "ctl00$main$inputcontrol$TextBox1=red%20widgets&ctl00$main$inputcontrol$DropDownControl1=30-191:1#US&"
        "ctl00$main$inputcontrol$group1=ctl00_main_inputcontrol_RadioButton1&"
        "ctl00_header_dummydropdwn_datafld=#@##@#0#@#&"
        "ctl00_main_inputcontrol_DropDownControl1_datafld=English - United States|30-191:1#US#@#"
        "English - United States|30-191:1#US#@#6#@#3&"
        "ctl00_main_keywordCollection_dd1=A#@#A#@#B#@#3#@#0&"
        "ctl00$header$dummydropdwn=&=1&__EVENTTARGET=ctl00$main$inputcontrol$Button1"
        "&__EVENTARGUMENT=AsyncPostback&__ISASYNC=true&");
    EXPECT_EQ(g_searchParsers.m_bing.m_downloaderIndex, -1);
    Rows rows;
    CDownloader_Parsers::ParseAdCenterGrid(downloader, rows);
    ASSERT_EQ(rows.size(), 1u);
}

} // namespace
