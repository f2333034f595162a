#include "net/html_tags.h"
#include "projects/kind1/project1_keyword.h"
#include "projects/kind1/project1_source_pages.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Rows = std::vector<CDownloader_Parsers_Adwords_result>;
using K = CProject1_Keyword;

CDownloader_Parsers_Adwords_result Row(const QString& keyword, float searches, float cpc = -1.0f,
                                       int type = 0) {
    CDownloader_Parsers_Adwords_result row;
    row.keyword = keyword;
    row.estimatedSearch = searches;
    row.avgCPC = cpc;
    row.keywordType = type;
    return row;
}

// The figures and spelling of one keyword follow the most trusted source, whatever order the replies came in.
TEST(Project1Keyword, MergeFollowsTheMostTrustedSource) {
    struct Case {
        std::vector<std::pair<CDownloader_Parsers_Adwords_result, int>> merges;
        QString keyword;
        int searches;
        float cpc;
        QString sources;
        QString matchTypes;
    };
    const Case cases[] = {
        {{{Row(u"Red  Widgets"_s, -1.0f), K::kAsk},
          {Row(u"red widgets"_s, 300.0f), K::kFreeSuggestions},
          {Row(u"RED widgets"_s, 5400.0f, 0.5f, 1), K::kKeywordTool},
          {Row(u"red widgets"_s, 9000.0f, 2.0f, 4), K::kKeywordTool}},
         u"RED widgets"_s,
         5400,
         0.5f,
         u"Keyword tool, Free suggestions, Ask"_s,
         u"Broad, Exact"_s},
        // A less trusted source only fills what is missing; an unknown match type adds nothing.
        {{{Row(u"widgets"_s, 800.0f, -1.0f, 255), K::kKeywordTool},
          {Row(u"widgets"_s, 5000.0f, 0.95f), K::kKeywordResearch}},
         u"widgets"_s,
         800,
         0.95f,
         u"Keyword tool, Keyword research"_s,
         QString()},
        {{{Row(u"widgets"_s, 5000.0f), K::kSearchMarketing},
          {Row(u"widgets"_s, 6000.0f, 0.95f), K::kKeywordResearch}},
         u"widgets"_s,
         6000,
         0.95f,
         u"Search Marketing, Keyword research"_s,
         QString()},
        // A source that answered without a figure: no data rather than not known.
        {{{Row(u"kits"_s, -2.0f), K::kKeywordTool}, {Row(u"kits"_s, -1.0f), K::kAsk}},
         u"kits"_s,
         -2,
         -1.0f,
         u"Keyword tool, Ask"_s,
         QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword.toStdString());
        K keyword;
        for (const auto& [row, source] : c.merges) {
            ASSERT_EQ(K::KeyOf(row.keyword), K::KeyOf(c.keyword));
            keyword.Merge(row, source);
        }
        EXPECT_EQ(keyword.m_row.keyword, c.keyword);
        EXPECT_EQ(keyword.Searches(), c.searches);
        EXPECT_FLOAT_EQ(keyword.m_row.avgCPC, c.cpc);
        EXPECT_EQ(keyword.SourcesText(), c.sources);
        EXPECT_EQ(keyword.MatchTypeText(), c.matchTypes);
    }
}

TEST(Project1SourcePages, SuggestionRowsAndRelatedSearches) {
    struct Case {
        QString page;
        bool ask;
        std::vector<std::pair<QString, float>> rows;
    };
    const Case cases[] = {
        {u"<table class=\"x suggestions\"><tr><th>Count</th><th>Keyword</th></tr>"
         "<tr><td> 1,234 </td><td><b>blue</b> widgets</td></tr><tr><td>n/a</td><td>a &amp; b</td></tr>"
         "<tr><td>7</td></tr><tr><td>9</td><td> </td></tr></table>"_s,
         false,
         {{u"blue widgets"_s, 1234.0f}, {u"a & b"_s, -1.0f}}},
        {u"<table><tr><td>5</td><td>not the suggestions</td></tr></table>"_s, false, {}},
        {u"<div class=\"related\"><a href=\"/1\">Blue\n Widgets</a><a href=\"/2\"></a><span>x</span>"
         "<a href=\"/3\">&lt;kits&gt;</a></div><a href=\"/4\">outside</a>"_s,
         true,
         {{u"Blue Widgets"_s, -1.0f}, {u"<kits>"_s, -1.0f}}},
        {u"<div id=\"related\"><a>not a block of that class</a></div>"_s, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page.toStdString());
        CDownloader_HTMLTags page;
        page.Parse(c.page);
        Rows rows;
        if (c.ask)
            project1_pages::ParseAskRelated(page, rows);
        else
            project1_pages::ParseFreeSuggestions(page, rows);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].keyword, c.rows[i].first);
            EXPECT_EQ(rows[i].estimatedSearch, c.rows[i].second);
        }
    }
}

} // namespace
