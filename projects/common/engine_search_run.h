#pragma once

#include "projects/common/project_bar.h"
#include "projects/common/service_step.h"

#include <QString>
#include <functional>

class CDownloader;
struct SearchEngine;

// A run of search-engine requests asked one after the other over the project tick, shown on the project
// bar: its progress, the error of a failed exchange (the run goes on) and the Start/Stop button.
class CEngineSearchRun {
  public:
    // Receives the finished result page of the current request.
    using ReplyHandler = std::function<void(const CDownloader& page)>;

    explicit CEngineSearchRun(CProjectBar& bar) : m_bar(bar) {}

    void Start(int requests);
    // Gives the downloader back; the run ends where it stands.
    void Stop();
    // One step of the current request: engine's result page for query from start. Once the page is in
    // (onReply reads it) or the exchange failed, the run moves on to the next request, and ends after the
    // last. True when the current request was answered in this step.
    bool Step(const SearchEngine& engine, const QString& query, int start, const ReplyHandler& onReply);

    bool Running() const { return m_request >= 0; }
    // The index of the request under way, counted from 0; -1 no run.
    int Request() const { return m_request; }

  private:
    CProjectBar& m_bar;
    CServiceStep m_step;
    int m_request = -1;
    int m_requests = 0;
};
