#include "projects/keyword/project1.h"

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
#include "projects/keyword/project1_source_pages.h"
#include "skin/skin_dlg_holder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kStatusKey = u"m_status"_s;
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
    for (size_t i = 0; i < m_lanes.size(); ++i) {
        m_lanes[i].source = lanes[i].source;
        m_lanes[i].service = QString::fromUtf16(lanes[i].service);
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
    UpdateBar();
}

void CProject1::Process() {
    if (!g_pCrawler)
        return;
    if (m_status == kNew && m_viewCreated)
        StartRun();
    if (m_status != kRunning)
        return;
    for (Lane& lane : m_lanes)
        StepLane(lane);
    const bool allDone = std::none_of(m_lanes.begin(), m_lanes.end(), [this](const Lane& lane) {
        return lane.enabled && lane.seed < m_input.Keywords().size();
    });
    if (allDone)
        StopRun(kDone);
}

void CProject1::StartRun() {
    StopRun(kStopped);
    const CProjectCrawler* crawler = g_pCrawler;
    const int seeds = int(m_input.Keywords().size());
    m_total = 0;
    for (Lane& lane : m_lanes) {
        lane.seed = 0;
        switch (lane.source) {
        case CProject1_Keyword::kSearchMarketing:
            lane.enabled = crawler && AccountSet(crawler->YahooMarket_user);
            break;
        case CProject1_Keyword::kKeywordResearch:
            lane.enabled = crawler && AccountSet(crawler->MSNAdCenter_user);
            break;
        default:
            lane.enabled = true;
            break;
        }
        if (lane.enabled)
            m_total += seeds;
    }
    m_keywords.clear();
    m_index.clear();
    m_done = 0;
    m_lastError.clear();
    m_status = kRunning;
    ContentChanged();
    UpdateBar();
}

void CProject1::StopRun(int status) {
    for (Lane& lane : m_lanes)
        lane.step.Release();
    if (m_status == kRunning || status == kDone)
        m_status = status;
    if (m_viewCreated)
        UpdateBar();
}

void CProject1::StepLane(Lane& lane) {
    const QStringList& seeds = m_input.Keywords();
    if (!lane.enabled || lane.seed >= seeds.size())
        return;
    const CServiceStep::Result result = RunLane(lane, seeds[lane.seed]);
    if (result == CServiceStep::Result::Waiting)
        return;
    std::vector<CDownloader_Parsers_Adwords_result> rows;
    const QString name = CProject1_Keyword::SourceName(lane.source);
    if (result == CServiceStep::Result::Failed) {
        m_lastError = CProjectBar::StepErrorText(name, seeds[lane.seed], lane.step.Error());
    } else if (lane.source == CProject1_Keyword::kKeywordTool &&
               lane.step.Downloader()->m_tags[0] == CDownloader_Parsers::kKeywordToolPictureStep) {
        m_lastError = CProjectBar::StepErrorText(
            name, seeds[lane.seed], lane.step.Downloader()->Response().raw.isEmpty() ? kNoPicture : kNoCode);
    } else {
        ReadReply(lane, rows);
    }
    lane.step.Release();
    ++lane.seed;
    ++m_done;
    MergeRows(rows, lane.source);
    UpdateBar();
}

CServiceStep::Result CProject1::RunLane(Lane& lane, const QString& seed) {
    using namespace CDownloader_Parsers;
    const CProjectCrawler* crawler = g_pCrawler;
    switch (lane.source) {
    case CProject1_Keyword::kKeywordTool:
        return lane.step.RunSteps(lane.service, [&](CDownloader& downloader) {
            // A picture that never came is not shown: the run ends here.
            if (downloader.m_tags[0] == kKeywordToolPictureStep && downloader.IsFinished() &&
                (downloader.Response().raw.isEmpty() || downloader.Response().status.IsError()))
                return true;
            return StartAdwordsKeywordTool(downloader, crawler->GoogleAdwords_user,
                                           crawler->GoogleAdwords_pass, seed, m_parentWnd,
                                           true) == StepResult::ReplyIn;
        });
    case CProject1_Keyword::kFreeSuggestions:
        return lane.step.Run(
            lane.service, [&](CDownloader& downloader) { return StartWordtrackerSuggest(downloader, seed); });
    case CProject1_Keyword::kAsk:
        return lane.step.Run(lane.service,
                             [&](CDownloader& downloader) { return StartAskSearch(downloader, seed); });
    case CProject1_Keyword::kSearchMarketing:
        return lane.step.RunSteps(lane.service, [&](CDownloader& downloader) {
            return StartYahooMarketingKeywords(downloader, crawler->YahooMarket_user,
                                               crawler->YahooMarket_pass, seed, false) == StepResult::ReplyIn;
        });
    default:
        return lane.step.RunSteps(lane.service, [&](CDownloader& downloader) {
            return StartAdCenterKeywordResearch(downloader, crawler->MSNAdCenter_user,
                                                crawler->MSNAdCenter_pass, seed) == StepResult::ReplyIn;
        });
    }
}

void CProject1::ReadReply(const Lane& lane, std::vector<CDownloader_Parsers_Adwords_result>& rows) const {
    using namespace CDownloader_Parsers;
    const CDownloader& downloader = *lane.step.Downloader();
    switch (lane.source) {
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
    if (!rows.empty()) {
        m_hasResults = true;
        ContentChanged();
    }
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

void CProject1::UpdateBar() {
    if (!m_viewCreated)
        return;
    m_page.m_bar.SetRunning(m_status == kRunning);
    m_page.m_bar.SetProgress(m_done, m_total);
    m_page.m_bar.SetError(m_lastError);
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
    record_xml::SaveValue(root, kStatusKey, m_status);
    record_xml::SaveRecords(root, kKeywordsKey, kItemKey, m_keywords);
    m_page.m_bar.SaveXml(root);
}

void CProject1::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    StopRun(kStopped);
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, 1);
    // An opened project never starts by itself.
    m_status = record_xml::LoadInt(root, kStatusKey, kStopped) == kDone ? kDone : kStopped;
    record_xml::LoadRecords(root, kKeywordsKey, kItemKey, m_keywords);
    std::erase_if(m_keywords,
                  [](const CProject1_Keyword& keyword) { return keyword.m_row.keyword.isEmpty(); });
    RebuildIndex();
    m_hasResults = !m_keywords.empty();
    m_page.m_bar.LoadXml(root);
    m_done = m_page.m_bar.Done();
    m_total = m_page.m_bar.Total();
    m_lastError = m_page.m_bar.ErrorText();
    if (m_viewCreated)
        m_page.m_bar.SetKeywords(CWizardKeywordInput::JoinKeywords(m_input.Keywords()));
    ContentChanged();
    UpdateBar();
}

void CProject1::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    switch (m_page.OnCommand(command, param)) {
    case CKindPage::Command::Start:
        // A new run starts from an empty report.
        if (ConfirmLoseResults(sender))
            StartRun();
        break;
    case CKindPage::Command::Stop:
        StopRun(kStopped);
        break;
    case CKindPage::Command::Handled:
        break;
    case CKindPage::Command::None:
        CKeywordInputProject::OnCommand(command, param, sender);
        break;
    }
}

void CProject1::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    m_page.SetVisible(show == kShowView);
}
