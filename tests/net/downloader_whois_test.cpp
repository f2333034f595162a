#include "core/limits.h"
#include "net/whois_directory.h"
#include "tests/net/downloader_test_fixture.h"
#include "tests/support/closed_port.h"
#include "tests/support/whois_server.h"

#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Queries = std::map<std::string, std::vector<std::string>>;

const std::string kComFree = "No match for \"EXAMPLE.COM\".\r\n";

// Whois lookups through a pooled downloader's worker, each table server a fixture server on loopback.
class DownloaderWhois : public dltest::CrawlerTest {
  protected:
    void SetUp() override {
        CrawlerTest::SetUp();
        whois_directory::SetRows({{u"com"_s, u"No match for"_s, u"whois.comone.test"_s},
                                  {u"com"_s, u"No match for"_s, u"whois.comtwo.test"_s},
                                  {u"com"_s, u"No match for"_s, u"whois.comthree.test"_s},
                                  {u"uk.com"_s, u"NOT FOUND"_s, u"whois.private.test"_s},
                                  {u"co.uk"_s, u"No match for"_s, u"whois.nominal.test"_s},
                                  {u"sub.ref"_s, u"No match"_s, u"whois.alpha.test"_s},
                                  {u"ref"_s, u"No match"_s, u"whois.beta.test"_s}});
        StartServers();
        m_crawler.CreatePool();
    }
    void TearDown() override {
        m_crawler.Shutdown();
        whois_directory::ResetToDefaults();
    }

    // Fresh servers, with no replies set and no queries seen, each mapped to its name.
    void StartServers() {
        for (const char* name :
             {"comone", "comtwo", "comthree", "private", "nominal", "alpha", "beta", "registrar"}) {
            const std::string host = "whois." + std::string(name) + ".test";
            auto& server = m_servers[host];
            server = std::make_unique<twtest::WhoisServer>();
            whois_directory::MapServer(QString::fromStdString(host), QString::fromStdString(server->Host()),
                                       server->Port());
        }
    }
    twtest::WhoisServer& Server(const std::string& name) { return *m_servers.at(name); }

    // The queries each server received, servers that received none left out.
    Queries QueriesSeen() const {
        Queries all;
        for (const auto& [name, server] : m_servers)
            if (!server->Queries().empty())
                all[name] = server->Queries();
        return all;
    }

    CDownloader& LookUp(const QString& domain) {
        CDownloader* downloader = m_crawler.GetDownloaderForHost(u"WhoIs"_s);
        EXPECT_NE(downloader, nullptr);
        EXPECT_TRUE(downloader->StartWhois(domain));
        EXPECT_TRUE(dltest::WaitFinished(*downloader));
        return *downloader;
    }

    std::map<std::string, std::unique_ptr<twtest::WhoisServer>> m_servers;
};

struct Scenario {
    const char* what;
    QString domain;
    std::map<std::string, std::string> replies; // server, reply to every query
    Queries asked;
    std::string kept; // the server whose reply ends in the body; empty: none
};

Scenario RefusedReferral(const std::string& host) {
    return {"an unfit referral host is not followed",
            u"example.sub.ref"_s,
            {{"whois.alpha.test", "No match\r\nwhois server: " + host + "\r\n"},
             {"whois.beta.test", "Domain: x\r\n"}},
            {{"whois.alpha.test", {"example.sub.ref"}}, {"whois.beta.test", {"sub.ref"}}},
            "whois.beta.test"};
}

