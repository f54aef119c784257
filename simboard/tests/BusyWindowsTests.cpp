// BusyWindows.exe: the other programs' windows, shown or hidden, and closed on request.
#include "simboard/tests/TestSupport.h"

#include <gtest/gtest.h>

namespace simboard::test {
namespace {

TEST(BusyWindows, OpensTheWindowsAsAskedAndClosesThem) {
  struct Case {
    const char* arguments;
    int progress;    // -1 absent, 0 hidden, 1 visible
    int background;
  } cases[] = {{"--progress visible", 1, -1},
               {"--progress hidden --gui-background visible", 0, 1},
               {"--gui-background hidden", -1, 0}};
  for (const Case& c : cases) {
    TempFolder folder;
    const std::string output = folder.File("output.txt");
    ChildProcess busy(SimboardProgram("BusyWindows"), c.arguments, output);
    auto progress = [] { return FindWindowA("TProgressDialog", "ProgressDialog"); };
    auto background = [] { return FindWindowA("TfrmGuiBackground", nullptr); };
    ASSERT_TRUE(WaitUntil([&] { return ReadTextFile(output).find("ready") != std::string::npos; })) << c.arguments;
    if (c.progress >= 0) {
      EXPECT_EQ(IsWindowVisible(progress()) != 0, c.progress == 1) << c.arguments;
    }
    if (c.background >= 0) {
      EXPECT_EQ(IsWindowVisible(background()) != 0, c.background == 1) << c.arguments;
    }
    if (c.progress < 0) {
      EXPECT_EQ(progress(), nullptr) << c.arguments;
    }
    if (c.background < 0) {
      EXPECT_EQ(background(), nullptr) << c.arguments;
    }
    EXPECT_EQ(RunProgram("BusyWindows", "--close").exitCode, 0u) << c.arguments;
    EXPECT_EQ(busy.WaitForExit(), 0u) << c.arguments;
    EXPECT_EQ(progress(), nullptr);
    EXPECT_EQ(background(), nullptr);
  }
  EXPECT_EQ(RunProgram("BusyWindows", "--progress maybe").exitCode, 2u);
}

}  // namespace
}  // namespace simboard::test
