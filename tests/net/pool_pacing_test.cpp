// Per-service pacing with a scripted clock and random source.

#include "core/clock.h"
#include "tests/net/downloader_test_fixture.h"
#include "tests/support/test_clock.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

class FixedRandom : public RandomSource {
  public:
    int Next() override { return value; }
    int value = 16384;
};

class PoolPacing : public dltest::CrawlerTest {
  protected:
    void SetUp() override {
        CrawlerTest::SetUp();
        m_clock.emplace(twtest::PinnedReadings{.monotonicMs = 1000000, .utcSeconds = 1700000000});
        InstallRandomSource(&m_random);
        m_crawler.allowMaxThreads = 6;
        m_crawler.GrowPool();
    }
    void TearDown() override {
        // The slots' threads go before the clock they might read.
        m_crawler.Shutdown();
        m_clock.reset();
        InstallRandomSource(nullptr);
    }

    std::optional<twtest::TestClock> m_clock;
    FixedRandom m_random;
};

TEST_F(PoolPacing, PacedServiceGoesOneAtATimeWithARandomGapAfterRelease) {
    m_crawler.allowCourtesy = true;
    CDownloader* first = m_crawler.GetDownloaderForHost(u"Google"_s);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"Google"_s), nullptr);

    // Google's range is 2 to 6 seconds; 16384 of 32767 gives 2000 + 16384 * 4000 / 32767 ms.
    constexpr std::int64_t kDelay = 2000 + 16384LL * 4000 / 32767;
    m_clock->AdvanceMs(10000);
    first->Release();
    m_clock->AdvanceMs(kDelay - 1);
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"google"_s), nullptr);
    m_clock->AdvanceMs(1);
    EXPECT_NE(m_crawler.GetDownloaderForHost(u"GOOGLE"_s), nullptr);
}

TEST_F(PoolPacing, WithoutTheSwitchListedServicesStayOneAtATimeWithoutAGap) {
    m_crawler.allowCourtesy = false;
    CDownloader* first = m_crawler.GetDownloaderForHost(u"Google"_s);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"Google"_s), nullptr);
    first->Release();
    EXPECT_NE(m_crawler.GetDownloaderForHost(u"Google"_s), nullptr);

    // A service outside the table is neither paced nor held back.
    CDownloader* a = m_crawler.GetDownloaderForHost(u"TwOffers"_s);
    CDownloader* b = m_crawler.GetDownloaderForHost(u"TwOffers"_s);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
}

TEST_F(PoolPacing, BusyServiceWaitsForItsTimingUpdateMatchedByExactName) {
    m_crawler.allowCourtesy = true;
    CDownloader* holder = m_crawler.GetDownloaderForHost(u"MSN"_s);
    ASSERT_NE(holder, nullptr);
    // Reserving under another spelling makes a record of its own and leaves "MSN" free.
    m_crawler.MarkHostBusy(u"msn"_s);
    holder->Release();
    m_clock->AdvanceMs(3600 * 1000);
    holder = m_crawler.GetDownloaderForHost(u"MSN"_s);
    ASSERT_NE(holder, nullptr);
    m_crawler.MarkHostBusy(u"MSN"_s);
    holder->Release();
    m_clock->AdvanceMs(3600 * 1000);
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"MSN"_s), nullptr);
    m_crawler.UpdateHostTiming(u"msn"_s);
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"MSN"_s), nullptr);

    m_crawler.UpdateHostTiming(u"MSN"_s);
    const std::int64_t delay = 1000 + 16384LL * 3000 / 32767;
    m_clock->AdvanceMs(delay - 1);
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"MSN"_s), nullptr);
    m_clock->AdvanceMs(1);
    EXPECT_NE(m_crawler.GetDownloaderForHost(u"MSN"_s), nullptr);
}

TEST_F(PoolPacing, ProjectRangeAppliesToPacedRequestsToo) {
    m_crawler.SetCurrentJob(4);
    std::vector<CDownloader*> taken;
    while (CDownloader* downloader = m_crawler.GetDownloaderForHost(u"TwSearches"_s))
        taken.push_back(downloader);
    EXPECT_EQ(taken.size(), 6u);
    for (CDownloader* downloader : taken)
        EXPECT_LT(downloader->m_poolIndex, 6);
}

TEST_F(PoolPacing, DroppedJobEndsItsHold) {
    twtest::HttpServer server;
    server.SetReply("/stall", twtest::HttpReply::With(twtest::HttpReply::Delivery::Stall));
    m_crawler.allowCourtesy = false;
    CDownloader* first = m_crawler.GetDownloaderForHost(u"WhoIs"_s);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->Start(dltest::Q(server.Url("/stall"))));
    ASSERT_TRUE(dltest::WaitFor([&] { return server.Requests().size() == 1; }));
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"WhoIs"_s), nullptr);
    first->Release();
    ASSERT_TRUE(dltest::WaitReusable(*first, 5000));
    EXPECT_NE(m_crawler.GetDownloaderForHost(u"WhoIs"_s), nullptr);
}

} // namespace
