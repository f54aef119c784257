// Worker threads and Synchronize: from several threads at once, while the main
// thread is in a modal message box or asleep, from WaitFor, and when the program
// quits with calls pending.
#include "formkit/Application.h"
#include "formkit/Form.h"
#include "formkit/SyncQueue.h"
#include "formkit/Thread.h"
#include "formkit/Timer.h"
#include "formkit/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace formkit {
namespace {

class TLambdaThread : public TThread {
 public:
  explicit TLambdaThread(std::function<void()> body) : TThread(true), m_body(std::move(body)) {}

 protected:
  void Execute() override { m_body(); }

 private:
  std::function<void()> m_body;
};

// The main form of RunLoop: starts the test's work from the running loop, and
// ends the loop if the test does not within the deadline.
class TLoopForm : public TForm {
 public:
  explicit TLoopForm(TComponent* owner) : TForm(owner), m_start(new TTimer(this)), m_deadline(new TTimer(this)) {
    m_start->SetInterval(1);
    m_start->SetOnTimer(Bind(this, &TLoopForm::OnStart));
    m_deadline->SetInterval(15000);
    m_deadline->SetOnTimer(Bind(this, &TLoopForm::OnDeadline));
  }
  std::function<void()> onStart;
  bool timedOut = false;

 private:
  void OnStart(TObject*) {
    m_start->SetEnabled(false);
    onStart();
  }
  void OnDeadline(TObject*) {
    timedOut = true;
    Close();
  }
  TTimer* m_start;
  TTimer* m_deadline;
};

// Runs the application's message loop with a hidden main form; `onStart` runs
// from the loop, and the test ends the loop by closing the main form. Returns
// false if the deadline ended it instead.
bool RunLoop(std::function<void()> onStart) {
  TLoopForm* form = nullptr;
  Application()->SetShowMainForm(false);
  Application()->CreateForm(form);
  form->onStart = std::move(onStart);
  Application()->Run();
  const bool inTime = !form->timedOut;
  delete form;
  Application()->SetShowMainForm(true);
  return inTime;
}

void CloseMainForm() { Application()->MainForm()->Close(); }

bool OnMainThread() { return GetCurrentThreadId() == Application()->MainThreadId(); }

TEST(Thread, ResumeRunsExecuteOnItsOwnThread) {
  DWORD ranOn = 0;
  TLambdaThread thread([&] { ranOn = GetCurrentThreadId(); });
  EXPECT_EQ(ranOn, 0u) << "created suspended";
  thread.Resume();
  thread.WaitFor();
  EXPECT_EQ(ranOn, thread.ThreadID());
  EXPECT_NE(ranOn, GetCurrentThreadId());
}

TEST(Thread, DeletedBeforeResumeNeverRunsExecute) {
  std::atomic<bool> ran{false};
  delete new TLambdaThread([&] { ran = true; });
  EXPECT_FALSE(ran);
}

TEST(Thread, FreeOnTerminateDeletesItselfAtTheEnd) {
  struct TSelfFreeing : TThread {
    explicit TSelfFreeing(HANDLE deleted) : TThread(true), m_deleted(deleted) {}
    ~TSelfFreeing() override { SetEvent(m_deleted); }
    void Execute() override {}
    HANDLE m_deleted;
  };
  KernelHandle deleted(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  auto* thread = new TSelfFreeing(deleted.Get());
  thread->SetFreeOnTerminate(true);
  thread->Resume();
  EXPECT_EQ(WaitForSingleObject(deleted.Get(), 10000), WAIT_OBJECT_0);
}

TEST(Thread, SynchronizeOnTheMainThreadRunsAtOnce) {
  int calls = 0;
  EXPECT_TRUE(TThread::Synchronize([&] { ++calls; }));
  EXPECT_EQ(calls, 1);
}

TEST(Thread, SynchronizeFromSeveralThreadsRunsEachCallOnTheMainThread) {
  constexpr int Threads = 6, CallsEach = 25;
  int counter = 0;  // touched on the main thread only
  bool allOnMain = true;
  std::atomic<int> finished{0};
  std::atomic<int> ranBeforeReturn{0};
  std::vector<std::unique_ptr<TLambdaThread>> workers;
  ASSERT_TRUE(RunLoop([&] {
    for (int t = 0; t < Threads; ++t) {
      workers.push_back(std::make_unique<TLambdaThread>([&] {
        for (int i = 0; i < CallsEach; ++i) {
          bool ran = false;
          if (TThread::Synchronize([&] {
                ++counter;
                allOnMain = allOnMain && OnMainThread();
                ran = true;
              }) &&
              ran)
            ++ranBeforeReturn;
        }
        if (++finished == Threads) TThread::Synchronize(CloseMainForm);
      }));
    }
    for (auto& worker : workers) worker->Resume();
  }));
  for (auto& worker : workers) worker->WaitFor();
  EXPECT_EQ(counter, Threads * CallsEach);
  EXPECT_EQ(ranBeforeReturn, Threads * CallsEach) << "every worker waited until its call had run";
  EXPECT_TRUE(allOnMain);
}

TEST(Thread, SynchronizeIsServedWhileTheMainThreadIsInAModalMessageBox) {
  constexpr char Caption[] = "formkit modal box";
  bool boxWasOpen = false;
  bool returned = false;
  std::unique_ptr<TLambdaThread> worker;
  ASSERT_TRUE(RunLoop([&] {
    worker = std::make_unique<TLambdaThread>([&] {
      HWND box = nullptr;
      const ULONGLONG deadline = GetTickCount64() + 10000;
      while (!box && GetTickCount64() < deadline) {
        box = FindWindowA("#32770", Caption);
        if (!box) Sleep(10);  // polling from the worker; the main thread is in the box
      }
      returned = TThread::Synchronize([&] {
        boxWasOpen = box && IsWindowVisible(box) && OnMainThread();
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
    });
    worker->Resume();
    MessageBoxA(nullptr, "waiting for a worker", Caption, MB_OK);
    CloseMainForm();
  }));
  worker->WaitFor();
  EXPECT_TRUE(boxWasOpen);
  EXPECT_TRUE(returned);
}

TEST(Thread, SynchronizeWaitsForTheMainThreadToWakeFromSleep) {
  bool ran = false, ranDuringSleep = false;
  ULONGLONG sleepEnded = 0, ranAt = 0;
  KernelHandle aboutToCall(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::unique_ptr<TLambdaThread> worker;
  ASSERT_TRUE(RunLoop([&] {
    worker = std::make_unique<TLambdaThread>([&] {
      SetEvent(aboutToCall.Get());
      TThread::Synchronize([&] {
        ran = true;
        ranAt = GetTickCount64();
        CloseMainForm();
      });
    });
    worker->Resume();
    WaitForSingleObject(aboutToCall.Get(), 10000);
    Sleep(300);  // the main thread is busy, not reading messages
    ranDuringSleep = ran;
    sleepEnded = GetTickCount64();
  }));
  worker->WaitFor();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(ranDuringSleep);
  EXPECT_GE(ranAt, sleepEnded);
}

TEST(Thread, WaitForOnTheMainThreadServesTheWorkersCalls) {
  int calls = 0, callsAfterWait = 0;
  ASSERT_TRUE(RunLoop([&] {
    TLambdaThread worker([&] { TThread::Synchronize([&] { ++calls; }); });
    worker.Resume();
    worker.WaitFor();  // no message loop runs meanwhile
    callsAfterWait = calls;
    CloseMainForm();
  }));
  EXPECT_EQ(callsAfterWait, 1);
}

TEST(Thread, ExceptionOfTheSynchronizedCallIsRaisedInTheWorker) {
  std::string caught;
  std::unique_ptr<TLambdaThread> worker;
  ASSERT_TRUE(RunLoop([&] {
    worker = std::make_unique<TLambdaThread>([&] {
      try {
        TThread::Synchronize([] { throw Exception("raised on the main thread"); });
      } catch (const Exception& error) {
        caught = error.Message();
      }
      TThread::Synchronize(CloseMainForm);
    });
    worker->Resume();
  }));
  worker->WaitFor();
  EXPECT_EQ(caught, "raised on the main thread");
}

TEST(Thread, CallsPendingWhenRunEndsAndLaterOnesAreReleasedWithoutRunning) {
  int calls = 0;
  bool first = true, second = true;
  std::unique_ptr<TLambdaThread> worker;
  HANDLE queued = detail::SyncQueue::Instance().Queued();
  ASSERT_TRUE(RunLoop([&] {
    WaitForSingleObject(queued, 0);  // forget earlier calls
    worker = std::make_unique<TLambdaThread>([&] {
      first = TThread::Synchronize([&] { ++calls; });
      second = TThread::Synchronize([&] { ++calls; });
    });
    worker->Resume();
    // The worker's call is queued while this handler keeps the main thread busy;
    // the loop ends right after it.
    ASSERT_EQ(WaitForSingleObject(queued, 10000), WAIT_OBJECT_0);
    CloseMainForm();
  }));
  worker->WaitFor();
  EXPECT_FALSE(first);
  EXPECT_FALSE(second);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace formkit
