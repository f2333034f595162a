#include "projects/kind2/project2.h"

#include "app/project_exporter.h"
#include "net/downloader.h"
#include "parsers/commercial_intent.h"
#include "parsers/keyword_tool.h"
#include "projects/common/keyword_tool_step.h"
#include "projects/common/record_xml.h"
#include "projects/common/search_engine.h"
#include "projects/common/task_values.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;
namespace parsers = CDownloader_Parsers;
using task_value::kNoData;
using task_value::kNotAsked;

namespace {

const QString kIntentPacing = u"MS_OCI"_s;
// The keyword tool's answer for every match type.
constexpr int kAllMatchTypes = 255;
constexpr int kExactMatch = 4;
// The page answers the query it showed before: ask again.
constexpr float kIntentNotYet = -3.0f;

// What older files saved for a finished run.
constexpr int kOlderRunDone = 1;
const QString kRecordsKey = u"m_records"_s;
const QString kRecordKey = u"record"_s;
const QString kFiltersKey = u"rep1_filters"_s;

// The search lanes ask the engines in their shown order.
const SearchEngine& EngineOfLane(int lane) {
    return SearchEngineAt(lane - 1);
}

Project2Engine RecordEngineOfLane(int lane) {
    return Project2Engine(lane - 1);
}

// The tool's row for keyword: its exact-match row when there is one, else its first.
const CDownloader_Parsers_Adwords_result*
ToolRowFor(const std::vector<CDownloader_Parsers_Adwords_result>& rows, const QString& keyword) {
    const CDownloader_Parsers_Adwords_result* found = nullptr;
    for (const auto& row : rows) {
        if (row.keyword.compare(keyword, Qt::CaseInsensitive) != 0)
            continue;
        if (row.keywordType == kExactMatch)
            return &row;
        if (!found)
            found = &row;
    }
    return found;
}

} // namespace

CProject2::CProject2(int id)
    : CKeywordInputProject(id, 2, CWizardKeywordInput::Mode::List), m_rep1(m_records), m_rep2(m_records),
      m_page(2) {}

void CProject2::InitInfo() {
    m_name = u"Niche Lantern"_s;
    m_description =
        u"Pay-per-click market research per keyword: search volume, result counts, ads, bids and estimated clicks on three search engines."_s;
}

void CProject2::MakeRecords() {
    m_records.clear();
    QStringList seen;
    for (const QString& keyword : m_input.Keywords()) {
        if (seen.contains(keyword, Qt::CaseInsensitive))
            continue;
        seen.append(keyword);
        CProject2_Keyword record;
        record.keyword = keyword;
        m_records.push_back(record);
    }
}

void CProject2::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    CKeywordInputProject::CreateView(holder, nextId);
    m_holder = holder;
    if (m_records.empty())
        MakeRecords();
    m_page.Create(holder, nextId, CWizardKeywordInput::JoinKeywords(m_input.Keywords()), &m_rep1, &m_rep2);
    m_rep1.m_selectCommand = kSelectCommand;
    m_rep1.m_owner = [this](const QString&, int, CSkinDlg_Base*) { SelectionChanged(); };
    m_rep1.InvalidateContent();
    m_rep2.ShowKeyword(task_value::kNone);
}

void CProject2::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    m_page.SetVisible(show == kShowView);
}

bool CProject2::Pending(int lane, const CProject2_Keyword& record) const {
    switch (lane) {
    case kToolLane:
        return record.tool.estimatedSearch == kNotAsked;
    case kIntentLane:
        return record.intent == kNotAsked;
    default:
        return record.Engine(RecordEngineOfLane(lane)).adCount == kNotAsked;
    }
}

int CProject2::FirstPending(int lane) const {
    for (size_t i = 0; i < m_records.size(); ++i)
        if (Pending(lane, m_records[i]))
            return int(i);
    return task_value::kNone;
}

