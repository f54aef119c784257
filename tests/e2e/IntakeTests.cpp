// What the main window takes from the service: only messages marked with 'U', only
// the known button codes, and no press while another program is busy.
#include "tests/e2e/E2eFixture.h"
#include "tests/support/Waiting.h"

namespace zrtest {
namespace {

class IntakeTest : public E2eTest {
 protected:
  // Nothing reached the player or a companion since the cursor.
  void ExpectNothingHappened(const char* what) {
    PumpFor(QuietMs);
    EXPECT_TRUE(NewPlayerEvents().empty()) << what;
    EXPECT_TRUE(World().OcLog().empty()) << what;
    EXPECT_TRUE(World().QpsLog().empty()) << what;
    EXPECT_FALSE(World().OverlayVisible()) << what;
  }
};

TEST_F(IntakeTest, BusyWindowsOfOtherProgramsSwallowPresses) {
  StartMachine();
  struct Case {
    const char* busy;
    bool swallowed;
  };
  const Case cases[] = {
      {"--progress visible", true},
      {"--gui-background hidden", true},
      {"--gui-background visible", true},
      {"--progress hidden", false},  // only a visible progress dialog blocks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.busy);
    ChildProgram* busy = World().StartBusyWindows(c.busy);
    ASSERT_TRUE(busy);
    SkipPlayerEvents();
    ASSERT_TRUE(World().Press(button::A));
    if (c.swallowed) {
      ExpectNothingHappened(c.busy);
    } else {
      ASSERT_TRUE(WaitForRequest(CommandRequest("show"), movie::ProfileOn));
    }
    World().End(busy);
    ASSERT_TRUE(WaitUntil([] { return !FindWindowA("TProgressDialog", nullptr) && !FindWindowA("TfrmGuiBackground", nullptr); },
                          5000));
  }
}

TEST_F(IntakeTest, OnlyMarkedMessagesAndKnownButtonsAreActedOn) {
  StartMachine();
  SkipPlayerEvents();
  struct Case {
    const char* name;
    uint32_t message, wParam, lParam;
  };
  const Case ignored[] = {
      {"button without the full sentinel", ButtonMessage, 0x155, button::A},
      {"button with another mark", ButtonMessage, 0x56, button::A},
      {"unknown button code", ButtonMessage, Sentinel, 0x97},
      {"code below the buttons", ButtonMessage, Sentinel, 0x8F},
      {"quit with another mark", QuitMessage, 0x56, 0},
      {"consumed 1", WM_USER + 1, Sentinel, 0},
      {"consumed 2 (low byte marked)", WM_USER + 2, 0x155, 0},
      {"consumed 3", WM_USER + 3, Sentinel, 0},
      {"foreground", WM_USER + 6, Sentinel, 0},
      {"not in the map", WM_USER + 4, Sentinel, button::A},
  };
  for (const Case& c : ignored) {
    ASSERT_TRUE(World().Deliver(c.message, c.wParam, c.lParam)) << c.name;
  }
  ExpectNothingHappened("messages the program does not act on");
  EXPECT_TRUE(World().Program()->IsRunning());

  ASSERT_TRUE(World().Deliver(ButtonMessage, Sentinel, button::A));
  ASSERT_TRUE(WaitForRequest(CommandRequest("show"), movie::ProfileOn)) << "a marked button is acted on";
  ASSERT_TRUE(WaitForRequest(CommandRequest("end"), movie::ProfileOn));
  ASSERT_TRUE(WaitForOverlay(false));
  // The quit message compares only the low byte of wParam.
  ASSERT_TRUE(World().Deliver(QuitMessage, 0x155, 0));
  EXPECT_EQ(World().Program()->WaitForExit(10000), 0u);
}

}  // namespace
}  // namespace zrtest
