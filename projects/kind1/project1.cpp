#include "projects/kind1/project1.h"

#include "app/project_exporter.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "parsers/ad_center_research.h"
#include "parsers/ask_search.h"
#include "parsers/finished_reply.h"
#include "parsers/keyword_tool.h"
#include "parsers/wordtracker_suggest.h"
#include "parsers/yahoo_marketing.h"
#include "projects/common/record_xml.h"
#include "projects/kind1/project1_source_pages.h"
#include "skin/skin_dlg_holder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kKeywordsKey = u"m_keywords"_s;
const QString kItemKey = u"item"_s;
const QString kNoCode = u"no picture code entered"_s;
const QString kNoPicture = u"no picture came"_s;

bool AccountSet(const QString& user) {
    return !user.isEmpty() && user != QStringView(kAccountNeverEntered);
}

} // namespace

CProject1::CProject1(int id) : CKeywordInputProject(id, 1, CWizardKeywordInput::Mode::List) {
    const struct {
        int source;
        const char16_t* service;
    } lanes[] = {
        {CProject1_Keyword::kKeywordTool, u"Google Bids"},
        {CProject1_Keyword::kFreeSuggestions, u"freeWT"},
        {CProject1_Keyword::kAsk, u"Ask"},
        {CProject1_Keyword::kSearchMarketing, u"Yahoo Bids"},
        {CProject1_Keyword::kKeywordResearch, u"MSN AdBids"},
    };
    for (size_t i = 0; i < m_sources.size(); ++i) {
        m_sources[i].source = lanes[i].source;
        m_sources[i].service = QString::fromUtf16(lanes[i].service);
    }
    m_report.m_owner = [this](const QString& command, int param, CSkinDlg_Base* dialog) {
        OnCommand(command, param, dialog);
    };
}

void CProject1::InitInfo() {
    m_name = u"Lexicon Tide"_s;
    m_description =
        u"Builds keyword lists from a keyword and many sources, expands them, measures search volume and groups keywords into ad groups."_s;
}

void CProject1::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    CKeywordInputProject::CreateView(holder, nextId);
    m_parentWnd = holder->GetDialog();
    m_page.Create(holder, nextId, CWizardKeywordInput::JoinKeywords(m_input.Keywords()), &m_report);
}

void CProject1::Process() {
    if (!g_pCrawler)
        return;
    if (TakeWizardStart())
        Start();
    m_run.Step();
}

void CProject1::Start() {
    m_run.Stop();
    const CProjectCrawler* crawler = g_pCrawler;
    const int seeds = int(m_input.Keywords().size());
    int total = 0;
    for (Source& source : m_sources) {
        source.seed = 0;
        switch (source.source) {
        case CProject1_Keyword::kSearchMarketing:
            source.enabled = crawler && AccountSet(crawler->YahooMarket_user);
            break;
        case CProject1_Keyword::kKeywordResearch:
            source.enabled = crawler && AccountSet(crawler->MSNAdCenter_user);
            break;
        default:
            source.enabled = true;
            break;
        }
        if (source.enabled)
            total += seeds;
    }
    if (!WorkLeft())
        return;
    m_keywords.clear();
    m_index.clear();
    ContentChanged();
    m_run.Start(total);
}

int CProject1::NextTask(int lane) {
    const Source& source = m_sources[size_t(lane)];
    return source.enabled && source.seed < m_input.Keywords().size() ? source.seed : task_value::kNone;
}

bool CProject1::WorkLeft() const {
    return std::any_of(
        m_sources.begin(), m_sources.end(),
        [this](const Source& source) { return source.enabled && source.seed < m_input.Keywords().size(); });
}

QString CProject1::ServiceName(int lane, int /*task*/) const {
    return CProject1_Keyword::SourceName(m_sources[size_t(lane)].source);
}

QString CProject1::Subject(int /*lane*/, int task) const {
    return m_input.Keywords().value(task);
}

CRunHooks::Reply CProject1::StoreReply(int lane, int task, const CDownloader* reply) {
    Source& source = m_sources[size_t(lane)];
    std::vector<CDownloader_Parsers_Adwords_result> rows;
    const bool noCode = reply && source.source == CProject1_Keyword::kKeywordTool &&
                        reply->m_tags[0] == CDownloader_Parsers::kKeywordToolPictureStep;
    if (noCode)
        m_run.Fail(lane, task, reply->Response().raw.isEmpty() ? kNoPicture : kNoCode);
    else if (reply)
        ReadReply(source.source, *reply, rows);
    ++source.seed;
    MergeRows(rows, source.source);
    return Reply::Stored;
}

