#pragma once

#include <chrono>

// The end of a time budget in milliseconds, for operations made of several waits.
class SocketDeadline {
  public:
    // 0 or less: no limit.
    explicit SocketDeadline(int timeoutMs);

    // What is left for one wait: -1 without limit, 0 once the deadline passed.
    int RemainingMs() const;

  private:
    using Clock = std::chrono::steady_clock;

    bool m_limited;
    Clock::time_point m_end;
};
