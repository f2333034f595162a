#pragma once

#include "tests/projects/fixture_server.h"
#include "tests/projects/project6_sites.h"
#include "tests/support/whois_server.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace trykinds {

// What to type into the wizard for a kind to find data.
struct KindKeywords {
    int kind;
    QString keywords;
};

// Every outside service the eight kinds ask, on loopback, answered from the end-to-end tests' fixture pages
// (tests/projects/data) and sites: the keywords of Keywords() find what the tests find, failures included,
// and any other keyword gets the engines' pages of the watch-list kind. Nothing reaches an outside host.
class KindServices {
  public:
    KindServices();
    KindServices(const KindServices&) = delete;
    KindServices& operator=(const KindServices&) = delete;

    // Sends every service and whois lookup of this process here.
    void PointEndpoints() const;

    static std::vector<KindKeywords> Keywords();
    // Bid Watchtower's pairs: keywords and sites that its pages show ads for.
    static QStringList WatchKeywords();
    static QStringList WatchSites();

  private:
    void ServeFallbacks();
    void ServeKeywordIdeas();
    void ServeNicheResearch();
    void ServeChronicle();
    void ServeRankSummit();
    void ServeOffers();

    projtest::FixtureServer m_server;
    projtest::Project6Sites m_sites;
    twtest::WhoisServer m_whois;
};

} // namespace trykinds
