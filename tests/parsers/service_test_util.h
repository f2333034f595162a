#pragma once

#include "net/crawler.h"
#include "net/downloader.h"
#include "parsers/endpoints.h"
#include "parsers/picture_code_prompt.h"
#include "parsers/search_parsers_state.h"
#include "tests/support/http_server.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace service_test {

// Polls the way the project tick does, only faster; false when the time ran out first.
template <typename Predicate> bool waitFor(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline bool waitFinished(const CDownloader& downloader) {
    return waitFor([&] { return downloader.IsFinished(); });
}

// A crawler of the test's own as the program's crawler, fresh request states, and every service and the
// picture-code prompt back to their defaults afterwards.
class ServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        g_searchParsers = SearchParsersState{};
        g_pCrawler = &m_crawler;
    }
    void TearDown() override {
        m_crawler.Shutdown();
        g_pCrawler = nullptr;
        g_searchParsers = SearchParsersState{};
        endpoints::resetToDefaults();
        InstallPictureCodePrompt({});
    }

    static void pointAt(Endpoint endpoint, const twtest::HttpServer& server) {
        endpoints::set(endpoint,
                       EndpointBase{QStringLiteral("http"), QStringLiteral("127.0.0.1"), server.Port(), {}});
    }

    // A downloader from the crawler's pool, as a project takes one.
    CDownloader& takeDownloader() {
        if (m_crawler.GetDownloaders().empty())
            m_crawler.CreatePool();
        CDownloader* downloader = m_crawler.GetFreeDownloader();
        EXPECT_NE(downloader, nullptr);
        return *downloader;
    }

    QTemporaryDir m_home;
    CProjectCrawler m_crawler{{m_home.path(), m_home.path() + QStringLiteral("/data"), {}, {}}};
};

} // namespace service_test
