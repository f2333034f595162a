#include "projects/common/service_step.h"

#include "net/crawler.h"
#include "net/downloader.h"

using namespace Qt::StringLiterals;

namespace {

const QString kNotStarted = u"The request could not be started."_s;
const QString kNoReply = u"Receive error: the server closed the connection without a reply"_s;

} // namespace

CServiceStep::~CServiceStep() {
    Release();
}

void CServiceStep::Release() {
    if (m_downloader)
        m_downloader->Release();
    m_downloader = nullptr;
    m_started = false;
}

bool CServiceStep::Take(const QString& service) {
    if (m_downloader)
        return true;
    if (!g_pCrawler)
        return false;
    m_downloader = g_pCrawler->GetDownloaderForHost(service);
    m_started = false;
    m_error.clear();
    if (!m_downloader)
        return false;
    // A slot keeps the error of its last failed exchange; this request must not inherit it.
    const std::lock_guard guard(m_downloader->m_cs);
    m_downloader->m_lastError.clear();
    return true;
}

CServiceStep::Result CServiceStep::Finished() {
    const DownloadResponse response = m_downloader->Response();
    // The server's own word that this is not the page asked for comes before anything the exchange said.
    if (response.status.IsError())
        m_error = response.status.ErrorText();
    else if (!response.lastError.isEmpty())
        m_error = response.lastError;
    else if (response.header.isEmpty() && response.raw.isEmpty())
        m_error = kNoReply;
    else
        return Result::Done;
    return Result::Failed;
}

CServiceStep::Result CServiceStep::Run(const QString& service, const Starter& start) {
    if (!Take(service))
        return Result::Waiting;
    if (!m_started) {
        if (!start(*m_downloader)) {
            m_error = kNotStarted;
            return Result::Failed;
        }
        m_started = true;
        return Result::Waiting;
    }
    return m_downloader->IsFinished() ? Finished() : Result::Waiting;
}

CServiceStep::Result CServiceStep::RunSteps(const QString& service, const Stepper& step) {
    if (!Take(service))
        return Result::Waiting;
    if (m_started)
        return m_downloader->IsFinished() ? Finished() : Result::Done;
    if (!step(*m_downloader))
        return Result::Waiting;
    // Once the service says its reply is in, later polls answer the same without stepping it again.
    m_started = true;
    return m_downloader->IsFinished() ? Finished() : Result::Done;
}
