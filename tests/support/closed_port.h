#pragma once

#include <cstdint>

namespace twtest {

// A loopback TCP port that refuses connections: bound but never listening, so that no other test (run in
// parallel) can start a server on it while this object lives.
class ClosedPort {
  public:
    ClosedPort();
    ~ClosedPort();
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;

    std::uint16_t Port() const { return m_port; }
    // The bound socket, for a fixture that goes on to listen on it.
    int Fd() const { return m_fd; }

  private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

} // namespace twtest
