// Helpers shared by the framework's tests.
#pragma once

#include "formkit/Application.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

namespace formkit::test {

// Handles messages until `condition` holds or `timeoutMs` has passed; returns
// whether it holds.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    Application()->ProcessMessages();
    if (condition()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                              QS_ALLINPUT);
  }
}

// The folder of the running test program, with its trailing backslash.
inline std::string TestFolder() {
  std::string path = Application()->ExeName();
  return path.substr(0, path.find_last_of('\\') + 1);
}

// A message box of the given thread or process, found with its caption and text.
struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  bool errorIcon = false;
};

// The first dialog (message box) window that belongs to `processId`.
MessageBoxInfo FindMessageBox(DWORD processId);

}  // namespace formkit::test
