#include "projects/kind5/project5.h"

#include "app/project_exporter.h"
#include "core/clock.h"
#include "core/packed_minutes.h"
#include "net/crawler.h"
#include "net/html_tags.h"
#include "net/http_url.h"
#include "projects/common/search_engine.h"
#include "projects/kind5/project5_list_lock.h"
#include "projects/kind5/project5_site.h"
#include "skin/commands.h"
#include "skin/input_dlg.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSecondsPerHour = 3600;
constexpr int kLeft = CProjectViewTitle::kLeft;
constexpr int kToolsTop = CProjectBar::kBottom + 4;
constexpr int kBodyTop = kToolsTop + 40;
constexpr int kButtonHeight = 29;
constexpr int kButtonWidth = 100;

const QString kOneEntryPerLine = u"\n"_s;
const QString kUnreadableList =
    u"The monitoring list could not be read; changes will not be saved over it."_s;
const QString kUnsavedList = u"The monitoring list could not be saved."_s;

int PackedNow(qint64 utcSeconds) {
    const QDateTime now = QDateTime::fromSecsSinceEpoch(utcSeconds);
    const QDate date = now.date();
    const QTime time = now.time();
    return PackMinutes(date.year(), date.month(), date.day(), time.hour(), time.minute());
}

QDate Today() {
    return QDateTime::fromSecsSinceEpoch(UtcSeconds()).date();
}

QStringList Lines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QRegularExpression(u"[\r\n,]"_s), Qt::SkipEmptyParts))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    return lines;
}

// A page the engine answered with neither ads nor results (a block or error page) tells nothing.
bool AnsweredWithResults(const SearchEngine& engine, const CDownloader& downloader) {
    std::vector<CDownloader_Parsers_SE_result> results;
    engine.results(downloader, results);
    return !results.empty();
}

} // namespace

CProject5::CProject5(int id) : CProject(id), m_page(5), m_rep(m_list.m_entries) {
    m_kind = 5;
    m_firstDayOfWeek = (int(QLocale().firstDayOfWeek()) + 6) % 7;
}

QString CProject5::ListPath() {
    if (!g_pCrawler || g_pCrawler->GetDataDir().isEmpty())
        return QString();
    return g_pCrawler->GetDataDir() + u'/' + CProject5_List::kFileName;
}

void CProject5::InitInfo() {
    m_name = u"Bid Watchtower"_s;
    m_description =
        u"Scheduled monitoring of keyword and website pairs in the paid ads of three search engines, with a dated history."_s;
}

void CProject5::CreateWizardPage(CSkinDlgHolder* holder, unsigned* /*nextId*/, int /*labelLeft*/,
                                 int /*fieldLeft*/, int /*top*/, int /*width*/, QString /*preset*/) {
    if (holder && holder->m_pDlg)
        holder->m_pDlg->OnCommand(skin::cmd::kDefaultOk, 0);
}

bool CProject5::TakeListLock() {
    const QString path = ListPath();
    // Without a data folder there is no list to share.
    if (!m_listLock && !path.isEmpty())
        m_listLock = CProject5_ListLock::Take(path);
    return m_listLock || path.isEmpty();
}

bool CProject5::ValidateWizardPage(QString& error) {
    if (TakeListLock())
        return true;
    error = kListInUse;
    return false;
}

bool CProject5::CanOpen() {
    return TakeListLock();
}

QString CProject5::OpenRefusal() {
    return TakeListLock() ? QString() : kListInUse;
}

