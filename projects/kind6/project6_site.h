#pragma once

#include "projects/common/failed_tasks.h"
#include "projects/common/task_values.h"

#include <QString>

class CDownloader_HTMLTags;

// One site found among the organic results: its home page's test (content ad units for kind 6, a
// mailing-list sign-up form for kind 7) and, once the test found one, its page rank and traffic rank.
class CProject6_Site {
  public:
    // test values besides task_value's not asked (untested) and no data (the home page could not be read).
    static constexpr int kNotFound = 0;
    static constexpr int kFound = 1;
    // The tasks of a site, as its failed mark numbers them.
    static constexpr int kHomePageTask = 0;
    static constexpr int kPageRankTask = 1;
    static constexpr int kTrafficRankTask = 2;

    // Writes the record as children of node; the field names are the keys.
    void WriteXml(CDownloader_HTMLTags& node) const;
    // Reads every key from node; a missing key takes its default.
    void ReadXml(const CDownloader_HTMLTags* node);

    // Turns the failed tasks back into tasks not asked (a failed home page: an untested site).
    void ForgetFailures();

    // Whether the report lists the site: its test found what the kind looks for, or could not tell.
    bool IsShown() const { return test == kFound || test == task_value::kNoData; }

    friend bool operator==(const CProject6_Site&, const CProject6_Site&) = default;

    // The result's site as SiteOfUrl gives it, keeping a port other than the scheme's.
    QString site;
    // The home page that was tested.
    QString url;
    // What the test found: the ad client, or the sign-up form's action.
    QString marker;
    int test = task_value::kNotAsked;
    int pageRank = task_value::kNotAsked;
    int trafficRank = task_value::kNotAsked;
    CFailedTasks failed;
};
