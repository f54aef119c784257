// TControl: a component with a place on the screen and a message procedure.
//
// Messages reach a control through its WindowProc closure, which starts out bound
// to the virtual WndProc. WndProc hands the message to Dispatch, the message map;
// a message the map does not handle goes to DefaultHandler. Replacing WindowProc
// (and putting the saved closure back later) hooks the control's messages without
// subclassing it:
//
//   m_saved = control->WindowProc;
//   control->WindowProc = formkit::Bind(this, &Hook::WindowProc);
//
// A control without a window of its own (TImage) is a graphic control: its parent
// window control paints it (Paint) as part of its own painting.
#pragma once

#include "formkit/Closure.h"
#include "formkit/Message.h"
#include "formkit/Object.h"

#include <windows.h>

namespace formkit {

class TWinControl;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // The control's current window procedure; replace it to hook the messages.
  TWndMethod WindowProc;

  // The message map. An override handles its own messages and passes every other
  // one to the inherited Dispatch; the base passes it to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  // What happens to an unhandled message: nothing here (Result stays as it is);
  // window controls call the default window procedure.
  virtual void DefaultHandler(TMessage& message);

  // The parent's client coordinates for a graphic control, screen coordinates for a
  // top-level form.
  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  void SetLeft(int left) { SetBounds(left, m_top, m_width, m_height); }
  void SetTop(int top) { SetBounds(m_left, top, m_width, m_height); }
  void SetWidth(int width) { SetBounds(m_left, m_top, width, m_height); }
  void SetHeight(int height) { SetBounds(m_left, m_top, m_width, height); }
  virtual void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return m_visible; }
  virtual void SetVisible(bool visible);

  // The window control this control is placed on (painted by), or nullptr.
  TWinControl* Parent() const { return m_parent; }
  void SetParent(TWinControl* parent);

  // Asks for the control to be painted again.
  virtual void Invalidate();

 protected:
  // The initial WindowProc: hands the message to Dispatch.
  virtual void WndProc(TMessage& message);
  // Draws a graphic control onto its parent's device context (client coordinates
  // of the parent). Controls with a window of their own paint from their messages.
  virtual void Paint(HDC dc);

  // Stores new bounds without touching any window (windows report their moves).
  void StoreBounds(int left, int top, int width, int height);
  void StoreVisible(bool visible) { m_visible = visible; }

 private:
  friend class TWinControl;

  TWinControl* m_parent = nullptr;
  int m_left = 0;
  int m_top = 0;
  int m_width = 0;
  int m_height = 0;
  bool m_visible = true;
};

}  // namespace formkit
