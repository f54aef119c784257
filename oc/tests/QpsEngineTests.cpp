// The power-saving engine on board files and registry values made here, talking to a
// stand-in for the companion's "Oktan Engine" window.
//
// The engine keeps the mode item and two answers for the whole run, so every TEST
// runs in a process of its own (the tests are discovered and run one per process).
#include "oc/QpsEngine.h"
#include "oc/tests/CompanionWindow.h"
#include "oc/tests/ScratchRegistryKey.h"
#include "plinth/kovra/tests/TestBoard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zrtest::CompanionMessage;
using zrtest::U;

constexpr const char* BaseThresholds =
    "group 0x0E\n"
    "item 0x0E0A0014 number min=0 step=1 count=101 value=20\n"
    "item 0x0E0A0015 number min=0 step=1 count=101 value=35\n"
    "item 0x0E0A0016 number min=0 step=1 count=101 value=50\n";
constexpr const char* ExtendedThresholds =
    "item 0x0E0A0017 number min=0 step=1 count=101 value=65\n"
    "item 0x0E0A0018 number min=0 step=1 count=101 value=80\n"
    "item 0x0E0A0019 number min=0 step=1 count=101 value=95\n";

std::string ModeBoard(const std::string& mode) {
  return "group 0x0B\nitem 0x0B000001 number min=0 step=1 count=0x8001 " + mode + "\n";
}

// The calibration values of the companion, fresh for each test.
class QpsEngineTest : public testing::Test {
 protected:
  void WriteThresholds(int count) {
    for (int i = 1; i <= count; ++i) m_thresholds.SetDword(("Threshold" + std::to_string(i)).c_str(), 10u * i);
  }

  zrtest::ScratchRegistryKey m_user{HKEY_CURRENT_USER, "Software\\Kovra\\Pacer3"};
  zrtest::ScratchRegistryKey m_thresholds{HKEY_LOCAL_MACHINE, "Software\\Kovra\\Pacer3"};
  zrtest::ScratchRegistryKey m_advance{HKEY_CURRENT_USER, "Software\\Kovra\\Pacer3\\Advance"};
};

bool ThreadQueueHolds(UINT first, UINT last) {
  MSG queued;
  return PeekMessageA(&queued, reinterpret_cast<HWND>(-1), first, last, PM_REMOVE) != FALSE;
}

TEST_F(QpsEngineTest, ModeFromTheFirmwaresRawValue) {
  struct ModeCase {
    const char* name;
    const char* value;
    int mode;
  };
  const ModeCase cases[] = {
      {"0x4000", "value=0x4000", 0}, {"1", "value=1", 2},           {"2", "value=2", 3},
      {"0", "value=0", 1},           {"3", "value=3", 1},           {"0x8000", "value=0x8000", 1},
      {"refused read", "value=0x4000 fail=read", 1},
  };
  zrtest::TestBoard board(ModeBoard("value=0"));
  for (const ModeCase& c : cases) {
    board.Rewrite(ModeBoard(c.value));
    EXPECT_EQ(QpsEngine::Instance()->ReadMode(), c.mode) << c.name;
  }
}

TEST_F(QpsEngineTest, ModeWithoutTheModeItemIsOne) {
  zrtest::TestBoard board("group 0x0B\nitem 0x0B000002 number min=0 step=1 count=9 value=0x4000\n");
  EXPECT_EQ(QpsEngine::Instance()->ReadMode(), 1);
  // The item is looked for once per run.
  board.Rewrite(ModeBoard("value=0x4000"));
  EXPECT_EQ(QpsEngine::Instance()->ReadMode(), 1);
}

TEST_F(QpsEngineTest, ModeRequestsArePostedToTheEngineWindow) {
  zrtest::CompanionWindow engineWindow("TMainForm", "Oktan Engine");
  ASSERT_NE(engineWindow.Handle(), nullptr);
  QpsEngine* engine = QpsEngine::Instance();
  ASSERT_TRUE(engine->FindEngineWindow());
  for (int mode : {0, 1, 2, 3, 4, -1, 0x7FFFFFFF}) engine->PostMode(mode);
  engine->PostAutoMode();
  ASSERT_TRUE(engineWindow.Drain());
  const std::vector<CompanionMessage> expected{
      {0x422, U, 0, false}, {0x41F, U, 0, false}, {0x420, U, 0, false},
      {0x421, U, 0, false}, {0x423, U, 0, false},
  };
  EXPECT_EQ(engineWindow.Messages(), expected);
}

