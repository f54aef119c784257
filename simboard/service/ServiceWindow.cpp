#include "simboard/service/ServiceWindow.h"

#include "simboard/service/ServiceProtocol.h"

#include <algorithm>
#include <cwchar>

namespace simboard::service {

std::unique_ptr<ServiceWindow> ServiceWindow::Create(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &ServiceWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = WindowClass;
  if (!RegisterClassW(&windowClass)) return nullptr;
  std::unique_ptr<ServiceWindow> service(new ServiceWindow);
  // A hidden top-level window rather than a message-only one, so FindWindow finds it.
  HWND window = CreateWindowExW(0, WindowClass, WindowTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance,
                                service.get());
  if (!window) return nullptr;
  service->m_window.Reset(window);
  return service;
}

LRESULT CALLBACK ServiceWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ServiceWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self) self->m_window.Release();
    PostQuitMessage(0);
  }
  return self ? self->HandleMessage(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

// `window` rather than m_window: messages arrive before CreateWindowEx has returned.
LRESULT ServiceWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) return OnRequest(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ServiceWindow::OnRequest(const COPYDATASTRUCT& request) {
  switch (static_cast<Command>(request.dwData)) {
    case Command::Register:
    case Command::Unregister: {
      if (request.cbData != sizeof(RegistrationRequest) || !request.lpData) return 0;
      const auto& r = *static_cast<const RegistrationRequest*>(request.lpData);
      if (wmemchr(r.guid, L'\0', MaxGuidChars + 1) == nullptr) return 0;
      HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(r.window));
      auto same = [&](const Registration& x) { return x.window == window && x.guid == r.guid; };
      auto found = std::find_if(m_registrations.begin(), m_registrations.end(), same);
      if (static_cast<Command>(request.dwData) == Command::Unregister) {
        if (found == m_registrations.end()) return 0;
        m_registrations.erase(found);
        return 1;
      }
      if (!IsWindow(window)) return 0;
      if (found == m_registrations.end()) m_registrations.push_back({window, r.guid});
      return 1;
    }
    case Command::Deliver: {
      if (request.cbData != sizeof(DeliveryRequest) || !request.lpData) return 0;
      const auto& d = *static_cast<const DeliveryRequest*>(request.lpData);
      return Deliver(d.message, d.wParam, static_cast<LPARAM>(static_cast<LONG>(d.lParam)));
    }
    case Command::Count:
      std::erase_if(m_registrations, [](const Registration& x) { return !IsWindow(x.window); });
      return static_cast<LRESULT>(m_registrations.size());
  }
  return 0;
}

LRESULT ServiceWindow::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
  // Windows that were destroyed without unregistering are forgotten.
  std::erase_if(m_registrations, [](const Registration& x) { return !IsWindow(x.window); });
  LRESULT posted = 0;
  for (const Registration& r : m_registrations) {
    if (PostMessageW(r.window, message, wParam, lParam)) ++posted;
  }
  return posted;
}

}  // namespace simboard::service
