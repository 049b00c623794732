#include <cerrno>
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
    timespec deadline{};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_nsec -= 1000000000L;
        ++deadline.tv_sec;
    }
#ifdef __linux__
    // An absolute deadline: a signal cannot stretch or shorten the total.
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
#else
    timespec now{};
    while (::clock_gettime(CLOCK_MONOTONIC, &now) == 0 &&
           (now.tv_sec < deadline.tv_sec || (now.tv_sec == deadline.tv_sec && now.tv_nsec < deadline.tv_nsec))) {
        timespec left{deadline.tv_sec - now.tv_sec, deadline.tv_nsec - now.tv_nsec};
        if (left.tv_nsec < 0) {
            left.tv_nsec += 1000000000L;
            --left.tv_sec;
        }
        ::nanosleep(&left, nullptr);
    }
#endif
}

void RaiseProcessPriority() {
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, 0);
    if (errno == 0 && current > kRaisedNice) ::setpriority(PRIO_PROCESS, 0, kRaisedNice);
}

}  // namespace trovik
