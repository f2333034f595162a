#pragma once

#include <cstdint>
#include <mutex>
#include <random>

// The time and the chance the system runs on. The process uses real sources; tests install their own so
// that pacing and cookie expiry can be stepped and scripted.

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic clock: never goes back, and in 64 bits it never wraps.
    virtual std::int64_t MonotonicMs() = 0;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t UtcSeconds() = 0;
};

// The largest value a random source gives; the pacing formula is written for 0..32767.
inline constexpr int kRandomMax = 32767;

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A uniformly distributed value in 0..kRandomMax.
    virtual int Next() = 0;
};

// The process's generator: seeded from the system unless a seed is given. Safe to call from several threads.
class SeededRandomSource : public RandomSource {
  public:
    SeededRandomSource();
    explicit SeededRandomSource(std::uint32_t seed);
    int Next() override;

  private:
    std::mutex m_lock;
    std::mt19937 m_engine;
};

// Makes clock or source the process-wide instance; it is not owned and must stay alive while installed.
// Null brings back the real one. Install at start-up or in a test's set-up, not while other threads use it.
void InstallClock(Clock* clock);
Clock& InstalledClock();
void InstallRandomSource(RandomSource* source);
RandomSource& InstalledRandomSource();

// Shorthands for the installed instances.
std::int64_t MonotonicMs();
std::int64_t UtcSeconds();
int RandomValue();
