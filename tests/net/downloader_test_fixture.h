#pragma once

#include "net/crawler.h"
#include "net/downloader.h"
#include "net/tls_socket_context.h"
#include "tests/support/http_server.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace dltest {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Polls the way the user-interface tick does, only faster; false when timeoutMs passed first.
template <typename Predicate> bool WaitFor(Predicate done, int timeoutMs = 15000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline bool WaitFinished(const CDownloader& downloader, int timeoutMs = 15000) {
    return WaitFor([&] { return downloader.IsFinished(); }, timeoutMs);
}

// Idle, not held and ready for the next taker.
inline bool WaitReusable(const CDownloader& downloader, int timeoutMs = 15000) {
    return WaitFor([&] { return downloader.IsFreeFor(-1); }, timeoutMs);
}

// A crawler with private folders that never reads or writes the user's files, as the owner of the
// downloaders under test: cookies, TLS context and pacing holds come from it.
class CrawlerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

    QTemporaryDir m_home;
    CProjectCrawler m_crawler{{m_home.path(), m_home.path() + QStringLiteral("/data"), {}, {}}};
};

} // namespace dltest
