#include "formkit/Form.h"

#include "formkit/Application.h"

namespace formkit {

namespace {
constexpr char FormClassName[] = "TFormkitForm";
constexpr int DefaultWidth = 320;
constexpr int DefaultHeight = 240;
}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  StoreBounds(0, 0, DefaultWidth, DefaultHeight);
  StoreVisible(false);
}

TForm::~TForm() { Application()->FormDestroyed(this); }

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Caption = m_caption;
  params.Style |= m_borderStyle == bsNone ? WS_POPUP : WS_OVERLAPPEDWINDOW;
  params.WndParent = Application()->Handle();
  params.WinClassName = FormClassName;
}

void TForm::SetCaption(const std::string& caption) {
  m_caption = caption;
  if (HandleAllocated()) SetWindowTextA(Handle(), m_caption.c_str());
}

void TForm::SetBorderStyle(TFormBorderStyle style) { m_borderStyle = style; }

void TForm::SetVisible(bool visible) {
  if (visible) {
    HWND window = Handle();
    // Overlays must never take the focus from the program underneath.
    const bool noActivate = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0;
    ShowWindow(window, noActivate ? SW_SHOWNA : SW_SHOW);
  } else if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
  }
  StoreVisible(visible);
}

namespace {
// The difference between the window's size and its client area's.
SIZE FrameSize(HWND window) {
  RECT outer, inner;
  GetWindowRect(window, &outer);
  GetClientRect(window, &inner);
  return {(outer.right - outer.left) - inner.right, (outer.bottom - outer.top) - inner.bottom};
}
}  // namespace

int TForm::ClientWidth() {
  RECT client;
  GetClientRect(Handle(), &client);
  return client.right;
}

int TForm::ClientHeight() {
  RECT client;
  GetClientRect(Handle(), &client);
  return client.bottom;
}

void TForm::SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }

void TForm::SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

void TForm::SetClientSize(int width, int height) {
  const SIZE frame = FrameSize(Handle());
  SetBounds(Left(), Top(), width + frame.cx, height + frame.cy);
}

void TForm::Close() {
  if (Application()->MainForm() == this) {
    Application()->Terminate();
  } else {
    SetVisible(false);
  }
}

void TForm::Dispatch(TMessage& message) {
  if (message.Msg == WM_CLOSE) {
    // Instead of the default destruction of the window.
    Close();
    message.Result = 0;
    return;
  }
  TWinControl::Dispatch(message);
}

}  // namespace formkit
