#include "net/crawler.h"

#include <QDir>

using namespace Qt::StringLiterals;

CProjectCrawler* g_pCrawler = nullptr;

namespace {

constexpr qsizetype kKeywordHistoryLength = 30;

struct CourtesyRange {
    const char16_t* service;
    int minSeconds;
    int maxSeconds;
};

// Services that are always paced, with the least gap each of them needs.
constexpr CourtesyRange kPacedServices[] = {
    {u"tw_free_searches", 2, 5},
    {u"freeWT", 1, 3},
    {u"Google", 2, 6},
    {u"Google PR", 2, 6},
    {u"Yahoo!", 2, 6},
    {u"Yahoo Site Explorer", 4, 10},
    {u"MSN", 1, 4},
    {u"MS_OCI", 1, 3},
    {u"Ask", 2, 6},
    {u"WhoIs", 2, 4},
};

// The article directories have a range of their own in the settings.
constexpr const char16_t* kArticleDirectories[] = {u"ezinearticles", u"goarticles", u"articledashboard"};

} // namespace

CProjectCrawler::CProjectCrawler(CrawlerFolders folders)
    : CProjectCrawlerDefault(folders), m_autostartFile(std::move(folders.autostartFile)),
      m_executable(std::move(folders.executable)) {}

CProjectCrawler::~CProjectCrawler() {
    SaveSettings();
}

void CProjectCrawler::Init() {
    CProjectCrawlerDefault::Init();
    LoadSettings();
}

QString CProjectCrawler::SettingsPath() const {
    return m_dataDir + u"/settings.zxml"_s;
}

bool CProjectCrawler::GetCourtesy(const QString& service, int& min, int& max) {
    for (const CourtesyRange& range : kPacedServices) {
        if (service.compare(QString::fromUtf16(range.service), Qt::CaseInsensitive) == 0) {
            min = std::max(min, range.minSeconds);
            max = std::max(max, range.maxSeconds);
            return true;
        }
    }
    for (const char16_t* directory : kArticleDirectories) {
        if (service.compare(QString::fromUtf16(directory), Qt::CaseInsensitive) == 0) {
            min = allowArticleCourtesy ? articleCourtesyMin : 0;
            max = allowArticleCourtesy ? articleCourtesyMax : 1;
            return true;
        }
    }
    return allowCourtesy;
}

void CProjectCrawler::AddKeywordToHistory(const QString& keyword, bool save) {
    m_keywordHistory.prepend(keyword);
    for (qsizetype i = 1; i < m_keywordHistory.size(); ++i) {
        if (m_keywordHistory[i].compare(keyword, Qt::CaseInsensitive) == 0) {
            m_keywordHistory.removeAt(i);
            break;
        }
    }
    if (m_keywordHistory.size() > kKeywordHistoryLength)
        m_keywordHistory.resize(kKeywordHistoryLength);
    if (save)
        SaveSettings();
}

void CProjectCrawler::FillHistoryCombo(HistoryDropList& list) const {
    const QString text = list.GetText();
    list.ResetContent();
    if (m_keywordHistory.isEmpty())
        return;
    list.AddItem(QString::fromUtf16(kClearHistoryItem), 0);
    for (const QString& keyword : m_keywordHistory)
        list.AddItem(keyword, 0);
    // Silently: a notification of the first item would read as the choice to clear the history.
    list.SetCurSel(0, true);
    list.SetText(text);
}

void CProjectCrawler::ClearKeywordHistory() {
    m_keywordHistory.clear();
    SaveSettings();
}
