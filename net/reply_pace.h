#pragma once

#include "core/limits.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <deque>

// How slowly a reply may arrive. The receive time-out of a socket is per read, so a server that sends a
// little now and then could otherwise hold a download slot for ever. Tests shorten them.
struct ReplyTimeLimits {
    // The header block must be complete this long after connecting.
    int headerDeadlineMs = limits::kHeaderDeadlineMs;
    // After the header, every window of this length must bring at least windowMinBytes.
    int windowMs = limits::kSlowReplyWindowMs;
    int windowMinBytes = limits::kSlowReplyMinBytes;
    // The whole reply must be in this long after connecting; 0 for no overall deadline.
    int totalDeadlineMs = limits::kExchangeDeadlineMs;
};

// Tells an exchange when its reply arrives too slowly, from the time and the byte count after each receive.
class ReplyPace {
  public:
    ReplyPace(const ReplyTimeLimits& limits, std::int64_t connectedMs);

    // The header block is over (complete, or the reply has none); the body starts at byte bodyStart.
    void HeaderDone(std::int64_t nowMs, qsizetype bodyStart);
    bool IsHeaderDone() const { return m_headerDone; }
    // After a receive: received is the reply's byte count so far. The "Receive error: " text to end the
    // exchange with, or empty while the reply keeps pace.
    QString Check(std::int64_t nowMs, qsizetype received);

  private:
    struct Sample {
        std::int64_t ms;
        qsizetype received;
    };

    ReplyTimeLimits m_limits;
    std::int64_t m_connectedMs;
    bool m_headerDone = false;
    // Byte counts at least m_sampleStepMs apart, the oldest no newer than the start of the current window:
    // a bounded history whatever the number of receives.
    std::deque<Sample> m_samples;
    std::int64_t m_sampleStepMs;
};
