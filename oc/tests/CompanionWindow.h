// Test helper: a window standing in for a companion program's message window. It
// lives on a thread of its own with its own message loop, as the companion's window
// lives in another program, so a message sent to it blocks until it is handled, and
// it records every program message (WM_USER and above) it receives.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace zrtest {

// wParam of every message the engines send a companion: 'U'.
constexpr WPARAM U = 0x55;

struct CompanionMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool sent;  // by SendMessage (the sender waited), else posted

  bool operator==(const CompanionMessage&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const CompanionMessage& m) {
  return out << "{0x" << std::hex << m.message << ", 0x" << m.wParam << ", " << std::dec << m.lParam
             << (m.sent ? ", sent}" : ", posted}");
}

class CompanionWindow {
 public:
  CompanionWindow(const char* className, const char* caption) : m_className(className), m_caption(caption) {
    m_thread = std::thread([this] { Run(); });
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_started; });
  }
  ~CompanionWindow() {
    if (m_window != nullptr) PostMessageA(m_window, WM_CLOSE, 0, 0);
    m_thread.join();
  }
  CompanionWindow(const CompanionWindow&) = delete;
  CompanionWindow& operator=(const CompanionWindow&) = delete;

  // Null when the window could not be made.
  HWND Handle() const { return m_window; }

  std::vector<CompanionMessage> Messages() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
  }

  // Waits until the window has handled everything posted to it so far (a marker
  // posted now arrives after it); false if that takes longer than the deadline.
  bool Drain(std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const int marker = ++m_markersPosted;
    lock.unlock();
    PostMessageA(m_window, MarkerMessage, 0, marker);
    lock.lock();
    return m_changed.wait_for(lock, deadline, [&] { return m_markersSeen >= marker; });
  }

 private:
  // Not a message any companion is sent.
  static constexpr UINT MarkerMessage = WM_APP + 0x3A5;

  void Run() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &CompanionWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = m_className.c_str();
    RegisterClassA(&windowClass);  // already registered by an earlier window: fine
    HWND window = CreateWindowExA(0, m_className.c_str(), m_caption.c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), this);
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_window = window;
      m_started = true;
    }
    m_changed.notify_all();
    if (window == nullptr) return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<CompanionWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr) {
      if (message == MarkerMessage) {
        {
          std::lock_guard<std::mutex> lock(self->m_mutex);
          self->m_markersSeen = static_cast<int>(lParam);
        }
        self->m_changed.notify_all();
        return 0;
      }
      if (message >= WM_USER && message < WM_APP) {
        const bool sent = InSendMessage() != FALSE;
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_messages.push_back({message, wParam, lParam, sent});
        return 0;
      }
      if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
      }
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  const std::string m_className;
  const std::string m_caption;
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_started = false;
  HWND m_window = nullptr;
  std::vector<CompanionMessage> m_messages;
  int m_markersPosted = 0;
  int m_markersSeen = 0;
  std::thread m_thread;
};

}  // namespace zrtest
