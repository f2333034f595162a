#include "projects/kind6/project6.h"

#include "app/project_exporter.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "net/http_url.h"
#include "parsers/alexa_traffic.h"
#include "parsers/google_page_rank.h"
#include "projects/common/record_xml.h"
#include "projects/common/search_engine.h"
#include "projects/kind6/project6_home_page_checks.h"
#include "skin/skin_dlg_holder.h"

#include <algorithm>

using namespace Qt::StringLiterals;
using task_value::kNoData;
using task_value::kNone;
using task_value::kNotAsked;

namespace {

constexpr int kResultsPerPage = 10;
// Home pages often move to another address or scheme; a few hops are followed, each ending like any other
// download (the downloader's size, time and hop limits hold for every one).
constexpr int kHomePageRedirects = 5;
// Each followed hop uses up two of the downloader's redirect budget.
constexpr int kHomePageRedirectBudget = 2 * kHomePageRedirects + 1;

// The sites' own pages: one name for all of them, so that pacing, when the user asks for it, spaces them.
const QString kSiteService = u"SpF"_s;

// The ranks asked for a site whose home page had what the kind looks for, one lane each.
struct RankService {
    const char16_t* pacing;
    // As its errors name it.
    const char16_t* name;
    int CProject6_Site::*rank;
    // The task as the site's failed mark numbers it.
    int task;
    bool (*start)(CDownloader& downloader, const CProject6_Site& site);
    int (*parse)(const CDownloader& downloader);
};

const RankService kRanks[] = {
    {u"Google PR", u"Page rank", &CProject6_Site::pageRank, CProject6_Site::kPageRankTask,
     [](CDownloader& d, const CProject6_Site& site) {
         return CDownloader_Parsers::StartGooglePageRank(d, site.url);
     },
     [](const CDownloader& d) { return CDownloader_Parsers::ParsePageRank(d); }},
    {u"Alexa", u"Traffic rank", &CProject6_Site::trafficRank, CProject6_Site::kTrafficRankTask,
     [](CDownloader& d, const CProject6_Site& site) {
         return CDownloader_Parsers::StartAlexaQuery(d, site.site);
     },
     [](const CDownloader& d) { return CDownloader_Parsers::ParseKeywordPopularity(d); }},
};
const QString kPagesKey = u"m_pageCount"_s;
const QString kNextSearchKey = u"m_nextSearch"_s;
const QString kSitesKey = u"m_sites"_s;
const QString kSiteItemKey = u"item"_s;
const QString kSortColumnKey = u"rep_sortColumn"_s;
const QString kSortDirectionKey = u"rep_sortDirection"_s;

constexpr int kRowLeft = 30;
constexpr int kSliderWidth = 170;

} // namespace

CProject6::CProject6(int id) : CProject6(id, 6, u"Ad client"_s) {}

CProject6::CProject6(int id, int kind, const QString& markerTitle)
    : CKeywordInputProject(id, kind, CWizardKeywordInput::Mode::List, CWizardKeywordInput::History::Offer),
      m_page(kind), m_rep(kind, m_sites, markerTitle) {}

void CProject6::InitInfo() {
    m_name = u"Placement Scout"_s;
    m_description =
        u"Finds sites that show content ads for a keyword, with their page rank and traffic rank."_s;
}

void CProject6::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    CKeywordInputProject::CreateView(holder, nextId);
    m_page.Create(holder, nextId, CWizardKeywordInput::JoinKeywords(Keywords()), &m_rep, nullptr, kReportTop);

    m_pagesLabel.CreateLabel(holder, ++*nextId, u"Result pages:"_s);
    m_pagesLabel.SetPosition(kRowLeft, kRowTop + 8, m_pagesLabel.m_width, m_pagesLabel.m_height, 0);
    m_pagesSlider.Create(holder, ++*nextId);
    const int sliderLeft = kRowLeft + m_pagesLabel.m_width + 10;
    m_pagesSlider.SetPosition(sliderLeft, kRowTop, kSliderWidth, CSkinSlider::kMinHeight, 0);
    m_pagesSlider.m_minimum = kMinPages;
    m_pagesSlider.m_maximum = kMaxPages;
    m_pagesSlider.m_position = m_pageCount;
    CreateRowElements(holder, nextId, sliderLeft + kSliderWidth + 20);
    ContentChanged();
}

