// The simulated companions: their windows and installation values, and what they
// apply to the shared firmware for each of the program's messages.
#include "oc/AcpiLibrary.h"
#include "simboard/companions/ProfileCatalog.h"
#include "simboard/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace simboard::test {
namespace {

constexpr uint32_t ActiveProfile = 0x11060008, Frequency = 0x03010011, Mode = 0x0B000001;
constexpr WPARAM U = 0x55;

HWND Companion(const char* caption) { return FindWindowA("TMainForm", caption); }

std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadTextFile(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The words of one log line after the time.
std::string WithoutTime(const std::string& line) { return line.substr(line.find(' ') + 1); }

// Writes a profile file: first word, version, count, then (id, value) records.
void WriteProfileFile(const std::string& path, std::vector<uint32_t> words) {
  WriteTextFile(path, std::string(reinterpret_cast<const char*>(words.data()), words.size() * 4));
}

class CompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Companion("Zentrik"), nullptr) << "a companion left running";
    ASSERT_EQ(Companion("Oktan Engine"), nullptr) << "a companion left running";
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kovra\\Zentrik Profile");
    for (const std::string& file : m_profileFiles) DeleteFileA(file.c_str());
  }
  std::unique_ptr<ChildProcess> Start(const char* program, const std::string& options, const char* window) {
    auto child = std::make_unique<ChildProcess>(SimboardProgram(program), "--log \"" + m_log + "\" " + options);
    EXPECT_TRUE(child->Started());
    EXPECT_TRUE(WaitUntil([&] { return Companion(window) != nullptr; })) << program;
    return child;
  }
  std::string ProfileFile(const std::string& name) {
    const std::string path = companions::ProfileCatalog::ProfileFolder() + name;
    CreateDirectoryA(companions::ProfileCatalog::ProfileFolder().c_str(), nullptr);
    CreateDirectoryA((companions::ProfileCatalog::ProfileFolder() + "Default").c_str(), nullptr);
    m_profileFiles.push_back(path);
    return path;
  }
  bool LogReaches(size_t lines) {
    return WaitUntil([&] { return LogLines(m_log).size() >= lines; });
  }

  BoardFixture m_board = BoardFixture::DefaultBoardCopy();
  TempFolder m_folder;
  std::string m_log = m_folder.File("companion.log");
  std::vector<std::string> m_profileFiles;
};

TEST_F(CompanionTest, ProfileButtonsApplyTheFirmwareProfiles) {
  auto companion = Start("ZentrikCompanion", "", "ZentrikHelp");
  HWND helper = Companion("ZentrikHelp");
  ASSERT_TRUE(helper);
  struct Case {
    LPARAM profile;
    uint32_t active, frequency;
  } cases[] = {{1, 1, 121}, {2, 2, 101}, {3, 4, 67}};
  for (const Case& c : cases) {
    ASSERT_TRUE(PostMessageA(helper, 0x425, U, c.profile));
    EXPECT_TRUE(WaitUntil([&] { return ReadItemOr(ActiveProfile, 0) == c.active; })) << c.profile;
    EXPECT_EQ(ReadItemOr(Frequency, 0), c.frequency) << c.profile;
  }
  ASSERT_TRUE(LogReaches(3));
  EXPECT_EQ(WithoutTime(LogLines(m_log)[0]).substr(0, 62),
            "posted 0x0425 0x00000055 0x00000001 applied profile=1 active=1");
}

TEST_F(CompanionTest, RegistryChoosesAProfileFile) {
  WriteProfileFile(ProfileFile("Turbo.oc"), {0, 1, 2, 0x03000010, 5, Frequency, 222});
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kovra\\Zentrik Profile", 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegistryKey owned(key);
  const DWORD position = 3;  // past the three firmware profiles
  RegSetValueExA(key, "ZRProfileBIndex", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&position), sizeof position);
  RegSetValueExA(key, "ZRProfileBName", 0, REG_SZ, reinterpret_cast<const BYTE*>("Turbo"), 6);

  auto companion = Start("ZentrikCompanion", "", "ZentrikHelp");
  ASSERT_TRUE(PostMessageA(Companion("ZentrikHelp"), 0x425, U, 2));
  EXPECT_TRUE(WaitUntil([&] { return ReadItemOr(ActiveProfile, 0) == 2; }));
  EXPECT_EQ(ReadItemOr(Frequency, 0), 222u);
}

