// Which profile each remote button stands for: registry values written here in the
// prefix, the firmware's profile names from a board file and real profile files.
#include "oc/Config.h"
#include "oc/ProfileFiles.h"
#include "oc/tests/ScratchProfileFolder.h"
#include "oc/tests/ScratchRegistryKey.h"
#include "plinth/kovra/tests/TestBoard.h"
#include "tests/support/MessageBoxWatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* ProfileKeyPath = "Software\\Kovra\\Zentrik Profile";

constexpr const char* TwoNamesBoard =
    "group 5\n"
    "item 0x05000001 number min=0 step=1 count=3\n"
    "item 0x05080002 string text=\"Gaming\" text=\"Balanced\"\n";

// The registry key, the profile folder and the firmware names, fresh for each test.
class ConfigTest : public testing::Test {
 protected:
  ConfigTest() { Config::Instance()->Invalidate(); }

  zrtest::ScratchRegistryKey m_key{Config::ProfileKeyRoot(), ProfileKeyPath};
  zrtest::ScratchProfileFolder m_folder;
};

std::vector<std::string> ListedFiles() {
  std::vector<std::string> names;
  ListProfileFiles(names);
  return names;
}

TEST_F(ConfigTest, FirmwareNamesThenFilesGiveTheDefaults) {
  zrtest::TestBoard board(TwoNamesBoard);
  m_folder.WriteProfile("a", 1);
  m_folder.WriteProfile("b", 2);
  // b.OC: the listing takes the extension in any case.
  MoveFileA((m_folder.Path() + "b.oc").c_str(), (m_folder.Path() + "b.OC").c_str());
  const std::vector<std::string> files = ListedFiles();
  ASSERT_EQ(files.size(), 2u);
  const std::vector<std::string> list{"Gaming", "Balanced", files[0], files[1]};

  Config* config = Config::Instance();
  EXPECT_EQ(config->FirmwareProfileCount(), 2u);
  for (uint32_t position = 0; position < 6; ++position) {
    const uint32_t limited = position < 4 ? position : 3;
    EXPECT_EQ(config->DefaultIndex(position), limited) << "position " << position;
    EXPECT_EQ(config->DefaultName(position), list[limited]) << "position " << position;
  }
  EXPECT_EQ(config->ProfileIndex(1), 0u);
  EXPECT_EQ(config->ProfileIndex(2), 1u);
  EXPECT_EQ(config->ProfileIndex(3), 2u);
  EXPECT_EQ(config->ProfileName(1), "Gaming");
  EXPECT_EQ(config->ProfileName(2), "Balanced");
  EXPECT_EQ(config->ProfileName(3), files[0]);
}

TEST_F(ConfigTest, OneProfileServesAllThreeButtons) {
  zrtest::TestBoard board("group 3\n");
  m_folder.WriteProfile("Only", 1);
  Config* config = Config::Instance();
  for (int button = 1; button <= 3; ++button) {
    EXPECT_EQ(config->ProfileIndex(button), 0u) << "button " << button;
    EXPECT_EQ(config->ProfileName(button), "Only") << "button " << button;
  }
}

TEST_F(ConfigTest, EmptyListGivesPositionZeroAndNoName) {
  zrtest::TestBoard board("group 3\n");
  Config* config = Config::Instance();
  EXPECT_EQ(config->FirmwareProfileCount(), 0u);
  for (int button = 1; button <= 3; ++button) {
    EXPECT_EQ(config->ProfileIndex(button), 0u) << "button " << button;
    EXPECT_EQ(config->ProfileName(button), "") << "button " << button;
  }
  EXPECT_EQ(config->DefaultName(0), "");
  // Looking for the values leaves their key behind.
  EXPECT_TRUE(m_key.Exists());
}

struct StoredValue {
  const char* name;
  DWORD type;
  std::string data;  // a DWORD as its four bytes
};

