#include "net/socket_deadline.h"

#include <algorithm>
#include <limits>

SocketDeadline::SocketDeadline(int timeoutMs)
    : m_limited(timeoutMs > 0), m_end(Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0))) {}

int SocketDeadline::RemainingMs() const {
    if (!m_limited)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_end - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
}
