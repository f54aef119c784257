// The application object: form creation, the message loop and its end, the
// exception display, the hidden owner window and the program's file name.
#include "formkit/Application.h"
#include "formkit/Form.h"
#include "formkit/Screen.h"
#include "formkit/Timer.h"
#include "formkit/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace formkit {
namespace {

class TGlobalForm;
TGlobalForm* GlobalForm = nullptr;
TForm* SeenInConstructor = nullptr;

class TGlobalForm : public TForm {
 public:
  explicit TGlobalForm(TComponent* owner) : TForm(owner) { SeenInConstructor = GlobalForm; }
};

class TFailingForm : public TForm {
 public:
  explicit TFailingForm(TComponent* owner) : TForm(owner) {
    SeenInConstructor = GlobalFailing;
    throw std::runtime_error("constructor failed");
  }
  static TFailingForm* GlobalFailing;
};
TFailingForm* TFailingForm::GlobalFailing = nullptr;

// Closes the main form from the message loop after a short time, noting what it
// saw at that moment.
class TClosingForm : public TForm {
 public:
  explicit TClosingForm(TComponent* owner) : TForm(owner), m_timer(new TTimer(this)) {
    m_timer->SetInterval(20);
    m_timer->SetOnTimer(Bind(this, &TClosingForm::OnTimer));
  }
  bool visibleInRun = false;
  int ticks = 0;

 private:
  void OnTimer(TObject*) {
    ++ticks;
    visibleInRun = IsWindowVisible(Handle()) != FALSE;
    Close();
  }
  TTimer* m_timer;
};

// Makes sure each test leaves no main form behind for the next one.
class ApplicationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    delete GlobalForm;
    GlobalForm = nullptr;
    ASSERT_EQ(Application()->MainForm(), nullptr);
    Application()->SetShowMainForm(true);
  }
};

TEST_F(ApplicationTest, CreateFormSetsTheReferenceBeforeTheConstructorRuns) {
  SeenInConstructor = nullptr;
  Application()->CreateForm(GlobalForm);
  ASSERT_NE(GlobalForm, nullptr);
  EXPECT_EQ(SeenInConstructor, GlobalForm);
  EXPECT_EQ(GlobalForm->Owner(), Application());
  EXPECT_EQ(Application()->MainForm(), GlobalForm);
}

TEST_F(ApplicationTest, OnlyTheFirstFormIsTheMainForm) {
  Application()->CreateForm(GlobalForm);
  TGlobalForm* second = nullptr;
  Application()->CreateForm(second);
  EXPECT_EQ(Application()->MainForm(), GlobalForm);
  delete second;
  EXPECT_EQ(Application()->MainForm(), GlobalForm);
}

TEST_F(ApplicationTest, ConstructorFailureClearsTheReferenceAndPassesTheException) {
  SeenInConstructor = nullptr;
  const int before = Application()->ComponentCount();
  EXPECT_THROW(Application()->CreateForm(TFailingForm::GlobalFailing), std::runtime_error);
  EXPECT_NE(SeenInConstructor, nullptr) << "the reference was set during construction";
  EXPECT_EQ(TFailingForm::GlobalFailing, nullptr);
  EXPECT_EQ(Application()->MainForm(), nullptr);
  EXPECT_EQ(Application()->ComponentCount(), before);
}

TEST_F(ApplicationTest, RunEndsWhenTheMainFormClosesAndShowsItOnlyIfAsked) {
  for (bool show : {true, false}) {
    TClosingForm* form = nullptr;
    Application()->SetShowMainForm(show);
    Application()->CreateForm(form);
    Application()->Run();
    EXPECT_EQ(form->ticks, 1) << "show " << show;
    EXPECT_EQ(form->visibleInRun, show) << "show " << show;
    EXPECT_FALSE(Application()->Terminated()) << "ready for the next run";
    delete form;
  }
}

TEST_F(ApplicationTest, RunReturnsAtOnceWithoutMainFormAfterTerminateOrOnQuit) {
  // Each Run below would wait for messages for ever if it did not end.
  Application()->Run();
  Application()->CreateForm(GlobalForm);
  Application()->Terminate();
  Application()->Run();
  EXPECT_FALSE(Application()->Terminated());
  PostQuitMessage(0);
  Application()->Run();
  EXPECT_FALSE(Application()->Terminated());
}

TEST_F(ApplicationTest, ApplicationWindowIsAHiddenEmptyTopLevelWindow) {
  HWND window = Application()->Handle();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(Application()->Handle(), window);
  EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
  EXPECT_FALSE(IsWindowVisible(window));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 0);
  EXPECT_EQ(rect.bottom - rect.top, 0);
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_EQ(std::string(caption), Application()->Title());
}

TEST_F(ApplicationTest, ClosingTheApplicationWindowClosesTheMainForm) {
  TClosingForm* form = nullptr;
  Application()->CreateForm(form);
  SendMessageA(Application()->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(Application()->Handle()));
  EXPECT_TRUE(Application()->Terminated());
  Application()->Run();
  EXPECT_EQ(form->ticks, 0);
  delete form;
}

TEST_F(ApplicationTest, ExeNameAndTitleNameTheProgramFile) {
  const std::string exe = Application()->ExeName();
  EXPECT_EQ(GetFileAttributesA(exe.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << exe;
  ASSERT_GT(exe.size(), std::string("\\formkit_tests.exe").size());
  EXPECT_EQ(exe.substr(exe.size() - 18), "\\formkit_tests.exe");
  EXPECT_EQ(Application()->Title(), "formkit_tests");
}

// Closes the first message box of this process from a timer that fires inside its
// modal loop, keeping what the box showed.
class MessageBoxCloser : public TObject {
 public:
  MessageBoxCloser() : m_timer(nullptr) {
    m_timer.SetInterval(20);
    m_timer.SetOnTimer(Bind(this, &MessageBoxCloser::OnTimer));
  }
  test::MessageBoxInfo seen;

 private:
  void OnTimer(TObject*) {
    test::MessageBoxInfo box = test::FindMessageBox(GetCurrentProcessId());
    if (!box.window) return;
    seen = box;
    m_timer.SetEnabled(false);
    PostMessageA(box.window, WM_COMMAND, IDOK, 0);
  }
  TTimer m_timer;
};

TEST_F(ApplicationTest, ShowExceptionShowsTheMessageUnderTheProgramTitle) {
  MessageBoxCloser closer;
  Application()->ShowException(EFOpenError("C:\\Tools\\Resource\\bg_smoke01.png"));
  ASSERT_NE(closer.seen.window, nullptr);
  EXPECT_EQ(closer.seen.caption, Application()->Title());
  EXPECT_EQ(closer.seen.text, "Cannot open file C:\\Tools\\Resource\\bg_smoke01.png");
  EXPECT_TRUE(closer.seen.errorIcon);
}

TEST(Screen, SizeIsThatOfTheDesktop) {
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(Screen()->Width(), desktop.right - desktop.left);
  EXPECT_EQ(Screen()->Height(), desktop.bottom - desktop.top);
  EXPECT_GT(Screen()->Width(), 0);
}

}  // namespace
}  // namespace formkit
