#pragma once

#include "projects/kind4/project4_records.h"

#include <QHash>
#include <QStringList>
#include <vector>

class CDownloader_HTMLTags;

// The requests of a run, one service each.
enum class Project4Request { Volume, Google, Bing, Yahoo, PageRank, Inlinks, Traffic, Whois };
inline constexpr int kProject4RequestCount = 8;

// The records of a run and what is still to be asked: a value not asked is one not fetched yet, so a run that
// was stopped, or saved and reopened, goes on where it stood. Sites are kept once each, by host, however many
// top lists name them.
class CProject4_Data {
  public:
    // Adds a record for each keyword not held yet (compared ignoring case), in the given order.
    void AddKeywords(const QStringList& keywords);

    // The first record still waiting for a request of kind request (a keyword for the searches, a site for
    // the site services); task_value::kNone when none is. The keyword tool is asked for every keyword at
    // once: its task is 0 while any volume is missing.
    int NextTask(Project4Request request) const;
    // The keywords still without a volume.
    QStringList KeywordsWithoutVolume() const;

    // Stores a search's result count and first ten results, and adds the sites of those results.
    void StoreSearch(int keyword, int engine, double count,
                     const std::vector<CDownloader_Parsers_SE_result>& results);
    // The value a site request fetched (or its no-data value).
    void StoreSite(Project4Request request, int site, int value);
    // The volumes from the keyword tool's rows, by keyword ignoring case; keywords without a row get no data.
    void StoreVolumes(const std::vector<std::pair<QString, float>>& volumes);
    // A request whose exchange failed: its records take the no-data value and the failed mark with error
    // (the keyword tool's: every keyword still without a volume).
    void StoreFailure(Project4Request request, int task, const QString& error);
    // Turns every failed request back into one not asked.
    void ForgetFailures();

    // The site of a result address, null when it is not held.
    const CProject4_Site* SiteFor(const QString& url) const;

    // Requests answered and requests the records call for so far (sites add theirs as they appear).
    int Done() const;
    int Total() const;

    void WriteXml(CDownloader_HTMLTags& root) const;
    void ReadXml(const CDownloader_HTMLTags& root);

    const std::vector<CProject4_Keyword>& Keywords() const { return m_keywords; }
    const std::vector<CProject4_Site>& Sites() const { return m_sites; }

  private:
    // Adds the sites of results not held yet.
    void AddSitesOf(const std::vector<CDownloader_Parsers_SE_result>& results);

    std::vector<CProject4_Keyword> m_keywords;
    std::vector<CProject4_Site> m_sites;
    QHash<QString, int> m_siteIndex;
};

// The site field a site request fills.
int Project4SiteValue(const CProject4_Site& site, Project4Request request);
