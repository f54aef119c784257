// The three profile buttons, from idle: a profile switched on and off through the
// overclocking companion, a profile below the default, and a companion that is not
// installed or not running.
#include "tests/e2e/E2eFixture.h"
#include "tests/support/Waiting.h"

#include <algorithm>

namespace zrtest {
namespace {

constexpr uint32_t ProfileMessage = 0x425;

std::string Label(const char* key, uint32_t index) {
  return E2eTest::Text(key) + " " + std::to_string(MHz(index)) + "MHz";
}

// The movies that got any request among `events`.
std::vector<std::string> MoviesRequested(const std::vector<PlayerEvent>& events) {
  std::vector<std::string> movies;
  for (const PlayerEvent& e : events) {
    if (e.kind == PlayerEvent::Request && std::find(movies.begin(), movies.end(), e.movie) == movies.end())
      movies.push_back(e.movie);
  }
  return movies;
}

class ProfileTest : public E2eTest {};

TEST_F(ProfileTest, SwitchedOnThenOffWithItsNoticesWhileOtherPressesAreIgnored) {
  StartMachine();
  const DWORD pressed = GetTickCount();
  ASSERT_TRUE(World().Press(button::A));
  // The profile state ignores every button while its notice runs.
  for (uint32_t code : {button::B, button::A, button::Manual, button::Auto, button::Up}) ASSERT_TRUE(World().Press(code));

  // Profile A is the firmware's first profile: index 121, 220 MHz, above the default.
  const auto hidden = ExpectNotice({movie::ProfileOn, Label("ProfileAOn", 121), "", 2000, true});
  ASSERT_TRUE(hidden);
  // Besides the notice's movie only the digit movie's preset (the first display
  // loads every movie) was asked for anything.
  const std::vector<PlayerEvent> all = ReadPlayerLog(World().PlayerLogPath());
  EXPECT_EQ(MoviesRequested(all), (std::vector<std::string>{movie::Digits, movie::ProfileOn}));

  const auto profile = OcMessages(ProfileMessage);
  ASSERT_EQ(profile.size(), 1u);
  EXPECT_EQ(profile[0].lParam, 1u);
  EXPECT_EQ(profile[0].wParam, Sentinel);
  EXPECT_FALSE(profile[0].sent);
  // The power-saving companion goes to level 1 first.
  const auto level = QpsMessages(LevelOneMessage);
  ASSERT_EQ(level.size(), 1u);
  EXPECT_LE(level[0].tick, profile[0].tick);
  EXPECT_LE(profile[0].tick - pressed, 2000u) << "the request is posted when the notice starts";
  EXPECT_EQ(World().Item(ActiveProfileItem), 1u) << "the companion applied profile A";

  // Back in idle: the same button now switches the profile off, showing the default.
  ASSERT_TRUE(World().Press(button::A));
  ASSERT_TRUE(ExpectNotice({movie::ProfileOff, Label("ProfileAOff", DefaultFrequencyIndex), "", 2000, true}));
  ASSERT_TRUE(WaitForOcMessages(ProfileMessage, 2));
  EXPECT_EQ(OcMessages(ProfileMessage)[1].lParam, 0u);
  EXPECT_EQ(QpsMessages(LevelOneMessage).size(), 1u) << "no level-1 message when switching off";
  EXPECT_EQ(World().Item(ActiveProfileItem), 0u);
  PumpFor(QuietMs);
  EXPECT_EQ(World().OcLog().size(), 2u) << "the ignored presses reached nobody";
  EXPECT_EQ(World().QpsLog().size(), 1u);
}

TEST_F(ProfileTest, ProfileCountsAsOnOnlyForItsOwnActiveCode) {
  StartMachine();
  // C is active as 4, not as its number 3: with 3 in the item, C is switched on.
  ASSERT_TRUE(World().SetItem(ActiveProfileItem, 3));
  // Profile C stands for a profile file above the default here.
  World().AssignProfile('C', 3, "Turbo");
  World().WriteProfileFile("Turbo", 201);
  ASSERT_TRUE(World().Press(button::C));
  ASSERT_TRUE(ExpectNotice({movie::ProfileOn, Label("ProfileCOn", 201), "", 2000, true}));
  ASSERT_TRUE(WaitForOcMessages(ProfileMessage, 1));
  EXPECT_EQ(OcMessages(ProfileMessage)[0].lParam, 3u) << "requests count C as 3";
  EXPECT_EQ(World().Item(ActiveProfileItem), 4u);
  // With B's code in the item, B is on and goes off.
  ASSERT_TRUE(World().SetItem(ActiveProfileItem, 2));
  ASSERT_TRUE(World().Press(button::B));
  ASSERT_TRUE(ExpectNotice({movie::ProfileOff, Label("ProfileBOff", DefaultFrequencyIndex), "", 2000, true}));
  ASSERT_TRUE(WaitForOcMessages(ProfileMessage, 2));
  EXPECT_EQ(OcMessages(ProfileMessage)[1].lParam, 0u);
}

TEST_F(ProfileTest, ProfileBelowTheDefaultIsRefusedWithTheLongWarning) {
  StartMachine();
  // Profile C is the firmware's third profile: 166 MHz, below the default 200 MHz.
  ASSERT_TRUE(World().Press(button::C));
  ASSERT_TRUE(ExpectNotice({movie::Warning, Text("Warning"), Text("OcWarn"), 5000, false}));
  PumpFor(QuietMs);
  EXPECT_TRUE(World().OcLog().empty());
  EXPECT_TRUE(World().QpsLog().empty());
  EXPECT_EQ(World().Item(ActiveProfileItem), 0u);
}

TEST_F(ProfileTest, CompanionNotInstalledOrNotRunningIsWarnedAbout) {
  World().InstallQpsCompanion();
  ASSERT_TRUE(World().StartService());
  ASSERT_TRUE(World().StartProgram());
  // Each step changes the machine and presses a button of the overclocking companion.
  struct Step {
    const char* name;
    void (*prepare)(SimWorld&);
    uint32_t button;
    const char* contentKey;
  };
  const Step steps[] = {
      {"not installed", [](SimWorld&) {}, button::A, "ZentrikZIRInstall"},
      {"digits, not installed", [](SimWorld&) {}, button::Up, "ZentrikZIRInstall"},
      {"installed, not running", [](SimWorld& w) { w.InstallOcCompanion(); }, button::B, "ZentrikZIRNotRun"},
      {"running without its helper window", [](SimWorld& w) { w.StartOcCompanion("--no-helper"); }, button::C,
       "ZentrikZIRNotRun"},
      {"digits, without the helper window", [](SimWorld&) {}, button::Down, "ZentrikZIRNotRun"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.prepare(World());
    ASSERT_TRUE(World().Press(step.button));
    ASSERT_TRUE(ExpectNotice({movie::Warning, Text("Warning"), Text(step.contentKey), 3000, false}));
  }
  PumpFor(QuietMs);
  EXPECT_TRUE(World().OcLog().empty());
  EXPECT_TRUE(World().QpsLog().empty()) << "no level-1 message without the overclocking companion";
}

}  // namespace
}  // namespace zrtest
