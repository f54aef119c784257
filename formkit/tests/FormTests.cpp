// Forms against real windows: creation parameters, the message path through
// WindowProc, Dispatch and the default window procedure, bounds and visibility.
#include "formkit/Application.h"
#include "formkit/Form.h"
#include "formkit/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace formkit {
namespace {

constexpr UINT MappedMessage = WM_USER + 5;  // in the test form's message map
constexpr LRESULT MappedResult = 42;

class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {}

  void Dispatch(TMessage& message) override {
    dispatched.push_back(message.Msg);
    if (message.Msg == MappedMessage) {
      message.Result = MappedResult;
      return;
    }
    TForm::Dispatch(message);
  }

  DWORD addExStyle = 0;
  DWORD removeExStyle = 0;
  std::vector<UINT> dispatched;

 protected:
  void CreateParams(TCreateParams& params) override {
    TForm::CreateParams(params);
    params.ExStyle = (params.ExStyle | addExStyle) & ~removeExStyle;
  }
};

int CountOf(const std::vector<UINT>& messages, UINT msg) {
  return static_cast<int>(std::count(messages.begin(), messages.end(), msg));
}

TEST(Form, WindowIsMadeOnFirstUseHiddenAndOwnedByTheApplicationWindow) {
  TTestForm form(nullptr);
  EXPECT_FALSE(form.HandleAllocated());
  EXPECT_FALSE(form.Visible());
  HWND window = form.Handle();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(form.Handle(), window);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetWindow(window, GW_OWNER), Application()->Handle());
}

TEST(Form, CreateParamsOverrideGivesTheWindowItsStyles) {
  const struct {
    const char* name;
    TFormBorderStyle border;
    DWORD add, remove;
    DWORD styleSet, styleClear, exSet, exClear;
  } cases[] = {
      {"borderless overlay", bsNone, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_EX_APPWINDOW, WS_POPUP,
       WS_CAPTION | WS_THICKFRAME, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_EX_APPWINDOW},
      {"sizeable", bsSizeable, 0, 0, WS_CAPTION | WS_THICKFRAME, WS_POPUP, 0, WS_EX_TOPMOST | WS_EX_APPWINDOW},
      {"taskbar button asked for", bsNone, WS_EX_APPWINDOW, 0, WS_POPUP, 0, WS_EX_APPWINDOW, 0},
  };
  for (const auto& c : cases) {
    TTestForm form(nullptr);
    form.SetBorderStyle(c.border);
    form.addExStyle = c.add;
    form.removeExStyle = c.remove;
    ASSERT_TRUE(IsWindow(form.Handle())) << c.name;
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(form.Handle(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE));
    EXPECT_EQ(style & c.styleSet, c.styleSet) << c.name;
    EXPECT_EQ(style & c.styleClear, 0u) << c.name;
    EXPECT_EQ(exStyle & c.exSet, c.exSet) << c.name;
    EXPECT_EQ(exStyle & c.exClear, 0u) << c.name;
  }
}

TEST(Form, CaptionBeforeAndAfterTheWindowExists) {
  TTestForm form(nullptr);
  form.SetCaption("FlashOsdForm");
  char text[64] = {};
  GetWindowTextA(form.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "FlashOsdForm");
  form.SetCaption("Zentrik Remote");
  GetWindowTextA(form.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Zentrik Remote");
}

TEST(Form, BoundsBeforeAndAfterTheWindowExists) {
  TTestForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(310, 190, 277, 206);
  RECT rect;
  GetWindowRect(form.Handle(), &rect);
  EXPECT_EQ(rect.left, 310);
  EXPECT_EQ(rect.top, 190);
  EXPECT_EQ(rect.right - rect.left, 277);
  EXPECT_EQ(rect.bottom - rect.top, 206);

  form.SetLeft(0);
  form.SetTop(0);
  form.SetWidth(1024);
  form.SetHeight(768);
  GetWindowRect(form.Handle(), &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.right, 1024);
  EXPECT_EQ(rect.bottom, 768);

  // A move made by someone else shows in the properties.
  SetWindowPos(form.Handle(), nullptr, 15, 25, 100, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(form.Left(), 15);
  EXPECT_EQ(form.Top(), 25);
  EXPECT_EQ(form.Width(), 100);
  EXPECT_EQ(form.Height(), 50);
}

TEST(Form, ClientSizeSizesTheWindowAroundIt) {
  for (TFormBorderStyle border : {bsNone, bsSizeable}) {
    const char* name = border == bsNone ? "borderless" : "sizeable";
    TTestForm form(nullptr);
    form.SetBorderStyle(border);
    form.SetBounds(255, 138, 50, 50);
    form.SetClientSize(138, 136);
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 138) << name;
    EXPECT_EQ(client.bottom, 136) << name;
    EXPECT_EQ(form.ClientWidth(), 138) << name;
    EXPECT_EQ(form.ClientHeight(), 136) << name;
    EXPECT_EQ(form.Left(), 255) << name;
    if (border == bsNone) {
      EXPECT_EQ(form.Width(), 138) << name;
    } else {
      EXPECT_GT(form.Width(), 138) << name;
    }
    form.SetClientWidth(120);
    form.SetClientHeight(40);
    EXPECT_EQ(form.ClientWidth(), 120) << name;
    EXPECT_EQ(form.ClientHeight(), 40) << name;
  }
}

TEST(Form, VisibleShowsAndHidesTheWindow) {
  TTestForm form(nullptr);
  form.SetVisible(true);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  form.SetVisible(false);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  // Hidden by someone else: the property follows.
  form.SetVisible(true);
  ShowWindow(form.Handle(), SW_HIDE);
  EXPECT_FALSE(form.Visible());
}

TEST(Form, NoActivateFormIsShownWithoutTakingActivation) {
  TTestForm normal(nullptr);
  normal.SetVisible(true);
  SetActiveWindow(normal.Handle());
  ASSERT_EQ(GetActiveWindow(), normal.Handle());
  TTestForm overlay(nullptr);
  overlay.SetBorderStyle(bsNone);
  overlay.addExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  overlay.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(overlay.Handle()));
  EXPECT_EQ(GetActiveWindow(), normal.Handle());
}