TEST_F(QpsEngineTest, NothingIsPostedWithoutTheEngineWindow) {
  zrtest::CompanionWindow other("TMainForm", "ZentrikHelp");
  QpsEngine* engine = QpsEngine::Instance();
  EXPECT_FALSE(engine->FindEngineWindow());
  engine->PostMode(0);
  engine->PostAutoMode();
  EXPECT_FALSE(ThreadQueueHolds(0x41F, 0x423));
  ASSERT_TRUE(other.Drain());
  EXPECT_TRUE(other.Messages().empty());
}

TEST_F(QpsEngineTest, EngineWindowIsLookedUpAgainEveryTime) {
  QpsEngine* engine = QpsEngine::Instance();
  {
    zrtest::CompanionWindow engineWindow("TMainForm", "Oktan Engine");
    EXPECT_TRUE(engine->FindEngineWindow());
  }
  EXPECT_FALSE(engine->FindEngineWindow());
  zrtest::CompanionWindow restarted("TMainForm", "Oktan Engine");
  EXPECT_TRUE(engine->FindEngineWindow());
  engine->PostMode(2);
  ASSERT_TRUE(restarted.Drain());
  EXPECT_EQ(restarted.Messages(), (std::vector<CompanionMessage>{{0x420, U, 0, false}}));
}

TEST_F(QpsEngineTest, AutoModeAvailableWithoutItsItem) {
  zrtest::TestBoard board("group 0x11\nitem 0x11060008 number min=0 step=1 count=5\n");
  EXPECT_TRUE(QpsEngine::Instance()->IsAutoModeAvailable());
}

TEST_F(QpsEngineTest, AutoModeUnavailableWhenItsItemHoldsZero) {
  zrtest::TestBoard board("group 0x11\nitem 0x11070010 onoff value=0\n");
  EXPECT_FALSE(QpsEngine::Instance()->IsAutoModeAvailable());
}

TEST_F(QpsEngineTest, AutoModeUnavailableWhenItsItemCantBeRead) {
  zrtest::TestBoard board("group 0x11\nitem 0x11070010 onoff value=1 fail=read\n");
  EXPECT_FALSE(QpsEngine::Instance()->IsAutoModeAvailable());
}

TEST_F(QpsEngineTest, AutoModeAnswerIsKeptForTheRun) {
  zrtest::TestBoard board("group 0x11\nitem 0x11070010 onoff value=1\n");
  EXPECT_TRUE(QpsEngine::Instance()->IsAutoModeAvailable());
  board.Rewrite("group 0x11\nitem 0x11070010 onoff value=0\n");
  EXPECT_TRUE(QpsEngine::Instance()->IsAutoModeAvailable());
}

TEST_F(QpsEngineTest, ThreeThresholdsCalibrateABoardWithoutTheExtendedItems) {
  zrtest::TestBoard board(BaseThresholds);
  WriteThresholds(3);
  EXPECT_FALSE(HasExtendedThresholds());
  EXPECT_TRUE(AreThresholdsPresent());
  EXPECT_FALSE(QpsEngine::Instance()->NeedsCalibration());
}

TEST_F(QpsEngineTest, ThreeThresholdsDontCalibrateABoardWithTheExtendedItems) {
  zrtest::TestBoard board(std::string(BaseThresholds) + ExtendedThresholds);
  WriteThresholds(3);
  EXPECT_TRUE(HasExtendedThresholds());
  EXPECT_FALSE(AreThresholdsPresent());
  EXPECT_TRUE(QpsEngine::Instance()->NeedsCalibration());
}

TEST_F(QpsEngineTest, SixThresholdsCalibrateABoardWithTheExtendedItems) {
  zrtest::TestBoard board(std::string(BaseThresholds) + ExtendedThresholds);
  WriteThresholds(6);
  EXPECT_TRUE(AreThresholdsPresent());
  EXPECT_FALSE(QpsEngine::Instance()->NeedsCalibration());
}

