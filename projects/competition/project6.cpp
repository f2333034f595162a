#include "projects/competition/project6.h"

#include "app/project_exporter.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "net/http_url.h"
#include "parsers/alexa_traffic.h"
#include "parsers/google_page_rank.h"
#include "projects/common/record_xml.h"
#include "projects/common/search_engine.h"
#include "projects/competition/project6_home_page_checks.h"
#include "skin/skin_dlg_holder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kResultsPerPage = 10;
// Home pages often move to another address or scheme; a few hops are followed, each ending like any other
// download (the downloader's size, time and hop limits hold for every one).
constexpr int kHomePageRedirects = 5;
// Each followed hop uses up two of the downloader's redirect budget.
constexpr int kHomePageRedirectBudget = 2 * kHomePageRedirects + 1;

const QString kPageRankService = u"Google PR"_s;
const QString kTrafficService = u"Alexa"_s;
// The sites' own pages: one name for all of them, so that pacing, when the user asks for it, spaces them.
const QString kSiteService = u"SpF"_s;

const QString kStatusKey = u"m_status"_s;
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
    : CKeywordInputProject(id, kind, CWizardKeywordInput::Mode::List),
      m_pageRank(
          kPageRankService, u"Page rank"_s, &CProject6_Site::pageRank,
          [](CDownloader& downloader, const CProject6_Site& site) {
              return CDownloader_Parsers::StartGooglePageRank(downloader, site.url);
          },
          [](const CDownloader& downloader) { return CDownloader_Parsers::ParsePageRank(downloader); }),
      m_trafficRank(
          kTrafficService, u"Traffic rank"_s, &CProject6_Site::trafficRank,
          [](CDownloader& downloader, const CProject6_Site& site) {
              return CDownloader_Parsers::StartAlexaQuery(downloader, site.site);
          },
          [](const CDownloader& downloader) {
              return CDownloader_Parsers::ParseKeywordPopularity(downloader);
          }),
      m_bar(kind), m_rep(kind, m_sites, markerTitle), m_panes(kind) {}

CProject6::~CProject6() {
    // The page's elements may already be leaving their window: only the download slots are given back.
    ReleaseRequests();
}

void CProject6::InitInfo() {
    m_name = u"Placement Scout"_s;
    m_description =
        u"Finds sites that show content ads for a keyword, with their page rank and traffic rank."_s;
}

void CProject6::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    CKeywordInputProject::CreateView(holder, nextId);
    m_bar.Create(holder, nextId, CWizardKeywordInput::JoinKeywords(Keywords()));

    m_pagesLabel.CreateLabel(holder, ++*nextId, u"Result pages:"_s);
    m_pagesLabel.SetPosition(kRowLeft, kRowTop + 8, m_pagesLabel.m_width, m_pagesLabel.m_height, 0);
    m_pagesSlider.Create(holder, ++*nextId);
    const int sliderLeft = kRowLeft + m_pagesLabel.m_width + 10;
    m_pagesSlider.SetPosition(sliderLeft, kRowTop, kSliderWidth, CSkinSlider::kMinHeight, 0);
    m_pagesSlider.m_minimum = kMinPages;
    m_pagesSlider.m_maximum = kMaxPages;
    m_pagesSlider.m_position = m_pageCount;
    CreateRowElements(holder, nextId, sliderLeft + kSliderWidth + 20);

    m_panes.Create(holder, nextId, kReportTop, &m_rep, nullptr);
    m_bar.SetRunning(m_status == kRunning);
    UpdateProgress();
    ContentChanged();
}

void CProject6::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    if (!m_viewCreated)
        return;
    const bool visible = show == kShowView;
    m_bar.SetVisible(visible);
    m_pagesLabel.SetVisible(visible);
    m_pagesSlider.SetVisible(visible);
    ShowRowElements(visible);
    m_panes.SetVisible(visible);
}

void CProject6::OnWizardDone() {
    Start(nullptr);
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
    // A finished run starts anew; a stopped one goes on where it stopped.
    if (!HasWorkLeft()) {
        if (!ConfirmLoseResults(sender)) {
            m_pageCount = pageCount;
            m_nextSearch = nextSearch;
            return;
        }
        ClearData();
    }
    m_status = kRunning;
    if (m_viewCreated) {
        m_bar.SetError(QString());
        m_bar.SetRunning(true);
    }
    UpdateProgress();
}

