// The checks that can stop start-up, against board files of the simulated board and
// the real registry of the prefix.
#include "app/PreRunChecks.h"
#include "plinth/System/Source/KvMultiLang.h"
#include "tests/support/MessageBoxWatcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr char RunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

void RemoveRebootMarker() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "MBAP_REBOOT");
  RegCloseKey(key);
}

bool WriteRebootMarker(DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(key, "MBAP_REBOOT", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

TEST(QuietSwitch, OnlyDashAndTheSingleLetterB) {
  struct Case {
    const char* name;
    std::vector<const char*> parameters;
    bool quiet;
  };
  const Case cases[] = {
      {"none", {}, false},
      {"-b", {"-b"}, true},
      {"-B", {"-B"}, true},
      {"slash", {"/b"}, false},
      {"no prefix", {"b"}, false},
      {"letters after b", {"-bx"}, false},
      {"double dash", {"--b"}, false},
      {"dash alone", {"-"}, false},
      {"other letter", {"-a"}, false},
      {"among others", {"-x", "file.txt", "-b"}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasQuietSwitch(static_cast<int>(c.parameters.size()), c.parameters.data()), c.quiet) << c.name;
  }
}

// Board files of the test's own, chosen through the simulated library's variable,
// and no pending-reboot marker.
class PreRunFixture : public testing::Test {
 protected:
  void SetUp() override { RemoveRebootMarker(); }
  void TearDown() override {
    RemoveRebootMarker();
    SetEnvironmentVariableA("ZR_BOARD", nullptr);
    for (const std::string& path : m_paths) {
      DeleteFileA(path.c_str());
      DeleteFileA((path + ".log").c_str());
    }
  }
  // A new board whose group 0 holds `items`. Each board is a file of its own, so the
  // library never mistakes it for the previous one.
  void UseBoard(const std::string& items) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "zr-prerun-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(m_paths.size()) + ".txt";
    m_paths.push_back(path);
    std::ofstream board(path, std::ios::binary | std::ios::trunc);
    board << "group 0\n" << items << "group 0x11\nitem 0x11060008 onoff\n";
    board.close();
    ASSERT_TRUE(board.good());
    SetEnvironmentVariableA("ZR_BOARD", path.c_str());
  }

 private:
  std::vector<std::string> m_paths;
};

TEST_F(PreRunFixture, IxtuWarningNeedsBothItemsReadableWithBitTwo) {
  struct Case {
    const char* name;
    const char* items;
    bool warning;
  };
  const Case cases[] = {
      {"4 and 0", "item 0x00060008 onoff value=4\nitem 0x00060009 onoff value=0\n", false},
      {"both 4", "item 0x00060008 onoff value=4\nitem 0x00060009 onoff value=4\n", true},
      {"both all bits", "item 0x00060008 onoff value=0xFFFFFFFF\nitem 0x00060009 onoff value=0xFFFFFFFF\n", true},
      {"first without bit 2", "item 0x00060008 onoff value=3\nitem 0x00060009 onoff value=4\n", false},
      {"second missing", "item 0x00060008 onoff value=4\n", false},
      {"first missing", "item 0x00060009 onoff value=4\n", false},
      {"first unreadable", "item 0x00060008 onoff value=4 fail=read\nitem 0x00060009 onoff value=4\n", false},
      {"second unreadable", "item 0x00060008 onoff value=4\nitem 0x00060009 onoff value=4 fail=read\n", false},
  };
  for (const Case& c : cases) {
    UseBoard(c.items);
    EXPECT_EQ(NeedsIxtuWarning(), c.warning) << c.name;
  }
}

TEST_F(PreRunFixture, RebootWarningForAnyStringValueWhateverItsText) {
  struct Case {
    const char* name;
    bool present;
    DWORD type;
    std::string bytes;
    bool warning;
  };
  const Case cases[] = {
      {"absent", false, REG_SZ, "", false},
      {"empty string", true, REG_SZ, std::string(1, '\0'), true},
      {"text", true, REG_SZ, std::string("C:\\setup.exe /resume\0", 21), true},
      {"expandable string", true, REG_EXPAND_SZ, std::string("%TEMP%\0", 7), true},
      {"dword", true, REG_DWORD, std::string("\1\0\0\0", 4), false},
  };
  for (const Case& c : cases) {
    RemoveRebootMarker();
    if (c.present) {
      ASSERT_TRUE(WriteRebootMarker(c.type, c.bytes)) << c.name;
    }
    EXPECT_EQ(NeedsRebootWarning(), c.warning) << c.name;
  }
}

TEST_F(PreRunFixture, OnlyTheFirstPositiveCheckIsShown) {
  UseBoard("item 0x00060008 onoff value=4\nitem 0x00060009 onoff value=4\n");
  ASSERT_TRUE(WriteRebootMarker(REG_SZ, std::string(1, '\0')));
  zrtest::MessageBoxWatcher boxes;
  EXPECT_FALSE(RunPreRunChecks(false));
  const std::string text = plinth::KvMultiLang::Instance()->GetText("IXTUWarning");
  EXPECT_EQ(boxes.Seen(), (std::vector<zrtest::MessageBoxRecord>{{"Zentrik Remote", text}}));
}

TEST_F(PreRunFixture, RebootMarkerAloneShowsItsOwnText) {
  UseBoard("item 0x00060008 onoff value=4\nitem 0x00060009 onoff value=0\n");
  ASSERT_TRUE(WriteRebootMarker(REG_SZ, std::string(1, '\0')));
  zrtest::MessageBoxWatcher boxes;
  EXPECT_FALSE(RunPreRunChecks(false));
  const std::string text = plinth::KvMultiLang::Instance()->GetText("NeedReboot");
  EXPECT_EQ(boxes.Seen(), (std::vector<zrtest::MessageBoxRecord>{{"Zentrik Remote", text}}));
}

TEST_F(PreRunFixture, QuietStopsWithoutAnyBox) {
  UseBoard("item 0x00060008 onoff value=4\nitem 0x00060009 onoff value=4\n");
  zrtest::MessageBoxWatcher boxes;
  // A box shown would have kept the call waiting until the watcher answered it.
  EXPECT_FALSE(RunPreRunChecks(true));
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(PreRunFixture, NothingPendingLetsStartUpGoOn) {
  UseBoard("item 0x00060008 onoff value=3\nitem 0x00060009 onoff value=1\n");
  zrtest::MessageBoxWatcher boxes;
  EXPECT_TRUE(RunPreRunChecks(false));
  EXPECT_TRUE(boxes.Seen().empty());
}

}  // namespace
