#pragma once

#include "net/adwords_result.h"
#include "net/cookie.h"
#include "net/cookie_jar.h"
#include "net/crawler_folders.h"
#include "net/pacing.h"
#include "net/thread_status.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class CDownloader;
class CSSLContext;

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
    // A numbered event with its value, for a crawler that wants to act on one; true when it was handled.
    // This crawler handles none.
    virtual bool HandleEvent(int event, int value);

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

    // --- shared keyword-tool results ---
    // Stores a row every keyword research parser read, for all projects: kept sorted by keyword (exact
    // character order), then keyword type; a row with the keyword and type of a stored one replaces it.
    void AddAdwordsResult(const CDownloader_Parsers_Adwords_result& record);
    // Copies the stored row with this keyword (exact characters) and type into out; false, with out
    // untouched, when there is none.
    bool FindAdwordsResult(const QString& keyword, int keywordType, CDownloader_Parsers_Adwords_result& out);
    // A copy of the stored rows in their order.
    std::vector<CDownloader_Parsers_Adwords_result> GetAdwordsResults();

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

    void CopyTextToClipboard(const QString& text);

    // --- download pool and pacing (net/crawler_pool.cpp) ---
    // Makes the first allowMaxThreads slots, each with its worker thread; Init runs it first.
    void CreatePool();
    // Run at every project tick: the pool grows to allowMaxThreads + 4 slots; it never shrinks.
    void GrowPool();
    // An idle slot for the current job, or null (paused job, every slot taken). Counts as a request.
    CDownloader* GetFreeDownloader();
    // As GetFreeDownloader, paced per service: null while the service's pacing says wait.
    CDownloader* GetDownloaderForHost(const QString& service);
    void MarkHostBusy(const QString& service);
    void UpdateHostTiming(const QString& service);
    // Ends the pacing hold of downloader; takes the crawler's lock (a worker thread calls it too).
    void EndHostHold(const CDownloader& downloader);
    void ReleaseJobDownloaders(int jobId);
    int CountJobDownloaders(int jobId) const;
    // Stops every slot's job and thread and empties the worker-status rows; Shutdown also destroys the
    // slots (each joins its thread).
    void StopAll();
    void Shutdown();
    // The pool, for the user-interface thread.
    const std::vector<std::unique_ptr<CDownloader>>& GetDownloaders() const { return m_downloaders; }

    // --- worker-status rows, one per index; any thread may set them (under the crawler's lock) ---
    // Grows the rows to index + 1 when needed and stores each text that is given and the state unless it is
    // -1; marks the rows changed. Answers state. An index below 0 or beyond the largest pool changes nothing.
    int SetThreadStatus(int index, const std::optional<QString>& server,
                        const std::optional<QString>& operation, const std::optional<QString>& status,
                        int state = -1);
    void RemoveThreadStatus(int index);
    bool HasThreadStatus(int index);
    // A copy of the rows, for a report; taking it clears the changed mark.
    std::vector<CProjectCrawler_thread_Status> TakeThreadStatus();
    // Rows changed since they were last taken.
    bool ThreadStatusChanged() const { return m_statusChanged.load(); }

    // The TLS client context of every https exchange; set by the start-up (tests: one that trusts their
    // own certificate). Not owned.
    CSSLContext* m_sslContext = nullptr;

    // The user's settings that the download pool reads; saved under these names.
    int allowMaxThreads = 4;
    bool allowCourtesy = false;
    int courtesyMin = 0;
    int courtesyMax = 3;

  protected:
    std::vector<std::unique_ptr<CDownloader>> m_downloaders; // user-interface thread only
    std::vector<CProjectCrawler_Courtasy> m_courtesy;        // guarded by m_cs
    // Where a downloader's own lock is needed as well, the downloader's is taken first.
    std::recursive_mutex m_cs;
    CookieJar m_cookies;                                              // guarded by m_cs
    std::vector<CDownloader_Parsers_Adwords_result> m_adwordsResults; // guarded by m_cs
    std::vector<CProjectCrawler_thread_Status> m_threadStatus;        // guarded by m_cs
    std::atomic<bool> m_statusChanged{false};
    std::atomic<bool> m_paused{false};
    std::atomic<int> m_currentJob{-1};
    std::atomic<int> m_requestsThisTick{0};
    int m_nextProjectId = 1;
    QString m_appDir;
    QString m_dataDir;

  private:
    // Takes the first idle slot of job's range for job, or gives null.
    CDownloader* TakeFirstFree(int job);
};
