// Timelines, host calls and levels on a clock the test sets.
#include "animplayer/movie/MovieParser.h"
#include "animplayer/movie/MoviePlayback.h"

#include <gtest/gtest.h>

#include <memory>

namespace animplayer {
namespace {

// Two elements; every timeline has a known length.
std::shared_ptr<const Movie> SmallMovie(const wchar_t* callsHost) {
  const std::wstring text = std::wstring(L"zentrik-movie 1\nsize 100 100\ncalls-host ") + callsHost +
                            L"\n"
                            L"rect card 0 0 100 100 fill=#000000\n"
                            L"rect bar 0 0 10 10 level=2 fill=#000000 lit-fill=#FFFFFF\n"
                            L"timeline show 400\n"
                            L"  animate * opacity 0 1 0 200\n"
                            L"  animate card dx 50 0 100 300\n"
                            L"timeline end 300\n"
                            L"  animate * opacity * 0 0 300\n"
                            L"timeline in 200\n"
                            L"  animate card dx -80 0 0 200\n"
                            L"timeline out 250\n"
                            L"  animate card dx * 80 0 250\n"
                            L"timeline play 100\n"
                            L"  animate bar scale 2 1 0 100\n"
                            L"timeline digits 120\n"
                            L"  animate card dy 10 0 0 120\n";
  MovieParseError error;
  std::optional<Movie> movie = ParseMovie(text, &error);
  EXPECT_TRUE(movie.has_value()) << error.message;
  return std::make_shared<const Movie>(std::move(*movie));
}

MovieCommand Command(CommandKind kind, std::optional<int32_t> number = std::nullopt) { return {kind, number, {}}; }

TEST(MoviePlayback, CallsTheHostOnlyWhenTheAnimationThatClosesAPointHasRun) {
  // Each step: command at a time, then the host calls counted up to a later time.
  const struct {
    const char* name;
    const wchar_t* callsHost;
    CommandKind kind;
    uint32_t durationMs;
    bool calls;
  } cases[] = {
      {"show, called after show", L"show end", CommandKind::Show, 400, true},
      {"show, not called after show", L"end", CommandKind::Show, 400, false},
      {"end", L"show end", CommandKind::End, 300, true},
      {"in", L"in out", CommandKind::In, 200, true},
      {"out", L"in out", CommandKind::Out, 250, true},
      {"out, not called", L"in", CommandKind::Out, 250, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::shared_ptr<const Movie> movie = SmallMovie(c.callsHost);
    MoviePlayback playback(movie, movie->callsHost);
    playback.Apply(Command(c.kind), 1000);
    EXPECT_TRUE(playback.IsAnimating());
    playback.Advance(1000 + c.durationMs - 1);
    EXPECT_EQ(playback.TakeHostCalls(), 0) << "not before the animation is over";
    playback.Advance(1000 + c.durationMs);
    EXPECT_EQ(playback.TakeHostCalls(), c.calls ? 1 : 0);
    EXPECT_FALSE(playback.IsAnimating()) << "at rest nothing runs";
    playback.Advance(5000);
    EXPECT_EQ(playback.TakeHostCalls(), 0) << "once only";
  }
}

TEST(MoviePlayback, ACommandCuttingAnAnimationShortStillGivesItsCall) {
  const std::shared_ptr<const Movie> movie = SmallMovie(L"show end");
  MoviePlayback playback(movie, movie->callsHost);
  playback.Apply(Command(CommandKind::Show), 0);
  playback.Apply(Command(CommandKind::End), 100);
  EXPECT_EQ(playback.TakeHostCalls(), 1) << "owed by the cut show";
  playback.Advance(400);
  EXPECT_EQ(playback.TakeHostCalls(), 1) << "the end's own";
}

TEST(MoviePlayback, WithoutAMovieEveryCommandTakesTheFallbackTime) {
  MovieContract contract;
  contract.afterShow = contract.afterEnd = true;
  MoviePlayback playback(nullptr, contract);
  playback.Apply(Command(CommandKind::Show), 0);
  playback.Advance(kFallbackAnimationMs - 1);
  EXPECT_EQ(playback.TakeHostCalls(), 0);
  playback.Advance(kFallbackAnimationMs);
  EXPECT_EQ(playback.TakeHostCalls(), 1);
  playback.Apply(Command(CommandKind::Play, 2), 1000);
  playback.Apply(Command(CommandKind::SetDigits, 5), 1000);
  EXPECT_FALSE(playback.IsAnimating()) << "value changes have nothing to animate";
  playback.Apply(Command(CommandKind::End, 2), 1000);
  playback.Advance(1000 + kFallbackAnimationMs);
  EXPECT_EQ(playback.TakeHostCalls(), 1);
}

TEST(MoviePlayback, TracksHoldTheirStartValuesAndLeaveTheirEndValues) {
  const std::shared_ptr<const Movie> movie = SmallMovie(L"end");
  MoviePlayback playback(movie, movie->callsHost);
  playback.Apply(Command(CommandKind::Show), 0);
  playback.Advance(50);
  EXPECT_FLOAT_EQ(playback.StateOf(0).offsetX, 50) << "before its start a track holds its first value";
  EXPECT_NEAR(playback.StateOf(0).opacity, 0.25f, 1e-5);
  playback.Advance(250);
  EXPECT_NEAR(playback.StateOf(0).offsetX, 25, 1e-4);
  playback.Advance(400);
  EXPECT_FLOAT_EQ(playback.StateOf(0).offsetX, 0);
  EXPECT_FLOAT_EQ(playback.StateOf(1).opacity, 1);
  // "out" starts from where the card is ("*"), the others keep their values.
  playback.Apply(Command(CommandKind::Out), 1000);
  playback.Advance(1125);
  EXPECT_NEAR(playback.StateOf(0).offsetX, 40, 1e-4);
  EXPECT_FLOAT_EQ(playback.StateOf(1).opacity, 1);
  playback.Advance(2000);
  EXPECT_FLOAT_EQ(playback.StateOf(0).offsetX, 80);
}

TEST(MoviePlayback, AccentsPlayOnlyOnScreenAndReturnToNeutral) {
  const std::shared_ptr<const Movie> movie = SmallMovie(L"in out");
  MoviePlayback playback(movie, movie->callsHost);
  playback.Apply(Command(CommandKind::SetDigits, 133), 0);
  EXPECT_FALSE(playback.IsAnimating()) << "a preset value is not animated";
  EXPECT_EQ(playback.Texts().digits, 133);
  playback.Apply(Command(CommandKind::In), 100);
  playback.Advance(300);
  EXPECT_EQ(playback.TakeHostCalls(), 1);
  const uint32_t version = playback.Texts().version;
  playback.Apply(Command(CommandKind::SetDigits, 4200), 1000);
  EXPECT_NE(playback.Texts().version, version);
  playback.Advance(1060);
  EXPECT_NEAR(playback.StateOf(0).offsetY, 5, 1e-4);
  playback.Advance(1120);
  EXPECT_FLOAT_EQ(playback.StateOf(0).offsetY, 0);
  EXPECT_FALSE(playback.IsAnimating());
  EXPECT_EQ(playback.TakeHostCalls(), 0) << "value changes never call the host";
}

TEST(MoviePlayback, TheLevelLightsItsElements) {
  const std::shared_ptr<const Movie> movie = SmallMovie(L"end");
  MoviePlayback playback(movie, movie->callsHost);
  playback.Apply(Command(CommandKind::Show, 2), 0);
  EXPECT_FLOAT_EQ(playback.StateOf(1).lit, 1) << "shown with its level at once";
  EXPECT_FLOAT_EQ(playback.StateOf(0).lit, 0) << "elements without a level never light";
  playback.Advance(500);
  playback.Apply(Command(CommandKind::Play, 3), 1000);
  EXPECT_EQ(playback.Texts().level, 3);
  playback.Advance(1050);
  const float half = playback.StateOf(1).lit;
  EXPECT_GT(half, 0);
  EXPECT_LT(half, 1) << "the light fades over the play timeline";
  EXPECT_NEAR(playback.StateOf(1).scale, 1.5f, 1e-4) << "with the play accent";
  playback.Advance(1100);
  EXPECT_FLOAT_EQ(playback.StateOf(1).lit, 0);
  playback.Apply(Command(CommandKind::End, 2), 2000);
  EXPECT_FLOAT_EQ(playback.StateOf(1).lit, 1) << "End with a level sets it";
  EXPECT_EQ(playback.TakeHostCalls(), 0);
  playback.Advance(2300);
  EXPECT_EQ(playback.TakeHostCalls(), 1);
}

}  // namespace
}  // namespace animplayer
