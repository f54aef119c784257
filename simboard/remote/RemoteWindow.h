// The virtual remote control's small desktop window: the seven buttons, each press
// sent through the service, and a line telling what became of it.
#pragma once

#include "simboard/common/Handles.h"

#include <windows.h>

#include <memory>

namespace simboard::remote {

class RemoteWindow {
 public:
  static std::unique_ptr<RemoteWindow> Create(HINSTANCE instance);
  RemoteWindow(const RemoteWindow&) = delete;
  RemoteWindow& operator=(const RemoteWindow&) = delete;

 private:
  RemoteWindow() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void Press(size_t button);

  WindowHandle m_window;
  HWND m_status = nullptr;  // child: destroyed with the window
};

}  // namespace simboard::remote
