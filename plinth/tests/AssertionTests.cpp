// A programming error in the use of a plinth class stops the program with a
// message box naming the broken condition, its file and its line, then exit code 3.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "plinth/tests/ChildProcess.h"
#include "plinth/tests/TestFolder.h"

namespace {

using plinth::test::ChildProcess;

constexpr DWORD kTimeoutMs = 20000;

struct DialogSearch {
  DWORD processId;
  HWND dialog;
};

BOOL CALLBACK FindDialogOf(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DialogSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && std::string(className) == "#32770" && IsWindowVisible(window)) {
    search->dialog = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectText(HWND window, LPARAM parameter) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  *reinterpret_cast<std::string*>(parameter) += std::string(text) + "\n";
  return TRUE;
}

// The message box of the process, once it shows; nothing if it never does in time.
std::optional<HWND> WaitForMessageBox(DWORD processId) {
  const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
  while (GetTickCount64() < deadline) {
    DialogSearch search = {processId, nullptr};
    EnumWindows(&FindDialogOf, reinterpret_cast<LPARAM>(&search));
    if (search.dialog != nullptr) return search.dialog;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return std::nullopt;
}

TEST(AssertionTest, MisuseStopsWithTheBrokenCondition) {
  struct Case {
    const char* misuse;
    const char* expression;
    const char* file;
  };
  const Case cases[] = {
      {"RegAccessor", "!IsOpen()", "plinth/System/Source/WinRegistry.cpp"},
      {"RegReader", "!IsOpen()", "plinth/System/Source/WinRegistry.cpp"},
      {"IniAccessor", "!IsOpen()", "plinth/System/Source/IniAccess.cpp"},
      {"IniAccessorClosed", "IsOpen()", "plinth/System/Source/IniAccess.cpp"},
      {"WinFileFindA", "!IsOpen()", "plinth/fileutl/Source/WinFileFind.cpp"},
      {"WinDirTraverserDone", "!IsDone()", "plinth/fileutl/Source/WinFileFind.cpp"},
  };
  const std::string program = plinth::test::TestProgramFolder() + "plinth_misuse.exe";
  for (const Case& c : cases) {
    auto child = ChildProcess::Start(program, c.misuse);
    ASSERT_NE(child, nullptr) << c.misuse;
    const std::optional<HWND> box = WaitForMessageBox(child->Id());
    ASSERT_TRUE(box.has_value()) << c.misuse << ": no message box";
    std::string text;
    EnumChildWindows(*box, &CollectText, reinterpret_cast<LPARAM>(&text));
    EXPECT_NE(text.find(std::string("Assertion failed: ") + c.expression + "\n"), std::string::npos)
        << c.misuse << ":\n" << text;
    EXPECT_NE(text.find(std::string("File: ") + c.file), std::string::npos) << c.misuse << ":\n" << text;
    PostMessageA(*box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(child->WaitForExit(kTimeoutMs), 3u) << c.misuse;
  }
}

}  // namespace
