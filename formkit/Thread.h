// TThread: a worker thread whose work is the virtual Execute.
//
//   class TWorker : public formkit::TThread {
//    public:
//     TWorker() : TThread(true) {}
//    protected:
//     void Execute() override { Sleep(100); Synchronize([this] { Done(); }); }
//   };
//   auto* worker = new TWorker;
//   worker->SetFreeOnTerminate(true);  // deletes itself when Execute returns
//   worker->Resume();
//
// Synchronize runs a call on the main thread (the one that made the application
// object) and blocks the worker until it has run. The main thread runs it from any
// message loop: TApplication::Run, a modal message box, or one of its own; a call
// made while the main thread sleeps runs once it reads its messages again. When
// Run ends (the program quits) the waiting workers are released without their
// calls being run, and so is every later Synchronize.
#pragma once

#include "formkit/Handle.h"
#include "formkit/Object.h"

#include <functional>

namespace formkit {

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
 public:
  // The thread always starts suspended (it cannot run Execute before the derived
  // object is complete): createSuspended must be true, and Resume starts it.
  explicit TThread(bool createSuspended);
  // Waits for a started thread to end (a thread that frees itself is deleted by
  // its own thread instead). Call WaitFor before deleting a running thread.
  ~TThread() override;

  void SetFreeOnTerminate(bool free) { m_freeOnTerminate = free; }
  bool FreeOnTerminate() const { return m_freeOnTerminate; }

  void Resume();
  // Waits until Execute has returned; on the main thread it runs the calls that
  // workers synchronize meanwhile. Not for threads that free themselves.
  void WaitFor();
  DWORD ThreadID() const { return m_threadId; }

  // Runs `method` on the main thread and waits for it; returns whether it ran
  // (false once the program quits). On the main thread it runs at once. An
  // exception thrown by `method` is raised again in the calling thread.
  static bool Synchronize(const TThreadMethod& method);

 protected:
  virtual void Execute() = 0;

 private:
  static DWORD WINAPI ThreadRoutine(void* parameter);

  KernelHandle m_thread;
  DWORD m_threadId = 0;
  bool m_freeOnTerminate = false;
  bool m_started = false;
  bool m_cancelled = false;  // deleted without having been started: skip Execute
};

}  // namespace formkit
