// The fade-out that ends every display: for 250 ms the overlay's opacity steps
// down every 25 ms (FadeAlpha), then the display is hidden and the current state's
// OnFadeDone runs. The thread only keeps time: the opacity steps and the closing
// calls are carried out on the main thread, which the thread waits for, so they
// never run at the same time as the main thread's own handling.
#pragma once

#include "formkit/Thread.h"

#include <windows.h>

#include <functional>

constexpr DWORD FadeDurationMs = 250;
constexpr DWORD FadeStepMs = 25;

// The opacity of fade step `step` (1 to 9 occur): 229 / 10 * (10 - step),
// truncated, at most 229.
int FadeAlpha(int step);

// Milliseconds from `start` to `now` on the 32-bit tick counter, across its wrap.
DWORD TicksSince(DWORD start, DWORD now);

// The time source of a fade, so that its timing can be checked.
struct FadeClock {
  std::function<DWORD()> now;            // the tick counter
  std::function<void(DWORD ms)> wait;    // lets about `ms` milliseconds pass
};

// Runs the fade's steps until FadeDurationMs have passed: each time a new step is
// reached, setAlpha(FadeAlpha(step)). A step that was missed (the thread did not
// run in its 25 ms) is not made up; between steps the fade waits for the next one.
void RunFadeSteps(const FadeClock& clock, const std::function<void(int alpha)>& setAlpha);

class TMaskFanoutThread : public formkit::TThread {
 public:
  TMaskFanoutThread() : TThread(true) {}

 protected:
  void Execute() override;
};

// Starts a fade-out; it cannot be cancelled, and its thread frees itself.
void StartMaskFanout();
