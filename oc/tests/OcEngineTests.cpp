// The overclocking engine on a board file, registry values and profile files made
// here, talking to a stand-in for the companion's "ZentrikHelp" window.
//
// The engine keeps the frequency item for the whole run, so every TEST runs in a
// process of its own (the tests are discovered and run one per process).
#include "oc/Config.h"
#include "oc/OcEngine.h"
#include "oc/tests/CompanionWindow.h"
#include "oc/tests/ScratchProfileFolder.h"
#include "oc/tests/ScratchRegistryKey.h"
#include "plinth/kovra/tests/TestBoard.h"
#include "tests/support/MessageBoxWatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zrtest::CompanionMessage;
using zrtest::U;
using zrtest::MessageBoxRecord;

constexpr UINT ProfileRequest = 0x425;
constexpr UINT FrequencyCommit = 0x424;
// Frequency index i >= 1 is 99 + i MHz; index 0 is the extra string "Auto".
std::string FrequencyGroup(uint32_t value, const char* failures = "") {
  return "group 3\nitem 0x03010011 number min=10000 step=100 count=401 extra=\"Auto\" value=" +
         std::to_string(value) + " " + failures + "\n";
}

constexpr const char* NamesAndProfiles =
    "group 5\n"
    "item 0x05080002 string text=\"Gaming\" text=\"Balanced\" text=\"Silent\"\n"
    "group 0x11\n"
    "item 0x11060008 number min=0 step=1 count=5 value=0\n"
    "profile 0 pair=0x03000010:0 pair=0x03010011:121\n"  // 220 MHz
    "profile 1 pair=0x03010011:101\n"                     // 200 MHz
    "profile 2 pair=0x03010011:67\n";                     // 166 MHz

std::string StandardBoard() {
  return FrequencyGroup(121) + NamesAndProfiles;
}

const MessageBoxRecord ExtraToValue{"IndexToValue Fail", "Can not convert extra string to value"};

// Registry values, profile folder and profile names fresh for each test.
class OcEngineTest : public testing::Test {
 protected:
  OcEngineTest() { Config::Instance()->Invalidate(); }

  // Assigns a button's position and name in the profile list.
  void Assign(int button, DWORD index, const std::string& name) {
    const std::string letter(1, static_cast<char>('A' + button - 1));
    m_key.SetDword(("ZRProfile" + letter + "Index").c_str(), index);
    m_key.SetString(("ZRProfile" + letter + "Name").c_str(), name);
  }

  zrtest::ScratchRegistryKey m_key{Config::ProfileKeyRoot(), "Software\\Kovra\\Zentrik Profile"};
  zrtest::ScratchProfileFolder m_folder;
};

// Thread messages: what a post to no window would leave in this thread's queue.
bool ThreadQueueHolds(UINT message) {
  MSG queued;
  return PeekMessageA(&queued, reinterpret_cast<HWND>(-1), message, message, PM_REMOVE) != FALSE;
}

TEST_F(OcEngineTest, ActiveProfileIsTheItemsValue) {
  struct ActiveCase {
    const char* name;
    const char* value;
    uint32_t code;
    bool active;
  };
  const ActiveCase cases[] = {
      {"profile C holds 4", "value=4", 4, true},
      {"3 is not profile C", "value=3", 4, false},
      {"profile C is not 3", "value=4", 3, false},
      {"profile A", "value=1", 1, true},
      {"A is not B", "value=1", 2, false},
      {"refused read compares 0", "value=2 fail=read", 2, false},
  };
  zrtest::TestBoard board("group 0x11\n");
  for (const ActiveCase& c : cases) {
    board.Rewrite(std::string("group 0x11\nitem 0x11060008 number min=0 step=1 count=5 ") + c.value + "\n");
    EXPECT_EQ(OcEngine::Instance()->IsProfileActive(c.code), c.active) << c.name;
  }
}

TEST_F(OcEngineTest, HelperWindowIsFoundByClassAndCaption) {
  struct WindowCase {
    const char* name;
    const char* className;
    const char* caption;
    bool found;
  };
  const WindowCase cases[] = {
      {"the helper window", "TMainForm", "ZentrikHelp", true},
      {"the companion's main window", "TMainForm", "Zentrik", false},
      {"another class", "TForm", "ZentrikHelp", false},
      {"a caption with a trailing blank", "TMainForm", "ZentrikHelp ", false},
  };
  OcEngine* engine = OcEngine::Instance();
  EXPECT_FALSE(engine->FindHelperWindow());
  for (const WindowCase& c : cases) {
    zrtest::CompanionWindow window(c.className, c.caption);
    ASSERT_NE(window.Handle(), nullptr) << c.name;
    EXPECT_EQ(engine->FindHelperWindow(), c.found) << c.name;
  }
  EXPECT_FALSE(engine->FindHelperWindow());
}

