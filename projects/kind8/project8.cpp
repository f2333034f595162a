#include "projects/kind8/project8.h"

#include "app/project_exporter.h"
#include "core/platform_services.h"
#include "projects/common/record_xml.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kKind = 8;
// What older files saved for a finished search.
constexpr int kOlderSearchDone = 3;
const QString kResultsKey = u"m_results"_s;
const QString kResultKey = u"result"_s;
const QString kOpenSearchCommand = u"prj8_open_search"_s;
// The links sit in the heading's row, right of the kind's name.
constexpr int kLinksLeft = 300;
constexpr int kLinksTop = 152;
constexpr int kLinkStep = 64;

} // namespace

CProject8::CProject8(int id)
    : CKeywordInputProject(id, kKind, CWizardKeywordInput::Mode::SingleList), m_page(kKind),
      m_rep1(m_results) {}

void CProject8::InitInfo() {
    m_name = u"Offer Compass"_s;
    m_description = u"Searches CPA and affiliate offers for a keyword."_s;
}

QString CProject8::OfferQuery(const QString& keyword, int query) {
    return keyword + (query == 0 ? u" affiliate program"_s : u" CPA offer"_s);
}

bool CProject8::CanSave() {
    return SearchStep() >= 2;
}

int CProject8::SearchStep() const {
    if (m_run.GetState() == CKindRun::State::Done)
        return kSearchDone;
    if (m_run.Done() >= kSearchEngineCount)
        return 2;
    return m_run.IsRunning() ? 1 : 0;
}

void CProject8::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    CKeywordInputProject::CreateView(holder, nextId);
    m_keyword = Input().Keywords().value(0);
    m_page.Create(holder, nextId, m_keyword, &m_rep1);
    int x = kLinksLeft;
    for (int i = 0; i < kSearchEngineCount; ++i) {
        const SearchEngine& engine = SearchEngineAt(i);
        CSkinLabel& link = m_links[i];
        link.CreateLabel(holder, ++*nextId, engine.Name(), x, kLinksTop, kOpenSearchCommand,
                         u"Open this search in the browser"_s, true);
        link.m_param = engine.id;
        x += kLinkStep;
    }
    m_rep1.InvalidateContent();
}

void CProject8::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    m_page.SetVisible(show == kShowView);
    if (!m_page.Created())
        return;
    for (CSkinLabel& link : m_links)
        link.SetVisible(show == kShowView);
}

void CProject8::Start() {
    {
        const std::lock_guard guard(m_cs);
        m_results.clear();
    }
    ContentChanged();
    m_nextRequest = 0;
    m_run.Start(kRequestsPerSearch);
}

void CProject8::Process() {
    if (TakeWizardStart())
        Start();
    m_run.Step();
}

int CProject8::NextTask(int /*lane*/) {
    return WorkLeft() ? m_nextRequest : task_value::kNone;
}

CServiceStep::Result CProject8::StartTask(int /*lane*/, CServiceLane& request) {
    const SearchEngine& engine = SearchEngineAt(request.task % kSearchEngineCount);
    const QString query = Subject(0, request.task);
    return request.step.Run(engine.Pacing(), [&](CDownloader& downloader) {
        return engine.start(downloader, query, SearchEngine::kDefaultCount, 0);
    });
}

CRunHooks::Reply CProject8::StoreReply(int /*lane*/, int task, const CDownloader* reply) {
    ++m_nextRequest;
    if (!reply)
        return Reply::Stored;
    const SearchEngine& engine = SearchEngineAt(task % kSearchEngineCount);
    std::vector<CDownloader_Parsers_SE_result> found;
    engine.results(*reply, found);
    if (found.empty())
        return Reply::Stored;
    {
        const std::lock_guard guard(m_cs);
        for (const CDownloader_Parsers_SE_result& r : found)
            m_results.push_back({engine.id, task / kSearchEngineCount, r});
    }
    m_hasResults = true;
    return Reply::Stored;
}

QString CProject8::ServiceName(int /*lane*/, int task) const {
    return SearchEngineAt(task % kSearchEngineCount).Name();
}

QString CProject8::Subject(int /*lane*/, int task) const {
    return OfferQuery(m_keyword, task / kSearchEngineCount);
}

bool CProject8::WorkLeft() const {
    return m_nextRequest < kRequestsPerSearch;
}

void CProject8::ContentChanged() {
    m_rep1.InvalidateContent();
}

void CProject8::Export(CProjectExporter* exporter) {
    exporter->ExportReport(m_rep1, 100);
}

void CProject8::SaveXml(CDownloader_HTMLTags* root) {
    CKeywordInputProject::SaveXml(root);
    record_xml::SaveRecords(root, kResultsKey, kResultKey, m_results);
    m_run.SaveXml(root);
}

void CProject8::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, kKind);
    m_keyword = Input().Keywords().value(0);
    record_xml::LoadRecords(root, kResultsKey, kResultKey, m_results);
    m_hasResults = !m_results.empty();
    // A search saved while its second query ran is not picked up again; what it found is kept.
    m_run.LoadXml(root, kOlderSearchDone);
    if (m_page.Created())
        m_page.m_bar.SetKeywords(m_keyword);
    ContentChanged();
}

void CProject8::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    if (command == kOpenSearchCommand) {
        if (const SearchEngine* engine = FindSearchEngine(param))
            OpenUrlInBrowser(engine->SearchUrl(OfferQuery(m_keyword, 0), 0));
        return;
    }
    // A new search starts from an empty report.
    const auto start = [&] {
        if (!m_keyword.isEmpty() && ConfirmLoseResults(sender))
            Start();
    };
    if (m_page.Route(command, param, start, [&] { m_run.Stop(); }))
        return;
    // The wizard's answer about clearing the history: left alone, the list would keep the removed entries
    // and the "-- Clear history --" text, which Start would take for the keyword.
    CKeywordInputProject::OnCommand(command, param, sender);
}
