// The calls that workers hand to the main thread (TThread::Synchronize). Every
// member is safe to use from any thread, and the queue needs no destruction, so
// workers that still run while the process ends find it intact.
#pragma once

#include "formkit/Thread.h"

#include <windows.h>

#include <exception>

namespace formkit::detail {

// Posted to the application window when a call is queued.
inline constexpr UINT WM_FORMKIT_SYNCHRONIZE = WM_APP + 0x3F00;

class SyncQueue {
 public:
  static SyncQueue& Instance();

  // Worker side: queues `method`, wakes the main thread through `target` (a window
  // of the main thread) and waits until the call has run or the queue is closed.
  // Returns whether it ran; rethrows what it threw.
  bool Call(const TThreadMethod& method, HWND target);
  // Main thread: runs every queued call.
  void RunPending();
  // Set when a call is queued; the main thread waits on it where it cannot read
  // messages (TThread::WaitFor).
  HANDLE Queued() const { return m_queued; }

  // While closed (the program is quitting), queued and new calls are released
  // without running.
  void Open();
  void Close();

 private:
  struct Request {
    const TThreadMethod* method;
    HANDLE done;
    bool ran;
    std::exception_ptr error;
    Request* next;
  };

  SyncQueue();
  Request* TakeFirst();

  SRWLOCK m_lock = SRWLOCK_INIT;
  Request* m_first = nullptr;
  Request* m_last = nullptr;
  bool m_closed = false;
  HANDLE m_queued;  // lives as long as the process
};

}  // namespace formkit::detail
