// The overlay sequences from show to fade-out, on the overlay form as start-up
// leaves it, with the recording player library: the test makes the movies call
// back where real movies do.
#include "remote/DigitSequence.h"
#include "remote/LevelSequence.h"
#include "remote/NoticeSequence.h"

#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "osd/tests/support/DisplayWorld.h"
#include "osd/tests/support/Pump.h"
#include "osd/tests/support/RecordingController.h"
#include "osd/tests/support/RecordingPlayer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using osdtest::Controller;
using osdtest::ExternalCommand;
using osdtest::PumpFor;
using osdtest::PumpUntil;
using osdtest::RecordingPlayer;

class SequenceTest : public ::testing::Test {
 protected:
  SequenceTest() : player(RecordingPlayer::Instance()) {}

  void SetUp() override {
    osdtest::EnsureDisplayWorld();
    OsdPresenter::Instance()->PlaceMovie(OsdPresenter::MovieProfileOn);  // movies loaded
    player.Clear();
  }

  HWND Movie(int slot) const { return FlashOsdForm->Slot(slot).player->Handle(); }

  // The first request with this text, waiting for it up to `timeoutMs`.
  std::optional<osdtest::PlayerRequest> WaitForRequest(const std::string& text, DWORD timeoutMs) {
    std::optional<osdtest::PlayerRequest> found;
    PumpUntil(
        [&] {
          for (const auto& request : player.requests)
            if (request.text == text) {
              found = request;
              return true;
            }
          return false;
        },
        timeoutMs);
    return found;
  }

  // The movie calls back after its closing command: the fade runs to OnFadeDone.
  void ExpectFadeAfterCallBack(int slot) {
    PumpFor(300);
    EXPECT_EQ(Controller().fadesDone, 0) << "the fade starts only from the movie's call-back";
    player.CallBack(Movie(slot));
    ASSERT_TRUE(PumpUntil([] { return Controller().fadesDone > 0; }, 5000));
    EXPECT_FALSE(IsWindowVisible(FlashOsdForm->Handle()));
    EXPECT_EQ(Controller().fadeDoneThread, GetCurrentThreadId());
  }

  RecordingPlayer& player;
};

