#include "formkit/Thread.h"

#include "formkit/Application.h"
#include "formkit/Assert.h"
#include "formkit/Exception.h"
#include "formkit/SyncQueue.h"

namespace formkit {

TThread::TThread(bool createSuspended) {
  ZR_ASSERT(createSuspended);
  TApplication* application = Application();
  // The window through which Synchronize reaches the main thread must exist
  // before any worker needs it, and only the main thread can make it.
  if (GetCurrentThreadId() == application->MainThreadId()) application->Handle();
  m_thread.Reset(CreateThread(nullptr, 0, &ThreadRoutine, this, CREATE_SUSPENDED, &m_threadId));
  if (!m_thread) throw Exception("Cannot create thread");
}

TThread::~TThread() {
  if (GetCurrentThreadId() == m_threadId) return;  // freeing itself at its end
  if (!m_started) {
    // Let the suspended thread run to its end without Execute.
    m_cancelled = true;
    m_started = true;
    ResumeThread(m_thread.Get());
  }
  WaitFor();
}

void TThread::Resume() {
  if (m_started) return;
  m_started = true;
  ResumeThread(m_thread.Get());
}

void TThread::WaitFor() {
  ZR_ASSERT(m_started);
  if (GetCurrentThreadId() != Application()->MainThreadId()) {
    WaitForSingleObject(m_thread.Get(), INFINITE);
    return;
  }
  // The main thread keeps serving Synchronize: the thread may be waiting in it.
  detail::SyncQueue& queue = detail::SyncQueue::Instance();
  const HANDLE handles[] = {m_thread.Get(), queue.Queued()};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) queue.RunPending();
}

bool TThread::Synchronize(const TThreadMethod& method) {
  TApplication* application = Application();
  if (GetCurrentThreadId() == application->MainThreadId()) {
    method();
    return true;
  }
  return detail::SyncQueue::Instance().Call(method, application->SynchronizeWindow());
}

DWORD WINAPI TThread::ThreadRoutine(void* parameter) {
  auto* thread = static_cast<TThread*>(parameter);
  if (!thread->m_cancelled) {
    try {
      thread->Execute();
    } catch (...) {
      // An exception ends the thread only; there is nobody to hand it to.
    }
    if (thread->m_freeOnTerminate) delete thread;
  }
  return 0;
}

}  // namespace formkit
