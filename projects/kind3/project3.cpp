#include "projects/kind3/project3.h"

#include "app/project_exporter.h"
#include "core/clock.h"
#include "core/packed_minutes.h"
#include "net/http_url.h"
#include "projects/common/record_xml.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_drop_list.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKind = 3;
const QString kKeywordKey = u"main_keyword"_s;
const QString kAdsKey = u"m_ads"_s;
const QString kAdKey = u"ad"_s;
const QString kFiltersKey = u"rep1_filters"_s;
const QString kSelectCommand = u"prj3_select_advertiser"_s;
constexpr int kEditLeft = 30;
constexpr int kEditWidth = 360;

// The run's date from the program's clock, as the history keeps dates.
int RunDate() {
    const QDateTime now = QDateTime::fromSecsSinceEpoch(UtcSeconds()).toLocalTime();
    return PackMinutes(now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                       now.time().minute());
}

QString SightingKey(int engine, const CDownloader_Parsers_SE_result& ad) {
    return QString::number(engine) + u'\n' + ad.title + u'\n' + ad.body + u'\n' + ad.show_url;
}

} // namespace

CProject3::CProject3(int id)
    : CKeywordInputProject(id, kKind, CWizardKeywordInput::Mode::Single), m_page(kKind),
      m_rep1(m_advertisers), m_rep2(m_ads) {}

void CProject3::InitInfo() {
    m_name = u"Campaign Chronicle"_s;
    m_description = u"The advertisers of one keyword over the last months, with their ads and keywords."_s;
}

void CProject3::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    CKeywordInputProject::CreateView(holder, nextId);
    m_keyword = Input().Keywords().value(0);
    // The keyword is edited in its own field in place of the bar's keyword text.
    m_page.Create(holder, nextId, QString(), &m_rep1, &m_rep2);
    m_keywordEdit.Create(holder, ++*nextId, m_keyword, false, false, u"prj3_keyword"_s, QString());
    m_keywordEdit.SetPosition(kEditLeft, CProjectBar::kTop + 3, kEditWidth, CSkinDropList::kHeight, 0);
    m_rep1.m_selectCommand = kSelectCommand;
    m_rep1.m_owner = [this](const QString&, int, CSkinDlg_Base*) { ShowSelectedAdvertiser(); };
    ContentChanged();
}

void CProject3::ShowView(int show) {
    CKeywordInputProject::ShowView(show);
    m_page.SetVisible(show == kShowView);
    if (m_page.Created())
        m_keywordEdit.SetVisible(show == kShowView);
}

void CProject3::Start(CSkinDlg_Base* sender) {
    const QString typed = m_keywordEdit.GetText().trimmed();
    if (typed.isEmpty()) {
        m_run.SetError(CWizardKeywordInput::kEmptyKeyword);
        return;
    }
    if (typed != m_keyword && !m_ads.empty()) {
        const int answer = sender
                               ? sender->MessageBox(u"The history holds the ads seen for \""_s + m_keyword +
                                                        u"\". Start a new history for \""_s + typed +
                                                        u"\"? The ads seen so far are removed."_s,
                                                    QString(), skin::kMessageYesNo | skin::kMessageQuestion)
                               : 0;
        if (answer != skin::kResultYes) {
            m_keywordEdit.SetText(m_keyword);
            return;
        }
        const std::lock_guard guard(m_cs);
        m_ads.clear();
        ContentChanged();
    }
    m_keyword = typed;
    m_runSeen = RunDate();
    m_runKeys.clear();
    m_nextRequest = 0;
    m_run.Start(kRequestsPerRun);
}

void CProject3::Process() {
    if (TakeWizardStart())
        Start(nullptr);
    m_run.Step();
}

int CProject3::NextTask(int /*lane*/) {
    return WorkLeft() ? m_nextRequest : task_value::kNone;
}

