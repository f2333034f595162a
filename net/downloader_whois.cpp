#include "net/downloader.h"
#include "net/whois_directory.h"
#include "net/whois_lookup.h"

#include <optional>

namespace {

constexpr int kWhoisReadStep = 16384;

} // namespace

void CDownloader::RunWhois(const JobRequest& job) {
    std::optional<WhoisLookup> lookup;
    {
        std::lock_guard guard(m_cs);
        lookup.emplace(job.url, *whois_directory::Rows());
    }
    WhoisLookup::Outcome outcome = lookup->Run(
        [this, &job](const QString& server, const QByteArray& request) {
            return AskWhoisServer(server, request, job.timeLimits);
        },
        [this](const QString& line) {
            std::lock_guard guard(m_cs);
            m_body += line;
        },
        m_abort);
    m_phase.store(WorkerPhase::ExchangeOver);
    // An aborted lookup reaches processing with the abort still set, which drops the job.
    Process(std::move(outcome.reply), job.request, job.url);
}

QByteArray CDownloader::AskWhoisServer(const QString& server, const QByteArray& request,
                                       const ReplyTimeLimits& timeLimits) {
    const WhoisServerAddress address = whois_directory::AddressOf(server);
    HttpExchangeRequest exchange;
    exchange.host = address.host;
    exchange.port = address.port;
    exchange.bytes = request;
    exchange.readStep = kWhoisReadStep;
    exchange.sendTimeoutMs = m_sendTimeoutMs.load();
    exchange.receiveTimeoutMs = m_receiveTimeoutMs.load();
    exchange.timeLimits = timeLimits;
    // The exchange's limits hold for whois replies too: one beyond the size of a reply comes back empty, and
    // a server that does not answer times out; either way the lookup goes on with the next server.
    HttpExchangeResult result = Exchange(exchange, m_abort, m_received, m_socketSlot);
    if (!result.error.isEmpty() && !m_abort.load()) {
        std::lock_guard guard(m_cs);
        m_lastError = result.error;
    }
    return std::move(result.data);
}
