// The two step buttons, from idle: the frequency shown and stepped, the time-out,
// and the commit to the overclocking companion only when a step was made.
#include "tests/e2e/E2eFixture.h"
#include "tests/support/Waiting.h"

namespace zrtest {
namespace {

constexpr uint32_t FrequencyMessage = 0x424;
constexpr DWORD StepGapMs = 500;

class DigitTest : public E2eTest {};

TEST_F(DigitTest, StepsAreShownAndTheChangedIndexIsCommittedAfterTheFade) {
  StartMachine();
  // The first press opens the display with the firmware's setting, unstepped.
  ASSERT_TRUE(World().Press(button::Up));
  ASSERT_TRUE(WaitForRequest(DigitsRequest(MHz(BoardFrequencyIndex)), movie::Digits));
  ASSERT_TRUE(WaitForRequest(CommandRequest("in"), movie::Digits));
  ASSERT_TRUE(WaitForOverlay(true));
  EXPECT_EQ(World().OverlayAlpha(), 229);
  ASSERT_TRUE(WaitForCallback()) << "the movie calls back after \"in\"";
  std::optional<PlayerEvent> last;
  const struct {
    uint32_t button;
    uint32_t index;
  } steps[] = {{button::Up, BoardFrequencyIndex + 1}, {button::Up, BoardFrequencyIndex + 2},
               {button::Down, BoardFrequencyIndex + 1}};
  for (const auto& step : steps) {
    PumpFor(StepGapMs);
    ASSERT_TRUE(World().Press(step.button));
    last = WaitForRequest(DigitsRequest(MHz(step.index)), movie::Digits);
    ASSERT_TRUE(last) << "index " << step.index;
  }
  // The power-saving companion went to level 1 once, at the first step.
  ASSERT_TRUE(WaitForQpsMessages(LevelOneMessage, 1));
  EXPECT_TRUE(OcMessages(FrequencyMessage).empty()) << "nothing is committed while the display runs";

  const auto out = WaitForRequest(CommandRequest("out"), movie::Digits);
  ASSERT_TRUE(out);
  // The step's request, its 100 ms for the movie, then 3000 ms without a press and 250 ms.
  ExpectDelay("time-out and close after the last step", static_cast<long>(out->tick - last->tick), 3350);
  // Too late: the display is closing.
  ASSERT_TRUE(World().Press(button::Up));
  const auto closed = WaitForCallback();
  ASSERT_TRUE(closed);
  const auto hidden = WatchFade();
  ASSERT_TRUE(hidden);
  ExpectDelay("the fade-out", static_cast<long>(*hidden - closed->tick), 250);

  ASSERT_TRUE(WaitForOcMessages(FrequencyMessage, 1));
  const auto commit = OcMessages(FrequencyMessage);
  EXPECT_TRUE(commit[0].sent) << "the commit waits for the companion";
  EXPECT_EQ(commit[0].lParam, BoardFrequencyIndex + 1) << "the index is sent, not the MHz figure";
  EXPECT_GE(commit[0].tick + Early, closed->tick + 250);
  EXPECT_EQ(World().Item(FrequencyItem), BoardFrequencyIndex + 1) << "the companion applied the setting";
  PumpFor(QuietMs);
  EXPECT_EQ(QpsMessages(LevelOneMessage).size(), 1u);
  EXPECT_EQ(OcMessages(FrequencyMessage).size(), 1u);
  for (const PlayerEvent& e : NewPlayerEvents())
    EXPECT_NE(e.text, DigitsRequest(MHz(BoardFrequencyIndex + 2))) << "the press after the time-out was ignored";
}

TEST_F(DigitTest, NothingIsCommittedWithoutAStep) {
  StartMachine();
  ASSERT_TRUE(World().Press(button::Down));
  ASSERT_TRUE(WaitForRequest(DigitsRequest(MHz(BoardFrequencyIndex)), movie::Digits));
  ASSERT_TRUE(WaitForRequest(CommandRequest("in"), movie::Digits));
  // The hide timer starts at the movie's first call-back.
  const auto ready = WaitForCallback();
  ASSERT_TRUE(ready);
  const auto out = WaitForRequest(CommandRequest("out"), movie::Digits);
  ASSERT_TRUE(out);
  ExpectDelay("time-out and close after the movie was ready", static_cast<long>(out->tick - ready->tick), 3250);
  ASSERT_TRUE(WaitForCallback());
  ASSERT_TRUE(WaitForOverlay(false));
  PumpFor(QuietMs);
  EXPECT_TRUE(World().OcLog().empty());
  EXPECT_TRUE(World().QpsLog().empty());
  EXPECT_EQ(World().Item(FrequencyItem), BoardFrequencyIndex);
}

}  // namespace
}  // namespace zrtest
