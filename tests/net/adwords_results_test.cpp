#include "net/crawler.h"

#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Sorted by keyword in exact character order (capitals first), then by type; a known row is replaced.
TEST(SharedKeywordResults, SortedByKeywordThenTypeAndReplacedInPlace) {
    QTemporaryDir home;
    CProjectCrawler crawler{{home.path(), home.path() + u"/data"_s, {}, {}}};
    const std::vector<std::pair<QString, int>> added = {{u"red"_s, 4}, {u"blue"_s, 1}, {u"red"_s, 1},
                                                        {u"Red"_s, 2}, {u"red"_s, 4},  {u"red "_s, 255}};
    for (size_t i = 0; i < added.size(); ++i) {
        CDownloader_Parsers_Adwords_result row;
        std::tie(row.keyword, row.keywordType) = added[i];
        row.avgCPC = static_cast<float>(i);
        crawler.AddAdwordsResult(row);
    }
    std::vector<std::pair<QString, int>> stored;
    for (const CDownloader_Parsers_Adwords_result& row : crawler.GetAdwordsResults())
        stored.emplace_back(row.keyword, row.keywordType);
    EXPECT_EQ(stored, (std::vector<std::pair<QString, int>>{
                          {u"Red"_s, 2}, {u"blue"_s, 1}, {u"red"_s, 1}, {u"red"_s, 4}, {u"red "_s, 255}}));
    EXPECT_EQ(crawler.GetAdwordsResults()[3].avgCPC, 4.0f);

    // The lookup finds a row only by its exact keyword and type, and gives the stored (replacing) row.
    CDownloader_Parsers_Adwords_result found;
    for (const auto& [keyword, type] : stored) {
        ASSERT_TRUE(crawler.FindAdwordsResult(keyword, type, found)) << keyword.toStdString() << type;
        EXPECT_EQ(std::pair(found.keyword, found.keywordType), std::pair(keyword, type));
    }
    ASSERT_TRUE(crawler.FindAdwordsResult(u"red"_s, 4, found));
    EXPECT_EQ(found.avgCPC, 4.0f);
    found.avgCPC = 99.0f;
    for (const auto& [keyword, type] : std::vector<std::pair<QString, int>>{
             {u"red"_s, 2}, {u"RED"_s, 1}, {u"red "_s, 1}, {u""_s, 0}, {u"a"_s, 1}, {u"zzz"_s, 255}})
        EXPECT_FALSE(crawler.FindAdwordsResult(keyword, type, found)) << keyword.toStdString() << type;
    EXPECT_EQ(found.avgCPC, 99.0f) << "a miss leaves the caller's row alone";
    // The crawler's numbered-event hook handles nothing.
    CProjectCrawlerDefault& base = crawler;
    EXPECT_FALSE(base.HandleEvent(1, 2));
}

// A parser thread replaces rows while another thread looks them up: each copy is the whole row as stored.
TEST(SharedKeywordResults, LookupCopiesAWholeRowWhileRowsAreReplaced) {
    QTemporaryDir home;
    CProjectCrawler crawler{{home.path(), home.path() + u"/data"_s, {}, {}}};
    std::atomic<bool> done{false};
    std::thread parser([&] {
        for (int i = 0; i < 3000; ++i) {
            CDownloader_Parsers_Adwords_result row;
            row.keyword = u"kw %1"_s.arg(i % 100);
            row.avgCPC = static_cast<float>(i % 100);
            crawler.AddAdwordsResult(row);
        }
        done.store(true);
    });
    for (int hits = 0; !done.load() || hits == 0;) {
        CDownloader_Parsers_Adwords_result row;
        if (crawler.FindAdwordsResult(u"kw 42"_s, 0, row)) {
            ++hits;
            ASSERT_EQ(row.keyword, u"kw 42"_s);
            ASSERT_EQ(row.avgCPC, 42.0f);
        }
    }
    parser.join();
    EXPECT_EQ(crawler.GetAdwordsResults().size(), 100u);
}

} // namespace
