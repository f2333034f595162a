// Handing out download slots: growth, per-job ranges, pause, release, and many jobs on many slots.

#include "core/limits.h"
#include "tests/net/downloader_test_fixture.h"

#include <random>
#include <set>

using namespace Qt::StringLiterals;
using dltest::Q;
using twtest::HttpReply;

namespace {

class PoolSlots : public dltest::CrawlerTest {
  protected:
    // Takes slots until the pool says no.
    std::vector<CDownloader*> TakeAll() {
        std::vector<CDownloader*> taken;
        while (CDownloader* downloader = m_crawler.GetFreeDownloader())
            taken.push_back(downloader);
        return taken;
    }
};

TEST_F(PoolSlots, GrowsToTheThreadCountPlusFourAndNeverShrinks) {
    m_crawler.CreatePool();
    EXPECT_EQ(m_crawler.GetDownloaders().size(), 4u);
    m_crawler.allowMaxThreads = 6;
    m_crawler.GrowPool();
    ASSERT_EQ(m_crawler.GetDownloaders().size(), 10u);
    EXPECT_EQ(m_crawler.GetDownloaders()[9]->m_poolIndex, 9);
    m_crawler.allowMaxThreads = 2;
    m_crawler.GrowPool();
    EXPECT_EQ(m_crawler.GetDownloaders().size(), 10u);
    // A thread count beyond the limit read from a hostile file still gives a bounded pool.
    m_crawler.allowMaxThreads = 1000000;
    m_crawler.GrowPool();
    EXPECT_EQ(m_crawler.GetDownloaders().size(), std::size_t(limits::kMaxThreadCount) + 4);
}

TEST_F(PoolSlots, ProjectsShareTheFirstSlotsDialogsMayUseThemAllAndReleasesComeBack) {
    m_crawler.allowMaxThreads = 6;
    m_crawler.GrowPool();
    m_crawler.SetCurrentJob(7);
    const auto project = TakeAll();
    ASSERT_EQ(project.size(), 6u);
    for (CDownloader* downloader : project) {
        EXPECT_LT(downloader->m_poolIndex, 6);
        EXPECT_EQ(downloader->m_jobId.load(), 7);
        EXPECT_EQ(downloader->m_tags[0], -1);
    }
    EXPECT_EQ(m_crawler.CountJobDownloaders(7), 6);

    m_crawler.SetCurrentJob(-1);
    const auto dialog = TakeAll();
    EXPECT_EQ(dialog.size(), 4u);
    std::set<CDownloader*> distinct(project.begin(), project.end());
    distinct.insert(dialog.begin(), dialog.end());
    // A slot handed out but not started yet is never handed out again; a released one comes back.
    EXPECT_EQ(distinct.size(), 10u);
    project[2]->Release();
    m_crawler.SetCurrentJob(7);
    EXPECT_EQ(m_crawler.GetFreeDownloader(), project[2]);

    // With a lowered limit the job gets nothing more, and its release still reaches every slot it holds.
    m_crawler.allowMaxThreads = 2;
    project[3]->Release();
    EXPECT_EQ(m_crawler.GetFreeDownloader(), nullptr);
    m_crawler.ReleaseJobDownloaders(7);
    EXPECT_EQ(m_crawler.CountJobDownloaders(7), 0);
}

TEST_F(PoolSlots, PauseRefusesJobsButNotDialogs) {
    m_crawler.GrowPool();
    m_crawler.SetCurrentJob(3);
    m_crawler.SetPaused(true);
    EXPECT_EQ(m_crawler.GetFreeDownloader(), nullptr);
    EXPECT_EQ(m_crawler.GetDownloaderForHost(u"Yahoo"_s), nullptr);
    EXPECT_EQ(m_crawler.GetRequestsThisTick(), 2);
    m_crawler.SetCurrentJob(-1);
    EXPECT_NE(m_crawler.GetFreeDownloader(), nullptr);
    EXPECT_EQ(m_crawler.GetRequestsThisTick(), 1);
}

TEST_F(PoolSlots, ReleasingAProjectsRunningJobsFreesEverySlot) {
    twtest::HttpServer server;
    server.SetReply("/stall", HttpReply::With(HttpReply::Delivery::Stall));
    m_crawler.allowMaxThreads = 6;
    m_crawler.GrowPool();
    m_crawler.SetCurrentJob(9);
    for (CDownloader* downloader : TakeAll())
        ASSERT_TRUE(downloader->Start(Q(server.Url("/stall"))));
    ASSERT_TRUE(dltest::WaitFor([&] { return server.Requests().size() == 6; }));
    m_crawler.ReleaseJobDownloaders(9);
    ASSERT_TRUE(dltest::WaitFor([&] { return m_crawler.CountJobDownloaders(9) == 0; }, 5000));
    for (const auto& downloader : m_crawler.GetDownloaders())
        EXPECT_TRUE(dltest::WaitReusable(*downloader, 5000));
}

TEST_F(PoolSlots, ManyJobsOnManySlotsAllFinishWithNoSlotLost) {
    twtest::HttpServer server;
    server.SetDefaultReply(HttpReply::Page("<p>ok</p>"));
    m_crawler.allowMaxThreads = 16;
    m_crawler.GrowPool();
    const int kJobs = 400;
    int started = 0, finished = 0, released = 0;
    std::vector<CDownloader*> running;
    std::mt19937 random(3);
    // The tick: collect what finished, sometimes give a running job up, start new ones.
    ASSERT_TRUE(dltest::WaitFor(
        [&] {
            for (auto it = running.begin(); it != running.end();) {
                if ((*it)->IsFinished()) {
                    EXPECT_EQ((*it)->Response().body, u"<p>ok</p>"_s)
                        << (*it)->Response().lastError.toStdString();
                    ++finished;
                } else if (random() % 50 == 0) {
                    ++released;
                } else {
                    ++it;
                    continue;
                }
                (*it)->Release();
                it = running.erase(it);
            }
            while (started < kJobs) {
                CDownloader* downloader = m_crawler.GetFreeDownloader();
                if (!downloader)
                    break;
                EXPECT_TRUE(downloader->Start(Q(server.Url("/job" + std::to_string(started)))));
                running.push_back(downloader);
                ++started;
            }
            return started == kJobs && running.empty();
        },
        60000));
    EXPECT_EQ(finished + released, kJobs);
    for (const auto& downloader : m_crawler.GetDownloaders())
        EXPECT_TRUE(dltest::WaitReusable(*downloader, 5000));
}

} // namespace