int CProject2::CountPending() const {
    // The keyword tool answers every keyword in one request.
    int count = FirstPending(kToolLane) >= 0 ? 1 : 0;
    for (const CProject2_Keyword& record : m_records)
        for (int lane = kGoogleLane; lane < kLaneCount; ++lane)
            count += Pending(lane, record) ? 1 : 0;
    return count;
}

void CProject2::Start() {
    for (CProject2_Keyword& record : m_records)
        record.ForgetFailures();
    ContentChanged();
    m_run.GoOn(CountPending());
}

void CProject2::Stop() {
    m_run.Stop();
}

void CProject2::Process() {
    if (TakeWizardStart())
        Start();
    m_run.Step();
}

int CProject2::NextTask(int lane) {
    return FirstPending(lane);
}

bool CProject2::WorkLeft() const {
    return CountPending() > 0;
}

QString CProject2::ServiceName(int lane, int /*task*/) const {
    switch (lane) {
    case kToolLane:
        return u"Keyword tool"_s;
    case kIntentLane:
        return u"Commercial intention"_s;
    default:
        return EngineOfLane(lane).Name();
    }
}

QString CProject2::Subject(int lane, int task) const {
    // The keyword tool asks about every pending keyword at once.
    if (lane == kToolLane) {
        const bool asking = m_run.Lane(kToolLane).step.Holding();
        QString keywords = asking ? m_toolKeywords : PendingToolKeywords();
        return keywords.replace(u'\n', u", "_s);
    }
    return m_records[size_t(task)].keyword;
}

QString CProject2::PendingToolKeywords() const {
    QStringList keywords;
    for (const CProject2_Keyword& record : m_records)
        if (Pending(kToolLane, record))
            keywords.append(record.keyword);
    return keywords.join(u'\n');
}

CServiceStep::Result CProject2::StartTask(int lane, CServiceLane& request) {
    if (lane == kToolLane) {
        if (!request.step.Holding())
            m_toolKeywords = PendingToolKeywords();
        CSkinDlg_Base* parent = m_holder ? m_holder->GetDialog() : nullptr;
        return RunKeywordTool(request.step, m_toolKeywords, parent);
    }
    const QString keyword = m_records[size_t(request.task)].keyword;
    if (lane == kIntentLane)
        return request.step.Run(
            kIntentPacing, [&](CDownloader& d) { return parsers::StartCommercialIntentQuery(d, keyword); });
    const SearchEngine& service = EngineOfLane(lane);
    return request.step.Run(service.Pacing(), [&](CDownloader& d) {
        return service.start(d, keyword, SearchEngine::kDefaultCount, SearchEngine::kFirstResult);
    });
}

CRunHooks::Reply CProject2::StoreReply(int lane, int task, const CDownloader* reply) {
    Reply stored = Reply::Stored;
    switch (lane) {
    case kToolLane:
        StoreTool(reply);
        break;
    case kIntentLane:
        stored = StoreIntent(m_records[size_t(task)], reply);
        break;
    default:
        StoreSearch(lane, m_records[size_t(task)], reply);
        break;
    }
    if (reply && stored == Reply::Stored)
        m_hasResults = true;
    return stored;
}

void CProject2::MarkFailed(int lane, int task, const QString& error) {
    if (lane != kToolLane) {
        m_records[size_t(task)].failed.Mark(lane, error);
        return;
    }
    for (CProject2_Keyword& record : m_records)
        if (Pending(kToolLane, record))
            record.failed.Mark(lane, error);
}

void CProject2::StoreTool(const CDownloader* reply) {
    std::vector<CDownloader_Parsers_Adwords_result> rows;
    if (reply)
        parsers::ParseAdwordsKeywordTool(*reply, rows, kAllMatchTypes);
    for (CProject2_Keyword& record : m_records) {
        if (!Pending(kToolLane, record))
            continue;
        if (const CDownloader_Parsers_Adwords_result* row = ToolRowFor(rows, record.keyword)) {
            const QString keyword = record.keyword;
            record.tool = *row;
            record.tool.keyword = keyword;
        }
        // Asked once: a keyword the tool did not answer has no data.
        if (record.tool.estimatedSearch == kNotAsked) {
            record.tool.estimatedSearch = kNoData;
            record.tool.avgCPC = kNoData;
        }
    }
}

