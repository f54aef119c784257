#include "simboard/remote/RemoteWindow.h"

#include "simboard/remote/RemoteCommands.h"

#include <cstdio>

namespace simboard::remote {
namespace {

constexpr wchar_t ClassName[] = L"ZentrikVirtualRemote";
constexpr int FirstButtonId = 100;
constexpr int ButtonWidth = 80, ButtonHeight = 28, Margin = 8;

}  // namespace

std::unique_ptr<RemoteWindow> RemoteWindow::Create(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &RemoteWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = ClassName;
  if (!RegisterClassW(&windowClass)) return nullptr;
  std::unique_ptr<RemoteWindow> remote(new RemoteWindow);
  RECT client{0, 0, 3 * (ButtonWidth + Margin) + Margin, 4 * (ButtonHeight + Margin) + 2 * Margin + ButtonHeight};
  AdjustWindowRect(&client, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowExW(0, ClassName, L"Zentrik virtual remote", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU |
                                WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT, client.right - client.left,
                                client.bottom - client.top, nullptr, nullptr, instance, remote.get());
  if (!window) return nullptr;
  remote->m_window.Reset(window);
  remote->CreateControls();
  ShowWindow(window, SW_SHOWNORMAL);
  return remote;
}

void RemoteWindow::CreateControls() {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window.Get(), GWLP_HINSTANCE));
  // A B C on the first row, manual and auto on the second, up and down on the third.
  const POINT cells[7] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}};
  for (size_t i = 0; i < 7; ++i) {
    wchar_t label[16];
    std::swprintf(label, 16, L"%hs", Buttons[i].name);
    CreateWindowExW(0, L"BUTTON", label, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, Margin + cells[i].x * (ButtonWidth + Margin),
                    Margin + cells[i].y * (ButtonHeight + Margin), ButtonWidth, ButtonHeight, m_window.Get(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstButtonId + i)), instance, nullptr);
  }
  m_status = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, Margin, Margin + 3 * (ButtonHeight + Margin),
                             3 * (ButtonWidth + Margin) - Margin, 2 * ButtonHeight, m_window.Get(), nullptr, instance,
                             nullptr);
}

void RemoteWindow::Press(size_t button) {
  const char* outcome = "";
  switch (DeliverThroughService({ButtonMessage, Sentinel, Buttons[button].code})) {
    case Delivery::Delivered: outcome = "delivered"; break;
    case Delivery::ServiceNotRunning: outcome = "the service is not running"; break;
    case Delivery::NoWindowRegistered: outcome = "no window is registered"; break;
  }
  wchar_t text[96];
  std::swprintf(text, 96, L"%hs (0x%X): %hs", Buttons[button].name, Buttons[button].code, outcome);
  SetWindowTextW(m_status, text);
}

LRESULT CALLBACK RemoteWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<RemoteWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self) self->m_window.Release();
    PostQuitMessage(0);
  }
  return self ? self->HandleMessage(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

// `window` rather than m_window: messages arrive before CreateWindowEx has returned.
LRESULT RemoteWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = LOWORD(wParam);
    if (id >= FirstButtonId && id < FirstButtonId + 7) {
      Press(static_cast<size_t>(id - FirstButtonId));
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace simboard::remote
