// The running state of one movie: its texts, its level, and where every element
// stands in its animations at a given time. Commands start timelines; Advance moves
// them on; the host calls that fall due are counted for the player to deliver.
// Times are milliseconds on any steadily increasing clock.
#pragma once

#include "animplayer/movie/Movie.h"
#include "animplayer/movie/MovieCommand.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace animplayer {

// How long a command takes when there is no movie to animate it.
constexpr uint32_t kFallbackAnimationMs = 300;

// Where an element stands: the main timelines' values combined with the accent's.
struct ElementState {
  float opacity = 1;
  float offsetX = 0, offsetY = 0;
  float scale = 1;
  float reveal = 1;  // the drawn part of an arc, 0 to 1
  float lit = 0;     // 1 while the element's level is the movie's level
};

struct MovieTexts {
  std::wstring label;
  std::wstring content;
  std::optional<int32_t> digits;
  std::optional<int32_t> level;
  uint32_t version = 0;  // changes whenever one of the above does
};

class MoviePlayback {
 public:
  // `movie` may be null: the commands then take kFallbackAnimationMs each.
  MoviePlayback(std::shared_ptr<const Movie> movie, MovieContract contract);

  void Apply(const MovieCommand& command, double nowMs);
  void Advance(double nowMs);

  bool IsAnimating() const { return m_main.run || m_accent.run || m_litFade; }
  // The host calls due since the last take. A closing animation that a new command
  // cuts short still owes its call.
  int TakeHostCalls();

  const Movie* GetMovie() const { return m_movie.get(); }
  ElementState StateOf(size_t element) const;
  const MovieTexts& Texts() const { return m_texts; }

 private:
  using Values = std::array<float, kPropertyCount>;
  struct Run {
    const Timeline* timeline;  // null: nothing moves, only the time passes
    double startMs;
    uint32_t durationMs;
    bool callsHost;
    std::vector<Values> base;  // the values when the run began
  };
  struct Channel {
    std::vector<Values> values;
    std::optional<Run> run;
  };
  struct LitFade {
    double startMs;
    uint32_t durationMs;
    std::vector<float> from;
  };

  void StartMain(TimelineKind kind, bool callsHost, double nowMs);
  void StartAccent(TimelineKind kind, double nowMs);
  void SetLevel(int32_t level, double nowMs, bool fade);
  float LitTarget(size_t element) const;
  void Evaluate(const Run& run, double elapsedMs, std::vector<Values>& out) const;

  std::shared_ptr<const Movie> m_movie;
  MovieContract m_contract;
  MovieTexts m_texts;
  size_t m_elementCount;
  Channel m_main;    // absolute values
  Channel m_accent;  // relative values, neutral at rest
  std::vector<float> m_lit;
  std::optional<LitFade> m_litFade;
  bool m_onScreen = false;
  int m_hostCalls = 0;
};

}  // namespace animplayer
