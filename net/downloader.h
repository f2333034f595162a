#pragma once

#include "net/download_response.h"
#include "net/html_tags.h"
#include "net/http_exchange.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

class CProjectCrawlerDefault;
struct ResponseHead;

// One download slot: a request (GET, POST or whois), the worker thread that carries it out, and the last
// response (header, body text, raw bytes, page tree). The crawler's pool owns the slots; a caller takes one,
// calls Start, polls IsFinished on later ticks, reads the response and gives the slot back with Release.
// Nobody waits for a download. A downloader made with pool index -1 has no thread and only holds a document:
// every file of the program's own is loaded and saved through one.
//
// The response fields (m_header, m_body, m_raw, m_tree, ...) belong to the worker while a job runs; the
// taker reads them through Response once IsFinished has said true. A job reports only its own failure.
class CDownloader {
  public:
    // m_request: the low byte is the kind, the bits above ask for text and a tree.
    static constexpr int kRequestGet = 1;
    static constexpr int kRequestPost = 2;
    static constexpr int kRequestWhois = 4;
    // The bytes of a file of the program's own: no reply header is split off and no BASE element honoured.
    static constexpr int kRequestFile = 8;
    static constexpr int kRequestKindMask = 0xFF;
    static constexpr int kKeepText = 0x100;
    static constexpr int kBuildTree = 0x200;

    // m_state.
    static constexpr int kIdle = 0;
    static constexpr int kQueued = 1; // woken, waiting for or running its exchange
    static constexpr int kProcessing = 2;
    static constexpr int kDone = 3;
    static constexpr int kConstructed = 5;

    // m_phase: where the worker stands.
    enum class WorkerPhase : int {
        None = 0,         // the thread has not parked yet
        Ready = 1,        // parked, or the last response processed
        ExchangeOver = 4, // the network exchange is over, its response not yet processed
    };

    // ProcessResponse results besides the HTTP status: a redirect with another code is followed as 399;
    // 500 also stands for a job that was dropped.
    static constexpr int kFollowRedirect = 399;
    static constexpr int kJobDropped = 500;

    static inline const QString kDefaultContentType = QStringLiteral("application/x-www-form-urlencoded");
    static inline const QString kDefaultUserAgent =
        QStringLiteral("Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");

    // crawler: the owner of the pool, which gives cookies, the TLS context and the pacing holds; null
    // for a document holder (or a slot that needs none of them).
    explicit CDownloader(int poolIndex, CProjectCrawlerDefault* crawler = nullptr);
    // Stops the worker, interrupts a running exchange and joins the thread.
    ~CDownloader();
    CDownloader(const CDownloader&) = delete;
    CDownloader& operator=(const CDownloader&) = delete;

    // Back to idle with the default request fields and no response. Does nothing on an idle downloader, nor
    // on a queued or running one (only Release ends a job). Keeps m_jobId, m_tags, m_baseUrl,
    // m_redirectUrl, m_lastError and the tree; the next Start or StartWhois clears m_lastError.
    void Reset();
    // A body makes the next Start send a POST.
    void SetPostData(const QString& data);
    // The POST content type, the User-Agent and the Referer of the next Start. Set them on an idle
    // downloader: Start resets a finished one, which brings back the defaults (Reset).
    void SetContentType(const QString& contentType);
    void SetUserAgent(const QString& userAgent);
    void SetReferer(const QString& referer);
    // Queues a GET (a POST when a body is set) and wakes the worker. keepBinary: no body text; noTree: no
    // page tree. False, with nothing changed, while a job is queued or running.
    bool Start(const QString& url, bool keepBinary = false, bool noTree = false);
    // Queues a whois lookup of domain.
    bool StartWhois(const QString& domain);
    bool IsFinished() const { return m_state.load() == kDone; }
    // The response of the finished job; empty texts and tree while the job is not done.
    DownloadResponse Response() const;
    // Idle, not held by a taker, its thread alive, and unowned or owned by currentJob.
    bool IsFreeFor(int currentJob) const;
    // Gives the downloader back to the pool: a queued or running job is dropped by the worker, which then
    // leaves it idle; otherwise it is reset at once. Either way its pacing hold ends.
    void Release();
    // Makes the worker drop its job and end.
    void Stop();