void CProject5::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    const int repLeft = kLeft + CSkinDateSelect::kWidth + 15;
    m_page.Create(holder, nextId, QString(), &m_rep, nullptr, kBodyTop, repLeft);

    const auto button = [&](CSkinButton& b, const QString& caption, const QString& command, int x) {
        b.Create(holder, ++*nextId, caption, command, 0);
        holder->SetResizeRule(&b, x, kToolsTop, kButtonWidth, kButtonHeight);
    };
    button(m_btnAdd, u"Add pairs..."_s, kAddCommand, kLeft);
    button(m_btnDelete, u"Delete"_s, kDeleteCommand, kLeft + kButtonWidth + 10);
    const int intervalLeft = kLeft + 2 * (kButtonWidth + 10) + 20;
    m_intervalLabel.CreateLabel(holder, ++*nextId, u"Check every:"_s);
    holder->SetResizeRule(&m_intervalLabel, intervalLeft, kToolsTop + 7, 80, 16);
    m_interval.Create(holder, ++*nextId);
    m_interval.m_minimum = CProject5_List::kMinIntervalHours;
    m_interval.m_maximum = CProject5_List::kMaxIntervalHours;
    m_interval.m_valueFormat = u"%d h"_s;
    holder->SetResizeRule(&m_interval, intervalLeft + 85, kToolsTop, 220, CSkinSlider::kMinHeight);

    m_dateSelect.Create(holder, ++*nextId, kDateCommand, u"Days in bold had checks; pick one to see it"_s);
    m_dateSelect.m_firstDayOfWeek = m_firstDayOfWeek;
    holder->SetResizeRule(&m_dateSelect, kLeft, kBodyTop, CSkinDateSelect::kWidth, CSkinDateSelect::kHeight);

    if (holder->m_pDlg)
        holder->m_pDlg->m_minimizeToTray = true;
    m_viewCreated = true;

    // The one place the list file is read: the wizard makes and drops a kind-5 object at every opening,
    // and only a project that read the list may write it.
    const QString path = ListPath();
    const bool owned = TakeListLock();
    const CProject5_List::FileState state =
        path.isEmpty() || !owned ? CProject5_List::FileState::Unreadable : m_list.LoadFile(path);
    m_listRead = state == CProject5_List::FileState::Missing || state == CProject5_List::FileState::Loaded;
    if (m_list.m_running)
        m_run.Resume();
    if (!owned)
        m_run.SetError(kListInUse);
    else if (state == CProject5_List::FileState::Damaged)
        m_run.SetError(kDamagedList);
    else if (!m_listRead && !path.isEmpty())
        m_run.SetError(kUnreadableList);
    m_interval.m_position = m_list.m_intervalHours;
    ContentChanged();
}

bool CProject5::IsDue(const CProject5_Entry& entry, qint64 now) const {
    const CProject5_Check* last = entry.LastCheck();
    if (!last)
        return true;
    const QDateTime when = UnpackMinutes(last->m_date);
    // A date that is no real time (a damaged file) counts as long ago.
    return !when.isValid() ||
           now >= when.toSecsSinceEpoch() + qint64(m_list.m_intervalHours) * kSecondsPerHour;
}

int CProject5::NextDueEntry(qint64 now) const {
    const auto& entries = m_list.m_entries;
    const auto due =
        std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return IsDue(e, now); });
    return due == entries.end() ? task_value::kNone : int(due - entries.begin());
}

int CProject5::CountDueEntries(qint64 now) const {
    const auto& entries = m_list.m_entries;
    return int(std::count_if(entries.begin(), entries.end(), [&](const auto& e) { return IsDue(e, now); }));
}

void CProject5::Process() {
    if (m_viewCreated && m_interval.m_position != m_list.m_intervalHours) {
        m_list.m_intervalHours = std::clamp(m_interval.m_position, CProject5_List::kMinIntervalHours,
                                            CProject5_List::kMaxIntervalHours);
        SaveList();
    }
    if (m_listRead)
        m_run.Step();
}

int CProject5::NextTask(int /*lane*/) {
    if (m_checkEntry >= 0)
        return m_checkEntry;
    const qint64 now = UtcSeconds();
    m_checkEntry = NextDueEntry(now);
    if (m_checkEntry < 0)
        return task_value::kNone;
    // A run goes on while pairs fall due; its total grows by the pairs that became due meanwhile.
    if (m_run.Done() >= m_run.Total())
        m_run.SetProgress(0, 0);
    m_run.SetProgress(
        m_run.Done(),
        std::max(m_run.Total(), m_run.Done() + CountDueEntries(now) * CProject5_Check::kEngineCount));
    m_checkEngine = 0;
    m_check = CProject5_Check();
    m_check.m_date = PackedNow(now);
    return m_checkEntry;
}

CServiceStep::Result CProject5::StartTask(int /*lane*/, CServiceLane& request) {
    const SearchEngine& engine = SearchEngineAt(m_checkEngine);
    const QString keyword = m_list.m_entries[size_t(m_checkEntry)].m_keyword;
    return request.step.Run(engine.Pacing(), [&](CDownloader& downloader) {
        return engine.start(downloader, keyword, SearchEngine::kDefaultCount, SearchEngine::kFirstResult);
    });
}

CRunHooks::Reply CProject5::StoreReply(int /*lane*/, int /*task*/, const CDownloader* reply) {
    const SearchEngine& engine = SearchEngineAt(m_checkEngine);
    int position = task_value::kNoData;
    if (reply) {
        std::vector<CDownloader_Parsers_SE_result> ads;
        engine.ads(*reply, ads);
        if (!ads.empty())
            position = AdPositionOfSite(ads, m_list.m_entries[size_t(m_checkEntry)].m_site);
        else if (AnsweredWithResults(engine, *reply))
            position = CProject5_Check::kNotShown;
    }
    m_check.m_positions[m_checkEngine] = position;
    if (++m_checkEngine == CProject5_Check::kEngineCount)
        EndCheck();
    return Reply::Stored;
}

