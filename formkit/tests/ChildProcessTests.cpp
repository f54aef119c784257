// Behaviour seen from outside a process: the always-on assertion and a clean end
// with Synchronize calls pending.
#include "formkit/Handle.h"
#include "formkit/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace formkit {
namespace {

struct Child {
  KernelHandle process;
  DWORD id = 0;
};

Child StartProbe(const std::string& mode) {
  std::string commandLine = "\"" + test::TestFolder() + "formkit_probe.exe\" " + mode;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Child child;
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    child.process.Reset(info.hProcess);
    child.id = info.dwProcessId;
  }
  return child;
}

DWORD ExitCodeWithin(const Child& child, DWORD timeoutMs) {
  if (WaitForSingleObject(child.process.Get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(child.process.Get(), 99);
    return STILL_ACTIVE;
  }
  DWORD code = 0;
  GetExitCodeProcess(child.process.Get(), &code);
  return code;
}

TEST(ChildProcess, FailedAssertionShowsWhereAndEndsTheProcessAbnormally) {
  Child child = StartProbe("assert");
  ASSERT_TRUE(child.process);
  test::MessageBoxInfo box;
  ASSERT_TRUE(test::PumpUntil([&] { return (box = test::FindMessageBox(child.id)).window != nullptr; }, 20000));
  EXPECT_NE(box.text.find("two + 1 == 2"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("formkit/tests/Probe.cpp"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("Line: "), std::string::npos) << box.text;
  PostMessageA(box.window, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitCodeWithin(child, 20000), 3u);
}

TEST(ChildProcess, QuittingWithSynchronizeCallsPendingEndsCleanly) {
  Child child = StartProbe("quit-pending");
  ASSERT_TRUE(child.process);
  EXPECT_EQ(ExitCodeWithin(child, 30000), 0u);
}

}  // namespace
}  // namespace formkit
