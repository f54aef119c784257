// How much processor time a fade-out costs: runs fades on the overlay form as
// start-up leaves it and prints the process's CPU time against the time that
// passed. The fade thread waits for each step, so the figure should stay far
// below the fade's 250 ms.
#include "remote/MaskFanoutThread.h"

#include "osd/OsdPresenter.h"
#include "osd/tests/support/DisplayWorld.h"
#include "osd/tests/support/Pump.h"
#include "osd/tests/support/RecordingController.h"
#include "osd/tests/support/RecordingPlayer.h"

#include <cstdio>

namespace {

ULONGLONG ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return (ticks(kernel) + ticks(user)) / 10000;
}

}  // namespace

int main() {
  constexpr int Fades = 10;
  osdtest::RecordingPlayer::Instance();
  osdtest::EnsureDisplayWorld();
  OsdPresenter* presenter = OsdPresenter::Instance();
  presenter->PlaceMovie(OsdPresenter::MovieQpsAuto);

  ULONGLONG wallMs = 0;
  ULONGLONG cpuMs = 0;
  for (int fade = 1; fade <= Fades; ++fade) {
    presenter->ShowQpsAuto("benchmark");
    presenter->SetAlpha(229);
    const ULONGLONG wallStart = osdtest::NowMs();
    const ULONGLONG cpuStart = ProcessCpuMs();
    StartMaskFanout();
    if (!osdtest::PumpUntil([fade] { return osdtest::Controller().fadesDone == fade; }, 5000)) {
      std::printf("fade %d did not end\n", fade);
      return 1;
    }
    cpuMs += ProcessCpuMs() - cpuStart;
    wallMs += osdtest::NowMs() - wallStart;
  }
  std::printf("fade-out: %d fades, %.1f ms each, %.1f ms processor time each (%.1f%%)\n", Fades,
              static_cast<double>(wallMs) / Fades, static_cast<double>(cpuMs) / Fades,
              100.0 * static_cast<double>(cpuMs) / static_cast<double>(wallMs));
  return 0;
}
