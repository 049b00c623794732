#pragma once

#include "programmer/serial_port.h"

namespace trovik {

// Real sleeps for a programming run, with as little overshoot as the
// system allows while the object lives: on Linux the thread's timer slack
// is set to its minimum (and restored afterwards), on Windows the timer
// resolution to 1 ms. Create it on the thread that runs the programming.
class SystemSleeper : public Sleeper {
public:
    SystemSleeper();
    ~SystemSleeper() override;
    SystemSleeper(const SystemSleeper&) = delete;
    SystemSleeper& operator=(const SystemSleeper&) = delete;

    // At least the given time, even when a signal arrives meanwhile.
    void SleepMs(int milliseconds) override;

private:
    unsigned long restore_ = 0;  // the timer slack to restore, or 1 for the Windows timer period
};

// Raises the process's priority as "Program PIC" does, where the system
// allows it; silently leaves it as it is otherwise.
void RaiseProcessPriority();

}  // namespace trovik
