#include "formkit/SyncQueue.h"

#include "formkit/Exception.h"
#include "formkit/Handle.h"

#include <new>

namespace formkit::detail {

namespace {
class LockGuard {
 public:
  explicit LockGuard(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;
  ~LockGuard() { ReleaseSRWLockExclusive(&m_lock); }

 private:
  SRWLOCK& m_lock;
};
}  // namespace

SyncQueue& SyncQueue::Instance() {
  // Never destroyed: workers may still wait in it while static objects are torn
  // down at exit.
  static SyncQueue* queue = new SyncQueue;
  return *queue;
}

SyncQueue::SyncQueue() : m_queued(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  if (!m_queued) throw Exception("Cannot create the synchronisation event");
}

bool SyncQueue::Call(const TThreadMethod& method, HWND target) {
  KernelHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!done) throw Exception("Cannot create the synchronisation event");
  Request request{&method, done.Get(), false, nullptr, nullptr};
  {
    LockGuard guard(m_lock);
    if (m_closed) return false;
    (m_last ? m_last->next : m_first) = &request;
    m_last = &request;
  }
  SetEvent(m_queued);
  PostMessageA(target, WM_FORMKIT_SYNCHRONIZE, 0, 0);
  WaitForSingleObject(done.Get(), INFINITE);
  if (request.error) std::rethrow_exception(request.error);
  return request.ran;
}

SyncQueue::Request* SyncQueue::TakeFirst() {
  LockGuard guard(m_lock);
  Request* request = m_first;
  if (request) {
    m_first = request->next;
    if (!m_first) m_last = nullptr;
  }
  return request;
}

void SyncQueue::RunPending() {
  while (Request* request = TakeFirst()) {
    try {
      (*request->method)();
      request->ran = true;
    } catch (...) {
      request->error = std::current_exception();
    }
    // The last touch: the worker returns, and its request goes, once this is set.
    SetEvent(request->done);
  }
}

void SyncQueue::Open() {
  LockGuard guard(m_lock);
  m_closed = false;
}

void SyncQueue::Close() {
  Request* released;
  {
    LockGuard guard(m_lock);
    m_closed = true;
    released = m_first;
    m_first = m_last = nullptr;
  }
  while (released) {
    Request* next = released->next;
    SetEvent(released->done);
    released = next;
  }
}

}  // namespace formkit::detail
