#include "parsers/keyword_tool.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using parser_test::S;

namespace {

const std::string kPicturePath = "/select/KeywordToolCaptcha";
const std::string kToolPath = "/select/VariationsTool";
// Not text: the picture must reach the prompt byte for byte.
const std::string kPicture = std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00picture\xFF\xD9", 20);
const std::string kAnswer = "var criteria = new Array();\ncriteria[0] = new kpCriterion('red widgets', 'a', "
                            "'100', 'b', 'c', 'd', '0.5', '$1.25', 'e', '2', 'f', 'g', 'h', 'i', 'j', 'k', "
                            "kpView.MATCH_EXACT);\n";

std::string ToolTarget(const std::string& maxCpc, const std::string& code) {
    return kToolPath +
           "?hl=en&adgroupid=0&campaignid=0&adgroupIntegrated=false&skipLogin=true&currencyCode=USD"
           "&maxCpcOverride=" +
           maxCpc + "&targetLanguages=&targetCountries=GB&synonyms=false&captchaAnswer=" + code +
           "&suggest=true&excludedWords=&allowExisting=true&showAdult=true&showTrademark=null";
}

class KeywordToolExchange : public service_test::ServiceTest {
  protected:
    void SetUp() override {
        ServiceTest::SetUp();
        PointAt(Endpoint::GoogleKeywordTool, m_server);
        m_crawler.Google_Country = S(u"GB_United Kingdom");
        m_server.SetReply(kPicturePath, twtest::HttpReply::Page(kPicture, "image/jpeg"));
        m_server.SetReply(kToolPath, twtest::HttpReply::Page(kAnswer, "text/javascript"));
        // Each scripted answer in turn; the prompt sees the picture the run fetched.
        InstallPictureCodePrompt([this](CSkinDlg_Base*, const CDownloader& downloader, QString& answer) {
            EXPECT_EQ(downloader.Response().raw.toStdString(), kPicture);
            if (m_nested)
                m_nested();
            const QString next = m_answers.value(m_prompts++);
            if (next.isEmpty())
                return kPictureCodeCancel;
            answer = next;
            return kPictureCodeOk;
        });
    }

    // Calls the step operation as the tick would, until it answers 2.
    bool RunToEnd(CDownloader& downloader) {
        return service_test::WaitFor([&] {
            return CDownloader_Parsers::StartAdwordsKeywordTool(downloader, S(u"ann"), S(u"pw"),
                                                                S(u"red widgets"), nullptr, true) ==
                   CDownloader_Parsers::StepResult::ReplyIn;
        });
    }

    std::vector<std::string> RequestLines() const {
        std::vector<std::string> lines;
        for (const twtest::RecordedRequest& request : m_server.Requests())
            lines.push_back(request.method + " " + request.target);
        return lines;
    }

    twtest::HttpServer m_server;
    QStringList m_answers;
    int m_prompts = 0;
    std::function<void()> m_nested;
};

TEST_F(KeywordToolExchange, CodeAskedOnceThenKeptForTheNextRun) {
    g_searchParsers.m_google.m_maxCpc = 0.5f;
    m_answers = {S(u"k7 x")};
    // A step of another run while the prompt is open (a dialog timer) does nothing.
    CDownloader& other = TakeDownloader();
    m_nested = [&] {
        EXPECT_EQ(
            CDownloader_Parsers::StartAdwordsKeywordTool(other, S(u"bob"), {}, S(u"blue"), nullptr, false),
            CDownloader_Parsers::StepResult::Running);
        EXPECT_EQ(other.m_tags[0], -1);
    };
    CDownloader& first = TakeDownloader();
    ASSERT_TRUE(RunToEnd(first));
    std::vector<CDownloader_Parsers_Adwords_result> rows;
    CDownloader_Parsers::ParseAdwordsKeywordTool(first, rows, 255);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].keyword, S(u"red widgets"));
    first.Release();

    // The second run goes straight to the request with the stored code; the maximum bid went with the first.
    CDownloader& second = TakeDownloader();
    ASSERT_TRUE(RunToEnd(second));
    EXPECT_EQ(m_prompts, 1);
    EXPECT_EQ(RequestLines(),
              (std::vector<std::string>{"GET " + kPicturePath, "POST " + ToolTarget("0.50", "k7%20x"),
                                        "POST " + ToolTarget("", "k7%20x")}));
    EXPECT_EQ(m_server.Requests()[1].body, "keywords=red%20widgets");
    EXPECT_EQ(g_searchParsers.m_google.m_downloaderIndex, -1);
}

TEST_F(KeywordToolExchange, RetryRejectedCodeAndCancel) {
    for (const std::string rejection : {"<script>var captchaError = true;</script>",
                                        "Your session has expired. Please return to the start page."}) {
        SCOPED_TRACE(rejection);
        g_searchParsers = SearchParsersState{};
        m_prompts = 0;
        m_server.SetReply(kToolPath, twtest::HttpReply::Page(rejection));
        const size_t before = m_server.Requests().size();
        // A new picture, then a code the tool rejects, then the user gives up.
        m_answers = {S(u"#retry_me#"), S(u"bad")};
        CDownloader& downloader = TakeDownloader();
        ASSERT_TRUE(RunToEnd(downloader));
        EXPECT_EQ(m_prompts, 3);
        EXPECT_TRUE(g_searchParsers.m_google.m_captchaAnswer.isEmpty());
        const std::vector<std::string> lines = RequestLines();
        EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(before), lines.end()),
                  (std::vector<std::string>{"GET " + kPicturePath, "GET " + kPicturePath,
                                            "POST " + ToolTarget("", "bad"), "GET " + kPicturePath}));
        // Cancelled with the picture in the downloader: no rows.
        std::vector<CDownloader_Parsers_Adwords_result> rows;
        CDownloader_Parsers::ParseAdwordsKeywordTool(downloader, rows, 255);
        EXPECT_TRUE(rows.empty());
        downloader.Release();
    }
    // Without an installed prompt the run ends as cancelled once the picture is in.
    InstallPictureCodePrompt({});
    ASSERT_TRUE(RunToEnd(TakeDownloader()));
    EXPECT_EQ(m_server.Requests().back().target, kPicturePath);
}

} // namespace
