#pragma once

#include "parsers/se_result.h"
#include "projects/common/failed_tasks.h"
#include "projects/common/task_values.h"

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
    // Estimated monthly searches from the keyword tool (or a task_value).
    float searches = task_value::kNotAsked;
    // Result count per engine (or a task_value). Counts pass 2^31, so not int.
    std::array<double, kProject4EngineCount> results{task_value::kNotAsked, task_value::kNotAsked,
                                                     task_value::kNotAsked};
    // The first ten organic results per engine, in page order.
    std::array<std::vector<CDownloader_Parsers_SE_result>, kProject4EngineCount> top;
    // The requests that failed, numbered as Project4Request: the volume and the searches.
    CFailedTasks failed;
};

// What is known of one site that stood in a top list. It is asked once, whichever keywords and engines
// listed it.
class CProject4_Site {
  public:
    void WriteXml(CDownloader_HTMLTags& node) const;
    void ReadXml(const CDownloader_HTMLTags* node);

    // The site's host, lower-cased.
    QString site;
    // Each service's value, or a task_value.
    int pageRank = task_value::kNotAsked;
    int inlinks = task_value::kNotAsked;
    int trafficRank = task_value::kNotAsked;
    // The whois creation date as the whois parser reads it; not asked, or 0 none found.
    int created = task_value::kNotAsked;
    // The requests that failed, numbered as Project4Request: the site services.
    CFailedTasks failed;
};
