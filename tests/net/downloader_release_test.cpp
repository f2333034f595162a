// Giving a downloader back at any moment of its job, and destroying it, leaves a usable slot.

#include "tests/net/downloader_test_fixture.h"

#include <random>

using namespace Qt::StringLiterals;
using dltest::Q;
using twtest::HttpReply;

namespace {

class DownloaderRelease : public dltest::CrawlerTest {
  protected:
    void SetUp() override {
        CrawlerTest::SetUp();
        m_server.SetReply("/stall", HttpReply::With(HttpReply::Delivery::Stall));
        m_server.SetReply("/page", HttpReply::Page("<p>page</p>"));
    }

    // The slot runs a whole job after whatever happened before.
    void ExpectReusable(CDownloader& downloader) {
        ASSERT_TRUE(dltest::WaitReusable(downloader));
        EXPECT_EQ(downloader.m_jobId.load(), -1);
        ASSERT_TRUE(downloader.Start(Q(m_server.Url("/page"))));
        ASSERT_TRUE(dltest::WaitFinished(downloader));
        EXPECT_EQ(downloader.Response().body, u"<p>page</p>"_s);
    }

    bool WaitForRequests(std::size_t count) {
        return dltest::WaitFor([&] { return m_server.Requests().size() >= count; });
    }

    twtest::HttpServer m_server;
};

TEST_F(DownloaderRelease, WhileQueuedTheJobIsDroppedAndNeverFinishes) {
    CDownloader downloader(0, &m_crawler);
    // Released straight after Start: the worker has not taken the job up yet, or has just begun it.
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/page"))));
    downloader.Release();
    EXPECT_FALSE(downloader.IsFinished());
    ASSERT_TRUE(dltest::WaitReusable(downloader));
    EXPECT_FALSE(downloader.IsFinished());
    EXPECT_TRUE(downloader.m_body.isEmpty());
    ExpectReusable(downloader);
}

TEST_F(DownloaderRelease, WhileRunningNoOtherJobStartsAndTheExchangeIsInterruptedAtOnce) {
    CDownloader downloader(0, &m_crawler);
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/stall"))));
    EXPECT_FALSE(downloader.Start(Q(m_server.Url("/page"))));
    ASSERT_TRUE(WaitForRequests(1));
    const auto released = std::chrono::steady_clock::now();
    downloader.Release();
    ASSERT_TRUE(dltest::WaitReusable(downloader, 3000));
    // Far below the ten-second receive time-out: the release interrupted the socket.
    EXPECT_LT(std::chrono::steady_clock::now() - released, std::chrono::seconds(2));
    EXPECT_FALSE(downloader.IsFinished());
    ExpectReusable(downloader);
}

TEST_F(DownloaderRelease, BetweenRedirectHopsTheNextHopIsDropped) {
    m_server.SetReply("/hop", HttpReply::Redirect(302, "/stall"));
    CDownloader downloader(0, &m_crawler);
    downloader.m_redirectBudget = 9;
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/hop"))));
    ASSERT_TRUE(WaitForRequests(2));
    EXPECT_EQ(downloader.m_state.load(), CDownloader::kQueued);
    downloader.Release();
    ASSERT_TRUE(dltest::WaitReusable(downloader, 3000));
    EXPECT_FALSE(downloader.IsFinished());
    EXPECT_EQ(m_server.Requests().size(), 2u);
    ExpectReusable(downloader);
}

TEST_F(DownloaderRelease, AtRandomMomentsOfARedirectLoopNothingIsLost) {
    m_server.SetReply("/loop", HttpReply::Redirect(302, "/loop"));
    CDownloader downloader(0, &m_crawler);
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        downloader.m_redirectBudget = 21;
        ASSERT_TRUE(downloader.Start(Q(m_server.Url("/loop"))));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        downloader.Release();
        ASSERT_TRUE(dltest::WaitReusable(downloader, 5000)) << "round " << round;
        EXPECT_EQ(downloader.m_state.load(), CDownloader::kIdle);
    }
    ExpectReusable(downloader);
}

TEST_F(DownloaderRelease, ReleaseOfAFinishedJobResetsAtOnceAndAStaleAbortCancelsNothing) {
    CDownloader downloader(0, &m_crawler);
    ASSERT_TRUE(downloader.Start(Q(m_server.Url("/page"))));
    ASSERT_TRUE(dltest::WaitFinished(downloader));
    downloader.Release();
    EXPECT_EQ(downloader.m_state.load(), CDownloader::kIdle);
    EXPECT_TRUE(downloader.m_body.isEmpty());
    downloader.m_abort.store(true);
    ExpectReusable(downloader);
}

TEST_F(DownloaderRelease, DestructorInterruptsARunningExchangeAndJoins) {
    auto downloader = std::make_unique<CDownloader>(0, &m_crawler);
    ASSERT_TRUE(downloader->Start(Q(m_server.Url("/stall"))));
    ASSERT_TRUE(WaitForRequests(1));
    const auto started = std::chrono::steady_clock::now();
    downloader.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST_F(DownloaderRelease, StoppedSlotTakesNoMoreJobs) {
    CDownloader downloader(0, &m_crawler);
    downloader.Stop();
    ASSERT_TRUE(dltest::WaitFor([&] { return !downloader.m_threadAlive.load(); }));
    EXPECT_FALSE(downloader.IsFreeFor(-1));
    EXPECT_FALSE(downloader.Start(Q(m_server.Url("/page"))));
}

} // namespace