void CProject6::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    if (!m_viewCreated)
        return;
    const bool visible = show == kShowView;
    m_page.SetVisible(visible);
    m_pagesLabel.SetVisible(visible);
    m_pagesSlider.SetVisible(visible);
    ShowRowElements(visible);
}

void CProject6::Start(CSkinDlg_Base* sender) {
    const int pageCount = m_pageCount;
    const int nextSearch = m_nextSearch;
    if (m_viewCreated && m_pagesSlider.m_position != m_pageCount) {
        // A search under way goes on at the same keyword with the new number of pages.
        const int keyword = m_nextSearch / m_pageCount;
        const int page = m_nextSearch % m_pageCount;
        m_pageCount = m_pagesSlider.m_position;
        m_nextSearch = keyword * m_pageCount + std::min(page, m_pageCount);
    }
    // A stopped run goes on where it stopped and asks its failed tasks again; a finished one starts anew.
    const bool failures =
        std::any_of(m_sites.begin(), m_sites.end(), [](const CProject6_Site& s) { return s.failed.Any(); });
    if (m_run.GetState() != CKindRun::State::Done && (failures || WorkLeft())) {
        for (CProject6_Site& site : m_sites)
            site.ForgetFailures();
        ContentChanged();
        m_run.GoOn();
        return;
    }
    if (!ConfirmLoseResults(sender)) {
        m_pageCount = pageCount;
        m_nextSearch = nextSearch;
        return;
    }
    ClearData();
    m_run.Start();
}

void CProject6::Stop() {
    m_run.Stop();
}

void CProject6::ClearData() {
    CKeywordInputProject::ClearData();
    std::lock_guard guard(m_cs);
    Stop();
    m_sites.clear();
    m_nextSearch = 0;
    ContentChanged();
}

void CProject6::Process() {
    if (TakeWizardStart())
        Start(nullptr);
    m_homePagesThisStep = 0;
    m_run.Step();
}

int CProject6::SearchCount() const {
    return int(Keywords().size()) * m_pageCount;
}

int CProject6::NextTask(int lane) {
    if (lane == kSearchLane)
        return m_nextSearch < SearchCount() ? m_nextSearch : kNone;
    if (lane < kFirstRankLane)
        return m_homePagesThisStep < kHomePagesPerStep ? NextUntestedSite() : kNone;
    int CProject6_Site::*const rank = kRanks[lane - kFirstRankLane].rank;
    const auto it = std::find_if(m_sites.begin(), m_sites.end(), [rank](const CProject6_Site& s) {
        return s.test == CProject6_Site::kFound && s.*rank == kNotAsked;
    });
    return it == m_sites.end() ? kNone : int(it - m_sites.begin());
}

CServiceStep::Result CProject6::StartTask(int lane, CServiceLane& request) {
    if (lane == kSearchLane) {
        const QString& keyword = Keywords()[request.task / m_pageCount];
        const int start = request.task % m_pageCount * kResultsPerPage;
        // Search engine 1 only.
        const SearchEngine& engine = SearchEngineAt(0);
        return request.step.Run(engine.Pacing(), [&](CDownloader& downloader) {
            QString url;
            engine.buildUrl(url, keyword, kResultsPerPage, start);
            return downloader.Start(url);
        });
    }
    const CProject6_Site& site = m_sites[size_t(request.task)];
    if (lane < kFirstRankLane) {
        // A lane whose step holds no downloader yet starts its home page now.
        if (!request.step.Holding())
            ++m_homePagesThisStep;
        return request.step.Run(kSiteService, [&](CDownloader& downloader) {
            downloader.m_redirectBudget = kHomePageRedirectBudget;
            return downloader.Start(site.url);
        });
    }
    const RankService& rank = kRanks[lane - kFirstRankLane];
    return request.step.Run(QString::fromUtf16(rank.pacing),
                            [&](CDownloader& downloader) { return rank.start(downloader, site); });
}