TEST_F(QpsEngineTest, ExtendedThresholdsNeedAllThreeItems) {
  // 0x0E0A0018 is missing; 0x0E0A0019 alone does not count.
  zrtest::TestBoard board(std::string(BaseThresholds) +
                          "item 0x0E0A0017 number min=0 step=1 count=101\n"
                          "item 0x0E0A0019 number min=0 step=1 count=101\n");
  EXPECT_FALSE(HasExtendedThresholds());
}

TEST_F(QpsEngineTest, ExtendedThresholdsAreWorkedOutOncePerRun) {
  zrtest::TestBoard board(BaseThresholds);
  EXPECT_FALSE(HasExtendedThresholds());
  board.Rewrite(std::string(BaseThresholds) + ExtendedThresholds);
  EXPECT_FALSE(HasExtendedThresholds());
}

TEST_F(QpsEngineTest, MissingOrWrongThresholdsNeedCalibration) {
  zrtest::TestBoard board(BaseThresholds);
  struct ThresholdCase {
    const char* name;
    std::vector<std::pair<std::string, DWORD>> values;  // value name and type
    bool present;
  };
  const ThresholdCase cases[] = {
      {"no key", {}, false},
      {"all three", {{"Threshold1", REG_DWORD}, {"Threshold2", REG_DWORD}, {"Threshold3", REG_DWORD}}, true},
      {"second missing", {{"Threshold1", REG_DWORD}, {"Threshold3", REG_DWORD}}, false},
      {"third as a string", {{"Threshold1", REG_DWORD}, {"Threshold2", REG_DWORD}, {"Threshold3", REG_SZ}}, false},
      {"the numbers don't matter", {{"Threshold1", REG_DWORD}, {"Threshold2", REG_DWORD}, {"Threshold3", REG_DWORD},
                                    {"Threshold4", REG_SZ}}, true},
  };
  for (const ThresholdCase& c : cases) {
    zrtest::ScratchRegistryKey key(HKEY_LOCAL_MACHINE, "Software\\Kovra\\Pacer3");
    for (const auto& [name, type] : c.values) {
      const DWORD zero = 0;
      if (type == REG_DWORD) key.Set(name.c_str(), REG_DWORD, &zero, sizeof zero);
      else key.SetString(name.c_str(), "0");
    }
    EXPECT_EQ(AreThresholdsPresent(), c.present) << c.name;
  }
}

TEST_F(QpsEngineTest, CalibrationFlagIsADwordOfOne) {
  struct FlagCase {
    const char* name;
    DWORD type;
    std::string data;
    bool set;
  };
  const DWORD one = 1;
  const DWORD zero = 0;
  const DWORD two = 2;
  const FlagCase cases[] = {
      {"1", REG_DWORD, std::string(reinterpret_cast<const char*>(&one), 4), true},
      {"0", REG_DWORD, std::string(reinterpret_cast<const char*>(&zero), 4), false},
      {"2", REG_DWORD, std::string(reinterpret_cast<const char*>(&two), 4), false},
      {"1 as a string", REG_SZ, std::string("1\0", 2), false},
      {"1 as binary", REG_BINARY, std::string(reinterpret_cast<const char*>(&one), 4), false},
  };
  for (const FlagCase& c : cases) {
    zrtest::ScratchRegistryKey key(HKEY_CURRENT_USER, "Software\\Kovra\\Pacer3\\Advance");
    key.Set("CalibrationNeeded", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    EXPECT_EQ(IsCalibrationFlagSet(), c.set) << c.name;
  }
  EXPECT_FALSE(IsCalibrationFlagSet()) << "no key";
  m_advance.Create();
  EXPECT_FALSE(IsCalibrationFlagSet()) << "no value";
}

TEST_F(QpsEngineTest, CalibrationFlagNeedsCalibrationEvenWhenCalibrated) {
  zrtest::TestBoard board(BaseThresholds);
  WriteThresholds(3);
  m_advance.SetDword("CalibrationNeeded", 1);
  EXPECT_TRUE(QpsEngine::Instance()->NeedsCalibration());
}

}  // namespace
