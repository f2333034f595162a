#pragma once

#include <QString>

class CDownloader_HTMLTags;

// One site found among the organic results: its home page's test (content ad units for kind 6, a
// mailing-list sign-up form for kind 7) and, once the test found one, its page rank and traffic rank.
class CProject6_Site {
  public:
    // test values.
    static constexpr int kUntested = -1;
    static constexpr int kFailed = -2; // the home page could not be read: shown as no data
    static constexpr int kNotFound = 0;
    static constexpr int kFound = 1;

    // Writes the record as children of node; the field names are the keys.
    void WriteXml(CDownloader_HTMLTags& node) const;
    // Reads every key from node; a missing key takes its default.
    void ReadXml(const CDownloader_HTMLTags* node);

    // Whether the report lists the site: its test found what the kind looks for, or could not tell.
    bool IsShown() const { return test == kFound || test == kFailed; }

    friend bool operator==(const CProject6_Site&, const CProject6_Site&) = default;

    // The result's site as SiteOfUrl gives it, keeping a port other than the scheme's.
    QString site;
    // The home page that was tested.
    QString url;
    // What the test found: the ad client, or the sign-up form's action.
    QString marker;
    int test = kUntested;
    int pageRank = -1;
    int trafficRank = -1;
};
