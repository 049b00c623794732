#pragma once

#include <chrono>

#include "programmer/serial_port.h"

namespace trovik {

// Real sleeps for a programming run, with as little overshoot as the
// system allows while the object lives: on Linux the thread's timer slack
// is set to its minimum (and restored afterwards) and the last few tens of
// microseconds of each sleep are a busy wait; on Windows the timer
// resolution is 1 ms.
// Create it on the thread that runs the programming.
class SystemSleeper : public Sleeper {
public:
    SystemSleeper();
    ~SystemSleeper() override;
    SystemSleeper(const SystemSleeper&) = delete;
    SystemSleeper& operator=(const SystemSleeper&) = delete;

    // At least the given time, even when a signal arrives meanwhile.
    void SleepMs(int milliseconds) override;

private:
    static constexpr std::chrono::nanoseconds kLatencyStep = std::chrono::microseconds(4);
    static constexpr std::chrono::nanoseconds kMaxWakeLatency = std::chrono::microseconds(200);

    unsigned long restore_ = 0;  // the timer slack to restore, or 1 for the Windows timer period
    // How early to aim a wake-up (POSIX), learnt from each sleep.
    std::chrono::nanoseconds wakeLatency_ = std::chrono::microseconds(50);
};

// Raises the process's priority as "Program PIC" does, where the system
// allows it; silently leaves it as it is otherwise.
void RaiseProcessPriority();

}  // namespace trovik