void CProject5::MarkFailed(int /*lane*/, int /*task*/, const QString& error) {
    m_check.m_failed.Mark(m_checkEngine, error);
}

QString CProject5::ServiceName(int /*lane*/, int /*task*/) const {
    return SearchEngineAt(m_checkEngine).Name();
}

QString CProject5::Subject(int /*lane*/, int /*task*/) const {
    return m_list.m_entries[size_t(m_checkEntry)].m_keyword;
}

void CProject5::EndCheck() {
    m_list.m_entries[size_t(m_checkEntry)].m_checks.push_back(m_check);
    m_checkEntry = task_value::kNone;
    SaveList();
}

void CProject5::DropCheck() {
    m_run.Lane(0).Finish();
    m_checkEntry = task_value::kNone;
    m_run.SetProgress(0, 0);
}

int CProject5::CanExport(int /*reserved*/) {
    return 1;
}

void CProject5::Export(CProjectExporter* exporter) {
    exporter->ExportReport(m_rep, 100);
}

void CProject5::LoadXml(CDownloader_HTMLTags* tree) {
    const CDownloader_HTMLTags* root = tree ? tree->FindFirst({.tag = CProject5_List::kRootName}) : nullptr;
    if (!root)
        return;
    CProject5_List file;
    file.ReadXml(*root);
    if (m_list.Merge(file.m_entries) > 0) {
        SaveList();
        ContentChanged();
    }
}

void CProject5::SaveXml(CDownloader_HTMLTags* root) {
    m_list.WriteXml(*root);
}

void CProject5::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    // The grid lays its rows out again for the new size.
    if (command == skin::cmd::kMainDlgOnSize)
        m_rep.Rebuild();
    if (m_page.Route(
            command, param, [&] { Start(); }, [&] { Stop(); }))
        return;
    if (command == kAddCommand) {
        AddPairs(sender);
    } else if (command == kDeleteCommand) {
        DeleteSelected(sender);
    } else if (command == kDateCommand) {
        ShowDay();
    } else if (command == kDateCommand + u"recalculate_bolds"_s) {
        MarkCheckedDays();
    } else if (command.startsWith(kDateCommand)) {
        bool number = false;
        const int month = command.mid(kDateCommand.size()).toInt(&number);
        if (number && month >= 1 && month <= 12)
            m_dateSelect.SetMonth(month);
    }
}

void CProject5::AddPairs(CSkinDlg_Base* sender) {
    CInputDlg keywords(sender, false, true, QString(), kOneEntryPerLine,
                       u"Please enter the keyword(s) to watch: (one per line)"_s);
    keywords.m_title = u"Tarnwick 2.0 :: Watch keyword(s) "_s;
    if (keywords.DoModal() != 1)
        return;
    CInputDlg sites(sender, true, true, QString(), kOneEntryPerLine,
                    u"Please enter the site(s) whose ads to watch for: (one per line)"_s);
    sites.m_title = u"Tarnwick 2.0 :: Watch site(s) "_s;
    if (sites.DoModal() != 1)
        return;
    std::vector<CProject5_Entry> typed;
    for (const QString& keyword : Lines(keywords.m_text)) {
        for (const QString& site : Lines(sites.m_text)) {
            CProject5_Entry entry;
            entry.m_keyword = keyword;
            entry.m_site = SiteOfUrl(site);
            if (!entry.m_site.isEmpty())
                typed.push_back(entry);
        }
    }
    if (m_list.Merge(typed) > 0) {
        SaveList();
        ContentChanged();
    }
}

bool CProject5::ConfirmDelete(CSkinDlg_Base* dialog) const {
    int pairs = 0;
    int checks = 0;
    const CProject5_Entry* only = nullptr;
    for (int i = 0; i < int(m_list.m_entries.size()); ++i) {
        if (m_rep.IsSelected(i)) {
            only = &m_list.m_entries[size_t(i)];
            ++pairs;
            checks += int(only->m_checks.size());
        }
    }
    // The list saves itself at once, so a history deleted could not be had back.
    if (checks == 0 || !dialog)
        return true;
    const QString history = checks == 1 ? u"1 check"_s : u"%1 checks"_s.arg(checks);
    const QString question = pairs == 1
                                 ? u"Delete %1 / %2 and its %3?"_s.arg(only->m_keyword, only->m_site, history)
                                 : u"Delete %1 pairs and their %2?"_s.arg(pairs).arg(history);
    return dialog->MessageBox(question, QString(), skin::kMessageYesNo | skin::kMessageQuestion) ==
           skin::kResultYes;
}