TEST_F(CompanionTest, ProfileOffGoesBackToTheDefaultProfile) {
  auto companion = Start("ZentrikCompanion", "", "ZentrikHelp");
  HWND helper = Companion("ZentrikHelp");
  ASSERT_TRUE(PostMessageA(helper, 0x425, U, 1));
  ASSERT_TRUE(WaitUntil([&] { return ReadItemOr(ActiveProfile, 0) == 1; }));
  ASSERT_TRUE(PostMessageA(helper, 0x425, U, 0));
  ASSERT_TRUE(WaitUntil([&] { return ReadItemOr(ActiveProfile, 9) == 0; }));
  EXPECT_EQ(ReadItemOr(Frequency, 0), 121u) << "no default profile: the frequency stays";

  WriteProfileFile(ProfileFile("Default\\Default.oc"), {0, 0, 1, Frequency, 90});
  ASSERT_TRUE(PostMessageA(helper, 0x425, U, 0));
  EXPECT_TRUE(WaitUntil([&] { return ReadItemOr(Frequency, 0) == 90; }));
}

TEST_F(CompanionTest, MessagesWithoutTheSentinelAreLoggedAndIgnored) {
  auto companion = Start("ZentrikCompanion", "", "ZentrikHelp");
  HWND helper = Companion("ZentrikHelp");
  ASSERT_TRUE(PostMessageA(helper, 0x425, 0x155, 1));
  ASSERT_TRUE(PostMessageA(helper, 0x425, U, 7));
  ASSERT_TRUE(PostMessageA(helper, 0x430, U, 1));
  ASSERT_TRUE(LogReaches(3));
  const std::vector<std::string> expected = {"posted 0x0425 0x00000155 0x00000001 ignored wParam",
                                             "posted 0x0425 0x00000055 0x00000007 ignored profile",
                                             "posted 0x0430 0x00000055 0x00000001 ignored message"};
  auto lines = LogLines(m_log);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(WithoutTime(lines[i]), expected[i]) << i;
  EXPECT_EQ(ReadItemOr(ActiveProfile, 9), 0u);
}

TEST_F(CompanionTest, SentFrequencyIsAppliedBeforeTheSenderGoesOn) {
  auto companion = Start("ZentrikCompanion", "", "ZentrikHelp");
  SendMessageA(Companion("ZentrikHelp"), 0x424, U, 150);
  EXPECT_EQ(ReadItemOr(Frequency, 0), 150u);
  ASSERT_TRUE(LogReaches(1));
  EXPECT_EQ(WithoutTime(LogLines(m_log)[0]), "sent 0x0424 0x00000055 0x00000096 applied frequency=150");
}

TEST_F(CompanionTest, HangsOnTheSentFrequencyWhenAsked) {
  auto companion = Start("ZentrikCompanion", "--hang-ms 4000", "ZentrikHelp");
  DWORD_PTR result = 0;
  // A tenth of the hang: the companion is still asleep when the wait gives up.
  EXPECT_EQ(SendMessageTimeoutA(Companion("ZentrikHelp"), 0x424, U, 160, SMTO_NORMAL, 400, &result), 0);
  EXPECT_TRUE(WaitUntil([&] { return ReadItemOr(Frequency, 0) == 160; }, 20000));
}

TEST_F(CompanionTest, StartsWithoutTheHelperWindowWhenAsked) {
  auto companion = Start("ZentrikCompanion", "--no-helper", "Zentrik");
  EXPECT_EQ(Companion("ZentrikHelp"), nullptr);
}

