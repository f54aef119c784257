// A top-level window of class "TMainForm", the class the maker's companion programs
// are found by. User messages (WM_USER and above) go to the handler; closing any
// companion window ends the program.
#pragma once

#include "simboard/common/Handles.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace simboard::companions {

// wParam of every request the program sends a companion ('U'); others are ignored.
constexpr WPARAM RequestSentinel = 0x55;

class CompanionWindow {
 public:
  // Gets each user message and whether it was sent (the sender waits) or posted.
  using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam, bool sent)>;

  static std::unique_ptr<CompanionWindow> Create(HINSTANCE instance, const wchar_t* caption, Handler handler);
  CompanionWindow(const CompanionWindow&) = delete;
  CompanionWindow& operator=(const CompanionWindow&) = delete;

  HWND Handle() const { return m_window.Get(); }

 private:
  CompanionWindow() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WindowHandle m_window;
  Handler m_handler;
};

}  // namespace simboard::companions
