// TApplication: the program's application object, reached through
// formkit::Application(), which makes it on its first call (on the main thread:
// the thread that calls it first is the main thread) and never destroys it.
//
//   formkit::Application()->SetShowMainForm(false);
//   formkit::Application()->Initialize();
//   formkit::Application()->CreateForm(MainForm);
//   formkit::Application()->Run();
//
// It owns the forms made with CreateForm; the first of them is the main form, and
// closing the main form ends Run. Its hidden top-level window (Handle) owns every
// form's window and receives the framework's own messages (TThread::Synchronize).
#pragma once

#include "formkit/Exception.h"
#include "formkit/Handle.h"
#include "formkit/Object.h"

#include <new>
#include <string>

namespace formkit {

class TForm;

class TApplication : public TComponent {
 public:
  bool ShowMainForm() const { return m_showMainForm; }
  // Whether Run shows the main form first (default true).
  void SetShowMainForm(bool show) { m_showMainForm = show; }

  // Makes the application window.
  void Initialize();

  // Makes a form owned by the application. `reference` points to the new form
  // before its constructor runs, so the constructor may use it; if the constructor
  // throws, `reference` is null again and the exception passes on. The first form
  // made becomes the main form.
  template <class F>
  void CreateForm(F*& reference) {
    static_assert(alignof(F) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "forms need no extra alignment");
    void* memory = ::operator new(sizeof(F));
    reference = static_cast<F*>(memory);
    try {
      new (memory) F(this);
    } catch (...) {
      reference = nullptr;
      ::operator delete(memory);
      throw;
    }
    FormCreated(reference);
  }

  TForm* MainForm() const { return m_mainForm; }

  // The message loop: shows the main form if ShowMainForm, then handles messages
  // until the main form is closed (or Terminate is called, or WM_QUIT arrives).
  // Returns at once when there is no main form. When it ends, workers waiting in
  // TThread::Synchronize are released without their calls being run.
  void Run();
  // Makes Run end after the message it is handling.
  void Terminate();
  bool Terminated() const { return m_terminated; }
  // Handles the messages waiting in the queue, then returns.
  void ProcessMessages();

  // The standard display of the framework's exception: a message box with the
  // program's title, the exception's message and the error icon.
  void ShowException(const Exception& error);

  // The hidden top-level window (0 x 0, never shown by the framework); made on
  // first use.
  HWND Handle();
  // Full path of the program file.
  std::string ExeName() const;
  // The program file's name without folder and extension.
  std::string Title() const;

  DWORD MainThreadId() const { return m_mainThreadId; }

 private:
  friend TApplication* Application();
  friend class TForm;
  friend class TThread;
  TApplication();
  ~TApplication() override;

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void FormCreated(TForm* form);
  // A form is going away: it is no longer the main form.
  void FormDestroyed(TForm* form);
  bool HandleMessage();
  // The application window, for workers: it must exist already.
  HWND SynchronizeWindow() const;

  DWORD m_mainThreadId;
  WindowHandle m_window;
  TForm* m_mainForm = nullptr;
  bool m_showMainForm = true;
  bool m_terminated = false;
};

TApplication* Application();

}  // namespace formkit
