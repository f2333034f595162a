#include "projects/kind4/project4.h"

#include "app/project_exporter.h"
#include "app/project_view_title.h"
#include "net/downloader.h"
#include "parsers/keyword_tool.h"
#include "projects/common/keyword_tool_step.h"
#include "projects/common/record_xml.h"
#include "projects/common/search_engine.h"
#include "projects/kind4/project4_services.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

namespace {

const QString kEngineCommand = u"prj4_engine"_s;
const QString kSelectCommand = u"prj4_select_keyword"_s;
const QString kEngineKey = u"m_engine"_s;
const QString kFiltersKey = u"rep1_filters"_s;

constexpr int kTabWidth = 80;
constexpr int kTabGap = 4;
constexpr int kTabRight = 30;
constexpr int kUnselectedTab = 2;
constexpr int kSelectedTab = 3;
// Every keyword-tool row type: the volume of a keyword is its first row, whatever the match type.
constexpr int kAllMatchTypes = 255;

} // namespace

CProject4::CProject4(int id)
    : CKeywordInputProject(id, 4, CWizardKeywordInput::Mode::List), m_rep1(m_data), m_rep2(m_data),
      m_page(4) {}

void CProject4::InitInfo() {
    m_name = u"Rank Summit"_s;
    m_description =
        u"Organic competition per keyword: search volume, result counts and the top ten sites on "
        u"Google, Bing and Yahoo, with each site's page rank, inlinks, traffic rank and domain age."_s;
}

void CProject4::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    CKeywordInputProject::CreateView(holder, nextId);
    m_window = holder->GetDialog();
    m_data.AddKeywords(m_input.Keywords());
    // The engine tabs stand at the right end of the heading row, over the reports.
    for (int engine = 0; engine < kProject4EngineCount; ++engine) {
        CSkinButton& tab = m_engineTabs[static_cast<std::size_t>(engine)];
        tab.Create(holder, ++*nextId, SearchEngineAt(engine).Name(), kEngineCommand, engine);
        const int left = kTabRight + (kProject4EngineCount - engine) * (kTabWidth + kTabGap);
        holder->SetResizeRule(&tab, -left, CProjectViewTitle::kTop + 2, kTabWidth, tab.m_height);
    }
    m_rep1.m_selectCommand = kSelectCommand;
    m_rep1.m_owner = [this](const QString&, int, CSkinDlg_Base*) { OnKeywordSelected(); };
    m_page.Create(holder, nextId, CWizardKeywordInput::JoinKeywords(m_input.Keywords()), &m_rep1, &m_rep2);
    m_viewCreated = true;
    SelectEngine(m_engine);
    ContentChanged();
}

void CProject4::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    const bool visible = show == kShowView;
    m_page.SetVisible(visible);
    for (CSkinButton& tab : m_engineTabs)
        tab.SetVisible(visible);
}

void CProject4::Process() {
    if (TakeWizardStart())
        m_run.Start();
    m_run.Step();
}

int CProject4::NextTask(int lane) {
    return m_data.NextTask(static_cast<Project4Request>(lane));
}

bool CProject4::WorkLeft() const {
    for (int r = 0; r < kProject4RequestCount; ++r)
        if (m_data.NextTask(static_cast<Project4Request>(r)) >= 0)
            return true;
    return false;
}

CServiceStep::Result CProject4::StartTask(int lane, CServiceLane& request) {
    const auto service = static_cast<Project4Request>(lane);
    if (service == Project4Request::Volume)
        return RunKeywordTool(request.step, m_data.KeywordsWithoutVolume().join(u'\n'), m_window);
    return request.step.Run(project4_services::PacingName(service), [&](CDownloader& downloader) {
        return project4_services::Start(service, downloader, m_data, request.task);
    });
}

CRunHooks::Reply CProject4::StoreReply(int lane, int task, const CDownloader* reply) {
    // A failed request was stored with its mark (MarkFailed): an error page is not read as the page asked
    // for.
    const auto service = static_cast<Project4Request>(lane);
    if (reply && service == Project4Request::Volume)
        StoreVolumes(*reply);
    else if (reply)
        project4_services::Store(service, *reply, m_data, task);
    m_hasResults = true;
    return Reply::Stored;
}

