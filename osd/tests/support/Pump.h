// Waiting for asynchronous state: the main thread handles its messages until the
// condition holds or the deadline passes. And a clock precise enough to measure
// the waits.
#pragma once

#include "formkit/Application.h"

#include <windows.h>

#include <algorithm>
#include <functional>

namespace osdtest {

// Milliseconds on a precise clock (GetTickCount moves in steps of about 16 ms
// under Wine, too coarse to measure a 100 ms wait).
inline ULONGLONG NowMs() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<ULONGLONG>(counter.QuadPart / (frequency / 1000));
}

// Returns whether `condition` holds.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    formkit::Application()->ProcessMessages();
    if (condition()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)),
                              QS_ALLINPUT);
  }
}

// Handles messages for `ms` milliseconds (to see that something does NOT happen).
inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

}  // namespace osdtest
