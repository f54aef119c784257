#include "formkit/Timer.h"

#include "formkit/Exception.h"
#include "formkit/WindowClass.h"

namespace formkit {

namespace {
constexpr char TimerClassName[] = "TFormkitTimer";
// Each timer has a window of its own, so one id serves all.
constexpr UINT_PTR TimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  if (!detail::EnsureWindowClass(TimerClassName, &WindowProcedure))
    throw Exception("Cannot register window class " + std::string(TimerClassName));
  m_window.Reset(CreateWindowExA(0, TimerClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 detail::ModuleInstance(), nullptr));
  if (!m_window) throw Exception("Cannot create timer window");
  SetWindowLongPtrA(m_window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
  KillTimer(m_window.Get(), TimerId);
  SetWindowLongPtrA(m_window.Get(), GWLP_USERDATA, 0);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  Restart();
}

void TTimer::SetInterval(unsigned milliseconds) {
  if (milliseconds == m_interval) return;
  m_interval = milliseconds;
  Restart();
}

void TTimer::SetOnTimer(const TNotifyEvent& handler) {
  m_onTimer = handler;
  Restart();
}

void TTimer::Restart() {
  KillTimer(m_window.Get(), TimerId);
  if (m_enabled && m_interval != 0 && m_onTimer) SetTimer(m_window.Get(), TimerId, m_interval, nullptr);
}

LRESULT CALLBACK TTimer::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_TIMER && wParam == TimerId && timer) {
    // A WM_TIMER already taken from the queue may arrive after the timer stopped.
    if (timer->m_enabled && timer->m_onTimer) timer->m_onTimer(timer);  // may delete the timer
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace formkit
