#include "core/limits.h"
#include "net/whois_lookup.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Asked = std::vector<std::pair<QString, QByteArray>>;

const std::vector<WhoisTableRow> kRows = {{u"com"_s, u"No match for"_s, u"whois.comone.test"_s},
                                          {u"com"_s, u"No match for"_s, u"whois.comtwo.test"_s},
                                          {u"com"_s, u"No match for"_s, u"whois.comthree.test"_s},
                                          {u"uk.com"_s, u"NOT FOUND"_s, u"whois.private.test"_s},
                                          {u"co.uk"_s, u"No match for"_s, u"whois.nominal.test"_s},
                                          {u"uk"_s, u"No match for"_s, u"whois.nominal.test"_s},
                                          {u"sub.ref"_s, u"No match"_s, u"whois.alpha.test"_s},
                                          {u"ref"_s, u"No match"_s, u"whois.beta.test"_s}};

// Stands in for the servers: each answers its canned reply (nothing when it has none) and every query is
// recorded, as are the progress lines.
class WhoisLookupTest : public ::testing::Test {
  protected:
    WhoisLookup::Outcome Run(const QString& domain) {
        WhoisLookup lookup(domain, kRows);
        return lookup.Run(
            [this](const QString& server, const QByteArray& request) {
                m_asked.emplace_back(server, request);
                if (server == m_abortAt)
                    m_abort = true;
                const auto found = m_replies.find(server);
                return found == m_replies.end() ? QByteArray() : found->second;
            },
            [this](const QString& line) { m_progress.push_back(line); }, m_abort);
    }

    std::vector<QString> AskedServers() const {
        std::vector<QString> servers;
        for (const auto& [server, request] : m_asked)
            servers.push_back(server);
        return servers;
    }

    std::map<QString, QByteArray> m_replies;
    QString m_abortAt;
    std::atomic<bool> m_abort{false};
    Asked m_asked;
    std::vector<QString> m_progress;
};

TEST(RegistrableWhoisName, KeepsTheSuffixAndOneLabel) {
    const struct {
        const char16_t* domain;
        const char16_t* suffix;
        const char16_t* name;
    } cases[] = {
        {u"a.b.example.co.uk", u"co.uk", u"example.co.uk"},
        {u"example.co.uk", u"co.uk", u"example.co.uk"},
        {u"a.b.example.co.uk", u"uk", u"co.uk"},
        {u"www.example.com", u"com", u"example.com"},
        {u"shop.uk.com", u"com", u"uk.com"},
        {u"shop.uk.com", u"uk.com", u"shop.uk.com"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RegistrableWhoisName(QString::fromUtf16(c.domain), QString::fromUtf16(c.suffix)),
                  QString::fromUtf16(c.name))
            << QString::fromUtf16(c.domain).toStdString() << " under "
            << QString::fromUtf16(c.suffix).toStdString();
    }
}

// Servers that send nothing, and the progress line ahead of each query; the routing itself is driven
// through a downloader against loopback servers in the whois exchange tests.
TEST_F(WhoisLookupTest, SilentServersArePassedOverWithAProgressLineEach) {
    const QByteArray kComFree = "No match for \"EXAMPLE.COM\".\r\n";
    const struct {
        const char* what;
        QString domain;
        std::map<QString, QByteArray> replies;
        Asked asked;
        QString endsWith; // the server whose reply ends the lookup; empty for none
    } scenarios[] = {
        {"servers that send nothing are passed over",
         u"example.com"_s,
         {{u"whois.comthree.test"_s, kComFree}},
         {{u"whois.comone.test"_s, "example.com\r\n"},
          {u"whois.comtwo.test"_s, "example.com\r\n"},
          {u"whois.comthree.test"_s, "example.com\r\n"}},
         u"whois.comthree.test"_s},
        {"the last server sending nothing ends the lookup with nothing",
         u"example.com"_s,
         {{u"whois.comone.test"_s, kComFree}},
         {{u"whois.comone.test"_s, "example.com\r\n"},
          {u"whois.comtwo.test"_s, "example.com\r\n"},
          {u"whois.comthree.test"_s, "example.com\r\n"}},
         {}},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        m_asked.clear();
        m_progress.clear();
        m_replies = scenario.replies;
        const WhoisLookup::Outcome outcome = Run(scenario.domain);
        EXPECT_FALSE(outcome.aborted);
        EXPECT_EQ(m_asked, scenario.asked);
        const auto ending = scenario.replies.find(scenario.endsWith);
        EXPECT_EQ(outcome.reply, ending == scenario.replies.end() ? QByteArray() : ending->second);
        // One progress line ahead of each query.
        ASSERT_EQ(m_progress.size(), m_asked.size());
        for (size_t i = 0; i < m_asked.size(); ++i) {
            const QString name = QString::fromUtf8(m_asked[i].second.chopped(2));
            EXPECT_EQ(m_progress[i],
                      u"[Checking "_s + name + u" with "_s + m_asked[i].first + u"...]\n \n"_s);
        }
    }
}

