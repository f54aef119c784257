// TForm: a top-level window control. A form is constructed hidden; its window is
// made on first use of Handle() and is owned by the application's hidden window
// (TApplication::Handle), so it has no taskbar button unless its extended style
// carries WS_EX_APPWINDOW. Forms are usually made with TApplication::CreateForm.
//
// Closing the application's main form ends TApplication::Run; closing any other
// form hides it.
#pragma once

#include "formkit/WinControl.h"

#include <string>

namespace formkit {

enum TFormBorderStyle { bsNone, bsSizeable };

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);

  // Takes effect when the window is made; set it in the constructor.
  TFormBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TFormBorderStyle style);

  // Shows or hides the window. A form whose extended style has WS_EX_NOACTIVATE is
  // shown without being activated.
  void SetVisible(bool visible) override;

  // The client area's size; setting it sizes the window around it. These make the
  // window if it does not exist yet.
  int ClientWidth();
  int ClientHeight();
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  void SetClientSize(int width, int height);

  void Close();

  void Dispatch(TMessage& message) override;

 protected:
  // Caption, position and size, a popup window for bsNone, an overlapped one for
  // bsSizeable, owned by the application window.
  void CreateParams(TCreateParams& params) override;

 private:
  std::string m_caption;
  TFormBorderStyle m_borderStyle = bsSizeable;
};

}  // namespace formkit
