#pragma once

#include <chrono>
#include <cstddef>

#include "programmer/programming_link.h"
#include "programmer/serial_port.h"

namespace trovik {

// A run's time without waiting: sleeps and short pauses only move the clock
// on. The simulated chip reads it to judge its programming time.
class VirtualClock : public Sleeper {
public:
    void SleepMs(int milliseconds) override {
        now_ += std::chrono::milliseconds(milliseconds);
        sleptMs_ += milliseconds;
        ++sleeps_;
    }
    // Counted as the shortest pause a real one lasts.
    void ShortDelay() override {
        now_ += kShortDelay;
        ++shortDelays_;
    }

    std::chrono::nanoseconds Now() const { return now_; }
    long long SleptMs() const { return sleptMs_; }
    std::size_t Sleeps() const { return sleeps_; }
    std::size_t ShortDelays() const { return shortDelays_; }

private:
    std::chrono::nanoseconds now_{0};
    long long sleptMs_ = 0;
    std::size_t sleeps_ = 0;
    std::size_t shortDelays_ = 0;
};

}  // namespace trovik