TEST_F(OcEngineTest, ProfileRequestsArePostedWithTheProfileNumber) {
  zrtest::CompanionWindow helper("TMainForm", "ZentrikHelp");
  ASSERT_NE(helper.Handle(), nullptr);
  OcEngine* engine = OcEngine::Instance();
  ASSERT_TRUE(engine->FindHelperWindow());
  engine->RequestProfile(1);
  engine->RequestProfile(2);
  engine->RequestProfile(3);
  engine->RequestProfileOff();
  ASSERT_TRUE(helper.Drain());
  const std::vector<CompanionMessage> expected{{ProfileRequest, U, 1, false},
                                               {ProfileRequest, U, 2, false},
                                               {ProfileRequest, U, 3, false},
                                               {ProfileRequest, U, 0, false}};
  EXPECT_EQ(helper.Messages(), expected);
}

TEST_F(OcEngineTest, NoRequestWithoutTheHelperWindow) {
  OcEngine* engine = OcEngine::Instance();
  ASSERT_FALSE(engine->FindHelperWindow());
  engine->RequestProfile(1);
  engine->RequestProfileOff();
  engine->CommitFrequency();
  EXPECT_FALSE(ThreadQueueHolds(ProfileRequest));
  EXPECT_FALSE(ThreadQueueHolds(FrequencyCommit));
}

TEST_F(OcEngineTest, StepsStartFromTheFirmwareAndTheCommitSendsTheIndex) {
  zrtest::TestBoard board(StandardBoard());
  zrtest::CompanionWindow helper("TMainForm", "ZentrikHelp");
  OcEngine* engine = OcEngine::Instance();
  ASSERT_TRUE(engine->FindHelperWindow());
  EXPECT_EQ(engine->ReadFrequency(), 220u);
  EXPECT_EQ(engine->StepFrequencyUp(), 221u);
  EXPECT_EQ(engine->StepFrequencyUp(), 222u);
  EXPECT_EQ(engine->StepFrequencyDown(), 221u);
  engine->CommitFrequency();
  // Sent, not posted: handled by the time the call returns.
  const std::vector<CompanionMessage> expected{{FrequencyCommit, U, 122, true}};
  EXPECT_EQ(helper.Messages(), expected);
}

TEST_F(OcEngineTest, StepsPastTheLastValueKeepCounting) {
  zrtest::TestBoard board(FrequencyGroup(401) + NamesAndProfiles);
  zrtest::CompanionWindow helper("TMainForm", "ZentrikHelp");
  OcEngine* engine = OcEngine::Instance();
  ASSERT_TRUE(engine->FindHelperWindow());
  EXPECT_EQ(engine->ReadFrequency(), 500u);
  EXPECT_EQ(engine->StepFrequencyUp(), 501u);
  EXPECT_EQ(engine->StepFrequencyUp(), 502u);
  engine->CommitFrequency();
  const std::vector<CompanionMessage> expected{{FrequencyCommit, U, 403, true}};
  EXPECT_EQ(helper.Messages(), expected);
}

TEST_F(OcEngineTest, StepOntoTheExtraStringShowsItsMessage) {
  zrtest::TestBoard board(FrequencyGroup(1) + NamesAndProfiles);
  zrtest::MessageBoxWatcher boxes;
  OcEngine* engine = OcEngine::Instance();
  EXPECT_EQ(engine->ReadFrequency(), 100u);
  EXPECT_TRUE(boxes.Seen().empty());
  // The number before the first value: 9900 hundredths.
  EXPECT_EQ(engine->StepFrequencyDown(), 99u);
  EXPECT_EQ(boxes.Seen(), std::vector<MessageBoxRecord>{ExtraToValue});
}

TEST_F(OcEngineTest, FailedReadKeepsTheIndex) {
  zrtest::TestBoard board(StandardBoard());
  OcEngine* engine = OcEngine::Instance();
  EXPECT_EQ(engine->ReadFrequency(), 220u);
  board.Rewrite(FrequencyGroup(150, "fail=read") + NamesAndProfiles);
  EXPECT_EQ(engine->ReadFrequency(), 220u);
  EXPECT_EQ(engine->StepFrequencyUp(), 221u);
  board.Rewrite(FrequencyGroup(150) + NamesAndProfiles);
  EXPECT_EQ(engine->ReadFrequency(), 249u);
}

TEST_F(OcEngineTest, NegativeFiguresPrintAsThemselves) {
  zrtest::TestBoard board("group 3\nitem 0x03000011 number min=-5 step=1 count=10 value=0\n");
  OcEngine* engine = OcEngine::Instance();
  EXPECT_EQ(static_cast<int>(engine->ReadFrequency()), -5);
  EXPECT_EQ(static_cast<int>(engine->StepFrequencyUp()), -4);
}

