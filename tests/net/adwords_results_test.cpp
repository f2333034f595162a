#include "net/crawler.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
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
}

} // namespace