    // Writes m_tree in the saved-file format (atomically); false when the file cannot be written.
    bool SaveTreeToFile(const QString& path) const;
    // Reads a file of the program's own into m_body and m_tree; false when it cannot be read (nothing then
    // changes). No header is split off: a saved value may hold a blank line.
    bool LoadPageFromFile(const QString& path);

    // Response processing of one HTTP reply (header and body bytes), run by the worker for every hop and by
    // tests over canned replies: returns the status, kFollowRedirect or 301/302 when a redirect is to be
    // followed (m_redirectUrl holds its target), kJobDropped when the job was dropped.
    int ProcessResponse(const QByteArray& raw, int requestWord, const QString& url);

    // The absolute URL of link; with an empty base, against the last response's base folder.
    QString ResolveUrl(const QString& link, const QString& base = {}) const;
    static QString UrlEncode(const QString& text, bool blankAsPlus);
    static QString UrlDecode(const QString& text, bool plusAsBlank);

    // Time-outs of each exchange's socket; the defaults are 5 s to send and 10 s to receive.
    void SetTimeouts(int sendMs, int receiveMs);
    // How slowly a reply may arrive, for the jobs started from now on; the defaults are the named limits.
    void SetReplyTimeLimits(const ReplyTimeLimits& timeLimits);

    // --- job state; flags read across threads are atomic ---
    std::atomic<int> m_state{kConstructed};
    std::atomic<WorkerPhase> m_phase{WorkerPhase::None};
    std::atomic<bool> m_threadAlive{false};
    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_quit{false};

    // --- request, guarded by m_cs ---
    int m_request = 0;
    QString m_url;
    QString m_postData;
    QString m_contentType = kDefaultContentType;
    QString m_userAgent = kDefaultUserAgent;
    QString m_referer;
    // Set by the taker before Start; each Location response and each hop followed use up one.
    int m_redirectBudget = 0;

    // --- response, guarded by m_cs; m_header and m_received may be read while a job runs, the rest of the
    // response only through Response once the job is done ---
    QString m_header;
    QString m_body;
    // The storage of the last reply, for the next exchange to receive into (limits.h), and how many of its
    // bytes are mapped already.
    QByteArray m_receiveBuffer;
    qsizetype m_receiveBufferMapped = 0;
    CDownloader_HTMLTags m_tree;

    // Bytes received so far by the running exchange.
    std::atomic<int> m_received{0};
    // Free for the taker; set to -1 whenever the pool hands the downloader out.
    int m_tags[4] = {-1, -1, -1, -1};
    // The owning job: the taker's project id, -1 none.
    std::atomic<int> m_jobId{-1};
    const int m_poolIndex;

    mutable std::recursive_mutex m_cs;

  private:
    friend class CProjectCrawlerDefault;

    // What one job asks for, copied out of the request fields when the worker takes the job up.
    struct JobRequest {
        int request = 0;
        QString url;
        QString postData;
        QString referer;
        QString userAgent;
        QString contentType;
        ReplyTimeLimits timeLimits;
    };

    // The pool's hand-out: marks the downloader held by jobId when it is free for currentJob.
    bool TakeFor(int jobId, int currentJob);
    // The caller holds m_cs.
    void ResetLocked();
    // Queues a job for target unless one is queued or running; an http job is a POST when a body is set.
    bool Queue(const QString& target, int requestWord, bool http);
    // Drops the job after a Release: pacing hold ended, reset, unowned, idle. The caller holds m_cs.
    void DropJobLocked();
    void EndHostHold();
    void Wake();
    // Keeps the storage of a reply its taker is done with for the next exchange: a small one until then, a
    // large one for a short while (limits.h). The caller holds m_cs.
    void KeepReceiveBuffer(QByteArray buffer);
    // Parks until woken; false when it woke instead because a kept large buffer's time is up.
    bool Park();
    void LetGoOfKeptBuffer();
    void ThreadProc();
    void RunJob();
    // One HTTP hop; true when response processing asks for the redirect to be followed (the job is then
    // queued again, and still this worker's).
    bool RunHttpHop(const JobRequest& job);
    // A whois lookup of the job's domain; its last reply is processed as the response.
    void RunWhois(const JobRequest& job);
    // One whois query to server; what came back, empty when nothing did.
    QByteArray AskWhoisServer(const QString& server, const QByteArray& request,
                              const ReplyTimeLimits& timeLimits);

