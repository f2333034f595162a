#pragma once

#include "core/clock.h"

#include <atomic>
#include <cstdint>
#include <optional>

namespace twtest {

// Readings a test clock starts pinned to; one left empty follows the real clock.
struct PinnedReadings {
    std::optional<std::int64_t> monotonicMs = std::nullopt;
    std::optional<std::int64_t> utcSeconds = std::nullopt;
};

// The clock a test runs on, installed for the lifetime of the object (one at a time). Each reading follows
// the real clock until the test pins it; Advance moves a reading on, pinned or not, so that a delay passes
// at once. Threads of the code under test may read it while the test moves it.
class TestClock : public Clock {
  public:
    explicit TestClock(PinnedReadings pinned = {}) : m_real(InstalledClock()) {
        if (pinned.monotonicMs)
            m_monotonic.Pin(*pinned.monotonicMs);
        if (pinned.utcSeconds)
            m_utc.Pin(*pinned.utcSeconds);
        InstallClock(this);
    }
    ~TestClock() override { InstallClock(nullptr); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    std::int64_t MonotonicMs() override {
        return m_monotonic.Of([this] { return m_real.MonotonicMs(); });
    }
    std::int64_t UtcSeconds() override {
        return m_utc.Of([this] { return m_real.UtcSeconds(); });
    }

    void PinUtcSeconds(std::int64_t seconds) { m_utc.Pin(seconds); }
    void AdvanceMs(std::int64_t ms) { m_monotonic.value += ms; }
    void AdvanceSeconds(std::int64_t seconds) { m_utc.value += seconds; }

  private:
    // Pinned to value, or the real reading moved on by value.
    struct Reading {
        void Pin(std::int64_t at) {
            value = at;
            pinned = true;
        }
        template <typename Real> std::int64_t Of(Real real) const {
            return pinned ? value.load() : real() + value.load();
        }
        std::atomic<bool> pinned{false};
        std::atomic<std::int64_t> value{0};
    };

    Clock& m_real;
    Reading m_monotonic;
    Reading m_utc;
};

} // namespace twtest