void CProject5::DeleteSelected(CSkinDlg_Base* sender) {
    if (!ConfirmDelete(sender))
        return;
    std::vector<CProject5_Entry> kept;
    int checkedNow = m_checkEntry;
    for (int i = 0; i < int(m_list.m_entries.size()); ++i)
        if (!m_rep.IsSelected(i))
            kept.push_back(std::move(m_list.m_entries[size_t(i)]));
        else if (i == m_checkEntry)
            checkedNow = task_value::kNone;
        else if (i < m_checkEntry)
            --checkedNow;
    if (kept.size() == m_list.m_entries.size())
        return;
    // The pair being checked went: its request is dropped, and the run goes on with the next due pair.
    if (m_checkEntry >= 0 && checkedNow < 0)
        m_run.Lane(0).Finish();
    m_checkEntry = checkedNow;
    m_list.m_entries = std::move(kept);
    m_rep.ForgetSelection();
    CountRemainingRequests();
    SaveList();
    ContentChanged();
}

void CProject5::CountRemainingRequests() {
    if (m_run.Total() <= m_run.Done())
        return;
    // The requests made stay counted; those left are the engines of the pair being checked still to ask
    // and the three of every other pair that is due.
    const int left = CountDueEntries(UtcSeconds()) * CProject5_Check::kEngineCount -
                     (m_checkEntry >= 0 ? m_checkEngine : 0);
    m_run.SetProgress(m_run.Done(), m_run.Done() + left);
}

void CProject5::Start() {
    m_list.m_running = true;
    m_run.Resume();
    SaveList();
}

void CProject5::Stop() {
    m_list.m_running = false;
    m_run.Stop();
    DropCheck();
    SaveList();
}

void CProject5::SaveList() {
    const bool saved = m_listRead && m_list.SaveFile(ListPath());
    if (m_listRead && !saved)
        m_run.SetError(kUnsavedList);
    // What the list file holds is never lost by closing; pairs it could not take are, and closing asks.
    m_hasResults = !saved && !m_list.m_entries.empty();
}

void CProject5::ContentChanged() {
    if (!m_viewCreated)
        return;
    if (!m_rep.m_day.isValid())
        SelectToday();
    ShowPairCount();
    MarkCheckedDays();
    m_dateSelect.Redraw();
    m_rep.InvalidateContent();
    m_rep.UpdateItemCount();
}

void CProject5::SelectToday() {
    // The calendar shows the day of the clock the checks are dated by.
    const QDate today = Today();
    m_dateSelect.m_year = today.year();
    m_dateSelect.m_month = today.month();
    m_dateSelect.m_day = today.day();
}

void CProject5::MarkCheckedDays() {
    constexpr int kShownDays = CSkinDateSelect::kColumns * CSkinDateSelect::kRows;
    // Each check is placed on its day once; the time zone is asked about the shown days alone.
    const PackedMinutesDays shown(m_dateSelect.FirstShownDay(), kShownDays);
    std::array<bool, kShownDays> checked{};
    for (const CProject5_Entry& entry : m_list.m_entries) {
        for (const CProject5_Check& check : entry.m_checks) {
            const int day = shown.DayOf(check.m_date);
            if (day >= 0)
                checked[size_t(day)] = true;
        }
    }
    // The calendar counts its cells down each column.
    for (int day = 0; day < kShownDays; ++day) {
        const int row = day / CSkinDateSelect::kColumns;
        const int column = day % CSkinDateSelect::kColumns;
        m_dateSelect.m_bold[size_t(column * CSkinDateSelect::kRows + row)] = checked[size_t(day)];
    }
}

void CProject5::ShowDay() {
    const QDate picked = m_dateSelect.SelectedDate();
    // Today's page follows the checks as they come in, past midnight too.
    m_rep.m_day = picked == Today() ? QDate() : picked;
    m_rep.InvalidateContent();
}

void CProject5::ShowPairCount() {
    const int pairs = int(m_list.m_entries.size());
    m_page.m_bar.SetKeywords(pairs == 1 ? u"1 pair watched"_s : u"%1 pairs watched"_s.arg(pairs));
}

void CProject5::ShowView(int show) {
    const bool visible = show == kShowView;
    if (!m_viewCreated)
        return;
    m_page.SetVisible(visible);
    for (CSkinElement* element : std::initializer_list<CSkinElement*>{
             &m_viewTitle, &m_btnAdd, &m_btnDelete, &m_intervalLabel, &m_interval, &m_dateSelect})
        element->SetVisible(visible);
}