// Which servers are asked about which name, and whose reply ends in the body: as it came, blank lines and
// all (the date after them included), with no header split off.
TEST_F(DownloaderWhois, ServersAskedAndTheReplyKeptWhole) {
    const Scenario scenarios[] = {
        {"a second-level name is reduced and asked of its own server",
         u"www.shop.example.co.uk"_s,
         {{"whois.nominal.test",
           "Domain name:\r\n    example.co.uk\r\n\r\nRelevant dates:\r\n    Created on: "
           "12-Mar-2001\r\n"}},
         {{"whois.nominal.test", {"example.co.uk"}}},
         "whois.nominal.test"},
        {"com servers in order until one lacks its marker",
         u"www.example.com"_s,
         {{"whois.comone.test", kComFree}, {"whois.comtwo.test", "Domain Name: EXAMPLE.COM\r\n"}},
         {{"whois.comone.test", {"example.com"}}, {"whois.comtwo.test", {"example.com"}}},
         "whois.comtwo.test"},
        {"a suffix under com asks the com servers about the com name first",
         u"www.shop.uk.com"_s,
         {{"whois.comone.test", kComFree},
          {"whois.comtwo.test", kComFree},
          {"whois.comthree.test", kComFree},
          {"whois.private.test", "Domain Name: shop.uk.com\r\n"}},
         {{"whois.comone.test", {"uk.com"}},
          {"whois.comtwo.test", {"uk.com"}},
          {"whois.comthree.test", {"uk.com"}},
          {"whois.private.test", {"shop.uk.com"}}},
         "whois.private.test"},
        {"a referral is followed",
         u"example.sub.ref"_s,
         {{"whois.alpha.test", "No match here.\r\nRegistrar WHOIS Server:  Whois.Registrar.Test \r\n"},
          {"whois.registrar.test", "Domain: example.sub.ref\r\n"}},
         {{"whois.alpha.test", {"example.sub.ref"}}, {"whois.registrar.test", {"example.sub.ref"}}},
         "whois.registrar.test"},
        RefusedReferral("whois.registrar1.test"),
        RefusedReferral("whois-registrar.test"),
        RefusedReferral(""),
        {"a referral to a server already asked ends the lookup",
         u"example.sub.ref"_s,
         {{"whois.alpha.test", "No match\nWhois Server: WHOIS.ALPHA.TEST\n"}},
         {{"whois.alpha.test", {"example.sub.ref"}}},
         "whois.alpha.test"},
        {"a suffix in no row asks nobody", u"example.org"_s, {}, {}, ""},
        // The domain goes out as the query line: one that holds a line break would send a second query.
        {"a domain holding a line break asks nobody", u"example.com\r\nexample.com"_s, {}, {}, ""},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        StartServers();
        for (const auto& [name, reply] : scenario.replies)
            Server(name).SetDefaultReply(reply);
        CDownloader& downloader = LookUp(scenario.domain);
        EXPECT_EQ(QueriesSeen(), scenario.asked);
        const DownloadResponse response = downloader.Response();
        EXPECT_TRUE(response.header.isEmpty());
        EXPECT_EQ(response.body, scenario.kept.empty()
                                     ? QString()
                                     : QString::fromStdString(scenario.replies.at(scenario.kept)));
        downloader.Release();
    }
}

// A server that never answers, one that refuses the connection and one whose reply is beyond the limit of a
// reply all count as no answer: the next server is asked.
TEST_F(DownloaderWhois, ServersWithoutAUsableAnswerArePassedOver) {
    twtest::ClosedPort closed;
    whois_directory::MapServer(u"whois.comone.test"_s, u"127.0.0.1"_s, closed.Port());
    Server("whois.comtwo.test").SetStalling(true);
    Server("whois.comthree.test").SetGeneratedReply(std::uint64_t(limits::kMaxResponseBytes) + 1);
    for (const auto& downloader : m_crawler.GetDownloaders())
        downloader->SetTimeouts(1000, 300);
    CDownloader& downloader = LookUp(u"example.com"_s);
    EXPECT_EQ(QueriesSeen(),
              (Queries{{"whois.comtwo.test", {"example.com"}}, {"whois.comthree.test", {"example.com"}}}));
    EXPECT_TRUE(downloader.Response().body.isEmpty());
    EXPECT_FALSE(downloader.Response().lastError.isEmpty());
    downloader.Release();
}

// A server that drips its reply fast enough to pass the rate floor is cut at the deadline: the lookup ends
// with what came and says why.
TEST_F(DownloaderWhois, ASteadyDripIsCutAtTheDeadline) {
    Server("whois.comone.test").SetDefaultReply(std::string(1024 * 1024, 'w'));
    Server("whois.comone.test").SetDrip(512, 20);
    for (const auto& downloader : m_crawler.GetDownloaders())
        downloader->SetReplyTimeLimits(
            {.headerDeadlineMs = 1000, .windowMs = 1000, .windowMinBytes = 1024, .totalDeadlineMs = 1000});
    const auto started = std::chrono::steady_clock::now();
    CDownloader& downloader = LookUp(u"example.com"_s);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(5000));
    EXPECT_EQ(QueriesSeen(), (Queries{{"whois.comone.test", {"example.com"}}}));
    const DownloadResponse response = downloader.Response();
    EXPECT_EQ(response.lastError, u"Receive error: the reply took longer than 1 seconds"_s);
    EXPECT_GT(response.body.size(), 5 * 1024);
    EXPECT_LT(response.body.size(), 1024 * 1024);
    downloader.Release();
}

// Releasing the downloader during a query that gets no answer ends the lookup at once.
TEST_F(DownloaderWhois, ReleaseDuringAStalledQuery) {
    Server("whois.comone.test").SetStalling(true);
    CDownloader* downloader = m_crawler.GetDownloaderForHost(u"WhoIs"_s);
    ASSERT_NE(downloader, nullptr);
    ASSERT_TRUE(downloader->StartWhois(u"example.com"_s));
    ASSERT_TRUE(dltest::WaitFor([&] { return !Server("whois.comone.test").Queries().empty(); }));
    downloader->Release();
    EXPECT_TRUE(dltest::WaitReusable(*downloader, 3000));
    EXPECT_FALSE(downloader->IsFinished());
    EXPECT_EQ(QueriesSeen(), (Queries{{"whois.comone.test", {"example.com"}}}));
}

} // namespace
