// The timer: firing, stopping, and the rule of which changes restart its
// countdown. Timing cases keep margins of half an interval or more.
#include "formkit/Timer.h"
#include "formkit/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace formkit {
namespace {

class Ticks : public TObject {
 public:
  void OnTimer(TObject* sender) {
    senders.push_back(sender);
    times.push_back(GetTickCount64());
  }
  std::vector<TObject*> senders;
  std::vector<ULONGLONG> times;
};

TEST(Timer, FiresRepeatedlyWithItselfAsSenderWhileEnabled) {
  Ticks ticks;
  TTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  timer.SetInterval(30);
  timer.SetOnTimer(Bind(&ticks, &Ticks::OnTimer));
  ASSERT_TRUE(test::PumpUntil([&] { return ticks.senders.size() >= 3; }));
  EXPECT_EQ(ticks.senders[0], &timer);
  timer.SetEnabled(false);
  const size_t count = ticks.senders.size();
  // Nothing more arrives once disabled: wait for a marker timer of three intervals.
  bool marker = false;
  struct Marker : TObject {
    bool* flag;
    void OnTimer(TObject*) { *flag = true; }
  } markerTarget;
  markerTarget.flag = &marker;
  TTimer later(nullptr);
  later.SetInterval(100);
  later.SetOnTimer(Bind(&markerTarget, &Marker::OnTimer));
  ASSERT_TRUE(test::PumpUntil([&] { return marker; }));
  EXPECT_EQ(ticks.senders.size(), count);
}

TEST(Timer, RunsOnlyWithHandlerIntervalAndEnabled) {
  Ticks ticks;
  const struct {
    const char* name;
    bool enabled;
    unsigned interval;
    bool handler;
  } cases[] = {
      {"no handler", true, 20, false},
      {"interval 0", true, 0, true},
      {"disabled", false, 20, true},
  };
  for (const auto& c : cases) {
    ticks.senders.clear();
    TTimer timer(nullptr);
    timer.SetEnabled(c.enabled);
    timer.SetInterval(c.interval);
    if (c.handler) timer.SetOnTimer(Bind(&ticks, &Ticks::OnTimer));
    EXPECT_FALSE(test::PumpUntil([&] { return !ticks.senders.empty(); }, 200)) << c.name;
  }
}

TEST(Timer, ChangesThatRestartTheCountdownAndThoseThatDoNot) {
  constexpr unsigned Interval = 1000;
  constexpr ULONGLONG Slack = 50;  // timer granularity
  const struct {
    const char* name;
    void (*change)(TTimer&);
    unsigned newInterval;  // the interval after the change
    bool restarts;
  } cases[] = {
      {"enabled again while running", [](TTimer& t) { t.SetEnabled(true); }, Interval, false},
      {"same interval again", [](TTimer& t) { t.SetInterval(Interval); }, Interval, false},
      {"disabled and enabled", [](TTimer& t) { t.SetEnabled(false); t.SetEnabled(true); }, Interval, true},
      {"new interval", [](TTimer& t) { t.SetInterval(Interval - 100); }, Interval - 100, true},
  };
  for (const auto& c : cases) {
    Ticks ticks;
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetInterval(Interval);
    timer.SetOnTimer(Bind(&ticks, &Ticks::OnTimer));
    timer.SetEnabled(true);
    const ULONGLONG start = GetTickCount64();
    // Half-way through the countdown, make the change.
    test::PumpUntil([&] { return !ticks.times.empty(); }, Interval / 2);
    ASSERT_TRUE(ticks.times.empty()) << c.name << ": fired early";
    const ULONGLONG changed = GetTickCount64();
    c.change(timer);
    ASSERT_TRUE(test::PumpUntil([&] { return !ticks.times.empty(); }, 3 * Interval)) << c.name;
    const ULONGLONG fired = ticks.times.front();
    if (c.restarts) {
      EXPECT_GE(fired + Slack, changed + c.newInterval) << c.name << ": fired " << fired - changed
                                                        << " ms after the change";
    } else {
      EXPECT_LT(fired, changed + c.newInterval) << c.name << ": fired " << fired - start
                                                << " ms after the start, " << fired - changed
                                                << " ms after the change";
      EXPECT_GE(fired + Slack, start + Interval) << c.name;
    }
  }
}

TEST(Timer, HandlerMayDeleteItsTimer) {
  struct SelfDeleting : TObject {
    TTimer* timer = nullptr;
    int calls = 0;
    void OnTimer(TObject*) {
      ++calls;
      delete timer;
      timer = nullptr;
    }
  } target;
  target.timer = new TTimer(nullptr);
  target.timer->SetInterval(10);
  target.timer->SetOnTimer(Bind(&target, &SelfDeleting::OnTimer));
  ASSERT_TRUE(test::PumpUntil([&] { return target.calls > 0; }));
  EXPECT_EQ(target.calls, 1);
}

TEST(Timer, DeletedWithItsOwner) {
  Ticks ticks;
  auto* owner = new TComponent(nullptr);
  auto* timer = new TTimer(owner);
  timer->SetInterval(10);
  timer->SetOnTimer(Bind(&ticks, &Ticks::OnTimer));
  delete owner;
  EXPECT_FALSE(test::PumpUntil([&] { return !ticks.times.empty(); }, 150));
}

}  // namespace
}  // namespace formkit
