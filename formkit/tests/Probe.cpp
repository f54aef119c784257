// A child program for what must be watched from outside the process: a failed
// assertion, and a program that quits while workers wait in Synchronize.
#include "formkit/Application.h"
#include "formkit/Assert.h"
#include "formkit/Form.h"
#include "formkit/SyncQueue.h"
#include "formkit/Thread.h"
#include "formkit/Timer.h"

#include <cstring>

namespace {

class TBusyWorker : public formkit::TThread {
 public:
  TBusyWorker() : TThread(true) {}

 protected:
  void Execute() override {
    // Keeps asking until the program quits, leaving the main thread moments
    // without posted messages, in which its timer can fire.
    while (Synchronize([] {})) Sleep(5);
    Synchronize([] {});  // after Run has ended
  }
};

// Quits from its timer, but only once a worker's call waits in the queue.
class TQuittingForm : public formkit::TForm {
 public:
  explicit TQuittingForm(formkit::TComponent* owner) : TForm(owner), m_timer(new formkit::TTimer(this)) {
    m_timer->SetInterval(50);
    m_timer->SetOnTimer(formkit::Bind(this, &TQuittingForm::OnTimer));
  }

 private:
  void OnTimer(formkit::TObject*) {
    WaitForSingleObject(formkit::detail::SyncQueue::Instance().Queued(), 10000);
    Close();
  }
  formkit::TTimer* m_timer;
};

TQuittingForm* QuittingForm = nullptr;

int QuitWithCallsPending() {
  formkit::Application()->SetShowMainForm(false);
  formkit::Application()->Initialize();
  formkit::Application()->CreateForm(QuittingForm);
  for (int i = 0; i < 4; ++i) {
    auto* worker = new TBusyWorker;
    worker->SetFreeOnTerminate(true);
    worker->Resume();
  }
  formkit::Application()->Run();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "assert") == 0) {
    const int two = argc;
    ZR_ASSERT(two + 1 == 2);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "quit-pending") == 0) return QuitWithCallsPending();
  return 2;
}