CRunHooks::Reply CProject6::StoreReply(int lane, int task, const CDownloader* reply) {
    if (lane == kSearchLane) {
        StoreSearch(task, reply);
    } else if (lane < kFirstRankLane) {
        StoreHomePage(lane, task, reply);
    } else {
        const RankService& rank = kRanks[lane - kFirstRankLane];
        m_sites[size_t(task)].*rank.rank = reply ? rank.parse(*reply) : kNoData;
    }
    return Reply::Stored;
}

void CProject6::MarkFailed(int lane, int task, const QString& error) {
    if (lane == kSearchLane)
        return;
    CProject6_Site& site = m_sites[size_t(task)];
    site.failed.Mark(
        lane < kFirstRankLane ? CProject6_Site::kHomePageTask : kRanks[lane - kFirstRankLane].task, error);
}

QString CProject6::ServiceName(int lane, int /*task*/) const {
    if (lane == kSearchLane)
        return SearchEngineAt(0).Name();
    if (lane < kFirstRankLane)
        return u"Home page"_s;
    return QString::fromUtf16(kRanks[lane - kFirstRankLane].name);
}

QString CProject6::Subject(int lane, int task) const {
    if (lane == kSearchLane)
        return Keywords().value(task / m_pageCount);
    return m_sites[size_t(task)].site;
}

void CProject6::StoreSearch(int task, const CDownloader* reply) {
    m_nextSearch = task + 1;
    if (!reply)
        return;
    std::vector<CDownloader_Parsers_SE_result> results;
    SearchEngineAt(0).results(*reply, results);
    // The engine has no more results for the keyword: its later pages would be empty too.
    if (results.empty())
        m_nextSearch = (task / m_pageCount + 1) * m_pageCount;
    AddSites(results);
}

void CProject6::AddSites(const std::vector<CDownloader_Parsers_SE_result>& results) {
    bool added = false;
    for (const CDownloader_Parsers_SE_result& result : results) {
        const QString url = DecodeHtmlEntities(result.full_url).trimmed();
        const HttpUrlParts parts = SplitHttpUrl(url);
        if (!parts.valid)
            continue;
        // The port stays: two servers on one host are two home pages to test.
        const QString site = SiteOfUrl(url, {.keepPort = true});
        const bool known = std::any_of(m_sites.begin(), m_sites.end(),
                                       [&](const CProject6_Site& s) { return s.site == site; });
        if (known)
            continue;
        CProject6_Site record;
        record.site = site;
        record.url = (parts.tls ? u"https://"_s : u"http://"_s) + parts.hostHeader.toLower() + u'/';
        m_sites.push_back(record);
        added = true;
    }
    if (added) {
        m_hasResults = true;
        ContentChanged();
    }
}

int CProject6::NextUntestedSite() const {
    for (size_t i = 0; i < m_sites.size(); ++i) {
        bool fetching = false;
        for (int lane = kFirstHomePageLane; lane < kFirstRankLane; ++lane)
            fetching = fetching || m_run.Lane(lane).task == int(i);
        if (m_sites[i].test == kNotAsked && !fetching)
            return int(i);
    }
    return kNone;
}

