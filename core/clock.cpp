#include "core/clock.h"

#include <atomic>
#include <chrono>

namespace {

class SystemClock : public Clock {
  public:
    std::int64_t MonotonicMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    std::int64_t UtcSeconds() override {
        using namespace std::chrono;
        return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
    }
};

SystemClock& TheSystemClock() {
    static SystemClock clock;
    return clock;
}

SeededRandomSource& SystemRandom() {
    static SeededRandomSource source;
    return source;
}

std::atomic<Clock*> g_clock{nullptr};
std::atomic<RandomSource*> g_random{nullptr};

} // namespace

SeededRandomSource::SeededRandomSource() : m_engine(std::random_device{}()) {}

SeededRandomSource::SeededRandomSource(std::uint32_t seed) : m_engine(seed) {}

int SeededRandomSource::Next() {
    std::lock_guard guard(m_lock);
    // The top 15 bits of a 32-bit draw: uniform over 0..32767 and the same on every platform.
    return static_cast<int>(m_engine() >> 17);
}

void InstallClock(Clock* clock) {
    g_clock.store(clock);
}

Clock& InstalledClock() {
    Clock* clock = g_clock.load();
    return clock ? *clock : TheSystemClock();
}

void InstallRandomSource(RandomSource* source) {
    g_random.store(source);
}

RandomSource& InstalledRandomSource() {
    RandomSource* source = g_random.load();
    return source ? *source : SystemRandom();
}

std::int64_t MonotonicMs() {
    return InstalledClock().MonotonicMs();
}

std::int64_t UtcSeconds() {
    return InstalledClock().UtcSeconds();
}

int RandomValue() {
    return InstalledRandomSource().Next();
}
