#include "formkit/WinControl.h"

#include "formkit/Exception.h"
#include "formkit/WindowClass.h"

namespace formkit {

namespace {
constexpr char DefaultClassName[] = "TFormkitWindow";
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // The graphic controls placed here may outlive this part of the object (owned
  // components are deleted later, by ~TComponent).
  for (TControl* control : m_controls) control->m_parent = nullptr;
  m_controls.clear();
  if (m_handle) {
    // Messages sent while the window is destroyed must not reach this half-destroyed
    // object: the window procedure finds no object and uses the default procedure.
    SetWindowLongPtrA(m_handle.Get(), GWLP_USERDATA, 0);
    m_handle.Reset();
  }
}

HWND TWinControl::Handle() {
  if (!m_handle) CreateHandle();
  return m_handle.Get();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
  params.WinClassName = DefaultClassName;
}

void TWinControl::CreateHandle() {
  TCreateParams params;
  CreateParams(params);
  if (!detail::EnsureWindowClass(params.WinClassName.c_str(), &WindowProcedure))
    throw Exception("Cannot register window class " + params.WinClassName);
  // WM_NCCREATE stores the handle, so that Handle() works during creation already.
  HWND window = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                params.Style, params.X, params.Y, params.Width, params.Height,
                                params.WndParent, nullptr, detail::ModuleInstance(), this);
  if (!window) {
    m_handle.Release();
    throw Exception("Cannot create window " + params.WinClassName);
  }
}

LRESULT CALLBACK TWinControl::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    control->m_handle.Reset(window);
  }
  auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!control) return DefWindowProcA(window, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  control->WindowProc(message);
  if (msg == WM_NCDESTROY) {
    // Destroyed from outside (DestroyWindow by someone else, or failed creation).
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    control->m_handle.Release();
  }
  return message.Result;
}

void TWinControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(m_handle.Get(), &paint);
      PaintControls(dc);
      EndPaint(m_handle.Get(), &paint);
      message.Result = 0;
      return;
    }
    case WM_PRINTCLIENT:
      // PrintWindow and friends ask for the client area drawn into their context.
      PaintControls(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
    case WM_WINDOWPOSCHANGED: {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(message.LParam);
      RECT bounds;
      GetWindowRect(m_handle.Get(), &bounds);
      if (GetWindowLongPtrA(m_handle.Get(), GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(m_handle.Get()), reinterpret_cast<POINT*>(&bounds), 2);
      StoreBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
      if (position->flags & SWP_SHOWWINDOW) StoreVisible(true);
      if (position->flags & SWP_HIDEWINDOW) StoreVisible(false);
      break;
    }
    default:
      break;
  }
  DefaultHandler(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  message.Result = DefWindowProcA(m_handle.Get(), message.Msg, message.WParam, message.LParam);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  StoreBounds(left, top, width, height);
  if (m_handle)
    SetWindowPos(m_handle.Get(), nullptr, left, top, Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::Invalidate() {
  if (m_handle) InvalidateRect(m_handle.Get(), nullptr, TRUE);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* control : m_controls)
    if (control->Visible()) control->Paint(dc);
}

}  // namespace formkit