TEST_F(WhoisLookupTest, ReferralToAnUnfitHostIsRefusedAndTheQueueGoesOn) {
    const QByteArray kHosts[] = {
        "whois.registrar1.test", "whois-registrar.test", "", "   ", "localhost", "whois..test", ".test",
        "whois.régistrar.test"};
    for (const QByteArray& host : kHosts) {
        SCOPED_TRACE(host.toStdString());
        m_asked.clear();
        m_replies[u"whois.alpha.test"_s] = "No match\r\nwhois server: " + host + "\r\n";
        m_replies[u"whois.beta.test"_s] = "Domain: sub.ref\r\n";
        const WhoisLookup::Outcome outcome = Run(u"example.sub.ref"_s);
        EXPECT_EQ(outcome.reply, m_replies[u"whois.beta.test"_s]);
        EXPECT_EQ(AskedServers(), (std::vector<QString>{u"whois.alpha.test"_s, u"whois.beta.test"_s}));
    }
}

TEST_F(WhoisLookupTest, ReferralChainStopsAtTheLimit) {
    // Every server sends the client on to a new one.
    QString server = u"whois.alpha.test"_s;
    for (int i = 1; i <= limits::kMaxWhoisReferrals + 2; ++i) {
        const QString next = u"whois."_s + QString(i, u'r') + u".test"_s;
        m_replies[server] = "No match\r\nwhois server: " + next.toUtf8() + "\r\n";
        server = next;
    }
    const WhoisLookup::Outcome outcome = Run(u"example.sub.ref"_s);
    ASSERT_EQ(m_asked.size(), static_cast<size_t>(limits::kMaxWhoisReferrals + 1));
    EXPECT_EQ(outcome.reply, m_replies[m_asked.back().first]);
}

TEST_F(WhoisLookupTest, AbortStopsBeforeAndDuringQueries) {
    m_abort = true;
    WhoisLookup::Outcome outcome = Run(u"example.com"_s);
    EXPECT_TRUE(outcome.aborted);
    EXPECT_TRUE(m_asked.empty());
    EXPECT_TRUE(m_progress.empty());

    m_abort = false;
    m_abortAt = u"whois.comone.test"_s;
    m_replies[u"whois.comone.test"_s] = "Domain Name: EXAMPLE.COM\r\n";
    outcome = Run(u"example.com"_s);
    EXPECT_TRUE(outcome.aborted);
    EXPECT_TRUE(outcome.reply.isEmpty());
    EXPECT_EQ(m_asked.size(), 1u);
}

TEST_F(WhoisLookupTest, DomainsThatQueueNothing) {
    const QString domains[] = {
        u"example.unknown"_s,
        u"com"_s,
        u"uk.co.uk.org"_s,
        u"example.COM"_s,
        u"evil\r\nexample.com"_s,
        u"evil\nexample.com"_s,
        QString(u"evil"_s + QChar(u'\0') + u"example.com"_s),
    };
    for (const QString& domain : domains) {
        const WhoisLookup::Outcome outcome = Run(domain);
        EXPECT_FALSE(outcome.aborted);
        EXPECT_TRUE(outcome.reply.isEmpty());
    }
    EXPECT_TRUE(m_asked.empty());
    EXPECT_TRUE(m_progress.empty());
}

} // namespace
