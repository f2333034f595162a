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

    bool ask(const QString& service, int& min, int& max) {
        min = m_crawler.courtesyMin;
        max = m_crawler.courtesyMax;
        return m_crawler.GetCourtesy(service, min, max);
    }

    QTemporaryDir m_home;
    // Never started: nothing is read or written.
    CProjectCrawler m_crawler{{m_home.path(), m_home.path() + u"/data"_s, {}, {}}};
};

// A listed service is paced even with the switch off, in any letter case, and only ever raises the range.
TEST_F(CrawlerCourtesy, ListedServicesAreAlwaysPacedWithTheirLeastRange) {
    int min = 0, max = 0;
    EXPECT_TRUE(ask(u"whois"_s, min, max));
    EXPECT_EQ(std::pair(min, max), std::pair(2, 4));
    m_crawler.courtesyMin = 5;
    m_crawler.courtesyMax = 9;
    EXPECT_TRUE(ask(u"GOOGLE"_s, min, max));
    EXPECT_EQ(std::pair(min, max), std::pair(5, 9));
}

TEST_F(CrawlerCourtesy, OtherServicesFollowTheUsersSwitch) {
    int min = 0, max = 0;
    m_crawler.allowCourtesy = false;
    EXPECT_FALSE(ask(u"Yahoo"_s, min, max));
    EXPECT_EQ(std::pair(min, max), std::pair(0, 3));
    m_crawler.allowCourtesy = true;
    EXPECT_TRUE(ask(u"TwOffers"_s, min, max));
    EXPECT_EQ(max, 3);
}

TEST_F(CrawlerCourtesy, ArticleDirectoriesUseTheirOwnRange) {
    int min = 0, max = 0;
    m_crawler.courtesyMin = 7;
    m_crawler.courtesyMax = 8;
    m_crawler.articleCourtesyMin = 4;
    m_crawler.articleCourtesyMax = 5;
    EXPECT_TRUE(ask(u"EzineArticles"_s, min, max));
    EXPECT_EQ(std::pair(min, max), std::pair(4, 5));
    m_crawler.allowArticleCourtesy = false;
    EXPECT_TRUE(ask(u"goarticles"_s, min, max));
    EXPECT_EQ(std::pair(min, max), std::pair(0, 1));
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