std::string DwordBytes(DWORD value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string Text(const char* text) {
  return std::string(text) + '\0';
}

struct StoredCase {
  const char* name;
  std::vector<StoredValue> values;
  int button;
  uint32_t index;
  const char* profileName;
};

// With the list Gaming, Balanced (firmware) and Fast (file).
const StoredCase StoredCases[] = {
    {"stored index is taken as it is, past the list", {{"ZRProfileAIndex", REG_DWORD, DwordBytes(7)}}, 1, 7,
     "Gaming"},
    {"stored name with its index missing", {{"ZRProfileBName", REG_SZ, Text("Custom")}}, 2, 1, "Custom"},
    {"stored index with its name missing", {{"ZRProfileCIndex", REG_DWORD, DwordBytes(0)}}, 3, 0, "Fast"},
    {"both stored", {{"ZRProfileCIndex", REG_DWORD, DwordBytes(1)}, {"ZRProfileCName", REG_SZ, Text("Balanced")}},
     3, 1, "Balanced"},
    {"another button's values don't count", {{"ZRProfileAIndex", REG_DWORD, DwordBytes(2)}}, 2, 1, "Balanced"},
    {"index of another type", {{"ZRProfileAIndex", REG_SZ, Text("2")}}, 1, 0, "Gaming"},
    {"index of eight bytes", {{"ZRProfileAIndex", REG_QWORD, DwordBytes(2) + DwordBytes(0)}}, 1, 0, "Gaming"},
    {"name of another type", {{"ZRProfileAName", REG_DWORD, DwordBytes(1)}}, 1, 0, "Gaming"},
    {"empty stored name", {{"ZRProfileBName", REG_SZ, Text("")}}, 2, 1, ""},
    {"expandable name, not expanded", {{"ZRProfileBName", REG_EXPAND_SZ, Text("%TEMP%")}}, 2, 1, "%TEMP%"},
};

TEST_F(ConfigTest, StoredValuesOverrideTheDefaultsOneByOne) {
  zrtest::TestBoard board(TwoNamesBoard);
  m_folder.WriteProfile("Fast", 1);
  Config* config = Config::Instance();
  for (const StoredCase& c : StoredCases) {
    zrtest::ScratchRegistryKey key(Config::ProfileKeyRoot(), ProfileKeyPath);
    for (const StoredValue& v : c.values) {
      key.Set(v.name, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    }
    EXPECT_EQ(config->ProfileIndex(c.button), c.index) << c.name;
    EXPECT_EQ(config->ProfileName(c.button), c.profileName) << c.name;
  }
}

struct NamesCase {
  const char* name;
  const char* board;
  std::vector<std::string> names;
};

const NamesCase NamesCases[] = {
    {"the string item of element 2", TwoNamesBoard, {"Gaming", "Balanced"}},
    {"group 5 refused", "group 5 fail=read\nitem 0x05080002 string text=\"Gaming\"\n", {}},
    {"group 5 missing", "group 3\n", {}},
    {"no element 2", "group 5\nitem 0x05080003 string text=\"Gaming\"\n", {}},
    {"a later element 2 replaces an earlier one",
     "group 5\nitem 0x05080002 string text=\"Old\"\nitem 0x05180002 string text=\"New\" text=\"Newer\"\n",
     {"New", "Newer"}},
    {"element 2's descriptor refused", "group 5\nitem 0x05080002 string text=\"Gaming\" fail=info\n", {}},
    {"string item that declares more names than it holds",
     "group 5\nitem 0x05080002 raw u32=0x05080002 u32=0 u32=0 u32=0 u32=3 text=\"Gaming\" text=\"Silent\"\n", {}},
    {"number item names its values", "group 5\nitem 0x05000002 number min=1 step=1 count=2\n", {"1", "2"}},
};

TEST_F(ConfigTest, FirmwareNamesComeFromElementTwoOfGroupFive) {
  zrtest::MessageBoxWatcher boxes;
  Config* config = Config::Instance();
  for (const NamesCase& c : NamesCases) {
    zrtest::TestBoard board(c.board);
    config->Invalidate();
    ASSERT_EQ(config->FirmwareProfileCount(), c.names.size()) << c.name;
    for (uint32_t i = 0; i < c.names.size(); ++i) EXPECT_EQ(config->DefaultName(i), c.names[i]) << c.name;
  }
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(ConfigTest, FirmwareNamesAreReadOnceUntilInvalidated) {
  zrtest::TestBoard board(TwoNamesBoard);
  Config* config = Config::Instance();
  EXPECT_EQ(config->FirmwareProfileCount(), 2u);
  board.Rewrite("group 5\nitem 0x05080002 string text=\"A\" text=\"B\" text=\"C\"\n");
  EXPECT_EQ(config->FirmwareProfileCount(), 2u);
  EXPECT_EQ(config->DefaultName(0), "Gaming");
  config->Invalidate();
  EXPECT_EQ(config->FirmwareProfileCount(), 3u);
  EXPECT_EQ(config->DefaultName(0), "A");
}

TEST_F(ConfigTest, FilesAreListedAfreshEachTime) {
  zrtest::TestBoard board(TwoNamesBoard);
  Config* config = Config::Instance();
  EXPECT_EQ(config->ProfileName(3), "Balanced");
  m_folder.WriteProfile("Fresh", 1);
  EXPECT_EQ(config->ProfileName(3), "Fresh");
}

struct VersionCase {
  const char* name;
  std::optional<DWORD> majorVersion;
  HKEY root;
};

const VersionCase VersionCases[] = {
    {"Windows 2000 and XP (5)", 5, HKEY_LOCAL_MACHINE},
    {"Windows Vista to 8.1 (6)", 6, HKEY_CURRENT_USER},
    {"a major version of 7", 7, HKEY_LOCAL_MACHINE},
    {"Windows 10 (10)", 10, HKEY_LOCAL_MACHINE},
    {"version unknown", std::nullopt, HKEY_CURRENT_USER},
};

TEST(ProfileKeyRoot, CurrentUserOnlyForMajorVersionSix) {
  for (const VersionCase& c : VersionCases) {
    EXPECT_EQ(ProfileKeyRootFor(IsMajorVersionSix(c.majorVersion)), c.root) << c.name;
  }
}

TEST(ProfileKeyRoot, FollowsTheVersionThePrefixReports) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExA(&version));
#pragma GCC diagnostic pop
  // A fresh prefix reports Windows 7, 6.1.
  ASSERT_EQ(version.dwMajorVersion, 6u) << "the prefix's Windows version was changed";
  EXPECT_TRUE(IsWindowsMajorSix());
  EXPECT_EQ(Config::ProfileKeyRoot(), HKEY_CURRENT_USER);
}

}  // namespace
