#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <array>
#include <vector>

class CDownloader_HTMLTags;

// The engines a keyword is searched on, in the order of the keyword report's columns and the tab buttons.
enum Project4Engine { kProject4Google = 0, kProject4Bing = 1, kProject4Yahoo = 2 };
inline constexpr int kProject4EngineCount = 3;

// One keyword of a run: its search volume and, per engine, the result count and the top organic results.
class CProject4_Keyword {
  public:
    // Writes the record as children of node, and reads it back.
    void WriteXml(CDownloader_HTMLTags& node) const;
    void ReadXml(const CDownloader_HTMLTags* node);

    QString keyword;
    // Estimated monthly searches from the keyword tool; -1 not fetched, -2 the tool gave none.
    float searches = -1.0f;
    // Result count per engine; -1 not fetched, -2 the page gave none. Counts pass 2^31, so not int.
    std::array<double, kProject4EngineCount> results{-1.0, -1.0, -1.0};
    // The first ten organic results per engine, in page order.
    std::array<std::vector<CDownloader_Parsers_SE_result>, kProject4EngineCount> top;
};

// What is known of one site that stood in a top list. It is asked once, whichever keywords and engines
// listed it.
class CProject4_Site {
  public:
    void WriteXml(CDownloader_HTMLTags& node) const;
    void ReadXml(const CDownloader_HTMLTags* node);

    // The site's host, lower-cased.
    QString site;
    // -1 not fetched, -2 the service gave none.
    int pageRank = -1;
    int inlinks = -1;
    int trafficRank = -1;
    // The whois creation date as the whois parser reads it; -1 not fetched, 0 none found.
    int created = -1;
};
