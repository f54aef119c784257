#include "animplayer/render/MovieRenderer.h"

#include "animplayer/render/ElementPainter.h"

#include <algorithm>
#include <cmath>

namespace animplayer {
namespace {

constexpr float kRevealStep = 1.0f / 512;  // finer changes of an arc are not painted again
constexpr float kLitEpsilon = 1e-3f;

struct Fit {
  float scale, left, top;
};

Fit FitMovie(const Movie& movie, const FrameView& frame) {
  const float scale = std::min(static_cast<float>(frame.width) / movie.width, static_cast<float>(frame.height) / movie.height);
  return {scale, (frame.width - movie.width * scale) / 2, (frame.height - movie.height * scale) / 2};
}

}  // namespace

std::wstring ElementText(const Element& element, const MovieTexts& texts) {
  switch (element.source) {
    case TextSource::Literal: return element.text;
    case TextSource::Label: return texts.label;
    case TextSource::Content: return texts.content;
    case TextSource::Digits: return texts.digits ? std::to_wstring(*texts.digits) : std::wstring();
    case TextSource::Level: return texts.level ? std::to_wstring(*texts.level) : std::wstring();
  }
  return {};
}

MovieRenderer::MovieRenderer(std::shared_ptr<const Movie> movie)
    : m_movie(std::move(movie)), m_cache(m_movie ? m_movie->elements.size() : 0) {
  // The faces are looked up now, with the player: the first lookup in a process
  // can take a good part of a second, too long for an animation's first frame.
  if (!m_movie) return;
  for (const Element& e : m_movie->elements) {
    if (e.kind == ElementKind::Text) FontsFor(e.bold);
  }
}

FontCollection& MovieRenderer::FontsFor(bool bold) {
  std::unique_ptr<FontCollection>& fonts = bold ? m_bold : m_regular;
  if (!fonts) fonts = std::make_unique<FontCollection>(m_movie->fonts, bold);
  return *fonts;
}

void MovieRenderer::Refresh(size_t index, const MoviePlayback& playback, const ElementState& state, const FrameView& frame) {
  const Element& e = m_movie->elements[index];
  Cached& c = m_cache[index];
  const Fit fit = FitMovie(*m_movie, frame);
  const uint32_t textVersion = e.kind == ElementKind::Text ? playback.Texts().version : 0;
  const float reveal = e.kind == ElementKind::Arc ? std::round(state.reveal / kRevealStep) * kRevealStep : 1;
  if (c.valid && c.scale == fit.scale && c.frameWidth == frame.width && c.frameHeight == frame.height &&
      c.textVersion == textVersion && c.reveal == reveal) {
    return;
  }
  PaintRequest request{{fit.scale, 0, 0, fit.scale, fit.left, fit.top}, fit.scale,
                       PixelRect{0, 0, frame.width, frame.height}.Inflate(std::max(frame.width, frame.height)), {}, reveal,
                       false};
  const std::wstring text = e.kind == ElementKind::Text ? ElementText(e, playback.Texts()) : std::wstring();
  request.text = text;
  FontCollection& fonts = FontsFor(e.bold);
  c.normal = PaintElement(e, fonts, request);
  if (e.level) {
    request.lit = true;
    c.lit = PaintElement(e, fonts, request);
  }
  c.valid = true;
  c.scale = fit.scale;
  c.frameWidth = frame.width;
  c.frameHeight = frame.height;
  c.textVersion = textVersion;
  c.reveal = reveal;
}

void MovieRenderer::Render(const MoviePlayback& playback, FrameView& frame) {
  frame.Clear();
  if (!m_movie || frame.width <= 0 || frame.height <= 0) return;
  const Fit fit = FitMovie(*m_movie, frame);
  for (size_t i = 0; i < m_movie->elements.size(); ++i) {
    const ElementState state = playback.StateOf(i);
    if (state.opacity <= 0 || state.scale <= 0) continue;
    Refresh(i, playback, state, frame);
    const Element& e = m_movie->elements[i];
    Placement placement;
    placement.scale = state.scale;
    placement.pivot = {fit.left + e.pivot.x * fit.scale, fit.top + e.pivot.y * fit.scale};
    placement.offsetX = state.offsetX * fit.scale;
    placement.offsetY = state.offsetY * fit.scale;
    const Cached& c = m_cache[i];
    // A level element cross-fades between its two looks.
    if (!e.level || state.lit < 1 - kLitEpsilon) CompositeSprite(frame, c.normal, state.opacity * (e.level ? 1 - state.lit : 1), placement);
    if (e.level && state.lit > kLitEpsilon) CompositeSprite(frame, c.lit, state.opacity * state.lit, placement);
  }
}

}  // namespace animplayer
