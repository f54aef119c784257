// Test helper: answers the message boxes a test provokes, so that no person has to
// click them. While it lives, a watcher thread looks for message boxes (top-level
// dialogs of class "#32770") of one process, records each one's caption and text,
// and presses its OK button. MessageBoxA returns only after the box is closed, so
// the record is there as soon as the call that showed it has returned.
//
// Header-only; include it by its path from the top of the tree.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace zrtest {

struct MessageBoxRecord {
  std::string caption;
  std::string text;

  bool operator==(const MessageBoxRecord&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const MessageBoxRecord& box) {
  return out << "[\"" << box.caption << "\": \"" << box.text << "\"]";
}

class MessageBoxWatcher {
 public:
  // Watches the boxes of `processId`, by default those of the calling process.
  explicit MessageBoxWatcher(DWORD processId = GetCurrentProcessId())
      : m_processId(processId), m_thread([this] { Watch(); }) {}
  ~MessageBoxWatcher() {
    m_stop = true;
    m_thread.join();
  }
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Every box answered so far, in the order they appeared.
  std::vector<MessageBoxRecord> Seen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
  }
  // Forgets the boxes answered so far.
  void Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_seen.clear();
  }

 private:
  // How often the watcher looks; a box waits at most this long for its answer.
  static constexpr std::chrono::milliseconds PollInterval{5};
  // The static control that holds a message box's text.
  static constexpr int MessageTextId = 0xFFFF;

  void Watch() {
    while (!m_stop) {
      EnumWindows(&MessageBoxWatcher::OnTopLevelWindow, reinterpret_cast<LPARAM>(this));
      // Forget boxes that are gone, so that a reused handle counts as a new box.
      m_answered.erase(std::remove_if(m_answered.begin(), m_answered.end(), [](HWND w) { return !IsWindow(w); }),
                       m_answered.end());
      std::this_thread::sleep_for(PollInterval);
    }
  }

  static BOOL CALLBACK OnTopLevelWindow(HWND window, LPARAM self) {
    reinterpret_cast<MessageBoxWatcher*>(self)->Consider(window);
    return TRUE;
  }

  void Consider(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != m_processId || !IsWindowVisible(window)) return;
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770") return;
    if (std::find(m_answered.begin(), m_answered.end(), window) != m_answered.end()) return;

    MessageBoxRecord box;
    box.caption = WindowText(window);
    if (HWND text = GetDlgItem(window, MessageTextId)) box.text = WindowText(text);
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_seen.push_back(box);
    }
    m_answered.push_back(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }

  static std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }

  const DWORD m_processId;
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_mutex;
  std::vector<MessageBoxRecord> m_seen;
  std::vector<HWND> m_answered;  // only the watcher thread touches it
  std::thread m_thread;          // last: starts once everything above is ready
};

}  // namespace zrtest
