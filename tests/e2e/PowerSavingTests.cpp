// The two power-saving buttons, from idle: the manual levels with their time-out,
// the automatic mode with and without the calibration warning, and the warnings
// for a companion that is missing or cannot do automatic mode.
#include "tests/e2e/E2eFixture.h"
#include "tests/support/Waiting.h"

#include <iterator>

namespace zrtest {
namespace {

constexpr uint32_t ModeMessages[] = {0x422, 0x41F, 0x420, 0x421};  // levels 0 to 3
constexpr uint32_t AutoModeMessage = 0x423;
constexpr uint32_t AutoModeItem = 0x11070010;
constexpr DWORD LevelGapMs = 1000;

class PowerSavingTest : public E2eTest {
 protected:
  // Every mode or auto-mode message the power-saving companion received.
  std::vector<CompanionMessage> ModeRequests() const {
    std::vector<CompanionMessage> all;
    for (const CompanionMessage& m : World().QpsLog())
      if (m.message >= 0x41F && m.message <= AutoModeMessage) all.push_back(m);
    return all;
  }
};

TEST_F(PowerSavingTest, ManualLevelsStepAndTheLastIsPostedAfterTheFade) {
  StartMachine();
  // The board's mode 0x8000 reads as level 1.
  ASSERT_TRUE(World().Press(button::Manual));
  ASSERT_TRUE(WaitForRequest(CommandRequest("show 1"), movie::QpsManual));
  ASSERT_TRUE(WaitForOverlay(true));
  EXPECT_EQ(World().OverlayAlpha(), 229);
  std::optional<PlayerEvent> last;
  for (const char* request : {"play 2", "play 3", "play 0"}) {
    PumpFor(LevelGapMs);
    ASSERT_TRUE(World().Press(button::Manual));
    last = WaitForRequest(CommandRequest(request), movie::QpsManual);
    ASSERT_TRUE(last) << request;
  }
  // Buttons of other states change nothing meanwhile.
  ASSERT_TRUE(World().Press(button::A));
  ASSERT_TRUE(World().Press(button::Auto));
  // 3000 ms after the last press the display times out, 250 ms later it closes.
  const auto end = WaitForRequest(CommandRequest("End 0"), movie::QpsManual);
  ASSERT_TRUE(end);
  ExpectDelay("time-out and close after the last level", static_cast<long>(end->tick - last->tick), 3250);
  const auto closed = WaitForCallback();
  ASSERT_TRUE(closed);
  const auto hidden = WatchFade();
  ASSERT_TRUE(hidden);
  ExpectDelay("the fade-out", static_cast<long>(*hidden - closed->tick), 250);
  // Only the level shown last reaches the companion, once, after the display closed.
  ASSERT_TRUE(WaitForQpsMessages(ModeMessages[0], 1));
  PumpFor(QuietMs);
  const auto posted = ModeRequests();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, ModeMessages[0]);
  EXPECT_EQ(posted[0].wParam, Sentinel);
  EXPECT_GE(posted[0].tick + Early, closed->tick + 250);
  EXPECT_EQ(World().OcLog().size(), 0u);
  EXPECT_EQ(World().Item(PowerModeItem), 0x4000u) << "the companion applied level 0";

  // The next visit starts from the companion's mode as the firmware now holds it.
  ASSERT_TRUE(World().Press(button::Manual));
  ASSERT_TRUE(WaitForRequest(CommandRequest("show 0"), movie::QpsManual));
  ASSERT_TRUE(WaitForRequest(CommandRequest("End 0"), movie::QpsManual));
  ASSERT_TRUE(WaitForQpsMessages(ModeMessages[0], 2));
}

TEST_F(PowerSavingTest, AutoModeIsPostedOnceAfterItsNotice) {
  StartMachine();
  ASSERT_TRUE(World().Press(button::Auto));
  // A second press while the notice runs confirms nothing more.
  ASSERT_TRUE(World().Press(button::Auto));
  const auto hidden = ExpectNotice({movie::QpsAuto, Text("Auto"), "", 3000, false});
  ASSERT_TRUE(hidden);
  ASSERT_TRUE(WaitForQpsMessages(AutoModeMessage, 1));
  PumpFor(QuietMs);
  const auto posted = ModeRequests();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, AutoModeMessage);
  EXPECT_GE(posted[0].tick + Early, *hidden) << "posted once the notice has faded out";
}

TEST_F(PowerSavingTest, CalibrationWarningThenASecondPressSwitchesAtOnce) {
  World().SetCalibrationNeeded(true);
  StartMachine();
  ASSERT_TRUE(World().Press(button::Auto));
  ASSERT_TRUE(WaitForRequest(ContentRequest(Text("CalibrationNeed")), movie::Warning));
  ASSERT_TRUE(WaitForRequest(CommandRequest("show"), movie::Warning));
  PumpFor(QuietMs);
  EXPECT_TRUE(ModeRequests().empty());
  const DWORD confirmed = GetTickCount();
  ASSERT_TRUE(World().Press(button::Auto));
  ASSERT_TRUE(WaitForQpsMessages(AutoModeMessage, 1, 2000)) << "posted at the second press";
  EXPECT_LE(QpsMessages(AutoModeMessage)[0].tick - confirmed, Late);
  // Only once: neither a third press nor the end of the warning posts it again.
  ASSERT_TRUE(World().Press(button::Auto));
  ASSERT_TRUE(WaitForRequest(CommandRequest("end"), movie::Warning));
  ASSERT_TRUE(WaitForCallback());
  ASSERT_TRUE(WaitForOverlay(false));
  PumpFor(QuietMs);
  EXPECT_EQ(ModeRequests().size(), 1u);
}

TEST_F(PowerSavingTest, MissingCompanionOrAutoModeIsWarnedAbout) {
  World().InstallOcCompanion();
  ASSERT_TRUE(World().StartService());
  // The firmware forbids automatic mode; the program asks once per run.
  ASSERT_TRUE(World().SetItem(AutoModeItem, 0));
  ASSERT_TRUE(World().StartProgram());
  struct Step {
    const char* name;
    void (*prepare)(SimWorld&);
    uint32_t button;
    const char* contentKey;
  };
  const Step steps[] = {
      {"auto, not installed", [](SimWorld&) {}, button::Auto, "QPSInstall"},
      {"manual, not installed", [](SimWorld&) {}, button::Manual, "QPSInstall"},
      {"manual, not running", [](SimWorld& w) { w.InstallQpsCompanion(); }, button::Manual, "QPSNotRun"},
      {"auto, not available", [](SimWorld& w) { w.StartQpsCompanion(); }, button::Auto, "AutoModeUnavaliable"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.prepare(World());
    // A warned visit is locked: the second press changes nothing.
    ASSERT_TRUE(World().Press(step.button));
    ASSERT_TRUE(World().Press(step.button));
    ASSERT_TRUE(ExpectNotice({movie::Warning, Text("Warning"), Text(step.contentKey), 3000, false}));
  }
  PumpFor(QuietMs);
  EXPECT_TRUE(ModeRequests().empty());
  size_t warnings = 0;
  for (const PlayerEvent& e : ReadPlayerLog(World().PlayerLogPath()))
    if (e.kind == PlayerEvent::Request && e.text == LabelRequest(Text("Warning"))) ++warnings;
  EXPECT_EQ(warnings, std::size(steps)) << "one warning per step";
}

}  // namespace
}  // namespace zrtest
