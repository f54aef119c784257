#include "remote/WaitThread.h"

#include <windows.h>

#include <algorithm>

TWaitThread::TWaitThread(int delayMs, const formkit::TNotifyEvent& callback)
    : TThread(true), m_callback(callback), m_delay(std::max(delayMs, 0)) {}

void TWaitThread::Execute() {
  Sleep(static_cast<DWORD>(m_delay));
  Synchronize([this] {
    if (m_callback) m_callback(nullptr);
  });
}

void RunAfterDelay(int delayMs, const formkit::TNotifyEvent& callback) {
  auto* thread = new TWaitThread(delayMs, callback);
  thread->SetFreeOnTerminate(true);
  thread->Resume();
}
