// What a movie's call-back does in each MovieState, on the overlay form as
// start-up leaves it, with the real sequences behind it.
#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "osd/tests/support/DisplayWorld.h"
#include "osd/tests/support/EventRecorder.h"
#include "osd/tests/support/Pump.h"
#include "osd/tests/support/RecordingPlayer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using osdtest::EventRecorder;
using osdtest::ExternalCommand;
using osdtest::RecordingPlayer;

class MovieCallTest : public ::testing::Test {
 protected:
  MovieCallTest() : player(RecordingPlayer::Instance()) {}

  void SetUp() override {
    osdtest::EnsureDisplayWorld();
    OsdPresenter::Instance()->PlaceMovie(OsdPresenter::MovieProfileOn);
    player.Clear();
  }

  // The notice sequence ends the profile notices 2000 ms after their first call-back.
  bool EndReachesTheCurrentMovie() {
    return osdtest::PumpUntil(
        [&] {
          for (const auto& request : player.requests)
            if (request.text == ExternalCommand("end")) return true;
          return false;
        },
        6000);
  }

  RecordingPlayer& player;
};

TEST_F(MovieCallTest, ACallBackWithoutAnyMovieEventEverSetDoesNothing) {
  if (!MovieEvent().IsEmpty()) GTEST_SKIP() << "needs a process in which no movie event was set";
  MovieState = 5;
  OnMovieCall(0, 0, 0, 0);
  EXPECT_EQ(MovieState, 5);
  EXPECT_TRUE(MovieEvent().IsEmpty());
}

TEST_F(MovieCallTest, EachStateHandsTheCallOnAsItShould) {
  const struct {
    const char* name;
    int state;
    int stateAfter;
    bool invokesEvent;
    bool startsHideTimer;  // the digit movie has come in
    bool endsNotice;       // the profile notice ends 2000 ms later
  } cases[] = {
      {"power-saving auto", 2, 2, true, false, false},
      {"power-saving manual", 3, 3, true, false, false},
      {"warning", 5, 5, true, false, false},
      {"digits leaving", 6, 6, true, false, false},
      {"profile on, shown", 7, 7, true, false, false},
      {"profile off, shown", 8, 8, true, false, false},
      {"digits coming in", 4, 4, false, true, false},
      {"no such state", 9, 9, false, false, false},
      {"negative state", -1, -1, false, false, false},
      {"profile on", 0, MovieStateProfileOnShown, false, false, true},
      {"profile off", 1, MovieStateProfileOffShown, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EventRecorder recorder;
    FlashOsdForm->SetMovieEvent(formkit::Bind(&recorder, &EventRecorder::OnEvent));
    OsdPresenter::Instance()->SetHideTimer(false);
    player.Clear();
    MovieState = c.state;
    OnMovieCall(0, 0, 0, 0);
    EXPECT_EQ(MovieState, c.stateAfter);
    EXPECT_EQ(recorder.calls, c.invokesEvent ? 1 : 0);
    if (c.invokesEvent) {
      EXPECT_EQ(recorder.lastSender, nullptr);
    }
    EXPECT_EQ(FlashOsdForm->Timer->Enabled(), c.startsHideTimer);
    EXPECT_TRUE(player.requests.empty()) << "nothing is sent at once";
    if (c.endsNotice) {
      EXPECT_TRUE(EndReachesTheCurrentMovie());
      EXPECT_EQ(MovieState, c.stateAfter);
    }
  }
}

TEST_F(MovieCallTest, TheEventStaysSetAfterItWasInvoked) {
  EventRecorder recorder;
  FlashOsdForm->SetMovieEvent(formkit::Bind(&recorder, &EventRecorder::OnEvent));
  MovieState = 0;
  OnMovieCall(0, 0, 0, 0);
  EXPECT_EQ(MovieState, MovieStateProfileOnShown);
  EXPECT_EQ(recorder.calls, 0);
  OnMovieCall(0, 0, 0, 0);
  OnMovieCall(0, 0, 0, 0);
  EXPECT_EQ(recorder.calls, 2);
  EXPECT_TRUE(MovieEvent() == formkit::Bind(&recorder, &EventRecorder::OnEvent));
  // The notice that the first call-back started ends on its own, replacing the event.
  EXPECT_TRUE(EndReachesTheCurrentMovie());
  EXPECT_FALSE(MovieEvent() == formkit::Bind(&recorder, &EventRecorder::OnEvent));
}

}  // namespace
