#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "platform/timing.h"

namespace trovik {

namespace {

// High, as for a program that drives hardware by timing, yet below what
// the system's own real-time work uses.
constexpr int kRaisedNice = -10;

// Sleeps until `until` on the steady clock, whatever signals arrive.
void SleepUntil(std::chrono::steady_clock::time_point until) {
    const auto now = std::chrono::steady_clock::now();
    if (until <= now) return;
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(until - now).count();
    timespec deadline{};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(left / 1000000000);
    deadline.tv_nsec += static_cast<long>(left % 1000000000);
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_nsec -= 1000000000L;
        ++deadline.tv_sec;
    }
#ifdef __linux__
    // An absolute deadline: a signal cannot stretch or shorten the total.
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
#else
    while (std::chrono::steady_clock::now() < until) {
        const auto rest = std::chrono::duration_cast<std::chrono::nanoseconds>(until - std::chrono::steady_clock::now());
        if (rest.count() <= 0) break;
        timespec pause{static_cast<time_t>(rest.count() / 1000000000), static_cast<long>(rest.count() % 1000000000)};
        ::nanosleep(&pause, nullptr);
    }
#endif
}

}  // namespace

SystemSleeper::SystemSleeper() {
#ifdef __linux__
    const int slack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    if (slack > 0) {
        restore_ = static_cast<unsigned long>(slack);
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);  // 1 ns: wake as close to the deadline as possible
    }
#endif
}

SystemSleeper::~SystemSleeper() {
#ifdef __linux__
    if (restore_ != 0) ::prctl(PR_SET_TIMERSLACK, restore_, 0, 0, 0);
#endif
}

void SystemSleeper::SleepMs(int milliseconds) {
    if (milliseconds <= 0) return;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    // The system wakes a sleeper tens of microseconds late, which over the
    // two thousand sleeps of a run adds up. So aim the wake-up that much
    // before the deadline and spin the rest. The aim moves in small steps,
    // up after a late wake-up and a ninth of a step down after an early
    // one, so it settles where nine wake-ups in ten are in time, and a busy
    // machine's long delays never turn a sleep into a long spin.
    const Clock::time_point wake = deadline - wakeLatency_;
    if (wake > Clock::now()) {
        SleepUntil(wake);
        const bool late = Clock::now() > deadline;
        wakeLatency_ = std::clamp(wakeLatency_ + (late ? kLatencyStep : -kLatencyStep / 9),
                                  std::chrono::nanoseconds(0), kMaxWakeLatency);
    }
    while (Clock::now() < deadline) {
    }
}

void RaiseProcessPriority() {
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, 0);
    if (errno == 0 && current > kRaisedNice) ::setpriority(PRIO_PROCESS, 0, kRaisedNice);
}

}  // namespace trovik