TEST_F(CompanionTest, QuitEndsTheRunningInstance) {
  struct Case {
    const char* program;
    const char* window;
  } cases[] = {{"ZentrikCompanion", "Zentrik"}, {"OktanEngineCompanion", "Oktan Engine"}};
  for (const Case& c : cases) {
    auto companion = Start(c.program, "", c.window);
    EXPECT_EQ(RunProgram(c.program, "").exitCode, 1u) << c.program << ": one instance only";
    EXPECT_EQ(RunProgram(c.program, "--quit").exitCode, 0u) << c.program;
    EXPECT_EQ(companion->WaitForExit(), 0u) << c.program;
    EXPECT_EQ(Companion(c.window), nullptr) << c.program;
    EXPECT_EQ(RunProgram(c.program, "--quit").exitCode, 1u) << c.program << ": nothing to quit";
  }
}

TEST_F(CompanionTest, PowerSavingModesFollowTheProgramsMapping) {
  auto companion = Start("OktanEngineCompanion", "", "Oktan Engine");
  HWND engine = Companion("Oktan Engine");
  struct Case {
    UINT message;
    uint32_t raw;
    const char* logged;
  } cases[] = {
      {0x420, 1, "applied mode=2 raw=0x1"},        {0x421, 2, "applied mode=3 raw=0x2"},
      {0x422, 0x4000, "applied mode=0 raw=0x4000"}, {0x41F, 0x8000, "applied mode=1 raw=0x8000"},
      {0x423, 0, "applied mode=auto raw=0x0"},
  };
  size_t lines = 0;
  for (const Case& c : cases) {
    ASSERT_TRUE(PostMessageA(engine, c.message, U, 0));
    ASSERT_TRUE(LogReaches(++lines)) << std::hex << c.message;
    EXPECT_EQ(ReadItemOr(Mode, 0xFFFF), c.raw) << std::hex << c.message;
    const std::string line = LogLines(m_log).back();
    EXPECT_NE(line.find(c.logged), std::string::npos) << line;
  }
}

TEST_F(CompanionTest, AutoModeRefusedWhenTheFirmwareForbidsIt) {
  ASSERT_EQ(AcpiWriteItem(0x11070010, 0, 1), 1u);
  auto companion = Start("OktanEngineCompanion", "", "Oktan Engine");
  ASSERT_TRUE(PostMessageA(Companion("Oktan Engine"), 0x423, U, 0));
  ASSERT_TRUE(LogReaches(1));
  EXPECT_NE(LogLines(m_log)[0].find("failed auto mode not available"), std::string::npos);
  EXPECT_EQ(ReadItemOr(Mode, 0), 0x8000u);
}

TEST(CompanionInstallation, WritesAndRemovesTheCaptionName) {
  struct Case {
    const char* program;
    const char* key;
    const char* caption;
  } cases[] = {{"ZentrikCompanion", "Software\\Kovra\\Zentrik ZIR", "Zentrik"},
               {"OktanEngineCompanion", "Software\\Kovra\\QPS-6 Engine", "Oktan Engine"}};
  for (const Case& c : cases) {
    ASSERT_EQ(RunProgram(c.program, "--install").exitCode, 0u) << c.program;
    char text[64] = {};
    DWORD type = 0, size = sizeof text;
    EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, c.key, "CaptionName", RRF_RT_ANY, &type, text, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << c.program;
    EXPECT_STREQ(text, c.caption);
    ASSERT_EQ(RunProgram(c.program, "--uninstall").exitCode, 0u) << c.program;
    size = sizeof text;
    EXPECT_NE(RegGetValueA(HKEY_LOCAL_MACHINE, c.key, "CaptionName", RRF_RT_ANY, &type, text, &size), ERROR_SUCCESS);
  }
}

}  // namespace
}  // namespace simboard::test