void CProject6::Stop() {
    ReleaseRequests();
    if (m_status == kRunning)
        m_status = kIdle;
    if (m_viewCreated)
        m_bar.SetRunning(false);
}

void CProject6::ReleaseRequests() {
    m_search.Release();
    for (CServiceLane& request : m_homePages)
        request.Finish();
    m_pageRank.Finish();
    m_trafficRank.Finish();
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
    if (m_status != kRunning)
        return;
    StepSearch();
    StepHomePages();
    StepRank(m_pageRank);
    StepRank(m_trafficRank);
    if (!HasWorkLeft()) {
        m_status = kDone;
        if (m_viewCreated)
            m_bar.SetRunning(false);
    }
    UpdateProgress();
}

int CProject6::SearchCount() const {
    return int(Keywords().size()) * m_pageCount;
}

void CProject6::StepSearch() {
    if (m_nextSearch >= SearchCount())
        return;
    const int keyword = m_nextSearch / m_pageCount;
    const int start = m_nextSearch % m_pageCount * kResultsPerPage;
    // Search engine 1 only.
    const SearchEngine& engine = SearchEngineAt(0);
    const CServiceStep::Result result = m_search.Run(engine.Pacing(), [&](CDownloader& downloader) {
        QString url;
        engine.buildUrl(url, Keywords()[keyword], kResultsPerPage, start);
        return downloader.Start(url);
    });
    if (result == CServiceStep::Result::Waiting)
        return;
    ++m_nextSearch;
    if (result == CServiceStep::Result::Done) {
        std::vector<CDownloader_Parsers_SE_result> results;
        engine.results(*m_search.Downloader(), results);
        // The engine has no more results for the keyword: its later pages would be empty too.
        if (results.empty())
            m_nextSearch = (keyword + 1) * m_pageCount;
        AddSites(results);
    } else {
        ShowError(engine.Name(), Keywords()[keyword], m_search.Error());
    }
    m_search.Release();
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

template <typename Pending> int CProject6::FirstSite(Pending pending) const {
    const auto it = std::find_if(m_sites.begin(), m_sites.end(), pending);
    return it == m_sites.end() ? -1 : int(it - m_sites.begin());
}

int CProject6::NextUntestedSite() const {
    for (size_t i = 0; i < m_sites.size(); ++i) {
        const bool fetching = std::any_of(m_homePages.begin(), m_homePages.end(),
                                          [i](const CServiceLane& r) { return r.task == int(i); });
        if (m_sites[i].test == CProject6_Site::kUntested && !fetching)
            return int(i);
    }
    return -1;
}

void CProject6::StepHomePages() {
    bool started = false;
    for (CServiceLane& request : m_homePages) {
        if (request.task < 0) {
            if (started)
                continue;
            request.task = NextUntestedSite();
            if (request.task < 0)
                continue;
            started = true;
        }
        StepHomePage(request);
    }
}

void CProject6::StepHomePage(CServiceLane& request) {
    CProject6_Site& site = m_sites[size_t(request.task)];
    const CServiceStep::Result result = request.step.Run(kSiteService, [&](CDownloader& downloader) {
        downloader.m_redirectBudget = kHomePageRedirectBudget;
        return downloader.Start(site.url);
    });
    if (result == CServiceStep::Result::Waiting)
        return;
    const CDownloader& downloader = *request.step.Downloader();
    // Failed takes 4xx and 5xx; a redirect beyond the hop limit is no home page either.
    const HttpStatus status = downloader.Response().status;
    if (result == CServiceStep::Result::Done && status.code >= 200 && status.code < 300) {
        bool found = false;
        site.marker = TestHomePage(downloader, site.url, found);
        site.test = found ? CProject6_Site::kFound : CProject6_Site::kNotFound;
        if (!found)
            site.marker.clear();
    } else {
        // Whatever the site answered instead of its page, its ranks are not asked: the row shows no data.
        site.test = CProject6_Site::kFailed;
        site.pageRank = site.trafficRank = -2;
        const QString error = result == CServiceStep::Result::Failed
                                  ? request.step.Error()
                                  : u"The home page answered with status "_s + QString::number(status.code);
        ShowError(u"Home page"_s, site.site, error);
    }
    request.Finish();
    ContentChanged();
}

QString CProject6::TestHomePage(const CDownloader& downloader, const QString& /*homeUrl*/,
                                bool& found) const {
    const DownloadResponse response = downloader.Response();
    const QString client = FindAdClient(response.body, response.tree);
    found = !client.isEmpty();
    return client;
}

void CProject6::StepRank(RankRequest& request) {
    int CProject6_Site::*const rank = request.rank;
    if (request.task < 0)
        request.task = FirstSite(
            [rank](const CProject6_Site& s) { return s.test == CProject6_Site::kFound && s.*rank == -1; });
    if (request.task < 0)
        return;
    CProject6_Site& site = m_sites[size_t(request.task)];
    const CServiceStep::Result result = request.step.Run(
        request.service, [&](CDownloader& downloader) { return request.start(downloader, site); });
    if (result == CServiceStep::Result::Waiting)
        return;
    if (result == CServiceStep::Result::Done) {
        site.*rank = request.parse(*request.step.Downloader());
    } else {
        site.*rank = -2;
        ShowError(request.name, site.site, request.step.Error());
    }
    request.Finish();
    ContentChanged();
}

bool CProject6::HasWorkLeft() const {
    if (m_nextSearch < SearchCount())
        return true;
    return std::any_of(m_sites.begin(), m_sites.end(), [](const CProject6_Site& s) {
        return s.test == CProject6_Site::kUntested ||
               (s.test == CProject6_Site::kFound && (s.pageRank == -1 || s.trafficRank == -1));
    });
}

void CProject6::ShowError(const QString& service, const QString& subject, const QString& error) {
    if (m_viewCreated)
        m_bar.SetStepError(service, subject, error);
}

void CProject6::UpdateProgress() {
    if (!m_viewCreated)
        return;
    int total = SearchCount();
    int done = std::min(m_nextSearch, total);
    for (const CProject6_Site& site : m_sites) {
        ++total;
        done += site.test != CProject6_Site::kUntested;
        if (site.test == CProject6_Site::kFound) {
            total += 2;
            done += (site.pageRank != -1) + (site.trafficRank != -1);
        }
    }
    if (done != m_bar.Done() || total != m_bar.Total())
        m_bar.SetProgress(done, total);
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
    // A running project is saved as stopped: opening it starts nothing.
    record_xml::SaveValue(root, kStatusKey, m_status == kDone ? int(kDone) : int(kIdle));
    record_xml::SaveValue(root, kPagesKey, m_pageCount);
    record_xml::SaveValue(root, kNextSearchKey, m_nextSearch);
    record_xml::SaveRecords(root, kSitesKey, kSiteItemKey, m_sites);
    // The rows come back in the order they were saved in.
    record_xml::SaveValue(root, kSortColumnKey, m_rep.m_sortColumn);
    record_xml::SaveValue(root, kSortDirectionKey, m_rep.m_sortDirection);
    m_bar.SaveXml(root);
}

void CProject6::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    Stop();
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, m_kind);
    m_status = record_xml::LoadInt(root, kStatusKey, kIdle) == kDone ? kDone : kIdle;
    m_pageCount = std::clamp(record_xml::LoadInt(root, kPagesKey, kDefaultPages), kMinPages, kMaxPages);
    m_nextSearch = std::max(0, record_xml::LoadInt(root, kNextSearchKey, 0));
    record_xml::LoadRecords(root, kSitesKey, kSiteItemKey, m_sites);
    m_hasResults = !m_sites.empty();
    const int sortColumn = record_xml::LoadInt(root, kSortColumnKey, CSkinListBox::kNoSort);
    m_rep.m_sortColumn = sortColumn >= CProject6_Rep::kSite && sortColumn <= CProject6_Rep::kTrafficRank
                             ? sortColumn
                             : CSkinListBox::kNoSort;
    m_rep.m_sortDirection = record_xml::LoadInt(root, kSortDirectionKey, 0) == 1 ? 1 : 0;
    m_bar.LoadXml(root);
    if (m_viewCreated) {
        m_bar.SetKeywords(CWizardKeywordInput::JoinKeywords(Keywords()));
        m_pagesSlider.m_position = m_pageCount;
        m_pagesSlider.Redraw();
    }
    UpdateProgress();
    ContentChanged();
}

void CProject6::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    if (m_bar.IsStartCommand(command)) {
        Start(sender);
        return;
    }
    if (m_bar.IsStopCommand(command)) {
        Stop();
        return;
    }
    if (m_panes.OnCommand(command, param) || m_rep.OnCommand(command, param))
        return;
    CKeywordInputProject::OnCommand(command, param, sender);
}
