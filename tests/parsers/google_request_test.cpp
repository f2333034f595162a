#include "net/crawler.h"
#include "parsers/endpoints.h"
#include "parsers/google_search.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/support/http_server.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using parser_test::s;

namespace {

class GoogleSearchRequest : public ::testing::Test {
  protected:
    void TearDown() override {
        endpoints::resetToDefaults();
        g_pCrawler = nullptr;
    }

    static QString urlFor(const QString& keyword, int count = -1, int start = -1) {
        QString url;
        CDownloader_Parsers::BuildGoogleSearchUrl(url, keyword, count, start);
        return url;
    }

    // A crawler whose settings are the defaults, made in a folder of the test's own.
    CProjectCrawler& crawler() {
        if (!m_crawler) {
            CrawlerFolders folders;
            folders.appDir = m_folder.path();
            folders.dataDir = m_folder.path() + s(u"/data");
            m_crawler = std::make_unique<CProjectCrawler>(folders);
            g_pCrawler = m_crawler.get();
        }
        return *m_crawler;
    }

  private:
    QTemporaryDir m_folder;
    std::unique_ptr<CProjectCrawler> m_crawler;
};

TEST_F(GoogleSearchRequest, QueryFromKeywordCountStartAndRegion) {
    EXPECT_TRUE(urlFor(s(u"x"), 100, 20).endsWith(s(u"&q=x&start=20&num=100")));

    crawler().Google_Country = s(u"GB_United Kingdom");
    EXPECT_TRUE(urlFor(s(u"x")).contains(s(u"&gl=gb&q=x&")));
    // The all-countries entry has no two-letter code: no region is asked for.
    crawler().Google_Country = s(u"* _All Countries and Territories");
    EXPECT_TRUE(urlFor(s(u"x")).contains(s(u"?hl=en&gl=&q=x&")));
}

bool waitFinished(const CDownloader& downloader) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!downloader.IsFinished()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST_F(GoogleSearchRequest, RequestLineOnTheWireAndTheReplyParsed) {
    twtest::HttpServer server;
    // Letters of any script go out as they are (in UTF-8), every other character escaped.
    const std::string target = "/search?hl=en&gl=us&q=red%20\xC3\xA4pfel%2Bpears&start=0&num=10";
    server.SetReply(
        target, twtest::HttpReply::Page(
                    "<!DOCTYPE html><html><body><div id=\"res\"><ol><li><h3><a href=\"http://r.example/\" "
                    "onmousedown=\"return t(this,'','','','1','x')\">Red</a></h3>"
                    "<div class=\"s\">Apples<cite>r.example</cite></div></li></ol></div></body></html>"));
    endpoints::set(Endpoint::GoogleWeb, EndpointBase{s(u"http"), s(u"127.0.0.1"), server.Port(), QString()});

    CDownloader downloader(0);
    ASSERT_TRUE(CDownloader_Parsers::StartGoogleSearch(downloader, s(u"red \u00e4pfel+pears"), -1, -1));
    ASSERT_TRUE(waitFinished(downloader));

    const std::vector<twtest::RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw.substr(0, requests[0].raw.find("\r\n")), "GET " + target + " HTTP/1.1");
    EXPECT_EQ(requests[0].HeaderValue("Host"), "127.0.0.1:" + std::to_string(server.Port()));

    std::vector<CDownloader_Parsers_SE_result> results;
    EXPECT_TRUE(CDownloader_Parsers::ParseGoogleResults(downloader, results));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].pos, 1);
    EXPECT_EQ(results[0].title, s(u"Red"));
    EXPECT_EQ(results[0].show_url, s(u"r.example"));
    downloader.Release();
}

} // namespace
