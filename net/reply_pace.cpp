#include "net/reply_pace.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Samples per window: the window is measured at most this fraction of its length too long, in the
// reply's favour.
constexpr int kSamplesPerWindow = 32;

} // namespace

ReplyPace::ReplyPace(const ReplyTimeLimits& limits, std::int64_t connectedMs)
    : m_limits(limits), m_connectedMs(connectedMs),
      m_sampleStepMs(std::max<std::int64_t>(1, limits.windowMs / kSamplesPerWindow)) {}

void ReplyPace::HeaderDone(std::int64_t nowMs, qsizetype bodyStart) {
    m_headerDone = true;
    m_samples = {{nowMs, bodyStart}};
}

QString ReplyPace::Check(std::int64_t nowMs, qsizetype received) {
    if (m_limits.totalDeadlineMs > 0 && nowMs - m_connectedMs > m_limits.totalDeadlineMs)
        return u"Receive error: the reply took longer than %1 seconds"_s.arg(m_limits.totalDeadlineMs / 1000);
    if (!m_headerDone) {
        if (nowMs - m_connectedMs > m_limits.headerDeadlineMs)
            return u"Receive error: the header arrived too slowly"_s;
        return {};
    }
    if (nowMs - m_samples.back().ms >= m_sampleStepMs)
        m_samples.push_back({nowMs, received});
    const std::int64_t windowStart = nowMs - m_limits.windowMs;
    if (m_samples.front().ms > windowStart)
        return {}; // the body has not been arriving for a whole window yet
    while (m_samples.size() > 1 && m_samples[1].ms <= windowStart)
        m_samples.pop_front();
    if (received - m_samples.front().received < m_limits.windowMinBytes)
        return u"Receive error: the reply arrives at less than 16 KB a minute"_s;
    return {};
}
