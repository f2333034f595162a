#include "parsers/keyword_tool.h"
#include "tests/parsers/parser_test_util.h"
#include "tests/parsers/service_test_util.h"

#include <array>
#include <gtest/gtest.h>

using parser_test::DownloadedPage;
using parser_test::S;

namespace {

using Rows = std::vector<CDownloader_Parsers_Adwords_result>;
using Months = std::array<int, 12>;

const Months kNoTrend = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

class KeywordToolReply : public service_test::ServiceTest {
  protected:
    Rows Parse(const QByteArray& reply, int typeMask, Rows out = {}) {
        const auto downloader = DownloadedPage(reply);
        CDownloader_Parsers::ParseAdwordsKeywordTool(*downloader, out, typeMask);
        return out;
    }
};

// One criterion call with the seventeen arguments the tool sends; the ones the parser does not read are
// fillers.
QByteArray Criterion(const QByteArray& keyword, const QByteArray& searches, const QByteArray& competition,
                     const QByteArray& cpc, const QByteArray& position, const QByteArray& type) {
    return "criteria[0] = new kpCriterion('" + keyword + "', 'f1', '" + searches + "', 'f3', 'f4', 'f5', '" +
           competition + "', '" + cpc + "', 'f8', '" + position +
           "', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', " + type + ");\n";
}

QByteArray MonthlyBlock(const QList<QByteArray>& shares) {
    QByteArray block = "var monthly = new Array();\n";
    for (const QByteArray& share : shares)
        block += "monthly.push(new kpMonthlyPopularity(" + share + "));\n";
    return block;
}

TEST_F(KeywordToolReply, RowsGroupsMonthsAndSharing) {
    const QByteArray reply =
        "var historicalStartMonth = 10;var criteria = new Array();\n" +
        MonthlyBlock(
            {"0.29", "0.0123", "x", "0.04", "0.05", "0.06", "0.07", "0.08", "0.09", "0.10", "0.11", "0.12"}) +
        Criterion("[bob\\47s widgets]", "12,100", "0.87", "$1,234.56", "3 - 5", "kpView.MATCH_BROAD") +
        // No monthly block of its own: no trend borrowed from the row before.
        Criterion("\"red widgets\"", "n/a", "0.5", "$0.75", "4", "kpView.MATCH_EXACT") +
        "var group = new kpCriteriaGroup('Keywords related to term(s) entered', new "
        "kpCriterionList(criteria));\n"
        "var criteria = new Array();\n" +
        Criterion("blue widgets", "880", "x", "none", "x", "kpView.MATCH_PHRASE") +
        Criterion("green widgets", "10", "0.1", "$0.10", "1 - 2", "kpView.MATCH_OTHER") +
        "var group = new kpCriteriaGroup('Additional keywords to consider', new "
        "kpCriterionList(criteria));\n";

    const Rows rows = Parse(reply, 255);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].keyword, S(u"bob's widgets"));
    EXPECT_EQ(rows[0].estimatedSearch, 12100.0f);
    EXPECT_FLOAT_EQ(rows[0].competition, 0.87f);
    EXPECT_FLOAT_EQ(rows[0].avgCPC, 1234.56f);
    EXPECT_EQ(rows[0].estimatedPosMin, 3);
    EXPECT_EQ(rows[0].estimatedPosMax, 5);
    EXPECT_EQ(rows[0].keywordType, 1);
    // From month 10 on, wrapping after 11; 0.29 is 29 whole percent, 0.0123 is 1, an unreadable share -1.
    EXPECT_EQ(rows[0].m_searchTrends, (Months{-1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 29, 1}));
    EXPECT_EQ(rows[0].keywordGroup, 1);

    EXPECT_EQ(rows[1].keyword, S(u"red widgets"));
    EXPECT_EQ(rows[1].estimatedSearch, -1.0f);
    EXPECT_EQ(rows[1].estimatedPosMax, 4);
    EXPECT_EQ(rows[1].m_searchTrends, kNoTrend);

    EXPECT_EQ(rows[2].competition, -1.0f);
    EXPECT_EQ(rows[2].avgCPC, -1.0f);
    EXPECT_EQ(rows[2].estimatedPosMin, -1);
    EXPECT_EQ(rows[2].keywordGroup, 2);
    EXPECT_EQ(rows[3].keywordType, 255);

    // A mask keeps the rows of its types (and those of no known type); every row is shared all the same.
    const Rows phrase = Parse(reply, 2);
    ASSERT_EQ(phrase.size(), 2u);
    EXPECT_EQ(phrase[0].keyword, S(u"blue widgets"));
    EXPECT_EQ(phrase[1].keyword, S(u"green widgets"));
    const Rows shared = m_crawler.GetAdwordsResults();
    ASSERT_EQ(shared.size(), 4u);
    EXPECT_EQ(shared[0].keyword, S(u"blue widgets"));
    EXPECT_EQ(shared[1].keyword, S(u"bob's widgets"));
}

TEST_F(KeywordToolReply, HostileStartMonthAndGroupsLeaveOtherRowsAlone) {
    Rows earlier(1);
    earlier[0].keyword = S(u"from an earlier reply");
    // A negative start month still lands in the year; the group line comes before any list begins.
    const QByteArray reply = "var historicalStartMonth = -13;\n" + MonthlyBlock({"0.5", "0.25"}) +
                             Criterion("red", "1", "1", "$1", "1", "kpView.MATCH_BROAD") +
                             "var group = new kpCriteriaGroup('Additional keywords to consider', "
                             "new kpCriterionList(criteria));\n" +
                             // Fewer than seventeen arguments: no row.
                             "criteria[1] = new kpCriterion('short', 'a', 'b');\n";
    const Rows rows = Parse(reply, 255, earlier);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].keywordGroup, 0);
    EXPECT_EQ(rows[1].keywordGroup, 2);
    EXPECT_EQ(rows[1].m_searchTrends, (Months{25, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 50}));
}

} // namespace
