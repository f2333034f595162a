#pragma once

#include "net/cookie.h"
#include "net/cookie_jar.h"
#include "net/crawler_folders.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

// The crawler's base: its folders, the job and pause state that decide who gets a download slot, the user's
// pacing switch and range, the cookie jar, and the lock that guards the shared tables. The one crawler of
// the process is a CProjectCrawler, reached through g_pCrawler.
class CProjectCrawlerDefault {
  public:
    explicit CProjectCrawlerDefault(CrawlerFolders folders);
    virtual ~CProjectCrawlerDefault();
    CProjectCrawlerDefault(const CProjectCrawlerDefault&) = delete;
    CProjectCrawlerDefault& operator=(const CProjectCrawlerDefault&) = delete;

    // Makes the data folder, private to the user (an existing one is no error, a failure is not fatal).
    virtual void Init();
    virtual void LoadSettings() = 0;
    // Writes the settings; false when something could not be written (the old file then stays).
    virtual bool SaveSettings() = 0;
    // Whether requests to service go one at a time with a gap; may raise min and max (seconds) to the
    // service's own range or replace them.
    virtual bool GetCourtesy(const QString& service, int& min, int& max) = 0;

    // The gap after a paced request in milliseconds: random (0..kRandomMax) spread over min..max seconds.
    // Computed in 64 bits, so no range overflows.
    static std::int64_t CourtesyDelayMs(int minSeconds, int maxSeconds, int random);

    // --- cookie jar ---
    // Appends the cookies of one Set-Cookie header value received from host to out. Takes no lock.
    static void ParseSetCookie(const QString& headerValue, const QString& host,
                               std::vector<CDownloader_Cookie>& out);
    // Merges one response's cookies into the jar; true when the jar changed.
    bool AddCookies(const std::vector<CDownloader_Cookie>& cookies);
    // The Cookie header value for a request ("a=1;b=2;"), empty when no cookie applies. https: the request
    // goes over TLS, so secure cookies may go with it.
    QString GetCookieHeader(const QString& host, const QString& path, bool https);

    // --- jobs ---
    // Makes jobId the owner of the slots handed out from now on and starts a new count of requests;
    // returns the previous job (-1: none, a dialog's step).
    int SetCurrentJob(int jobId);
    int GetCurrentJob() const { return m_currentJob.load(); }
    // While paused, requests made under a job get no slot.
    void SetPaused(bool paused) { m_paused.store(paused); }
    bool IsPaused() const { return m_paused.load(); }
    // Slot requests since the last SetCurrentJob, granted or not.
    int GetRequestsThisTick() const { return m_requestsThisTick.load(); }
    // The id of a new project; ids are never reused while the program runs.
    int TakeProjectId() { return m_nextProjectId++; }

    const QString& GetAppDir() const { return m_appDir; }
    const QString& GetDataDir() const { return m_dataDir; }

    // Guards the cookie jar, the pacing table and the shared keyword-tool results. Where a downloader's own
    // lock is needed as well, the downloader's is taken first.
    std::recursive_mutex& GetLock() { return m_cs; }

    void CopyTextToClipboard(const QString& text);

    // The user's settings that the download pool reads; saved under these names.
    int allowMaxThreads = 4;
    bool allowCourtesy = false;
    int courtesyMin = 0;
    int courtesyMax = 3;

  protected:
    std::recursive_mutex m_cs;
    CookieJar m_cookies; // guarded by m_cs
    std::atomic<bool> m_paused{false};
    std::atomic<int> m_currentJob{-1};
    std::atomic<int> m_requestsThisTick{0};
    int m_nextProjectId = 1;
    QString m_appDir;
    QString m_dataDir;
};
