#include "remote/MaskFanoutThread.h"

#include "osd/OsdPresenter.h"
#include "remote/OsdMask.h"
#include "remote/RcController.h"

#include <algorithm>

int FadeAlpha(int step) {
  const int alpha = static_cast<int>(OsdMask::NormalAlpha / 10.0 * (10 - step));
  return std::clamp(alpha, 0, static_cast<int>(OsdMask::NormalAlpha));
}

DWORD TicksSince(DWORD start, DWORD now) {
  // Unsigned arithmetic counts across the wrap of the counter.
  return now - start;
}

void RunFadeSteps(const FadeClock& clock, const std::function<void(int alpha)>& setAlpha) {
  DWORD last = 0;
  const DWORD start = clock.now();
  for (;;) {
    const DWORD elapsed = TicksSince(start, clock.now());
    if (elapsed >= FadeDurationMs) return;
    const DWORD step = elapsed / FadeStepMs;
    if (step > last) {
      last = step;
      setAlpha(FadeAlpha(static_cast<int>(step)));
      continue;  // the opacity change may have taken a while: look at the clock again
    }
    clock.wait(std::min((step + 1) * FadeStepMs, FadeDurationMs) - elapsed);
  }
}

void TMaskFanoutThread::Execute() {
  const FadeClock clock{&GetTickCount, [](DWORD ms) { Sleep(ms); }};
  RunFadeSteps(clock, [](int alpha) { OsdPresenter::Instance()->SetAlpha(static_cast<BYTE>(alpha)); });
  Synchronize([] {
    OsdPresenter::Instance()->HideAll();
    RcController::Instance()->OnFadeDone();
  });
}

void StartMaskFanout() {
  auto* thread = new TMaskFanoutThread;
  thread->SetFreeOnTerminate(true);
  thread->Resume();
}
