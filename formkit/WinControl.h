// TWinControl: a control with a window of its own. The window is created on the
// first call of Handle(), from the parameters that the virtual CreateParams fills;
// a subclass changes styles there after calling the inherited CreateParams:
//
//   void TMyForm::CreateParams(formkit::TCreateParams& params) {
//     TForm::CreateParams(params);
//     params.ExStyle |= WS_EX_TOPMOST;
//   }
//
// The window's messages go to WindowProc (see TControl). DefaultHandler passes
// unhandled ones to DefWindowProc. The window is destroyed with the object.
#pragma once

#include "formkit/Control.h"
#include "formkit/Handle.h"

#include <string>
#include <vector>

namespace formkit {

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;  // owner of a top-level window
  // Registered by the framework on first use, with the framework's window procedure.
  std::string WinClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window; created on first use.
  HWND Handle();
  bool HandleAllocated() const { return m_handle.IsValid(); }

  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Invalidate() override;

 protected:
  virtual void CreateParams(TCreateParams& params);

  // Paints the graphic controls placed on this one (WM_PAINT, WM_PRINTCLIENT).
  void PaintControls(HDC dc);

 private:
  friend class TControl;
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateHandle();

  WindowHandle m_handle;
  std::vector<TControl*> m_controls;  // graphic controls placed on this one, in z-order
};

}  // namespace formkit
