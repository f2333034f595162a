#pragma once

#include <QString>
#include <functional>

class CDownloader;

// One request to an outside service at a time, carried over the project tick: the first call takes a
// downloader of the service's pacing name from the crawler and starts the request on it, later calls poll
// it, and once the reply is in the owner parses it and calls Release. Nothing here waits. Release also runs
// when the owner stops, and in the destructor, so a closed project never keeps a download slot.
//
// A service that runs several exchanges (RunSteps) keeps its state program-wide, so only one of them may run
// at a time: the service is marked busy from the moment its downloader is taken until Release, whatever
// ended the exchange (answered, failed, cancelled, stopped, closed); meanwhile every other caller waits.
class CServiceStep {
  public:
    enum class Result {
        Waiting, // no slot free yet, or the reply is not in: ask again on a later tick
        Done,    // the reply is in Downloader()
        Failed,  // the exchange failed, or the reply has a 4xx or 5xx status; Error() says why
    };
    // Starts the request on a downloader; false when it could not be started.
    using Starter = std::function<bool(CDownloader& downloader)>;
    // One step of a service that runs several exchanges on its downloader (sign-in, picture code): true once
    // the reply the owner wants is in the downloader.
    using Stepper = std::function<bool(CDownloader& downloader)>;

    CServiceStep() = default;
    ~CServiceStep();
    CServiceStep(const CServiceStep&) = delete;
    CServiceStep& operator=(const CServiceStep&) = delete;

    // service: the pacing name ("Google", "MSN", "Yahoo!", ...). Needs the crawler (g_pCrawler).
    Result Run(const QString& service, const Starter& start);
    Result RunSteps(const QString& service, const Stepper& step);
    // Gives the downloader back; nothing when none is held.
    void Release();

    bool Holding() const { return m_downloader != nullptr; }
    CDownloader* Downloader() const { return m_downloader; }
    const QString& Error() const { return m_error; }

  private:
    bool Take(const QString& service);
    Result Finished();

    CDownloader* m_downloader = nullptr;
    bool m_started = false;
    QString m_error;
    // The pacing name this step holds busy, empty when none.
    QString m_busyService;
};
