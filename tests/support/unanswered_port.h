#pragma once

#include "tests/support/closed_port.h"

#include <cstdint>
#include <vector>

namespace twtest {

// A loopback TCP port whose listening queue is full, so that a further connect waits unanswered (the
// system drops the SYN). Port is 0 where the system completes every loopback connect all the same.
class UnansweredPort {
  public:
    UnansweredPort();
    ~UnansweredPort();
    UnansweredPort(const UnansweredPort&) = delete;
    UnansweredPort& operator=(const UnansweredPort&) = delete;

    std::uint16_t Port() const { return m_port; }

  private:
    ClosedPort m_bound;
    std::vector<int> m_queued;
    std::uint16_t m_port = 0;
};

} // namespace twtest