    struct ProcessResult {
        int status = 200;
        // The reply is a redirect to follow; the job is queued again.
        bool follow = false;
    };
    // Response processing, all under m_cs: the steps below, in this order.
    // exchangeFailed: the exchange already gave its reason for a short reply. dechunked: the exchange
    // already took the chunked coding off, with that result.
    // The reply comes in by value and is let go of before the job is done: the worker keeps no share of
    // the bytes the taker may free once it sees the job done.
    ProcessResult Process(QByteArray raw, int requestWord, const QString& url, bool exchangeFailed = false,
                          std::optional<DechunkResult> dechunked = std::nullopt);
    void ProcessEmpty(int requestWord, const QString& url, const QString& error);
    static bool IsFile(int requestWord) { return (requestWord & kRequestKindMask) == kRequestFile; }
    static bool IsHttp(int requestWord) {
        const int kind = requestWord & kRequestKindMask;
        return kind == kRequestGet || kind == kRequestPost;
    }
    // Sets m_header from the reply's header block (empty when it has none) and returns the body.
    QByteArray SplitHeader(QByteArray raw, int requestWord);
    // False when a transfer coding could not be undone, so the content coding cannot be either.
    bool DecodeTransfer(const ResponseHead& head, QByteArray& body, std::optional<DechunkResult> dechunked);
    void StoreCookies(const ResponseHead& head, const QString& url);
    // Records the Location target and spends the budget; true when the redirect is to be followed.
    bool Redirect(const ResponseHead& head, const QString& url);
    // A body shorter than its Content-Length is kept, with the reason in m_lastError.
    void CheckLength(const ResponseHead& head, const QByteArray& body);
    // m_raw (inflated when compressed) and, when asked for, m_body.
    void DecodeBody(const ResponseHead& head, QByteArray body, int requestWord, bool transferUndone);
    // m_tree when asked for, and the base folder for the response's links.
    void BuildTree(int requestWord, const QString& url);

    // Base folder of the last response, for making its links absolute.
    QString m_baseUrl;
    // Absolute target of the last redirect.
    QString m_redirectUrl;
    // "Connect error: ", "Send error: " or "Receive error: " and the reason, of this job's failed exchange;
    // cleared when a job is queued.
    QString m_lastError;
    // The status line of the last response processed.
    HttpStatus m_status;
    // The Content-Length of the last response processed, when it gave one.
    std::optional<qint64> m_announcedLength;
    // The response body as received (inflated when it was compressed); QByteArray keeps a 0x00 after it.
    QByteArray m_raw;
    int m_rawLength = 0;

    CProjectCrawlerDefault* const m_crawler;
    // Held by a taker from the pool's hand-out until Release (or the drop of a released job).
    std::atomic<bool> m_held{false};
    std::atomic<int> m_sendTimeoutMs{5000};
    std::atomic<int> m_receiveTimeoutMs{10000};
    ReplyTimeLimits m_replyTimeLimits; // guarded by m_cs
    // The document the base folder was cut from, for links that start with "?" or "#".
    QString m_documentUrl;

    std::mutex m_wakeLock;
    std::condition_variable m_wakeSignal;
    bool m_wakePending = false; // guarded by m_wakeLock; a wake-up given before the worker parks is kept
    // When the worker lets go of a kept large receive buffer, in steady milliseconds; 0 when none is kept.
    // Guarded by m_wakeLock, which is taken after m_cs when both are held.
    std::int64_t m_keptBufferDueMs = 0;
    // The running exchange's stream, for interrupting it from another thread.
    ExchangeSocketSlot m_socketSlot;
    std::thread m_thread;
};
