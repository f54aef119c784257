// TTimer: calls OnTimer(timer) every Interval milliseconds while Enabled, from the
// message loop of the thread that made it (the main thread). It runs only while it
// is enabled, its interval is not 0 and an OnTimer handler is set.
//
// Enabling a timer that already runs leaves its countdown as it is; a change of
// Enabled, of Interval or of OnTimer starts the countdown afresh. Defaults:
// Enabled true, Interval 1000, no handler.
#pragma once

#include "formkit/Closure.h"
#include "formkit/Handle.h"
#include "formkit/Object.h"

namespace formkit {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return m_interval; }
  void SetInterval(unsigned milliseconds);
  const TNotifyEvent& OnTimer() const { return m_onTimer; }
  void SetOnTimer(const TNotifyEvent& handler);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Restart();

  WindowHandle m_window;  // hidden message-only window that receives WM_TIMER
  bool m_enabled = true;
  unsigned m_interval = 1000;
  TNotifyEvent m_onTimer;
};

}  // namespace formkit