TEST_F(OcEngineTest, WithoutAFrequencyItemEveryFrequencyIsZero) {
  zrtest::TestBoard board(std::string("group 3\nitem 0x03010012 number min=1 step=1 count=9 value=3\n") +
                          NamesAndProfiles);
  m_folder.MakeFolder("Default");
  m_folder.WriteProfile("Default\\Default", 101);
  zrtest::MessageBoxWatcher boxes;
  OcEngine* engine = OcEngine::Instance();
  EXPECT_EQ(engine->ReadFrequency(), 0u);
  EXPECT_EQ(engine->StepFrequencyUp(), 0u);
  EXPECT_EQ(engine->StepFrequencyDown(), 0u);
  EXPECT_EQ(engine->ProfileFrequency(1), 0u);
  EXPECT_EQ(engine->DefaultFrequency(), 0u);
  // The item is looked for once per run.
  board.Rewrite(StandardBoard());
  EXPECT_EQ(engine->ReadFrequency(), 0u);
  EXPECT_EQ(engine->ProfileFrequency(1), 0u);
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(OcEngineTest, FrequencyItemOfAnUnreadableGroupIsNotLookedForAgain) {
  zrtest::TestBoard board(std::string("group 3 fail=read\n") +
                          "item 0x03010011 number min=10000 step=100 count=401 extra=\"Auto\" value=121\n");
  OcEngine* engine = OcEngine::Instance();
  EXPECT_EQ(engine->ReadFrequency(), 0u);
  board.Rewrite(StandardBoard());
  EXPECT_EQ(engine->ReadFrequency(), 0u);
}

struct SlotCase {
  const char* name;
  std::string profiles;  // the board's profile lines
  DWORD position;        // profile A's position in the list
  uint32_t mhz;
};

// Slot 0 in front, so that reading gets as far as the later slots.
const std::string Slot0 = "profile 0 pair=0x03010011:121\n";

const SlotCase SlotCases[] = {
    {"pairs of id and index", "profile 0 pair=0x03000010:0 pair=0x03010011:121\n", 0, 220},
    {"16 bytes: header, one pair, end", Slot0 + "profile 1 raw u32=1 u32=0x03010011 u32=10 u32=0xFFFFFFFF\n", 1, 109},
    {"the frequency id as the last word", Slot0 + "profile 1 raw u32=1 u32=0x03010011\n", 1, 0},
    {"nothing after the end word", "profile 0 raw u32=1 u32=0x03000010 u32=0 u32=0xFFFFFFFF u32=0x03010011 u32=50\n",
     0, 0},
    {"value words are not ids", "profile 0 raw u32=1 u32=0x03000010 u32=0x03010011 u32=0x03010011 u32=30\n", 0,
     129},
    {"header only", Slot0 + "profile 1 pair=0x03010011:101\nprofile 2 raw u32=1\n", 2, 0},
    {"slot without a frequency keeps the later slots in place",
     Slot0 + "profile 1 pair=0x03000010:5\nprofile 2 pair=0x03010011:67\n", 2, 166},
    {"slot with two frequencies keeps the later slots in place",
     "profile 0 pair=0x03010011:121 pair=0x03010011:41\nprofile 1 pair=0x03010011:101\n", 1, 200},
    {"the first of two frequencies counts", "profile 0 pair=0x03010011:121 pair=0x03010011:41\n", 0, 220},
    {"a slot the method can't deliver", Slot0 + "profile 1 fail=call\n", 1, 0},
    {"reading stops at that slot", Slot0 + "profile 1 fail=call\nprofile 2 pair=0x03010011:67\n", 2, 0},
    {"an undeclared slot fails too", Slot0 + "profile 2 pair=0x03010011:67\n", 2, 0},
};

TEST_F(OcEngineTest, FirmwareProfilesGiveTheirSlotsFrequency) {
  zrtest::TestBoard board(StandardBoard());
  // Files named like the firmware profiles are not looked at for them.
  for (const char* name : {"Gaming", "Balanced", "Silent"}) m_folder.WriteProfile(name, 301);
  zrtest::MessageBoxWatcher boxes;
  OcEngine* engine = OcEngine::Instance();
  for (const SlotCase& c : SlotCases) {
    board.Rewrite(FrequencyGroup(121) +
                  "group 5\nitem 0x05080002 string text=\"Gaming\" text=\"Balanced\" text=\"Silent\"\n" +
                  "group 0x11\nitem 0x11060008 number min=0 step=1 count=5\n" + c.profiles);
    // What the controller's start does: the names and the firmware profiles are read anew.
    Config::Instance()->Invalidate();
    engine->ResetActiveProfile();
    Assign(1, c.position, "Gaming");
    EXPECT_EQ(engine->ProfileFrequency(1), c.mhz) << c.name;
  }
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(OcEngineTest, FirmwareProfilesAreReadOncePerStart) {
  zrtest::TestBoard board(StandardBoard());
  OcEngine* engine = OcEngine::Instance();
  EXPECT_EQ(engine->ProfileFrequency(1), 220u);
  std::string changed = StandardBoard();
  changed.replace(changed.find("0x03010011:121"), 14, "0x03010011:201");
  board.Rewrite(changed + "# slot 0 now 300 MHz\n");
  EXPECT_EQ(engine->ProfileFrequency(1), 220u);
  engine->ResetActiveProfile();
  EXPECT_EQ(engine->ProfileFrequency(1), 300u);
}

TEST_F(OcEngineTest, ProfilesPastTheFirmwaresComeFromTheirFiles) {
  zrtest::TestBoard board(StandardBoard());
  m_folder.WriteProfile("Fast", 151);
  m_folder.MakeFolder("Team");
  m_folder.WriteProfile("Team\\night", 55);
  m_folder.WriteProfile("Gaming", 301);
  Assign(1, 3, "Fast");
  Assign(2, 9, "Team/night");
  // A position past the firmware's profiles with a firmware profile's name: the file.
  Assign(3, 4, "Gaming");
  zrtest::MessageBoxWatcher boxes;
  OcEngine* engine = OcEngine::Instance();
  EXPECT_EQ(engine->ProfileFrequency(1), 250u);
  EXPECT_EQ(engine->ProfileFrequency(2), 154u);
  EXPECT_EQ(engine->ProfileFrequency(3), 400u);
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(OcEngineTest, UnreadableProfileFileGivesIndexZero) {
  zrtest::TestBoard board(StandardBoard());
  Assign(1, 3, "Missing");
  zrtest::MessageBoxWatcher boxes;
  // Index 0 is the extra string "Auto": its message, then the number before the first value.
  EXPECT_EQ(OcEngine::Instance()->ProfileFrequency(1), 99u);
  EXPECT_EQ(boxes.Seen(), std::vector<MessageBoxRecord>{ExtraToValue});
}

TEST_F(OcEngineTest, DefaultFrequencyIsTheDefaultProfileFiles) {
  zrtest::TestBoard board(StandardBoard());
  m_folder.MakeFolder("Default");
  m_folder.WriteProfile("Default\\Default", 101);
  EXPECT_EQ(OcEngine::Instance()->DefaultFrequency(), 200u);
}

TEST_F(OcEngineTest, ProfileAtLeastAsFastAsTheDefault) {
  zrtest::TestBoard board(StandardBoard());
  m_folder.MakeFolder("Default");
  m_folder.WriteProfile("Default\\Default", 101);  // 200 MHz
  struct DefaultCase {
    const char* name;
    DWORD position;
    uint32_t fileIndex;
    bool atLeast;
  };
  const DefaultCase cases[] = {
      {"file, equal to the default", 3, 101, true},
      {"file, one MHz below", 3, 100, false},
      {"file, one MHz above", 3, 102, true},
      {"firmware profile above", 0, 0, true},  // 220 MHz
      {"firmware profile equal", 1, 0, true},  // 200 MHz
      {"firmware profile below", 2, 0, false}, // 166 MHz
  };
  OcEngine* engine = OcEngine::Instance();
  for (const DefaultCase& c : cases) {
    m_folder.WriteProfile("Mine", c.fileIndex);
    Assign(2, c.position, "Mine");
    EXPECT_EQ(engine->IsAtLeastDefault(2), c.atLeast) << c.name;
  }
}

TEST_F(OcEngineTest, ResetClearsTheActiveProfile) {
  zrtest::TestBoard board(FrequencyGroup(121) + "group 0x11\nitem 0x11060008 number min=0 step=1 count=5 value=4\n");
  OcEngine* engine = OcEngine::Instance();
  EXPECT_TRUE(engine->IsProfileActive(4));
  EXPECT_TRUE(engine->ResetActiveProfile());
  EXPECT_FALSE(engine->IsProfileActive(4));
  EXPECT_TRUE(engine->IsProfileActive(0));
  EXPECT_NE(board.Text().find("item 0x11060008 number min=0 step=1 count=5 value=0\n"), std::string::npos);
}

TEST_F(OcEngineTest, RefusedResetReportsFailure) {
  zrtest::TestBoard board("group 0x11\nitem 0x11060008 number min=0 step=1 count=5 value=2 fail=write\n");
  OcEngine* engine = OcEngine::Instance();
  EXPECT_FALSE(engine->ResetActiveProfile());
  EXPECT_TRUE(engine->IsProfileActive(2));
}

}  // namespace
