#include "parsers/commercial_intent.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::HtmlPage;
using parser_test::S;

namespace {

const std::string kPagePath = "/Online-Commercial-Intention/Default.aspx";

std::string IntentPage(const std::string& query, const std::string& value) {
    return HtmlPage("<form id=\"aspnetForm\" method=\"post\">"
                    "<input type=\"hidden\" name=\"__VIEWSTATE\" value=\"v/1\">"
                    "<input type=\"hidden\" name=\"_x\" value=\"a b\">"
                    "<input type=\"hidden\" name=\"other\" value=\"no\">"
                    "<input type=\"text\" name=\"_typed\" value=\"no\">"
                    "<span id=\"MyMaster_DemoPageContent_lbl_Query\">" +
                    QByteArray::fromStdString(query) +
                    "</span><span id=\"MyMaster_DemoPageContent_lbl_IntentValue\">" +
                    QByteArray::fromStdString(value) + "</span></form>")
        .toStdString();
}

class CommercialIntent : public service_test::ServiceTest {
  protected:
    float Parse(const std::string& page) {
        return CDownloader_Parsers::ParseCommercialIntent(*DownloadedPage(QByteArray::fromStdString(page)));
    }

    // One post of query and the reply's value, as the caller's ticks would see them.
    float Ask(CDownloader& downloader, const QString& query) {
        EXPECT_TRUE(CDownloader_Parsers::StartCommercialIntentQuery(downloader, query));
        EXPECT_TRUE(service_test::WaitFinished(downloader));
        return CDownloader_Parsers::ParseCommercialIntent(downloader);
    }
};

TEST_F(CommercialIntent, ValueOfTheShownQueryAndTheHiddenFields) {
    g_searchParsers.m_bing.m_intentQuery = S(u"buy  red widgets ");
    EXPECT_FLOAT_EQ(Parse(IntentPage(" buy red  widgets", "0.37")), 37.0f);
    EXPECT_EQ(g_searchParsers.m_bing.m_intentForm, S(u"__VIEWSTATE=v%2F1&_x=a%20b&"));
    EXPECT_EQ(Parse(IntentPage("buy blue widgets", "0.37")), -3.0f);
    EXPECT_EQ(Parse(IntentPage("buy red widgets", "n/a")), -3.0f);
}

// "nan" and "inf" read like numbers, and a value beyond a float would become infinite in percent: each is no
// value, as one that cannot be read.
TEST_F(CommercialIntent, IntentValueOfNanInfinityOrBeyondAFloatIsNoValue) {
    g_searchParsers.m_bing.m_intentQuery = S(u"red widgets");
    for (const char* value : {"nan", "inf", "-infinity", "1e39", "-1e39"})
        EXPECT_EQ(Parse(IntentPage("red widgets", value)), -3.0f) << value;
    EXPECT_FLOAT_EQ(Parse(IntentPage("red widgets", "3e36")), 3e38f);
}

TEST_F(CommercialIntent, SecondPostAnswersAndTheThirdUnansweredIsFinal) {
    twtest::HttpServer server;
    PointAt(Endpoint::BingAdLab, server);
    // The page first comes through one of its own redirects.
    server.SetReply(kPagePath, twtest::HttpReply::Redirect(302, "/Online-Commercial-Intention/Result.aspx"));
    server.SetReply("/Online-Commercial-Intention/Result.aspx", twtest::HttpReply::Page(IntentPage("", "")));
    CDownloader& downloader = TakeDownloader();
    EXPECT_EQ(Ask(downloader, S(u"red widgets")), -3.0f);
    server.SetReply(kPagePath, twtest::HttpReply::Page(IntentPage("red widgets", "0.5")));
    EXPECT_FLOAT_EQ(Ask(downloader, S(u"red widgets")), 50.0f);

    const std::vector<twtest::RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    const std::string fields =
        "MyMaster:DemoPageContent:txtQuery=red%20widgets&"
        "MyMaster:DemoPageContent:lan=QueryRadio&MyMaster:DemoPageContent:goButton.x=18&"
        "MyMaster:DemoPageContent:goButton.y=12&"
        "MyMaster:DemoPageContent:hidQuery=red%20widgets&MyMaster:HiddenKeywordTextBox=&";
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, fields);
    // The finished downloader posts again, now with the page's hidden fields in front.
    EXPECT_EQ(requests[2].method, "POST");
    EXPECT_EQ(requests[2].body, "__VIEWSTATE=v%2F1&_x=a%20b&" + fields);

    // A page that never answers: the third post's reply ends the asking; another query starts counting anew.
    server.SetReply(kPagePath, twtest::HttpReply::Page(IntentPage("something else", "0.5")));
    EXPECT_EQ(Ask(downloader, S(u"blue widgets")), -3.0f);
    EXPECT_EQ(Ask(downloader, S(u" blue  widgets")), -3.0f);
    EXPECT_EQ(Ask(downloader, S(u"blue widgets")), -2.0f);
    EXPECT_EQ(Ask(downloader, S(u"green widgets")), -3.0f);
}

} // namespace