TEST_F(SequenceTest, AProfileNoticeEndsTwoSecondsAfterItsMovieFirstCalledBack) {
  const struct {
    const char* name;
    void (NoticeSequence::*show)(const char*);
    int movie;
    int stateAfterCallBack;
  } cases[] = {
      {"profile on", &NoticeSequence::ShowNoticeProfileOn, 0, MovieStateProfileOnShown},
      {"profile off", &NoticeSequence::ShowNoticeProfileOff, 1, MovieStateProfileOffShown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    osdtest::EnsureDisplayWorld();
    player.Clear();
    (NoticeSequence::Instance()->*c.show)("Profile A 3600MHz");
    EXPECT_TRUE(IsWindowVisible(Movie(c.movie)));
    EXPECT_FALSE(WaitForRequest(ExternalCommand("end"), 2300)) << "no end before the movie called back";
    player.CallBack(Movie(c.movie));
    EXPECT_EQ(MovieState, c.stateAfterCallBack);
    const ULONGLONG calledBack = osdtest::NowMs();
    const auto end = WaitForRequest(ExternalCommand("end"), 5000);
    ASSERT_TRUE(end);
    EXPECT_GE(end->tick - calledBack, 1950u);
    EXPECT_EQ(end->player, Movie(c.movie));
    ExpectFadeAfterCallBack(c.movie);
  }
}

TEST_F(SequenceTest, TimedNoticesEndAfterTheirOwnDelay) {
  const struct {
    const char* name;
    void (*show)();
    int movie;
    ULONGLONG delayMs;
  } cases[] = {
      {"power-saving auto", [] { NoticeSequence::Instance()->ShowNoticeQPSAuto("Auto"); }, 2, 3000},
      {"warning with 5000 ms", [] { NoticeSequence::Instance()->ShowNoticeWarning("Warning", "Text", 5000); }, 5,
       5000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    osdtest::EnsureDisplayWorld();
    player.Clear();
    c.show();
    const ULONGLONG shown = player.requests.back().tick;
    EXPECT_EQ(player.requests.back().text, ExternalCommand("show"));
    const auto end = WaitForRequest(ExternalCommand("end"), 10000);
    ASSERT_TRUE(end);
    EXPECT_GE(end->tick - shown, c.delayMs - 50);
    EXPECT_EQ(end->player, Movie(c.movie));
    ExpectFadeAfterCallBack(c.movie);
  }
}

TEST_F(SequenceTest, OnlyTheProfileMoviesCountAsReady) {
  NoticeSequence::Instance()->OnMovieReady(3);
  EXPECT_FALSE(WaitForRequest(ExternalCommand("end"), 2300));
  EXPECT_TRUE(player.requests.empty());
}

TEST_F(SequenceTest, TheLevelStaysUntilThreeSecondsAfterTheLastPressThenEndsWithIt) {
  Controller().onOsdTimeout = [] { LevelSequence::Instance()->ScheduleEnd(); };
  LevelSequence* level = LevelSequence::Instance();
  level->Show(1);
  PumpFor(1000);
  level->Update(2);
  PumpFor(1000);
  level->Update(3);
  const ULONGLONG lastPress = osdtest::NowMs();
  ASSERT_TRUE(PumpUntil([] { return Controller().osdTimeouts > 0; }, 6000));
  EXPECT_GE(osdtest::NowMs() - lastPress, 2950u);
  const auto end = WaitForRequest(ExternalCommand("End 3"), 3000);
  ASSERT_TRUE(end);
  EXPECT_GE(end->tick - lastPress, 3200u);
  EXPECT_EQ(Controller().osdTimeouts, 1);
  EXPECT_EQ(player.RequestTexts(), (std::vector<std::string>{ExternalCommand("show 1"), ExternalCommand("play 2"),
                                                             ExternalCommand("play 3"), ExternalCommand("End 3")}));
  ExpectFadeAfterCallBack(OsdPresenter::MovieQpsManual);
}

TEST_F(SequenceTest, TheLevelEndAfterResetSendsMinusOne) {
  LevelSequence::Instance()->Reset();
  EXPECT_EQ(LevelSequence::Instance()->Level(), -1);
  LevelSequence::Instance()->ScheduleEnd();
  EXPECT_TRUE(WaitForRequest(ExternalCommand("End -1"), 3000));
}

TEST_F(SequenceTest, TheDigitTimerStartsWhenTheMovieHasComeInAndTheEndLeavesWithOut) {
  Controller().onOsdTimeout = [] { DigitSequence::Instance()->ScheduleEnd(); };
  DigitSequence* digits = DigitSequence::Instance();
  digits->Show(35);
  EXPECT_EQ(player.RequestTexts(),
            (std::vector<std::string>{
                "<invoke name=\"set2Digit\" returntype=\"xml\"><arguments><string>35</string></arguments></invoke>",
                ExternalCommand("in")}));
  EXPECT_FALSE(FlashOsdForm->Timer->Enabled()) << "not before the movie has come in";
  player.CallBack(Movie(OsdPresenter::MovieDigits));
  EXPECT_TRUE(FlashOsdForm->Timer->Enabled());
  digits->Update(36);
  const ULONGLONG lastChange = osdtest::NowMs();
  EXPECT_TRUE(FlashOsdForm->Timer->Enabled());
  const auto out = WaitForRequest(ExternalCommand("out"), 6000);
  ASSERT_TRUE(out);
  EXPECT_GE(out->tick - lastChange, 3200u);
  EXPECT_EQ(MovieState, MovieStateDigitsLeaving);
  EXPECT_EQ(FlashOsdForm->CurrentPlayer(), FlashOsdForm->Slot(OsdPresenter::MovieDigits).player);
  ExpectFadeAfterCallBack(OsdPresenter::MovieDigits);
}

}  // namespace
