#include "simboard/tools/BusyWindow.h"

namespace simboard::tools {

std::unique_ptr<BusyWindow> BusyWindow::Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                                               bool visible) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &BusyWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  std::unique_ptr<BusyWindow> busy(new BusyWindow);
  HWND window = CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 120,
                                nullptr, nullptr, instance, busy.get());
  if (!window) return nullptr;
  busy->m_window.Reset(window);
  if (visible) ShowWindow(window, SW_SHOWNOACTIVATE);
  return busy;
}

LRESULT CALLBACK BusyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == WM_NCDESTROY) {
    if (auto* self = reinterpret_cast<BusyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) self->m_window.Release();
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace simboard::tools
