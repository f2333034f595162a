#include "projects/kind4/project4_data.h"

#include "net/http_url.h"
#include "projects/common/record_xml.h"

using namespace Qt::StringLiterals;
using task_value::kNoData;
using task_value::kNone;
using task_value::kNotAsked;

namespace {

constexpr std::size_t kTopCount = 10;
constexpr int kSiteRequests = 4;

int EngineOf(Project4Request request) {
    return static_cast<int>(request) - static_cast<int>(Project4Request::Google);
}

// The site a result address belongs to. Its "www." stays: page rank and inlinks rate the web host, which
// may differ from its bare domain.
QString SiteOfResult(const QString& url) {
    return SiteOfUrl(url, {.keepWww = true});
}

bool IsSearch(Project4Request request) {
    return request == Project4Request::Google || request == Project4Request::Bing ||
           request == Project4Request::Yahoo;
}

template <typename Site> auto& SiteField(Site& site, Project4Request request) {
    switch (request) {
    case Project4Request::PageRank:
        return site.pageRank;
    case Project4Request::Inlinks:
        return site.inlinks;
    case Project4Request::Traffic:
        return site.trafficRank;
    default:
        return site.created;
    }
}

} // namespace

int Project4SiteValue(const CProject4_Site& site, Project4Request request) {
    return SiteField(site, request);
}

void CProject4_Data::AddKeywords(const QStringList& keywords) {
    for (const QString& keyword : keywords) {
        const bool held = std::ranges::any_of(m_keywords, [&](const CProject4_Keyword& k) {
            return k.keyword.compare(keyword, Qt::CaseInsensitive) == 0;
        });
        if (!held && !keyword.isEmpty()) {
            CProject4_Keyword record;
            record.keyword = keyword;
            m_keywords.push_back(record);
        }
    }
}

int CProject4_Data::NextTask(Project4Request request) const {
    if (request == Project4Request::Volume)
        return KeywordsWithoutVolume().isEmpty() ? kNone : 0;
    if (IsSearch(request)) {
        const int engine = EngineOf(request);
        for (std::size_t i = 0; i < m_keywords.size(); ++i)
            if (m_keywords[i].results[engine] == kNotAsked)
                return static_cast<int>(i);
        return kNone;
    }
    for (std::size_t i = 0; i < m_sites.size(); ++i)
        if (Project4SiteValue(m_sites[i], request) == kNotAsked)
            return static_cast<int>(i);
    return kNone;
}

QStringList CProject4_Data::KeywordsWithoutVolume() const {
    QStringList out;
    for (const CProject4_Keyword& k : m_keywords)
        if (k.searches == kNotAsked)
            out << k.keyword;
    return out;
}

void CProject4_Data::StoreSearch(int keyword, int engine, double count,
                                 const std::vector<CDownloader_Parsers_SE_result>& results) {
    CProject4_Keyword& record = m_keywords.at(static_cast<std::size_t>(keyword));
    // A page that said nothing is no data, never "not fetched": it is not asked again.
    record.results[engine] = count < 0 ? kNoData : count;
    record.top[engine].assign(results.begin(), results.begin() + std::min(results.size(), kTopCount));
    AddSitesOf(record.top[engine]);
}

void CProject4_Data::StoreSite(Project4Request request, int site, int value) {
    int& field = SiteField(m_sites.at(static_cast<std::size_t>(site)), request);
    // A whois reply without a date is 0 (none found); the other services say no data.
    field = request == Project4Request::Whois ? std::max(value, 0) : (value < 0 ? kNoData : value);
}

void CProject4_Data::StoreVolumes(const std::vector<std::pair<QString, float>>& volumes) {
    for (CProject4_Keyword& record : m_keywords) {
        if (record.searches != kNotAsked)
            continue;
        record.searches = kNoData;
        for (const auto& [keyword, searches] : volumes) {
            if (keyword.compare(record.keyword, Qt::CaseInsensitive) == 0 && searches >= 0) {
                record.searches = searches;
                break;
            }
        }
    }
}

