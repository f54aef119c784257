#include "tests/support/Waiting.h"

namespace zrtest {

namespace {

// How long one round waits for messages before the condition is asked again.
constexpr DWORD PollMs = 5;

void PumpUntil(double endMs) {
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    const double left = endMs - NowMs();
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, left < PollMs ? static_cast<DWORD>(left) + 1 : PollMs, QS_ALLINPUT);
  }
}

}  // namespace

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const double deadline = NowMs() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (NowMs() >= deadline) return condition();
    PumpUntil(NowMs() + PollMs);
  }
}

void PumpFor(DWORD durationMs) { PumpUntil(NowMs() + durationMs); }

}  // namespace zrtest
