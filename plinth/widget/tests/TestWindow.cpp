#include "plinth/widget/tests/TestWindow.h"

#include <stdexcept>

namespace plinth::test {

namespace {
constexpr char ClassName[] = "PlinthWidgetTestWindow";

void RegisterOnce(WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = ClassName;
  RegisterClassA(&windowClass);  // fails harmlessly when it exists already
}
}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height, DWORD exStyle, bool withChild) {
  RegisterOnce(&Procedure);
  m_window.Reset(CreateWindowExA(exStyle, ClassName, "test", WS_POPUP | WS_BORDER, x, y, width, height, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr));
  if (!m_window) throw std::runtime_error("no test window");
  SetWindowLongPtrA(Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (withChild) {
    m_child = CreateWindowExA(0, ClassName, "child", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, Handle(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!m_child) throw std::runtime_error("no child window");
  }
  ShowWindow(Handle(), SW_SHOWNA);
  Settle();
}

void TestWindow::Settle() {
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ValidateRect(Handle(), nullptr);
  if (m_child) ValidateRect(m_child, nullptr);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  m_exStyleWrites = 0;
}

bool TestWindow::NeedsPaint() const { return GetUpdateRect(Handle(), nullptr, FALSE) != 0; }

bool TestWindow::ChildNeedsPaint() const { return m_child && GetUpdateRect(m_child, nullptr, FALSE) != 0; }

RECT TestWindow::Bounds() const {
  RECT bounds{};
  GetWindowRect(Handle(), &bounds);
  return bounds;
}

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && msg == WM_STYLECHANGING && static_cast<int>(wParam) == GWL_EXSTYLE) ++self->m_exStyleWrites;
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace plinth::test
