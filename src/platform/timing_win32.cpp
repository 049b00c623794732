#include <windows.h>
#include <timeapi.h>

#include "platform/timing.h"

namespace trovik {

SystemSleeper::SystemSleeper() {
    if (::timeBeginPeriod(1) == TIMERR_NOERROR) restore_ = 1;
}

SystemSleeper::~SystemSleeper() {
    if (restore_ != 0) ::timeEndPeriod(1);
}

void SystemSleeper::SleepMs(int milliseconds) {
    if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
}

void RaiseProcessPriority() { ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS); }

}  // namespace trovik
