#include "net/whois_directory.h"
#include "net/whois_table.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <map>

using namespace Qt::StringLiterals;

namespace {

// The "not registered" texts a row may name; every one of them is in use.
const QStringList kMarkers =
    QString(u"No match for|NOT FOUND|No match|No Match|No information available|Domain Not Found|"
            u"nothing found|No Data Found|No such domain|AVAIL|no matching record|No data found|"
            u"status:      free|No entries found|No match found|not found in our database|is not registered|"
            u"No data was found|no entries found|No domains matched|"
            u"Referencias de Organization No Encontradas|is free|no matches|NO MATCH for|does not exists|"
            u"NOMATCH|No entries|Not found in database|No Records Found|Sorry - no|NO MATCH|"
            u"not have an entry|% No entries found|Not found|"
            u"% THERE WAS NO MATCH IN THE IE DOMAIN REGISTRY DATABASE FOR YOUR QUERY.|No Match for|"
            u"Not found:|not known|not registered|No match!!|no existe|does not exist|Available"_s)
        .split(u'|');

QString ParentOf(const QString& suffix) {
    const qsizetype dot = suffix.indexOf(u'.');
    return dot < 0 ? QString() : suffix.sliced(dot + 1);
}

class WhoisTableTest : public ::testing::Test {
  protected:
    const std::span<const char* const> m_text = WhoisTableText();
    const std::vector<WhoisTableRow> m_rows = ParseWhoisTable(m_text);
};

TEST_F(WhoisTableTest, HasItsRowsAndEndRow) {
    ASSERT_EQ(m_text.size(), 349u);
    EXPECT_STREQ(m_text.back(), kWhoisTableEnd);
    ASSERT_EQ(m_rows.size(), 348u);

    // Only com repeats: its three rows lead the table, each with a server of its own.
    std::map<QString, int> rowsOf;
    for (const WhoisTableRow& row : m_rows)
        ++rowsOf[row.suffix];
    EXPECT_EQ(rowsOf.size(), 346u);
    for (const auto& [suffix, rows] : rowsOf)
        EXPECT_EQ(rows, suffix == u"com"_s ? 3 : 1) << suffix.toStdString();
    const QSet<QString> comServers = {m_rows[0].server, m_rows[1].server, m_rows[2].server};
    EXPECT_EQ(comServers.size(), 3);
    EXPECT_TRUE(std::ranges::all_of(m_rows.begin(), m_rows.begin() + 3,
                                    [](const WhoisTableRow& row) { return row.suffix == u"com"_s; }));
}

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

TEST_F(WhoisTableTest, EveryMarkerIsKnownAndUsed) {
    ASSERT_EQ(kMarkers.size(), 43);
    QSet<QString> used;
    for (const WhoisTableRow& row : m_rows) {
        EXPECT_TRUE(kMarkers.contains(row.marker))
            << row.suffix.toStdString() << ": " << row.marker.toStdString();
        used.insert(row.marker);
    }
    EXPECT_EQ(used.size(), kMarkers.size());
}

// Suffixes that are themselves registered names, run by a registry of their own.
TEST_F(WhoisTableTest, EighteenSuffixesAreDomainNames) {
    int underComOrNet = 0;
    int underCo = 0;
    for (const WhoisTableRow& row : m_rows) {
        const QString parent = ParentOf(row.suffix);
        if (parent == u"com"_s || parent == u"net"_s)
            ++underComOrNet;
        else if (parent == u"co"_s)
            ++underCo;
    }
    EXPECT_EQ(underComOrNet, 17);
    EXPECT_EQ(underCo, 1);
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
    EXPECT_EQ(compiled->size(), 348u);
    whois_directory::SetRows({{u"test"_s, u"No match"_s, u"whois.fixture.test"_s}});
    ASSERT_EQ(whois_directory::Rows()->size(), 1u);
    EXPECT_EQ(whois_directory::Rows()->front().server, u"whois.fixture.test"_s);
    whois_directory::ResetToDefaults();
    EXPECT_EQ(*whois_directory::Rows(), *compiled);
}

} // namespace
