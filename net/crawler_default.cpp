#include "net/crawler_default.h"

#include "core/clock.h"
#include "core/platform_services.h"
#include "net/cookie_parser.h"
#include "net/downloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Creates path and every missing folder above it with access for the user only, as the XDG base folders
// ask; folders that exist are left as they are.
bool MakePrivateFolder(const QString& path) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QStringList parts = clean.split(u'/', Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current += u'/' + part;
        if (::mkdir(QFile::encodeName(current).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(clean).isDir();
}

using AdwordsRows = std::vector<CDownloader_Parsers_Adwords_result>;

// By bisection, the first row that is not before keyword and type in the order the rows are kept: keyword in
// exact character order, then type.
AdwordsRows::iterator FindAdwordsPlace(AdwordsRows& rows, const QString& keyword, int type) {
    return std::partition_point(
        rows.begin(), rows.end(),
        [&](const CDownloader_Parsers_Adwords_result& row) {
            const int order = QString::compare(row.keyword, keyword, Qt::CaseSensitive);
            return order < 0 || (order == 0 && row.keywordType < type);
        });
}

bool IsAdwordsRow(const AdwordsRows& rows, AdwordsRows::const_iterator at, const QString& keyword, int type) {
    return at != rows.end() && at->keywordType == type && at->keyword == keyword;
}

} // namespace

CProjectCrawlerDefault::CProjectCrawlerDefault(CrawlerFolders folders)
    : m_appDir(std::move(folders.appDir)), m_dataDir(std::move(folders.dataDir)) {}

CProjectCrawlerDefault::~CProjectCrawlerDefault() {
    // On the pool the start-up already shut down this does nothing.
    Shutdown();
}

void CProjectCrawlerDefault::Init() {
    CreatePool();
    if (!m_dataDir.isEmpty())
        MakePrivateFolder(m_dataDir);
}

std::int64_t CProjectCrawlerDefault::CourtesyDelayMs(int minSeconds, int maxSeconds, int random) {
    const std::int64_t spread = std::int64_t(maxSeconds) - minSeconds;
    return std::int64_t(random) * spread * 1000 / kRandomMax + std::int64_t(minSeconds) * 1000;
}

void CProjectCrawlerDefault::ParseSetCookie(const QString& headerValue, const QString& host,
                                            std::vector<CDownloader_Cookie>& out) {
    ParseSetCookieHeader(headerValue, host, UtcSeconds(), out);
}

bool CProjectCrawlerDefault::HandleEvent(int /*event*/, int /*value*/) {
    return false;
}

void CProjectCrawlerDefault::AddAdwordsResult(const CDownloader_Parsers_Adwords_result& record) {
    std::lock_guard guard(m_cs);
    const auto at = FindAdwordsPlace(m_adwordsResults, record.keyword, record.keywordType);
    if (IsAdwordsRow(m_adwordsResults, at, record.keyword, record.keywordType))
        *at = record;
    else
        m_adwordsResults.insert(at, record);
}

bool CProjectCrawlerDefault::FindAdwordsResult(const QString& keyword, int keywordType,
                                               CDownloader_Parsers_Adwords_result& out) {
    std::lock_guard guard(m_cs);
    const auto at = FindAdwordsPlace(m_adwordsResults, keyword, keywordType);
    if (!IsAdwordsRow(m_adwordsResults, at, keyword, keywordType))
        return false;
    out = *at;
    // Texts of their own: the stored row's may be let go of by a parser thread that replaces it.
    out.keyword = QString(at->keyword.constData(), at->keyword.size());
    out.m_trendText = QString(at->m_trendText.constData(), at->m_trendText.size());
    return true;
}

std::vector<CDownloader_Parsers_Adwords_result> CProjectCrawlerDefault::GetAdwordsResults() {
    std::lock_guard guard(m_cs);
    return m_adwordsResults;
}

bool CProjectCrawlerDefault::AddCookies(const std::vector<CDownloader_Cookie>& cookies) {
    std::lock_guard guard(m_cs);
    return m_cookies.Add(cookies, UtcSeconds());
}

QString CProjectCrawlerDefault::GetCookieHeader(const QString& host, const QString& path, bool https) {
    std::lock_guard guard(m_cs);
    return m_cookies.HeaderFor(host, path, https, UtcSeconds());
}

int CProjectCrawlerDefault::SetCurrentJob(int jobId) {
    m_requestsThisTick.store(0);
    return m_currentJob.exchange(jobId);
}

void CProjectCrawlerDefault::CopyTextToClipboard(const QString& text) {
    ::CopyTextToClipboard(text);
}
