#include "net/crawler.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

using Row = CDownloader_Parsers_Adwords_result;

Row row(const QString& keyword, int type, float cpc) {
    Row r;
    r.keyword = keyword;
    r.keywordType = type;
    r.avgCPC = cpc;
    return r;
}

class SharedKeywordResults : public ::testing::Test {
  protected:
    std::vector<std::pair<QString, int>> keys() {
        std::vector<std::pair<QString, int>> out;
        for (const Row& r : m_crawler.GetAdwordsResults())
            out.emplace_back(r.keyword, r.keywordType);
        return out;
    }

    QTemporaryDir m_home;
    CProjectCrawler m_crawler{{m_home.path(), m_home.path() + u"/data"_s, {}, {}}};
};

// Sorted by keyword in exact character order (capitals first), then by type; a known row is replaced.
TEST_F(SharedKeywordResults, SortedByKeywordThenTypeAndReplacedInPlace) {
    m_crawler.AddAdwordsResult(row(u"red"_s, 4, 1.0f));
    m_crawler.AddAdwordsResult(row(u"blue"_s, 1, 1.0f));
    m_crawler.AddAdwordsResult(row(u"red"_s, 1, 1.0f));
    m_crawler.AddAdwordsResult(row(u"Red"_s, 2, 1.0f));
    m_crawler.AddAdwordsResult(row(u"red"_s, 4, 2.5f));
    m_crawler.AddAdwordsResult(row(u"red "_s, 255, 1.0f));
    EXPECT_EQ(keys(), (std::vector<std::pair<QString, int>>{
                          {u"Red"_s, 2}, {u"blue"_s, 1}, {u"red"_s, 1}, {u"red"_s, 4}, {u"red "_s, 255}}));
    EXPECT_EQ(m_crawler.GetAdwordsResults()[3].avgCPC, 2.5f);
}

// Parsers on several threads share one table; every distinct row arrives once, in order.
TEST_F(SharedKeywordResults, RowsFromSeveralThreadsAllArrive) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 200; ++i)
                m_crawler.AddAdwordsResult(
                    row(QString::number(i % 100).rightJustified(3, u'0'), 1 << (t % 2), 1.0f));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const std::vector<std::pair<QString, int>> stored = keys();
    ASSERT_EQ(stored.size(), 200u);
    EXPECT_TRUE(std::is_sorted(stored.begin(), stored.end()));
}

} // namespace
