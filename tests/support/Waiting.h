// Waiting for asynchronous state: the condition is asked again and again, with the
// caller's messages pumped in between, until it holds or the deadline passes.
#pragma once

#include <windows.h>

#include <functional>

namespace zrtest {

// True as soon as `condition` holds; false when timeoutMs passed without it.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Pumps messages for durationMs: lets time pass in a scenario that must show that
// nothing happens meanwhile.
void PumpFor(DWORD durationMs);

// Milliseconds since an arbitrary start, from the performance counter.
double NowMs();

}  // namespace zrtest
