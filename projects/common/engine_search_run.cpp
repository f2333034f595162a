#include "projects/common/engine_search_run.h"

#include "projects/common/search_engine.h"

void CEngineSearchRun::Start(int requests) {
    m_step.Release();
    m_requests = requests;
    m_request = 0;
    m_bar.SetRunning(true);
    m_bar.SetError(QString());
    m_bar.SetProgress(0, requests);
}

void CEngineSearchRun::Stop() {
    m_step.Release();
    m_request = -1;
    m_bar.SetRunning(false);
}

bool CEngineSearchRun::Step(const SearchEngine& engine, const QString& query, int start,
                            const ReplyHandler& onReply) {
    if (m_request < 0)
        return false;
    const CServiceStep::Result result = m_step.Run(
        engine.Pacing(), [&](CDownloader& downloader) { return engine.start(downloader, query, -1, start); });
    if (result == CServiceStep::Result::Waiting)
        return false;
    if (result == CServiceStep::Result::Done)
        onReply(*m_step.Downloader());
    else
        m_bar.SetStepError(engine.Name(), query, m_step.Error());
    m_step.Release();
    ++m_request;
    m_bar.SetProgress(m_request, m_requests);
    if (m_request == m_requests)
        Stop();
    return true;
}
