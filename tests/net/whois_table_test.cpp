#include "net/whois_directory.h"
#include "net/whois_table.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>

using namespace Qt::StringLiterals;

namespace {

QString ParentOf(const QString& suffix) {
    const qsizetype dot = suffix.indexOf(u'.');
    return dot < 0 ? QString() : suffix.sliced(dot + 1);
}

class WhoisTableTest : public ::testing::Test {
  protected:
    const std::span<const char* const> m_text = WhoisTableText();
    const std::vector<WhoisTableRow> m_rows = ParseWhoisTable(m_text);
};

// A name under a second-level suffix is asked of that suffix's server first, about the whole name; its
// parent's server would only be asked about the second-level name itself. com's rows lead regardless.
TEST_F(WhoisTableTest, SpecificRowsComeBeforeTheirParents) {
    std::map<QString, size_t> firstRow;
    for (size_t i = 0; i < m_rows.size(); ++i)
        firstRow.try_emplace(m_rows[i].suffix, i);
    int jpChildren = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QString parent = ParentOf(m_rows[i].suffix);
        if (parent == u"jp"_s)
            ++jpChildren;
        const auto found = firstRow.find(parent);
        if (parent.isEmpty() || parent == u"com"_s || found == firstRow.end())
            continue;
        EXPECT_LT(i, found->second) << m_rows[i].suffix.toStdString() << " after " << parent.toStdString();
    }
    EXPECT_GE(jpChildren, 2);
}

TEST_F(WhoisTableTest, SuffixesAndServersAreHostNames) {
    const QRegularExpression label(u"^[a-z0-9]([a-z0-9-]*[a-z0-9])?$"_s);
    auto isHostName = [&label](const QString& name, int minLabels) {
        const QStringList labels = name.split(u'.');
        return labels.size() >= minLabels &&
               std::ranges::all_of(labels, [&label](const QString& l) { return label.match(l).hasMatch(); });
    };
    for (const WhoisTableRow& row : m_rows) {
        EXPECT_TRUE(isHostName(row.suffix, 1)) << row.suffix.toStdString();
        EXPECT_TRUE(isHostName(row.server, 2)) << row.server.toStdString();
    }
}

TEST(WhoisTableParse, SplitsAtTheFirstTwoBarsAndStopsAtTheEnd) {
    const char* const text[] = {"co.uk|No match for|whois.one.test", "broken row",
                                "ie|% THERE WAS NO MATCH|whois.two.test|extra", "--END--", "after|the|end"};
    const std::vector<WhoisTableRow> rows = ParseWhoisTable(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (WhoisTableRow{u"co.uk"_s, u"No match for"_s, u"whois.one.test"_s}));
    EXPECT_EQ(rows[1], (WhoisTableRow{u"ie"_s, u"% THERE WAS NO MATCH"_s, u"whois.two.test|extra"_s}));
}

TEST(WhoisDirectory, TestRowsStandInUntilReset) {
    const auto compiled = whois_directory::Rows();
    whois_directory::SetRows({{u"test"_s, u"No match"_s, u"whois.fixture.test"_s}});
    ASSERT_EQ(whois_directory::Rows()->size(), 1u);
    EXPECT_EQ(whois_directory::Rows()->front().server, u"whois.fixture.test"_s);
    whois_directory::ResetToDefaults();
    EXPECT_EQ(*whois_directory::Rows(), *compiled);
}

} // namespace