TEST(Form, CloseHidesAFormThatIsNotTheMainForm) {
  for (bool byMessage : {false, true}) {
    TTestForm form(nullptr);
    form.SetVisible(true);
    if (byMessage) {
      SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    } else {
      form.Close();
    }
    EXPECT_FALSE(form.Visible()) << (byMessage ? "WM_CLOSE" : "Close()");
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(IsWindow(form.Handle())) << "the window is kept";
    EXPECT_FALSE(Application()->Terminated());
  }
}

TEST(Form, MessagesGoThroughTheMapToTheDefaultWindowProcedure) {
  TTestForm form(nullptr);
  form.SetCaption("caption");
  HWND window = form.Handle();
  const struct {
    const char* name;
    UINT msg;
    LRESULT result;
  } cases[] = {
      {"handled by the map", MappedMessage, MappedResult},
      {"not in the map", WM_USER + 4, 0},
      {"answered by DefWindowProc", WM_GETTEXTLENGTH, 7},
  };
  for (const auto& c : cases) {
    form.dispatched.clear();
    EXPECT_EQ(SendMessageA(window, c.msg, 0, 0), c.result) << c.name;
    EXPECT_EQ(CountOf(form.dispatched, c.msg), 1) << c.name;
  }
}

// A hook in the way a flicker eliminator works: saves WindowProc, swallows the
// erase message, passes every other one on, and puts the saved closure back.
class EraseSwallower {
 public:
  void Attach(TControl* control) {
    m_control = control;
    m_saved = control->WindowProc;
    control->WindowProc = Bind(this, &EraseSwallower::WindowProc);
  }
  void Detach() {
    m_control->WindowProc = m_saved;
    m_control = nullptr;
  }
  std::vector<UINT> seen;

 private:
  void WindowProc(TMessage& message) {
    seen.push_back(message.Msg);
    if (message.Msg == WM_ERASEBKGND) {
      message.Result = 1;
      return;
    }
    m_saved(message);
  }
  TControl* m_control = nullptr;
  TWndMethod m_saved;
};

TEST(Form, ReplacedWindowProcPassesResultsAndIsRestored) {
  TTestForm form(nullptr);
  form.SetCaption("caption");
  HWND window = form.Handle();
  const TWndMethod original = form.WindowProc;
  EraseSwallower hook;
  hook.Attach(&form);
  form.dispatched.clear();

  HDC dc = GetDC(window);
  EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  EXPECT_EQ(SendMessageA(window, MappedMessage, 0, 0), MappedResult);
  EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 7);
  EXPECT_EQ(hook.seen, (std::vector<UINT>{WM_ERASEBKGND, MappedMessage, WM_GETTEXTLENGTH}));
  EXPECT_EQ(form.dispatched, (std::vector<UINT>{MappedMessage, WM_GETTEXTLENGTH}));

  hook.Detach();
  EXPECT_TRUE(form.WindowProc == original);
  hook.seen.clear();
  SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ReleaseDC(window, dc);
  EXPECT_TRUE(hook.seen.empty());
  EXPECT_EQ(CountOf(form.dispatched, WM_ERASEBKGND), 1);
}

// A form that installs its own window procedure in its constructor and hands the
// messages to its message map from there.
class TOwnProcForm : public TForm {
 public:
  explicit TOwnProcForm(TComponent* owner) : TForm(owner) {
    Handle();
    WindowProc = Bind(this, &TOwnProcForm::MainWindowProc);
  }
  std::vector<UINT> seen;

 private:
  void MainWindowProc(TMessage& message) {
    seen.push_back(message.Msg);
    Dispatch(message);
  }
};

TEST(Form, OwnWindowProcFromTheConstructorReachesTheMapAndDefaultHandling) {
  TOwnProcForm form(nullptr);
  form.SetCaption("abc");
  form.seen.clear();
  EXPECT_EQ(SendMessageA(form.Handle(), WM_USER + 4, 0x55, 0), 0);
  EXPECT_EQ(SendMessageA(form.Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
  EXPECT_EQ(form.seen, (std::vector<UINT>{WM_USER + 4, WM_GETTEXTLENGTH}));
}

TEST(Form, InvalidateBringsAPaintMessage) {
  TTestForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.addExStyle = WS_EX_NOACTIVATE;
  form.SetBounds(0, 0, 64, 64);
  form.SetVisible(true);
  ASSERT_TRUE(test::PumpUntil([&] { return CountOf(form.dispatched, WM_PAINT) > 0; }));
  form.dispatched.clear();
  form.Invalidate();
  EXPECT_TRUE(test::PumpUntil([&] { return CountOf(form.dispatched, WM_PAINT) > 0; }));
}

TEST(Form, WindowGoesWithTheFormAndMayBeDestroyedFromOutside) {
  HWND window;
  {
    TTestForm form(nullptr);
    window = form.Handle();
    ASSERT_TRUE(IsWindow(window));
  }
  EXPECT_FALSE(IsWindow(window));

  TTestForm form(nullptr);
  window = form.Handle();
  DestroyWindow(window);
  EXPECT_FALSE(form.HandleAllocated());
  EXPECT_TRUE(IsWindow(form.Handle())) << "a new window is made on the next use";
}

}  // namespace
}  // namespace formkit