void CProject6::StoreHomePage(int lane, int task, const CDownloader* reply) {
    CProject6_Site& site = m_sites[size_t(task)];
    // A failed exchange takes 4xx and 5xx; a redirect beyond the hop limit is no home page either.
    const int status = reply ? reply->Response().status.code : 0;
    if (reply && status >= 200 && status < 300) {
        bool found = false;
        site.marker = TestHomePage(*reply, site.url, found);
        site.test = found ? CProject6_Site::kFound : CProject6_Site::kNotFound;
        if (!found)
            site.marker.clear();
        return;
    }
    // Whatever the site answered instead of its page, its ranks are not asked: their cells stay empty rather
    // than read as if the rank services had no figures for it.
    site.test = kNoData;
    site.pageRank = site.trafficRank = kNotAsked;
    if (reply)
        m_run.Fail(lane, task, u"The home page answered with status "_s + QString::number(status));
}

QString CProject6::TestHomePage(const CDownloader& downloader, const QString& /*homeUrl*/,
                                bool& found) const {
    const DownloadResponse response = downloader.Response();
    const QString client = FindAdClient(response.body, response.tree);
    found = !client.isEmpty();
    return client;
}

bool CProject6::WorkLeft() const {
    if (m_nextSearch < SearchCount())
        return true;
    return std::any_of(m_sites.begin(), m_sites.end(), [](const CProject6_Site& s) {
        return s.test == kNotAsked ||
               (s.test == CProject6_Site::kFound && (s.pageRank == kNotAsked || s.trafficRank == kNotAsked));
    });
}

bool CProject6::CountRequests(int& done, int& total) const {
    total = SearchCount();
    done = std::min(m_nextSearch, total);
    for (const CProject6_Site& site : m_sites) {
        ++total;
        done += site.test != kNotAsked;
        if (site.test == CProject6_Site::kFound) {
            total += 2;
            done += (site.pageRank != kNotAsked) + (site.trafficRank != kNotAsked);
        }
    }
    return true;
}

void CProject6::ContentChanged() {
    if (m_viewCreated)
        m_rep.InvalidateContent();
}

void CProject6::Export(CProjectExporter* exporter) {
    exporter->ExportReport(m_rep, 100);
}

void CProject6::SaveXml(CDownloader_HTMLTags* root) {
    CKeywordInputProject::SaveXml(root);
    record_xml::SaveValue(root, kPagesKey, m_pageCount);
    record_xml::SaveValue(root, kNextSearchKey, m_nextSearch);
    record_xml::SaveRecords(root, kSitesKey, kSiteItemKey, m_sites);
    // The rows come back in the order they were saved in.
    record_xml::SaveValue(root, kSortColumnKey, m_rep.m_sortColumn);
    record_xml::SaveValue(root, kSortDirectionKey, m_rep.m_sortDirection);
    // A running project is saved as stopped: opening it starts nothing.
    m_run.SaveXml(root);
}

void CProject6::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    Stop();
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, m_kind);
    m_pageCount = std::clamp(record_xml::LoadInt(root, kPagesKey, kDefaultPages), kMinPages, kMaxPages);
    m_nextSearch = std::max(0, record_xml::LoadInt(root, kNextSearchKey, 0));
    record_xml::LoadRecords(root, kSitesKey, kSiteItemKey, m_sites);
    m_hasResults = !m_sites.empty();
    const int sortColumn = record_xml::LoadInt(root, kSortColumnKey, CSkinListBox::kNoSort);
    m_rep.m_sortColumn = sortColumn >= CProject6_Rep::kSite && sortColumn <= CProject6_Rep::kTrafficRank
                             ? sortColumn
                             : CSkinListBox::kNoSort;
    m_rep.m_sortDirection = record_xml::LoadInt(root, kSortDirectionKey, 0) == 1 ? 1 : 0;
    m_run.LoadXml(root);
    if (m_viewCreated) {
        m_page.m_bar.SetKeywords(CWizardKeywordInput::JoinKeywords(Keywords()));
        m_pagesSlider.m_position = m_pageCount;
        m_pagesSlider.Redraw();
    }
    ContentChanged();
}

void CProject6::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    if (!m_page.Route(
            command, param, [&] { Start(sender); }, [&] { Stop(); }))
        CKeywordInputProject::OnCommand(command, param, sender);
}
