// Companion detection against installation keys and windows made in the prefix.
#include "remote/CompanionDetection.h"
#include "oc/tests/CompanionWindow.h"
#include "oc/tests/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* OcCompanionKey = "Software\\Kovra\\Zentrik ZIR";
constexpr const char* QpsCompanionKey = "Software\\Kovra\\QPS-6 Engine";

struct InstallCase {
  const char* name;
  bool keyExists;
  DWORD type;
  std::string data;
  bool installed;
};

const InstallCase InstallCases[] = {
    {"caption name", true, REG_SZ, std::string("Zentrik ZIR\0", 12), true},
    {"empty caption name", true, REG_SZ, std::string("\0", 1), true},
    {"expandable caption name", true, REG_EXPAND_SZ, std::string("%ProgramFiles%\0", 15), true},
    {"caption name as a list of texts", true, REG_MULTI_SZ, std::string("a\0b\0\0", 5), true},
    {"caption name as a DWORD", true, REG_DWORD, std::string("\1\0\0\0", 4), false},
    {"caption name as binary data", true, REG_BINARY, std::string("abc", 3), false},
    {"key without a caption name", true, REG_NONE, std::string(), false},
    {"no key", false, REG_NONE, std::string(), false},
};

TEST(CompanionDetection, InstalledWhenItsKeyHoldsACaptionNameText) {
  struct Companion {
    const char* name;
    const char* key;
    bool (*installed)();
  };
  const Companion companions[] = {
      {"overclocking companion", OcCompanionKey, &IsOcCompanionInstalled},
      {"power-saving companion", QpsCompanionKey, &IsQPSCompanionInstalled},
  };
  for (const Companion& companion : companions) {
    for (const InstallCase& c : InstallCases) {
      zrtest::ScratchRegistryKey key(HKEY_LOCAL_MACHINE, companion.key);
      zrtest::ScratchRegistryKey other(HKEY_LOCAL_MACHINE, companion.key == OcCompanionKey ? QpsCompanionKey
                                                                                           : OcCompanionKey);
      if (c.keyExists) key.Create();
      if (c.type != REG_NONE) key.Set("CaptionName", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
      EXPECT_EQ(companion.installed(), c.installed) << companion.name << ": " << c.name;
      // Looking leaves the key behind, empty where it was missing.
      EXPECT_TRUE(key.Exists()) << companion.name << ": " << c.name;
      EXPECT_FALSE(other.Exists()) << companion.name << ": " << c.name;
    }
  }
}

TEST(CompanionDetection, OneCompanionsKeyDoesNotInstallTheOther) {
  zrtest::ScratchRegistryKey oc(HKEY_LOCAL_MACHINE, OcCompanionKey);
  zrtest::ScratchRegistryKey qps(HKEY_LOCAL_MACHINE, QpsCompanionKey);
  oc.SetString("CaptionName", "Zentrik ZIR");
  EXPECT_TRUE(IsOcCompanionInstalled());
  EXPECT_FALSE(IsQPSCompanionInstalled());
}

TEST(CompanionDetection, RunningWhenItsMainWindowIsOpen) {
  struct WindowCase {
    const char* name;
    const char* className;
    const char* caption;
    bool running;
  };
  const WindowCase cases[] = {
      {"its main window", "TMainForm", "Zentrik", true},
      {"a window titled Zentrik of another class", "TZentrik", "Zentrik", false},
      {"its helper window alone", "TMainForm", "ZentrikHelp", false},
      {"the power-saving companion's window", "TMainForm", "Oktan Engine", false},
  };
  EXPECT_FALSE(IsOcCompanionRunning()) << "no window";
  for (const WindowCase& c : cases) {
    zrtest::CompanionWindow window(c.className, c.caption);
    ASSERT_NE(window.Handle(), nullptr) << c.name;
    EXPECT_EQ(IsOcCompanionRunning(), c.running) << c.name;
  }
  EXPECT_FALSE(IsOcCompanionRunning()) << "window closed again";
}

}  // namespace
