#include "core/clock.h"
#include "net/crawler.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

class CrawlerCourtesy : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

    bool Ask(const QString& service, int& min, int& max) {
        min = m_crawler.courtesyMin;
        max = m_crawler.courtesyMax;
        return m_crawler.GetCourtesy(service, min, max);
    }

    QTemporaryDir m_home;
    // Never started: nothing is read or written.
    CProjectCrawler m_crawler{{m_home.path(), m_home.path() + u"/data"_s, {}, {}}};
};

// A listed service is paced even with the switch off, in any letter case, and only ever raises the range;
// other services follow the user's switch; article directories use their own range and switch.
TEST_F(CrawlerCourtesy, RangeForEachKindOfService) {
    const struct {
        QString service;
        bool courtesy, articleCourtesy;
        std::pair<int, int> range, articleRange;
        bool paced;
        std::pair<int, int> expected;
    } cases[] = {
        {u"whois"_s, false, true, {0, 3}, {0, 1}, true, {2, 4}},
        {u"GOOGLE"_s, false, true, {5, 9}, {0, 1}, true, {5, 9}},
        {u"Yahoo"_s, false, true, {0, 3}, {0, 1}, false, {0, 3}},
        {u"TwOffers"_s, true, true, {0, 3}, {0, 1}, true, {0, 3}},
        {u"EzineArticles"_s, false, true, {7, 8}, {4, 5}, true, {4, 5}},
        {u"goarticles"_s, false, false, {7, 8}, {4, 5}, true, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.service.toStdString());
        m_crawler.allowCourtesy = c.courtesy;
        m_crawler.allowArticleCourtesy = c.articleCourtesy;
        std::tie(m_crawler.courtesyMin, m_crawler.courtesyMax) = c.range;
        std::tie(m_crawler.articleCourtesyMin, m_crawler.articleCourtesyMax) = c.articleRange;
        int min = 0, max = 0;
        EXPECT_EQ(Ask(c.service, min, max), c.paced);
        EXPECT_EQ(std::pair(min, max), c.expected);
    }
}

TEST(CourtesyDelay, SpreadsTheRandomValueOverTheRange) {
    EXPECT_EQ(CProjectCrawlerDefault::CourtesyDelayMs(2, 6, 0), 2000);
    EXPECT_EQ(CProjectCrawlerDefault::CourtesyDelayMs(2, 6, kRandomMax), 6000);
    // The widest range the settings allow would overflow 32 bits.
    EXPECT_EQ(CProjectCrawlerDefault::CourtesyDelayMs(0, 3600, kRandomMax), 3600000);
    EXPECT_EQ(CProjectCrawlerDefault::CourtesyDelayMs(0, 3600, kRandomMax - 1), 3599890);
    // A reversed range stays between its two ends.
    EXPECT_EQ(CProjectCrawlerDefault::CourtesyDelayMs(9, 5, kRandomMax), 5000);
}

// The delay formula needs the whole range 0..kRandomMax and nothing outside it.
TEST(RandomSource, ValuesStayInRangeAndReachAllOfIt) {
    std::set<int> eighths;
    for (int i = 0; i < 20000; ++i) {
        const int value = RandomValue();
        ASSERT_TRUE(value >= 0 && value <= kRandomMax) << value;
        eighths.insert(value / 4096);
    }
    EXPECT_EQ(eighths.size(), 8u);
}

} // namespace
