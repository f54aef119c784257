// The simulated system service's hidden window: keeps the registered client windows
// and posts the remote control's messages to them.
#pragma once

#include "simboard/common/Handles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace simboard::service {

class ServiceWindow {
 public:
  // The window, or null when it cannot be made.
  static std::unique_ptr<ServiceWindow> Create(HINSTANCE instance);
  ~ServiceWindow() = default;
  ServiceWindow(const ServiceWindow&) = delete;
  ServiceWindow& operator=(const ServiceWindow&) = delete;

 private:
  struct Registration {
    HWND window;
    std::wstring guid;
  };

  ServiceWindow() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnRequest(const COPYDATASTRUCT& request);
  LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam);

  WindowHandle m_window;
  std::vector<Registration> m_registrations;
};

}  // namespace simboard::service
