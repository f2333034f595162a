#pragma once

#include "parsers/endpoints.h"
#include "parsers/picture_code_prompt.h"
#include "parsers/search_parsers_state.h"
#include "tests/net/downloader_test_fixture.h"

namespace service_test {

using dltest::WaitFinished;
using dltest::WaitFor;

// The test's crawler as the program's crawler, fresh request states, and every service and the picture-code
// prompt back to their defaults afterwards.
class ServiceTest : public dltest::CrawlerTest {
  protected:
    void SetUp() override {
        CrawlerTest::SetUp();
        g_searchParsers = SearchParsersState{};
        g_pCrawler = &m_crawler;
    }
    void TearDown() override {
        m_crawler.Shutdown();
        g_pCrawler = nullptr;
        endpoints::ResetToDefaults();
        InstallPictureCodePrompt({});
    }

    static void PointAt(Endpoint endpoint, const twtest::HttpServer& server) {
        endpoints::Set(endpoint, {QStringLiteral("http"), QStringLiteral("127.0.0.1"), server.Port(), {}});
    }

    // A downloader from the crawler's pool, as a project takes one.
    CDownloader& TakeDownloader() {
        if (m_crawler.GetDownloaders().empty())
            m_crawler.CreatePool();
        CDownloader* downloader = m_crawler.GetFreeDownloader();
        EXPECT_NE(downloader, nullptr);
        return *downloader;
    }
};

} // namespace service_test
