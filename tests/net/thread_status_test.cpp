// The crawler's worker-status rows: set in parts, removed, taken by a report, emptied by StopAll.

#include "core/limits.h"
#include "tests/net/downloader_test_fixture.h"

#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Row = CProjectCrawler_thread_Status;

class ThreadStatus : public dltest::CrawlerTest {};

TEST_F(ThreadStatus, RowsGrowKeepWhatIsNotGivenAndAreRemovedByIndex) {
    EXPECT_FALSE(m_crawler.HasThreadStatus(0));
    EXPECT_EQ(m_crawler.SetThreadStatus(2, u"example.test"_s, u"GET /"_s, std::nullopt, 3), 3);
    EXPECT_TRUE(m_crawler.HasThreadStatus(0));
    EXPECT_TRUE(m_crawler.HasThreadStatus(2));
    EXPECT_FALSE(m_crawler.HasThreadStatus(3));
    // Only the status changes; -1 keeps the state.
    EXPECT_EQ(m_crawler.SetThreadStatus(2, std::nullopt, std::nullopt, u"Receiving"_s), -1);
    EXPECT_TRUE(m_crawler.ThreadStatusChanged());

    std::vector<Row> rows = m_crawler.TakeThreadStatus();
    EXPECT_FALSE(m_crawler.ThreadStatusChanged());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].state, Row::kNoState);
    EXPECT_TRUE(rows[0].server.isEmpty());
    EXPECT_EQ(rows[2].server, u"example.test"_s);
    EXPECT_EQ(rows[2].operation, u"GET /"_s);
    EXPECT_EQ(rows[2].status, u"Receiving"_s);
    EXPECT_EQ(rows[2].state, 3);

    m_crawler.RemoveThreadStatus(5); // beyond the rows: nothing
    EXPECT_FALSE(m_crawler.ThreadStatusChanged());
    m_crawler.RemoveThreadStatus(0);
    EXPECT_TRUE(m_crawler.ThreadStatusChanged());
    rows = m_crawler.TakeThreadStatus();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].server, u"example.test"_s);

    // An index no pool slot can have would make the table as large as the caller likes.
    for (const int index : {-1, limits::kMaxPoolSlots, 2'000'000'000}) {
        m_crawler.SetThreadStatus(index, u"x"_s, std::nullopt, std::nullopt, 1);
        EXPECT_FALSE(m_crawler.HasThreadStatus(index)) << index;
    }
    EXPECT_EQ(m_crawler.TakeThreadStatus().size(), 2u);

    m_crawler.StopAll();
    EXPECT_FALSE(m_crawler.HasThreadStatus(0));
    EXPECT_TRUE(m_crawler.TakeThreadStatus().empty());
}

// Workers set their own rows while the user-interface thread takes copies (the sanitizer runs check this).
TEST_F(ThreadStatus, WorkersSetRowsWhileAReportTakesThem) {
    std::vector<std::thread> workers;
    for (int index = 0; index < 4; ++index) {
        workers.emplace_back([this, index] {
            for (int step = 0; step < 500; ++step)
                m_crawler.SetThreadStatus(index, u"host"_s, std::nullopt, QString::number(step), step % 5);
        });
    }
    for (int take = 0; take < 200; ++take)
        EXPECT_LE(m_crawler.TakeThreadStatus().size(), 4u);
    for (std::thread& worker : workers)
        worker.join();
    const std::vector<Row> rows = m_crawler.TakeThreadStatus();
    ASSERT_EQ(rows.size(), 4u);
    for (const Row& row : rows)
        EXPECT_EQ(row.status, u"499"_s);
}

} // namespace
