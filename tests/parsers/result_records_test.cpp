#include "net/adwords_result.h"
#include "net/saved_file.h"
#include "parsers/se_result.h"
#include "tests/parsers/parser_test_util.h"

#include <climits>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using parser_test::S;

namespace {

using Node = CDownloader_HTMLTags;
using SE = CDownloader_Parsers_SE_result;
using Row = CDownloader_Parsers_Adwords_result;

// Saves each record under its own element of a project root, writes the saved-file bytes, reads them back
// and returns the record elements of the loaded document.
template <typename Record> std::vector<Record> RoundTrip(const std::vector<Record>& records) {
    Node root;
    Node* project = root.AddChild(S(u"Project4"), false);
    for (const Record& record : records)
        record.WriteXml(*project->AddChild(S(u"result"), false));
    Node loaded;
    ParseSavedFileBytes(loaded, SavedFileBytes(root));
    std::vector<const Node*> nodes;
    loaded.FindAll(nodes, {.tag = S(u"result")});
    std::vector<Record> out(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i)
        out[i].ReadXml(nodes[i]);
    return out;
}

SE FullAd() {
    SE ad;
    ad.pos = 3;
    ad.second_flag = 2;
    ad.title = S(u"Blue <Widgets> & more");
    ad.body = S(u"Cheap  widgets\r\nFree\tshipping");
    ad.show_url = S(u"www.widgets.example");
    ad.full_url = S(u"http://www.widgets.example/a?b=1&c=2");
    ad.ad_line1 = S(u"Cheap  widgets");
    ad.ad_line2 = S(u"Free\tshipping");
    return ad;
}

// Every stored field, for comparing records whole.
auto Fields(const SE& r) {
    return std::tie(r.pos, r.second_flag, r.title, r.body, r.show_url, r.full_url, r.ad_line1, r.ad_line2);
}

// An organic result (position -1) keeps all its texts through save and load, next to a full ad.
TEST(SearchResultRecord, OrganicResultWithoutPositionKeepsItsTexts) {
    SE organic;
    organic.title = S(u"Widgets  of every colour");
    organic.body = S(u" leading blank and trailing blank ");
    organic.show_url = S(u"widgets.example/colours");
    organic.full_url = S(u"http://widgets.example/colours");

    const std::vector<SE> loaded = RoundTrip(std::vector<SE>{organic, FullAd()});
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(Fields(loaded[0]), Fields(organic));
    EXPECT_EQ(Fields(loaded[1]), Fields(FullAd()));
    Node saved;
    organic.WriteXml(*saved.AddChild(S(u"result"), false));
    EXPECT_FALSE(saved.ToText().contains(S(u"<pos>")));
}

TEST(SearchResultRecord, ReadsFilesOfTheEarlierForm) {
    // As files written before records without a position were saved: an ad in full, then an empty record.
    const QByteArray file = "\r\n<Project2>"
                            "\r\n   <ad>"
                            "\r\n      <pos>2</pos>"
                            "\r\n      <second_flag>1</second_flag>"
                            "\r\n      <title>Red widgets</title>"
                            "\r\n      <full_url>http://red.example/</full_url>"
                            "\r\n   </ad>"
                            "\r\n   <ad></ad>"
                            "\r\n</Project2>";
    Node loaded;
    ParseSavedFileBytes(loaded, file + '\0');
    std::vector<const Node*> nodes;
    loaded.FindAll(nodes, {.tag = S(u"ad")});
    ASSERT_EQ(nodes.size(), 2u);

    SE ad;
    EXPECT_TRUE(ad.ReadXml(nodes[0]));
    SE expected;
    std::tie(expected.pos, expected.second_flag, expected.title, expected.full_url) =
        std::tuple(2, 1, S(u"Red widgets"), S(u"http://red.example/"));
    EXPECT_EQ(Fields(ad), Fields(expected));

    SE empty = FullAd();
    EXPECT_FALSE(empty.ReadXml(nodes[1]));
    EXPECT_EQ(Fields(empty), Fields(SE()));
}

Row SampleRow() {
    Row row;
    row.keyword = S(u"blue widgets");
    row.estimatedPosMin = 1;
    row.estimatedPosMax = 3;
    row.keywordGroup = 2;
    row.estimatedSearch = 12100.0f;
    row.avgCPC = 1.25f;
    row.avgCTR = 0.5f;
    row.competition = 0.75f;
    row.m_searchTrends = {10, 20, 30, -1, 50, 60, 70, 80, 90, 100, 110, 120};
    row.keywordType = 4;
    return row;
}

auto Fields(const Row& r) {
    return std::tie(r.keyword, r.estimatedPosMin, r.estimatedPosMax, r.keywordGroup, r.estimatedSearch,
                    r.avgCPC, r.avgCTR, r.competition, r.m_searchTrends, r.keywordType);
}

TEST(KeywordRow, RoundTripsThroughSaveAndLoad) {
    Row unknown;
    unknown.keyword = S(u"no figures yet");
    const std::vector<Row> loaded = RoundTrip(std::vector<Row>{SampleRow(), unknown});
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(Fields(loaded[0]), Fields(SampleRow()));
    EXPECT_EQ(loaded[0].m_trendText, S(u"10 20 30 0 50 60 70 80 90 100 110 120"));
    EXPECT_EQ(Fields(loaded[1]), Fields(unknown));
    EXPECT_EQ(loaded[1].m_trendText, S(u"0 0 0 0 0 0 0 0 0 0 0 0"));
}

TEST(KeywordRow, ShortOrBrokenMonthlyTextLeavesTheRestUnknown) {
    auto monthsFrom = [](const QByteArray& value) {
        Node loaded;
        ParseSavedFileBytes(loaded,
                            "\r\n<row>\r\n   <searchTrends_str>" + value + "</searchTrends_str>\r\n</row>");
        Row row = SampleRow();
        row.ReadXml(loaded.FindFirst({.tag = S(u"row")}));
        return row.m_searchTrends;
    };
    using Months = std::array<int, 12>;
    EXPECT_EQ(monthsFrom("5 6 7"), (Months{5, 6, 7, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(monthsFrom("1 2 x 4"), (Months{1, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(monthsFrom(""), (Months{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(monthsFrom("1 2 3 4 5 6 7 8 9 10 11 12 13"), (Months{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(KeywordRow, MissingKeysReadAsDefaults) {
    Node loaded;
    ParseSavedFileBytes(loaded, "\r\n<row>\r\n   <keyword>solo</keyword>\r\n</row>");
    Row row = SampleRow();
    row.ReadXml(loaded.FindFirst({.tag = S(u"row")}));
    Row expected;
    expected.keyword = S(u"solo");
    EXPECT_EQ(Fields(row), Fields(expected));
}

TEST(KeywordRowTrend, NoDataOnlyWhenTheServiceHadNoFigure) {
    Row row = SampleRow();
    row.estimatedSearch = -1.0f;
    row.TrendText();
    EXPECT_EQ(row.m_trendText, S(u"10 20 30 0 50 60 70 80 90 100 110 120"));
    row.estimatedSearch = -2.0f;
    row.TrendText();
    EXPECT_EQ(row.m_trendText, S(u"No data"));
}

TEST(KeywordRowTrend, LargestValuesShowWithoutOverflow) {
    Row row;
    row.m_searchTrends = {INT_MAX, 21474837, INT_MIN, 0, 1, -1, 2, 3, 4, 5, 6, 7};
    row.TrendText();
    EXPECT_EQ(row.m_trendText, S(u"2147483647 21474837 0 0 1 0 2 3 4 5 6 7"));
}

} // namespace
