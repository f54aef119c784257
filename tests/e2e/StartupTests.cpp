// The program's life: the pre-run checks, the single instance, the registration
// with the service and its retry, the resume broadcast and the quit message.
#include "tests/e2e/E2eFixture.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/Waiting.h"

namespace zrtest {
namespace {

constexpr DWORD ExitTimeoutMs = 15000;
constexpr DWORD RetryIntervalMs = 2500;
constexpr uint32_t IxtuItems[] = {0x00060008, 0x00060009};

class StartupTest : public E2eTest {
 protected:
  // Starts the program and answers its message boxes until it ends.
  std::vector<MessageBoxRecord> RunToExit(const std::string& arguments, std::optional<DWORD>& exitCode) {
    ChildProgram* program = World().StartProgram(arguments, false);
    if (!program) return {};
    MessageBoxWatcher boxes(program->Id());
    exitCode = program->WaitForExit(ExitTimeoutMs);
    std::vector<MessageBoxRecord> seen = boxes.Seen();
    World().End(program);
    return seen;
  }
};

TEST_F(StartupTest, PreRunChecksStopStartUpWithTheirWarningUnlessQuiet) {
  ASSERT_TRUE(World().StartService());
  struct Case {
    const char* name;
    bool ixtu;
    bool reboot;
    const char* arguments;
    const char* warningKey;  // null: no box
  };
  const Case cases[] = {
      {"tool bits set", true, false, "", "IXTUWarning"},
      {"tool bits set, -b", true, false, "-b", nullptr},
      {"tool bits set, -B among others", true, false, "x -B", nullptr},
      {"tool bits set, /b", true, false, "/b", "IXTUWarning"},
      {"tool bits set, -bx", true, false, "-bx", "IXTUWarning"},
      {"reboot pending", false, true, "", "NeedReboot"},
      {"reboot pending, -b", false, true, "-b", nullptr},
      {"both", true, true, "", "IXTUWarning"},
  };
  for (const Case& c : cases) {
    for (uint32_t item : IxtuItems) ASSERT_TRUE(World().SetItem(item, c.ixtu ? 0xFFFFFFFF : 0)) << c.name;
    if (c.reboot) {
      World().SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "MBAP_REBOOT", "");
    } else {
      RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "MBAP_REBOOT");
    }
    std::optional<DWORD> exitCode;
    const auto boxes = RunToExit(c.arguments, exitCode);
    EXPECT_EQ(exitCode, 0u) << c.name;
    std::vector<MessageBoxRecord> expected;
    if (c.warningKey) expected.push_back({"Zentrik Remote", Text(c.warningKey)});
    EXPECT_EQ(boxes, expected) << c.name;
    EXPECT_EQ(World().RegisteredCount(), 0u) << c.name << ": no form was made";
  }
}

TEST_F(StartupTest, SecondInstanceLeavesSilentlyAndTheFirstRunsOn) {
  ASSERT_TRUE(World().StartService());
  ChildProgram* first = World().StartProgram();
  ASSERT_TRUE(first);
  std::optional<DWORD> exitCode;
  EXPECT_TRUE(RunToExit("", exitCode).empty());
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(first->IsRunning());
  EXPECT_EQ(World().RegisteredCount(), 1u);
}

TEST_F(StartupTest, RegistrationIsRetriedUntilTheServiceAnswers) {
  // No service: the program starts all the same, silently.
  ChildProgram* program = World().StartProgram();
  ASSERT_TRUE(program);
  // Land somewhere inside a retry interval.
  PumpFor(RetryIntervalMs + 700);
  ASSERT_TRUE(World().StartService());
  const double started = NowMs();
  ASSERT_TRUE(WaitUntil([&] { return World().RegisteredCount() == 1u; }, RetryIntervalMs + Late));
  EXPECT_LE(NowMs() - started, RetryIntervalMs + Late);
  // Registered once: the retry stops.
  PumpFor(RetryIntervalMs + 500);
  EXPECT_EQ(World().RegisteredCount(), 1u);
  EXPECT_TRUE(program->IsRunning());
}

TEST_F(StartupTest, QuitUnregistersClearsTheActiveProfileAndEnds) {
  ASSERT_TRUE(World().StartService());
  ChildProgram* program = World().StartProgram();
  ASSERT_TRUE(program);
  EXPECT_EQ(World().Item(ActiveProfileItem), 0u) << "cleared at start";
  ASSERT_TRUE(World().SetItem(ActiveProfileItem, 2));
  ASSERT_TRUE(World().Deliver(QuitMessage, Sentinel, 0));
  EXPECT_EQ(program->WaitForExit(ExitTimeoutMs), 0u);
  EXPECT_EQ(World().RegisteredCount(), 0u);
  EXPECT_EQ(World().Item(ActiveProfileItem), 0u);
}

TEST_F(StartupTest, QuitWithoutEverHavingRegisteredStillEnds) {
  ChildProgram* program = World().StartProgram();
  ASSERT_TRUE(program);
  ASSERT_TRUE(World().SetItem(ActiveProfileItem, 4));
  HWND main = World().ProgramWindow(nullptr, "Zentrik Remote");
  ASSERT_TRUE(main);
  ASSERT_TRUE(PostMessageA(main, QuitMessage, Sentinel, 0));
  EXPECT_EQ(program->WaitForExit(ExitTimeoutMs), 0u);
  EXPECT_EQ(World().Item(ActiveProfileItem), 0u);
}

TEST_F(StartupTest, ResumeBringsTheApplicationWindowBack) {
  ASSERT_TRUE(World().StartService());
  ASSERT_TRUE(World().StartProgram());
  HWND application = World().ProgramWindow("TApplication", nullptr);
  ASSERT_TRUE(application);
  EXPECT_FALSE(IsWindowVisible(application)) << "hidden once start-up is done";
  // Other power events leave it alone.
  ASSERT_TRUE(World().Deliver(WM_POWERBROADCAST, PBT_APMSUSPEND, 0));
  PumpFor(QuietMs);
  EXPECT_FALSE(IsWindowVisible(application));
  ASSERT_TRUE(World().Deliver(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(application) != FALSE; }, 5000));
  EXPECT_TRUE(World().Program()->IsRunning());
}

}  // namespace
}  // namespace zrtest