CServiceStep::Result CProject1::StartTask(int lane, CServiceLane& request) {
    using namespace CDownloader_Parsers;
    const CProjectCrawler* crawler = g_pCrawler;
    const Source& source = m_sources[size_t(lane)];
    const QString seed = m_input.Keywords().value(request.task);
    switch (source.source) {
    case CProject1_Keyword::kKeywordTool:
        return request.step.RunSteps(source.service, [&](CDownloader& downloader) {
            // A picture that never came is not shown: the run ends here.
            if (downloader.m_tags[0] == kKeywordToolPictureStep && downloader.IsFinished() &&
                (downloader.Response().raw.isEmpty() || downloader.Response().status.IsError()))
                return true;
            return StartAdwordsKeywordTool(downloader, crawler->GoogleAdwords_user,
                                           crawler->GoogleAdwords_pass, seed, m_parentWnd,
                                           true) == StepResult::ReplyIn;
        });
    case CProject1_Keyword::kFreeSuggestions:
        return request.step.Run(source.service, [&](CDownloader& downloader) {
            return StartWordtrackerSuggest(downloader, seed);
        });
    case CProject1_Keyword::kAsk:
        return request.step.Run(source.service,
                                [&](CDownloader& downloader) { return StartAskSearch(downloader, seed); });
    case CProject1_Keyword::kSearchMarketing:
        return request.step.RunSteps(source.service, [&](CDownloader& downloader) {
            return StartYahooMarketingKeywords(downloader, crawler->YahooMarket_user,
                                               crawler->YahooMarket_pass, seed, false) == StepResult::ReplyIn;
        });
    default:
        return request.step.RunSteps(source.service, [&](CDownloader& downloader) {
            return StartAdCenterKeywordResearch(downloader, crawler->MSNAdCenter_user,
                                                crawler->MSNAdCenter_pass, seed) == StepResult::ReplyIn;
        });
    }
}

void CProject1::ReadReply(int source, const CDownloader& downloader,
                          std::vector<CDownloader_Parsers_Adwords_result>& rows) const {
    using namespace CDownloader_Parsers;
    switch (source) {
    case CProject1_Keyword::kKeywordTool:
        ParseAdwordsKeywordTool(downloader, rows, 255);
        break;
    case CProject1_Keyword::kFreeSuggestions:
        project1_pages::ParseFreeSuggestions(FinishedTree(downloader), rows);
        break;
    case CProject1_Keyword::kAsk:
        project1_pages::ParseAskRelated(FinishedTree(downloader), rows);
        break;
    case CProject1_Keyword::kSearchMarketing:
        ParseYahooKeywordSuggest(downloader, rows);
        break;
    default:
        ParseAdCenterGrid(downloader, rows);
        break;
    }
}

void CProject1::MergeRows(const std::vector<CDownloader_Parsers_Adwords_result>& rows, int source) {
    for (const CDownloader_Parsers_Adwords_result& row : rows) {
        const QString key = CProject1_Keyword::KeyOf(row.keyword);
        if (key.isEmpty())
            continue;
        auto found = m_index.constFind(key);
        if (found == m_index.cend()) {
            found = m_index.insert(key, int(m_keywords.size()));
            m_keywords.emplace_back();
        }
        m_keywords[size_t(*found)].Merge(row, source);
    }
    if (!rows.empty())
        m_hasResults = true;
}

void CProject1::RebuildIndex() {
    m_index.clear();
    for (size_t i = 0; i < m_keywords.size(); ++i)
        m_index.insert(CProject1_Keyword::KeyOf(m_keywords[i].m_row.keyword), int(i));
}

void CProject1::ContentChanged() {
    m_report.InvalidateContent();
    m_report.UpdateItemCount();
}

bool CProject1::CanSave() {
    return !m_busy;
}

int CProject1::CanExport(int /*reserved*/) {
    return 1;
}

void CProject1::Export(CProjectExporter* exporter) {
    exporter->ExportReport(m_report, 100);
}

void CProject1::SaveXml(CDownloader_HTMLTags* root) {
    CKeywordInputProject::SaveXml(root);
    m_run.SaveXml(root);
    record_xml::SaveRecords(root, kKeywordsKey, kItemKey, m_keywords);
}

void CProject1::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, 1);
    m_run.LoadXml(root);
    record_xml::LoadRecords(root, kKeywordsKey, kItemKey, m_keywords);
    std::erase_if(m_keywords,
                  [](const CProject1_Keyword& keyword) { return keyword.m_row.keyword.isEmpty(); });
    RebuildIndex();
    m_hasResults = !m_keywords.empty();
    if (m_viewCreated)
        m_page.m_bar.SetKeywords(CWizardKeywordInput::JoinKeywords(m_input.Keywords()));
    ContentChanged();
}

void CProject1::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    // A new run starts from an empty report.
    const auto start = [&] {
        if (ConfirmLoseResults(sender))
            Start();
    };
    if (!m_page.Route(command, param, start, [&] { m_run.Stop(); }))
        CKeywordInputProject::OnCommand(command, param, sender);
}

void CProject1::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    m_page.SetVisible(show == kShowView);
}
