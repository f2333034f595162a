#include "projects/common/service_step.h"

#include "net/crawler.h"
#include "net/downloader.h"

using namespace Qt::StringLiterals;

namespace {

const QString kNotStarted = u"The request could not be started."_s;

} // namespace

CServiceStep::~CServiceStep() {
    Release();
}

void CServiceStep::Release() {
    if (m_downloader)
        m_downloader->Release();
    m_downloader = nullptr;
    m_started = false;
    if (!m_busyService.isEmpty() && g_pCrawler)
        g_pCrawler->UpdateHostTiming(m_busyService);
    m_busyService.clear();
}

bool CServiceStep::Take(const QString& service) {
    if (m_downloader)
        return true;
    if (!g_pCrawler)
        return false;
    m_downloader = g_pCrawler->GetDownloaderForHost(service);
    m_started = false;
    m_error.clear();
    return m_downloader != nullptr;
}

CServiceStep::Result CServiceStep::Finished() {
    m_error = m_downloader->Response().FailureText();
    return m_error.isEmpty() ? Result::Done : Result::Failed;
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
    if (m_busyService.isEmpty()) {
        g_pCrawler->MarkHostBusy(service);
        m_busyService = service;
    }
    if (m_started)
        return m_downloader->IsFinished() ? Finished() : Result::Done;
    if (!step(*m_downloader))
        return Result::Waiting;
    // Once the service says its reply is in, later polls answer the same without stepping it again.
    m_started = true;
    return m_downloader->IsFinished() ? Finished() : Result::Done;
}
