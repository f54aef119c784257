// The flicker eliminator on a real framework form.
#include "plinth/widget/Source/Flicker.h"

#include "formkit/Form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plinth {
namespace {

// Stands for the form's window procedure as it was before the eliminator came:
// records what reaches it and passes it on to the form.
class PreviousProcedure {
 public:
  explicit PreviousProcedure(formkit::TControl& control) : m_control(control), m_original(control.WindowProc) {
    control.WindowProc = formkit::Bind(this, &PreviousProcedure::WindowProc);
  }
  ~PreviousProcedure() { m_control.WindowProc = m_original; }

  std::vector<formkit::TMessage> seen;

  bool Saw(UINT msg) const {
    for (const auto& message : seen)
      if (message.Msg == msg) return true;
    return false;
  }

 private:
  void WindowProc(formkit::TMessage& message) {
    seen.push_back(message);
    if (message.Msg == WM_USER + 7) {
      message.Result = static_cast<LRESULT>(message.WParam + message.LParam);
      return;
    }
    m_original(message);
  }

  formkit::TControl& m_control;
  formkit::TWndMethod m_original;
};

class FlickerEliminatorTest : public ::testing::Test {
 protected:
  FlickerEliminatorTest() : form(nullptr) {
    form.SetBorderStyle(formkit::bsNone);
    form.SetCaption("Flicker");
    form.SetBounds(50, 50, 160, 120);
  }

  formkit::TForm form;
};

TEST_F(FlickerEliminatorTest, SwallowsTheEraseMessageReportingSuccess) {
  PreviousProcedure previous(form);
  FlickerEliminator eliminator;
  eliminator.Attach(&form);
  HWND window = form.Handle();
  HDC dc = GetDC(window);
  EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  ReleaseDC(window, dc);
  EXPECT_FALSE(previous.Saw(WM_ERASEBKGND));
}

TEST_F(FlickerEliminatorTest, PaintingTheFormNeverErasesItsBackground) {
  PreviousProcedure previous(form);
  FlickerEliminator eliminator;
  eliminator.Attach(&form);
  form.SetVisible(true);
  InvalidateRect(form.Handle(), nullptr, TRUE);
  UpdateWindow(form.Handle());
  EXPECT_TRUE(previous.Saw(WM_PAINT));
  EXPECT_FALSE(previous.Saw(WM_ERASEBKGND));
}

TEST_F(FlickerEliminatorTest, PassesEveryOtherMessageOnWithItsParametersAndResult) {
  PreviousProcedure previous(form);
  FlickerEliminator eliminator;
  eliminator.Attach(&form);
  HWND window = form.Handle();
  const struct {
    const char* name;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT expected;
  } cases[] = {
      {"own message", WM_USER + 7, 40, 2, 42},
      {"caption length, answered by the form", WM_GETTEXTLENGTH, 0, 0, 7},
      {"nonclient hit test", WM_NCHITTEST, 0, MAKELPARAM(60, 60), HTCLIENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    previous.seen.clear();
    EXPECT_EQ(SendMessageA(window, c.msg, c.wParam, c.lParam), c.expected);
    ASSERT_FALSE(previous.seen.empty());
    EXPECT_EQ(previous.seen.front().Msg, c.msg);
    EXPECT_EQ(previous.seen.front().WParam, c.wParam);
    EXPECT_EQ(previous.seen.front().LParam, c.lParam);
  }
}

TEST_F(FlickerEliminatorTest, DetachPutsThePreviousProcedureBack) {
  FlickerEliminator never;
  const formkit::TWndMethod before = form.WindowProc;
  EXPECT_EQ(never.Detach(), nullptr);
  EXPECT_TRUE(form.WindowProc == before);

  FlickerEliminator eliminator;
  eliminator.Attach(&form);
  EXPECT_FALSE(form.WindowProc == before);
  EXPECT_EQ(eliminator.Control(), &form);
  EXPECT_EQ(eliminator.Detach(), &form);
  EXPECT_TRUE(form.WindowProc == before);
  EXPECT_EQ(eliminator.Control(), nullptr);
  EXPECT_EQ(eliminator.Detach(), nullptr);
}

TEST_F(FlickerEliminatorTest, DestructionDetaches) {
  const formkit::TWndMethod before = form.WindowProc;
  {
    FlickerEliminator eliminator;
    eliminator.Attach(&form);
  }
  EXPECT_TRUE(form.WindowProc == before);
  // The erase message reaches the form's own handling again.
  PreviousProcedure previous(form);
  HDC dc = GetDC(form.Handle());
  SendMessageA(form.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ReleaseDC(form.Handle(), dc);
  EXPECT_TRUE(previous.Saw(WM_ERASEBKGND));
}

}  // namespace
}  // namespace plinth
