#include "simboard/companions/CompanionWindow.h"

namespace simboard::companions {
namespace {

constexpr wchar_t ClassName[] = L"TMainForm";
// Private messages of a window stop here; above lie the registered ones.
constexpr UINT LastUserMessage = 0x7FFF;

}  // namespace

std::unique_ptr<CompanionWindow> CompanionWindow::Create(HINSTANCE instance, const wchar_t* caption,
                                                         Handler handler) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &CompanionWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = ClassName;
  if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  std::unique_ptr<CompanionWindow> companion(new CompanionWindow);
  companion->m_handler = std::move(handler);
  // Hidden, as the maker's companions sit in the background.
  HWND window = CreateWindowExW(0, ClassName, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200,
                                nullptr, nullptr, instance, companion.get());
  if (!window) return nullptr;
  companion->m_window.Reset(window);
  return companion;
}

LRESULT CALLBACK CompanionWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CompanionWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self) self->m_window.Release();
    PostQuitMessage(0);
  }
  return self ? self->HandleMessage(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

// `window` rather than m_window: messages arrive before CreateWindowEx has returned.
LRESULT CompanionWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message <= LastUserMessage) {
    m_handler(message, wParam, lParam, InSendMessage() != FALSE);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace simboard::companions