void CProject4::MarkFailed(int lane, int task, const QString& error) {
    // The no-data value with the mark, so the run goes on without asking it again.
    m_data.StoreFailure(static_cast<Project4Request>(lane), task, error);
}

void CProject4::Start() {
    // A run goes on where it stood; failed requests are asked again.
    m_data.ForgetFailures();
    ContentChanged();
    m_run.GoOn();
}

QString CProject4::ServiceName(int lane, int /*task*/) const {
    return project4_services::ServiceName(static_cast<Project4Request>(lane));
}

QString CProject4::Subject(int lane, int task) const {
    return project4_services::Subject(static_cast<Project4Request>(lane), m_data, task);
}

bool CProject4::CountRequests(int& done, int& total) const {
    done = m_data.Done();
    total = m_data.Total();
    return true;
}

void CProject4::StoreVolumes(const CDownloader& downloader) {
    std::vector<CDownloader_Parsers_Adwords_result> rows;
    CDownloader_Parsers::ParseAdwordsKeywordTool(downloader, rows, kAllMatchTypes);
    std::vector<std::pair<QString, float>> volumes;
    volumes.reserve(rows.size());
    for (const CDownloader_Parsers_Adwords_result& row : rows)
        volumes.emplace_back(row.keyword, row.estimatedSearch);
    m_data.StoreVolumes(volumes);
}

void CProject4::SelectEngine(int engine) {
    m_engine = std::clamp(engine, 0, kProject4EngineCount - 1);
    for (int e = 0; e < kProject4EngineCount; ++e)
        m_engineTabs[static_cast<std::size_t>(e)].SetStyle(e == m_engine ? kSelectedTab : kUnselectedTab);
    m_rep2.Show(m_rep2.Keyword(), m_engine);
}

void CProject4::OnKeywordSelected() {
    const int selected = m_rep1.GetSingleSelection();
    m_rep2.Show(selected >= 0 ? selected : task_value::kNone, m_engine);
}

void CProject4::ContentChanged() {
    if (!m_viewCreated)
        return;
    m_rep1.UpdateItemCount();
    m_rep1.InvalidateContent();
    m_rep2.UpdateItemCount();
    m_rep2.InvalidateContent();
}

int CProject4::CanExport(int /*reserved*/) {
    return 1;
}

void CProject4::Export(CProjectExporter* exporter) {
    exporter->ExportReport(m_rep1, 100);
    exporter->ExportReport(m_rep2, 100);
}

void CProject4::SaveXml(CDownloader_HTMLTags* root) {
    CKeywordInputProject::SaveXml(root);
    record_xml::SaveValue(root, kEngineKey, m_engine);
    m_data.WriteXml(*root);
    m_rep1.SerializeFilters(root->AddChild(kFiltersKey, false));
    m_run.SaveXml(root);
    m_rep1.SaveSelection(root);
}

void CProject4::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, m_kind);
    if (!root)
        return;
    m_data.ReadXml(*root);
    m_rep1.SerializeFilters(record_xml::Child(root, kFiltersKey));
    m_data.AddKeywords(m_input.Keywords());
    const int engine = record_xml::LoadInt(root, kEngineKey, kProject4Google);
    m_page.m_bar.SetKeywords(CWizardKeywordInput::JoinKeywords(m_input.Keywords()));
    m_run.LoadXml(root);
    if (m_viewCreated) {
        m_rep2.Show(task_value::kNone, m_engine);
        SelectEngine(engine);
    } else {
        m_engine = engine;
    }
    ContentChanged();
    if (m_viewCreated)
        m_rep1.LoadSelection(root);
}

void CProject4::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    CKeywordInputProject::OnCommand(command, param, sender);
    if (command == kEngineCommand) {
        SelectEngine(param);
        return;
    }
    m_page.Route(
        command, param, [&] { Start(); }, [&] { m_run.Stop(); });
}