CServiceStep::Result CProject3::StartTask(int /*lane*/, CServiceLane& request) {
    const SearchEngine& engine = SearchEngineAt(request.task / kPagesPerEngine);
    const int start = (request.task % kPagesPerEngine) * 10;
    return request.step.Run(engine.Pacing(), [&](CDownloader& downloader) {
        return engine.start(downloader, m_keyword, SearchEngine::kDefaultCount, start);
    });
}

CRunHooks::Reply CProject3::StoreReply(int /*lane*/, int task, const CDownloader* reply) {
    ++m_nextRequest;
    if (reply) {
        const SearchEngine& engine = SearchEngineAt(task / kPagesPerEngine);
        std::vector<CDownloader_Parsers_SE_result> ads;
        engine.ads(*reply, ads);
        AddSightings(engine.id, ads);
    }
    return Reply::Stored;
}

QString CProject3::ServiceName(int /*lane*/, int task) const {
    return SearchEngineAt(task / kPagesPerEngine).Name();
}

QString CProject3::Subject(int /*lane*/, int /*task*/) const {
    return m_keyword;
}

bool CProject3::WorkLeft() const {
    return m_nextRequest < kRequestsPerRun;
}

void CProject3::AddSightings(int engine, const std::vector<CDownloader_Parsers_SE_result>& ads) {
    bool added = false;
    {
        const std::lock_guard guard(m_cs);
        for (const CDownloader_Parsers_SE_result& ad : ads) {
            if (SiteOfUrl(ad.show_url).isEmpty())
                continue;
            const QString key = SightingKey(engine, ad);
            if (m_runKeys.contains(key))
                continue;
            m_runKeys.insert(key);
            m_ads.push_back({engine, ad, m_runSeen});
            added = true;
        }
    }
    if (added)
        m_hasResults = true;
}

void CProject3::ContentChanged() {
    m_advertisers = CollectAdvertisers(m_ads);
    if (!m_page.Created())
        return;
    m_rep1.InvalidateContent();
    ShowSelectedAdvertiser();
}

void CProject3::ShowSelectedAdvertiser() {
    const QString domain = m_rep1.DomainOf(m_rep1.GetSingleSelection());
    m_rep2.m_shown.clear();
    for (std::size_t i = 0; i < m_ads.size() && !domain.isEmpty(); ++i)
        if (SiteOfUrl(m_ads[i].ad.show_url) == domain)
            m_rep2.m_shown.push_back(static_cast<int>(i));
    m_rep2.InvalidateContent();
}

void CProject3::Export(CProjectExporter* exporter) {
    exporter->ExportReport(m_rep1, 100);
    exporter->ExportReport(m_rep2, 100);
}

void CProject3::SaveXml(CDownloader_HTMLTags* root) {
    record_xml::SaveValue(root, kKeywordKey, m_keyword);
    record_xml::SaveRecords(root, kAdsKey, kAdKey, m_ads);
    m_rep1.SerializeFilters(root->AddChild(kFiltersKey, false));
    m_run.SaveXml(root);
    m_rep1.SaveSelection(root);
}

void CProject3::LoadXml(CDownloader_HTMLTags* tree) {
    CKeywordInputProject::LoadXml(tree);
    const CDownloader_HTMLTags* root = record_xml::ProjectRoot(tree, kKind);
    m_keyword = Input().Keywords().value(0);
    record_xml::LoadRecords(root, kAdsKey, kAdKey, m_ads);
    m_rep1.SerializeFilters(record_xml::Child(root, kFiltersKey));
    m_hasResults = !m_ads.empty();
    m_run.LoadXml(root);
    if (m_page.Created())
        m_keywordEdit.SetText(m_keyword);
    ContentChanged();
    if (m_page.Created())
        m_rep1.LoadSelection(root);
}

void CProject3::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    if (!m_page.Route(
            command, param, [&] { Start(sender); }, [&] { m_run.Stop(); }))
        CKeywordInputProject::OnCommand(command, param, sender);
}
