#include "services/win/pause_clock.h"

#include <windows.h>

namespace dravik {

namespace {

double SecondsOfDay() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

void WaitForInput(int milliseconds) {
  ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
}

}  // namespace

PauseClock SystemPauseClock() { return {&SecondsOfDay, &WaitForInput}; }

}  // namespace dravik