void CProject2::StoreSearch(int lane, CProject2_Keyword& record, const CDownloader* reply) {
    const SearchEngine& service = EngineOfLane(lane);
    CProject2_Keyword::EngineResults& engine = record.Engine(RecordEngineOfLane(lane));
    engine.results = kNoData;
    engine.adCount = kNoData;
    engine.ads.clear();
    if (!reply)
        return;
    float total = kNoData;
    // A page without the count line is not a result page: its ads are not counted either.
    if (service.count(*reply, nullptr, nullptr, &total)) {
        service.ads(*reply, engine.ads);
        engine.adCount = int(engine.ads.size());
    }
    engine.results = total < 0.0f ? kNoData : total;
}

CRunHooks::Reply CProject2::StoreIntent(CProject2_Keyword& record, const CDownloader* reply) {
    float intent = kNoData;
    if (reply) {
        intent = parsers::ParseCommercialIntent(*reply);
        // The page shows the query it was asked before; the next post, on a later step, is answered.
        if (intent == kIntentNotYet)
            return Reply::AskAgain;
    }
    record.intent = intent < 0.0f ? kNoData : intent;
    return Reply::Stored;
}

void CProject2::ContentChanged() {
    m_rep1.InvalidateContent();
    if (m_rep2.ShownKeyword() >= 0)
        m_rep2.ShowKeyword(m_rep2.ShownKeyword());
}

void CProject2::SelectionChanged() {
    const int selected = m_rep1.GetSingleSelection();
    if (selected != m_rep2.ShownKeyword())
        m_rep2.ShowKeyword(selected);
}

int CProject2::CanExport(int /*reserved*/) {
    return 1;
}

void CProject2::Export(CProjectExporter* exporter) {
    // The ads written are those of the keyword selected among the rows written, whatever a filter changed
    // since the ads grid was last shown.
    m_rep1.UpdateItemCount();
    SelectionChanged();
    exporter->ExportReport(m_rep1, 100);
    const int shown = m_rep2.ShownKeyword();
    if (shown < 0)
        return;
    // Below the keyword table, the ads say whose they are.
    exporter->Title(u"Ads for "_s + m_records[size_t(shown)].keyword, 0);
    exporter->ExportReport(m_rep2, 100);
}

void CProject2::SaveXml(CDownloader_HTMLTags* root) {
    CKeywordInputProject::SaveXml(root);
    record_xml::SaveRecords(root, kRecordsKey, kRecordKey, m_records);
    m_rep1.SerializeFilters(root->AddChild(kFiltersKey, false));
    m_run.SaveXml(root);
    m_rep1.SaveSelection(root);
}

void CProject2::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, 2);
    record_xml::LoadRecords(root, kRecordsKey, kRecordKey, m_records);
    m_rep1.SerializeFilters(record_xml::Child(root, kFiltersKey));
    if (m_records.empty())
        MakeRecords();
    m_run.LoadXml(root, kOlderRunDone);
    // The records say what is done, whatever the saved count says: every request they stand for, the
    // keyword tool's one for all keywords.
    const int total = m_records.empty() ? 0 : 1 + (kLaneCount - 1) * int(m_records.size());
    m_run.SetProgress(total - CountPending(), total);
    if (m_page.Created())
        m_page.m_bar.SetKeywords(CWizardKeywordInput::JoinKeywords(m_input.Keywords()));
    m_rep2.ShowKeyword(task_value::kNone);
    ContentChanged();
    if (m_page.Created())
        m_rep1.LoadSelection(root);
}

void CProject2::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    CKeywordInputProject::OnCommand(command, param, sender);
    m_page.Route(
        command, param, [&] { Start(); }, [&] { Stop(); });
}
