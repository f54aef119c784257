// Delayed calls on the main thread: RunAfterDelay(ms, closure) calls the closure,
// with a null Sender, on the main thread once `ms` milliseconds have passed. Each
// call has a short-lived TWaitThread of its own, which frees itself; pending calls
// cannot be cancelled. A call whose time comes while the main thread is busy runs
// when the main thread reads its messages again.
#pragma once

#include "formkit/Closure.h"
#include "formkit/Thread.h"

class TWaitThread : public formkit::TThread {
 public:
  // A negative delay counts as none.
  TWaitThread(int delayMs, const formkit::TNotifyEvent& callback);

 protected:
  void Execute() override;

 private:
  formkit::TNotifyEvent m_callback;  // may be empty: then nothing is called
  int m_delay;
};

void RunAfterDelay(int delayMs, const formkit::TNotifyEvent& callback);
