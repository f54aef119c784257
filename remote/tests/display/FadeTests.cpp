// The fade-out: its opacity table, its clock across the tick counter's wrap, its
// timing under a late or coarse clock, and the real fade on the overlay form.
#include "remote/MaskFanoutThread.h"

#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "osd/tests/support/DisplayWorld.h"
#include "osd/tests/support/Pump.h"
#include "osd/tests/support/RecordingController.h"
#include "osd/tests/support/RecordingPlayer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FadeAlpha, StepsDownFrom229InTenths) {
  const int expected[] = {206, 183, 160, 137, 114, 91, 68, 45, 22};
  for (int step = 1; step <= 9; ++step) EXPECT_EQ(FadeAlpha(step), expected[step - 1]) << "step " << step;
}

TEST(TicksSince, CountsAcrossTheWrapOfTheTickCounter) {
  const struct {
    DWORD start, now, expected;
  } cases[] = {
      {0, 0, 0},
      {10, 260, 250},
      {0xFFFFFFFF, 0, 1},
      {0xFFFFFF00, 0x000000FA, 0x1FA},
      {0xFFFFFFF0, 0xFFFFFFFF, 15},
  };
  for (const auto& c : cases) EXPECT_EQ(TicksSince(c.start, c.now), c.expected) << c.start << " to " << c.now;
}

// A clock that moves only when the fade waits (by what it asked for, plus a
// lateness) or when an opacity change takes the thread away.
struct FakeClock {
  DWORD now;
  DWORD lateness = 0;
  int reads = 0;
  int waits = 0;

  FadeClock Clock() {
    return {[this] {
              ++reads;
              return now;
            },
            [this](DWORD ms) {
              ++waits;
              now += ms + lateness;
            }};
  }
};

TEST(RunFadeSteps, SetsEachStepReachedOnceAndMakesUpNoMissedStep) {
  const struct {
    const char* name;
    DWORD start;
    DWORD lateness;      // every wait lasts this much longer than asked
    int deschedulesAt;   // alpha after which the thread loses 100 ms, or -1
    std::vector<int> alphas;
  } cases[] = {
      {"on time", 1000, 0, -1, {206, 183, 160, 137, 114, 91, 68, 45, 22}},
      {"across the wrap of the tick counter", 0xFFFFFFFF - 100, 0, -1, {206, 183, 160, 137, 114, 91, 68, 45, 22}},
      {"descheduled for 100 ms after step 2", 5000, 0, 183, {206, 183, 91, 68, 45, 22}},
      {"a coarse timer that wakes 20 ms late", 5000, 20, -1, {206, 183, 160, 137, 114, 91, 68, 45, 22}},
      {"a timer that wakes 30 ms late", 5000, 30, -1, {183, 137, 91, 45}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock clock{c.start, c.lateness};
    std::vector<int> alphas;
    RunFadeSteps(clock.Clock(), [&](int alpha) {
      alphas.push_back(alpha);
      if (alpha == c.deschedulesAt) clock.now += 100;
    });
    EXPECT_EQ(alphas, c.alphas);
    const DWORD lasted = TicksSince(c.start, clock.now);
    EXPECT_GE(lasted, 250u);
    EXPECT_LT(lasted, 250u + 25u + c.lateness) << "ends at the first look past 250 ms";
    // It waits for each step instead of watching the clock.
    EXPECT_LE(clock.waits, 12);
    EXPECT_LE(clock.reads, 25);
  }
}

class RealFadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    osdtest::RecordingPlayer::Instance();
    osdtest::EnsureDisplayWorld();
    presenter->PlaceMovie(OsdPresenter::MovieQpsAuto);
    presenter->ShowQpsAuto("fading");
    presenter->SetAlpha(229);
  }

  BYTE Alpha() const {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(FlashOsdForm->Handle(), nullptr, &alpha, nullptr);
    return alpha;
  }

  OsdPresenter* const presenter = OsdPresenter::Instance();
};

TEST_F(RealFadeTest, HidesTheDisplayAndEndsInOnFadeDoneOnTheMainThread) {
  const ULONGLONG started = osdtest::NowMs();
  StartMaskFanout();
  ASSERT_TRUE(osdtest::PumpUntil([] { return osdtest::Controller().fadesDone > 0; }, 5000));
  // Timed by the tick counter, which moves in steps of up to 16 ms.
  EXPECT_GE(osdtest::NowMs() - started, 230u);
  EXPECT_EQ(osdtest::Controller().fadeDoneThread, GetCurrentThreadId());
  EXPECT_FALSE(IsWindowVisible(FlashOsdForm->Handle()));
  EXPECT_FALSE(IsWindowVisible(FlashOsdForm->Slot(OsdPresenter::MovieQpsAuto).player->Handle()));
  EXPECT_LT(Alpha(), 229);
  osdtest::PumpFor(100);
  EXPECT_EQ(osdtest::Controller().fadesDone, 1);
}

TEST_F(RealFadeTest, TouchesNothingWhileTheMainThreadIsBusy) {
  StartMaskFanout();
  // The main thread is busy with something of its own for longer than the fade.
  Sleep(400);
  EXPECT_EQ(Alpha(), 229);
  EXPECT_TRUE(IsWindowVisible(FlashOsdForm->Handle()));
  EXPECT_EQ(osdtest::Controller().fadesDone, 0);
  ASSERT_TRUE(osdtest::PumpUntil([] { return osdtest::Controller().fadesDone > 0; }, 5000));
  EXPECT_FALSE(IsWindowVisible(FlashOsdForm->Handle()));
}

}  // namespace
