#include "animplayer/movie/MoviePlayback.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace animplayer {
namespace {

constexpr std::array<float, kPropertyCount> kNeutral = {1, 0, 0, 1, 1};  // opacity dx dy scale reveal

float Ease(Easing easing, float t) {
  switch (easing) {
    case Easing::Linear: return t;
    case Easing::EaseIn: return t * t * t;
    case Easing::EaseOut: return 1 - (1 - t) * (1 - t) * (1 - t);
    case Easing::EaseInOut: return t < 0.5f ? 4 * t * t * t : 1 - std::pow(-2 * t + 2, 3.0f) / 2;
    case Easing::BackOut: {
      constexpr float c1 = 1.70158f, c3 = c1 + 1;
      return 1 + c3 * std::pow(t - 1, 3.0f) + c1 * (t - 1) * (t - 1);
    }
  }
  return t;
}

float SmoothStep(float t) { return t * t * (3 - 2 * t); }

}  // namespace

MoviePlayback::MoviePlayback(std::shared_ptr<const Movie> movie, MovieContract contract)
    : m_movie(std::move(movie)), m_contract(contract), m_elementCount(m_movie ? m_movie->elements.size() : 0) {
  m_main.values.assign(m_elementCount, kNeutral);
  m_accent.values.assign(m_elementCount, kNeutral);
  m_lit.assign(m_elementCount, 0.0f);
}

void MoviePlayback::Apply(const MovieCommand& command, double nowMs) {
  Advance(nowMs);  // cut short from where things are now
  switch (command.kind) {
    case CommandKind::SetLabel:
      m_texts.label = command.text;
      ++m_texts.version;
      break;
    case CommandKind::SetContent:
      m_texts.content = command.text;
      ++m_texts.version;
      break;
    case CommandKind::SetDigits:
      m_texts.digits = command.number;
      ++m_texts.version;
      if (m_onScreen) StartAccent(TimelineKind::Digits, nowMs);
      break;
    case CommandKind::Play:
      SetLevel(*command.number, nowMs, m_onScreen);
      if (m_onScreen) StartAccent(TimelineKind::Play, nowMs);
      break;
    case CommandKind::Show:
      if (command.number) SetLevel(*command.number, nowMs, false);
      m_onScreen = true;
      StartMain(TimelineKind::Show, m_contract.afterShow, nowMs);
      break;
    case CommandKind::End:
      if (command.number) SetLevel(*command.number, nowMs, false);
      m_onScreen = false;
      StartMain(TimelineKind::End, m_contract.afterEnd, nowMs);
      break;
    case CommandKind::In:
      m_onScreen = true;
      StartMain(TimelineKind::In, m_contract.afterIn, nowMs);
      break;
    case CommandKind::Out:
      m_onScreen = false;
      StartMain(TimelineKind::Out, m_contract.afterOut, nowMs);
      break;
  }
}

void MoviePlayback::StartMain(TimelineKind kind, bool callsHost, double nowMs) {
  if (m_main.run && m_main.run->callsHost) ++m_hostCalls;
  const Timeline* timeline = m_movie ? m_movie->TimelineFor(kind) : nullptr;
  const uint32_t duration = !m_movie ? kFallbackAnimationMs : timeline ? timeline->durationMs : 0;
  m_main.run = Run{timeline, nowMs, duration, callsHost, m_main.values};
}

void MoviePlayback::StartAccent(TimelineKind kind, double nowMs) {
  const Timeline* timeline = m_movie ? m_movie->TimelineFor(kind) : nullptr;
  if (timeline == nullptr) return;
  m_accent.run = Run{timeline, nowMs, timeline->durationMs, false, std::vector<Values>(m_elementCount, kNeutral)};
}

float MoviePlayback::LitTarget(size_t element) const {
  const std::optional<int32_t>& level = m_movie->elements[element].level;
  return level && m_texts.level == level ? 1.0f : 0.0f;
}

void MoviePlayback::SetLevel(int32_t level, double nowMs, bool fade) {
  if (m_texts.level != level) {
    m_texts.level = level;
    ++m_texts.version;
  }
  if (!m_movie) return;
  const Timeline* play = m_movie->TimelineFor(TimelineKind::Play);
  if (fade && play != nullptr && play->durationMs > 0) {
    m_litFade = LitFade{nowMs, play->durationMs, m_lit};
    return;
  }
  m_litFade.reset();
  for (size_t i = 0; i < m_elementCount; ++i) m_lit[i] = LitTarget(i);
}

void MoviePlayback::Evaluate(const Run& run, double elapsedMs, std::vector<Values>& out) const {
  out = run.base;
  if (run.timeline == nullptr) return;
  // The first track of a property holds its start value until it begins; after
  // that the latest track to have begun decides.
  std::vector<std::array<bool, kPropertyCount>> decided(m_elementCount, std::array<bool, kPropertyCount>{});
  for (const Track& track : run.timeline->tracks) {
    const auto p = static_cast<size_t>(track.property);
    const float from = track.from.value_or(run.base[track.element][p]);
    if (elapsedMs >= track.startMs) {
      const double progress = track.lengthMs == 0 ? 1.0 : std::min(1.0, (elapsedMs - track.startMs) / track.lengthMs);
      out[track.element][p] = from + (track.to - from) * Ease(track.easing, static_cast<float>(progress));
    } else if (!decided[track.element][p]) {
      out[track.element][p] = from;
    }
    decided[track.element][p] = true;
  }
}

void MoviePlayback::Advance(double nowMs) {
  if (m_main.run) {
    const double elapsed = nowMs - m_main.run->startMs;
    const bool done = elapsed >= m_main.run->durationMs;
    Evaluate(*m_main.run, done ? m_main.run->durationMs : elapsed, m_main.values);
    if (done) {
      if (m_main.run->callsHost) ++m_hostCalls;
      m_main.run.reset();
    }
  }
  if (m_accent.run) {
    const double elapsed = nowMs - m_accent.run->startMs;
    if (elapsed >= m_accent.run->durationMs) {
      m_accent.values.assign(m_elementCount, kNeutral);
      m_accent.run.reset();
    } else {
      Evaluate(*m_accent.run, elapsed, m_accent.values);
    }
  }
  if (m_litFade) {
    const double progress = std::min(1.0, (nowMs - m_litFade->startMs) / m_litFade->durationMs);
    for (size_t i = 0; i < m_elementCount; ++i) {
      m_lit[i] = m_litFade->from[i] + (LitTarget(i) - m_litFade->from[i]) * SmoothStep(static_cast<float>(progress));
    }
    if (progress >= 1.0) m_litFade.reset();
  }
}

int MoviePlayback::TakeHostCalls() { return std::exchange(m_hostCalls, 0); }

ElementState MoviePlayback::StateOf(size_t element) const {
  const Values& m = m_main.values[element];
  const Values& a = m_accent.values[element];
  ElementState s;
  s.opacity = std::clamp(m[0] * a[0], 0.0f, 1.0f);
  s.offsetX = m[1] + a[1];
  s.offsetY = m[2] + a[2];
  s.scale = std::max(0.0f, m[3] * a[3]);
  s.reveal = std::clamp(m[4] * a[4], 0.0f, 1.0f);
  s.lit = m_lit[element];
  return s;
}

}  // namespace animplayer
