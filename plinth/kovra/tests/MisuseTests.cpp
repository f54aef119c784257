// Broken preconditions stop the program through the always-on assertion, which
// names the expression and the source. Each misuse runs in a probe process of its
// own; its assertion box is answered from here.
#include "formkit/Handle.h"
#include "plinth/kovra/tests/TestBoard.h"
#include "tests/support/MessageBoxWatcher.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD AssertionExitCode = 3;
constexpr DWORD ProbeDeadlineMs = 60000;

// The string item first, so that the probe's string misuse finds it at once.
constexpr const char* ProbeBoard =
    "group 0x30\n"
    "item 0x30080001 string text=\"Gaming\" text=\"Silent\"\n"
    "item 0x30010002 number min=0 step=1 count=2\n";

std::string ProbePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "plinth_kovra_misuse_probe.exe";
}

struct ProbeResult {
  DWORD exitCode = 0;
  std::vector<zrtest::MessageBoxRecord> boxes;
};

// Runs the probe with `misuse` and answers its message boxes until it ends.
ProbeResult RunProbe(const std::string& misuse) {
  std::string commandLine = "\"" + ProbePath() + "\" " + misuse;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ProbeResult result;
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &started)) {
    ADD_FAILURE() << "the probe did not start: error " << GetLastError();
    return result;
  }
  const formkit::KernelHandle process(started.hProcess);
  const formkit::KernelHandle thread(started.hThread);
  zrtest::MessageBoxWatcher watcher(started.dwProcessId);
  ResumeThread(thread.Get());
  if (WaitForSingleObject(process.Get(), ProbeDeadlineMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    ADD_FAILURE() << misuse << ": the probe did not end";
  }
  GetExitCodeProcess(process.Get(), &result.exitCode);
  result.boxes = watcher.Seen();
  return result;
}

struct MisuseCase {
  const char* misuse;
  const char* expression;
};

const MisuseCase MisuseCases[] = {
    {"group-opened-twice", "!IsOpen()"},
    {"walk-opened-twice", "!IsOpen()"},
    {"item-after-the-walk", "!IsDone()"},
    {"string-past-the-last", "index < m_strs.size()"},
};

TEST(Misuse, BrokenPreconditionsEndTheProgramNamingExpressionAndSource) {
  zrtest::TestBoard board(ProbeBoard);
  for (const MisuseCase& c : MisuseCases) {
    const ProbeResult result = RunProbe(c.misuse);
    EXPECT_EQ(result.exitCode, AssertionExitCode) << c.misuse;
    ASSERT_EQ(result.boxes.size(), 1u) << c.misuse;
    EXPECT_EQ(result.boxes[0].caption, "Assertion failed") << c.misuse;
    const std::string& text = result.boxes[0].text;
    EXPECT_EQ(text.rfind(std::string("Assertion failed: ") + c.expression + "\n", 0), 0u) << c.misuse << ": " << text;
    EXPECT_NE(text.find("File: plinth/kovra/Source/BiosInterface.cpp"), std::string::npos) << c.misuse << ": " << text;
  }
}

TEST(Misuse, ProbeWithoutAMisuseEndsNormally) {
  zrtest::TestBoard board(ProbeBoard);
  const ProbeResult result = RunProbe("none");
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_TRUE(result.boxes.empty());
}

}  // namespace