void CProject4_Data::StoreFailure(Project4Request request, int task, const QString& error) {
    const int failed = static_cast<int>(request);
    if (request == Project4Request::Volume) {
        for (CProject4_Keyword& record : m_keywords)
            if (record.searches == kNotAsked)
                record.failed.Mark(failed, error);
        StoreVolumes({});
    } else if (IsSearch(request)) {
        m_keywords.at(static_cast<std::size_t>(task)).failed.Mark(failed, error);
        StoreSearch(task, EngineOf(request), kNoData, {});
    } else {
        m_sites.at(static_cast<std::size_t>(task)).failed.Mark(failed, error);
        // Not even whois's "none found": nothing was read.
        SiteField(m_sites[static_cast<std::size_t>(task)], request) = kNoData;
    }
}

void CProject4_Data::ForgetFailures() {
    for (CProject4_Keyword& record : m_keywords) {
        if (record.failed.IsFailed(static_cast<int>(Project4Request::Volume)))
            record.searches = kNotAsked;
        for (int engine = 0; engine < kProject4EngineCount; ++engine)
            if (record.failed.IsFailed(static_cast<int>(Project4Request::Google) + engine))
                record.results[engine] = kNotAsked;
        record.failed = CFailedTasks();
    }
    for (CProject4_Site& site : m_sites) {
        for (Project4Request r : {Project4Request::PageRank, Project4Request::Inlinks,
                                  Project4Request::Traffic, Project4Request::Whois})
            if (site.failed.IsFailed(static_cast<int>(r)))
                SiteField(site, r) = kNotAsked;
        site.failed = CFailedTasks();
    }
}

const CProject4_Site* CProject4_Data::SiteFor(const QString& url) const {
    const auto found = m_siteIndex.constFind(SiteOfResult(url));
    return found == m_siteIndex.cend() ? nullptr : &m_sites[static_cast<std::size_t>(*found)];
}

int CProject4_Data::Done() const {
    int done = KeywordsWithoutVolume().isEmpty() && !m_keywords.empty() ? 1 : 0;
    for (const CProject4_Keyword& k : m_keywords)
        done += static_cast<int>(std::ranges::count_if(k.results, [](double r) { return r != kNotAsked; }));
    for (const CProject4_Site& s : m_sites)
        for (Project4Request r : {Project4Request::PageRank, Project4Request::Inlinks,
                                  Project4Request::Traffic, Project4Request::Whois})
            done += Project4SiteValue(s, r) != kNotAsked ? 1 : 0;
    return done;
}

int CProject4_Data::Total() const {
    if (m_keywords.empty())
        return 0;
    return 1 + kProject4EngineCount * static_cast<int>(m_keywords.size()) +
           kSiteRequests * static_cast<int>(m_sites.size());
}

void CProject4_Data::WriteXml(CDownloader_HTMLTags& root) const {
    record_xml::SaveRecords(&root, u"m_keywords"_s, u"item"_s, m_keywords);
    record_xml::SaveRecords(&root, u"m_sites"_s, u"item"_s, m_sites);
}

void CProject4_Data::ReadXml(const CDownloader_HTMLTags& root) {
    record_xml::LoadRecords(&root, u"m_keywords"_s, u"item"_s, m_keywords);
    std::erase_if(m_keywords, [](const CProject4_Keyword& k) { return k.keyword.isEmpty(); });
    std::vector<CProject4_Site> sites;
    record_xml::LoadRecords(&root, u"m_sites"_s, u"item"_s, sites);
    m_sites.clear();
    m_siteIndex.clear();
    for (const CProject4_Site& site : sites) {
        if (!site.site.isEmpty() && !m_siteIndex.contains(site.site)) {
            m_siteIndex.insert(site.site, static_cast<int>(m_sites.size()));
            m_sites.push_back(site);
        }
    }
    // A file that lost a site record still shows its results: the site is asked again.
    for (const CProject4_Keyword& k : m_keywords)
        for (const auto& top : k.top)
            AddSitesOf(top);
}

void CProject4_Data::AddSitesOf(const std::vector<CDownloader_Parsers_SE_result>& results) {
    for (const CDownloader_Parsers_SE_result& result : results) {
        const QString site = SiteOfResult(result.full_url);
        if (site.isEmpty() || m_siteIndex.contains(site))
            continue;
        CProject4_Site record;
        record.site = site;
        m_siteIndex.insert(site, static_cast<int>(m_sites.size()));
        m_sites.push_back(record);
    }
}
