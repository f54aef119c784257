#include "animplayer/render/ElementPainter.h"

#include "animplayer/render/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace animplayer {
namespace {

constexpr float kFullCircle = 360;

template <class T>
const T& Pick(bool lit, const std::optional<T>& litValue, const T& normal) {
  return lit && litValue ? *litValue : normal;
}

std::optional<Colour> PickOptional(bool lit, const std::optional<Colour>& litValue, const std::optional<Colour>& normal) {
  return lit && litValue ? litValue : normal;
}

// A ring segment (flat ends), or a whole ring, in movie pixels.
void AddArc(VectorPath& path, const Element& e, float reveal) {
  const float sweep = std::clamp(e.sweepAngle, -kFullCircle, kFullCircle) * reveal;
  const float outer = e.radius + e.strokeWidth / 2, inner = std::max(0.0f, e.radius - e.strokeWidth / 2);
  const Point centre{e.centreX, e.centreY};
  if (std::fabs(sweep) >= kFullCircle) {
    path.AddCircle(centre, outer, true);
    if (inner > 0) path.AddCircle(centre, inner, false);
    return;
  }
  if (std::fabs(sweep) < 0.01f) return;
  constexpr float kDegrees = std::numbers::pi_v<float> / 180;
  const int steps = std::max(2, static_cast<int>(std::ceil(std::fabs(sweep) / 2)));
  const float a0 = e.startAngle * kDegrees, span = sweep * kDegrees;
  auto at = [&](float radius, int i) {
    const float a = a0 + span * static_cast<float>(i) / steps;
    return Point{centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
  };
  path.MoveTo(at(outer, 0));
  for (int i = 1; i <= steps; ++i) path.LineTo(at(outer, i));
  for (int i = steps; i >= 0; --i) path.LineTo(at(inner, i));
  path.Close();
  if (e.roundCaps) {
    const float capRadius = (outer - inner) / 2, middle = (outer + inner) / 2;
    // Caps wound like the segment so that they merge with it.
    const bool clockwise = sweep > 0;
    path.AddCircle(at(middle, 0), capRadius, clockwise);
    path.AddCircle(at(middle, steps), capRadius, clockwise);
  }
}

}  // namespace

Sprite PaintElement(const Element& e, FontCollection& fonts, const PaintRequest& r) {
  const bool lit = r.lit;
  VectorPath fill, stroke, text;
  fill.SetTransform(r.toDevice);
  float gradientTop = 0, gradientBottom = 1;  // movie pixels
  switch (e.kind) {
    case ElementKind::Rect:
      fill.AddRect(e.x, e.y, e.width, e.height, e.radius);
      gradientTop = e.y;
      gradientBottom = e.y + e.height;
      break;
    case ElementKind::Circle:
      fill.AddCircle({e.centreX, e.centreY}, e.radius);
      gradientTop = e.centreY - e.radius;
      gradientBottom = e.centreY + e.radius;
      break;
    case ElementKind::Path: {
      fill.AddSegments(e.path);
      const Bounds b = fill.GetBounds();
      gradientTop = (b.top - r.toDevice.f) / r.scale;
      gradientBottom = (b.bottom - r.toDevice.f) / r.scale;
      break;
    }
    case ElementKind::Arc:
      stroke.SetTransform(r.toDevice);
      AddArc(stroke, e, r.reveal);
      break;
    case ElementKind::Text: {
      TextStyle style;
      style.size = e.fontSize * r.scale;
      style.minSize = e.minFontSize * r.scale;
      style.align = e.align;
      style.verticalAlign = e.verticalAlign;
      style.wrap = e.wrap;
      style.tracking = e.tracking * r.scale;
      style.lineSpacing = e.lineSpacing;
      const Point origin = r.toDevice.Apply({e.x, e.y});
      text = LayOutText(fonts, r.text, style, {origin.x, origin.y, e.width * r.scale, e.height * r.scale}).outline;
      break;
    }
  }
  if (e.kind != ElementKind::Arc && e.kind != ElementKind::Text && e.stroke) {
    stroke.AddStroke(fill.Polylines(), e.strokeWidth * r.scale);
  }

  const std::optional<Colour> fillColour = PickOptional(lit, e.lit.fill, e.fill);
  const std::optional<Colour> fill2Colour = PickOptional(lit, e.lit.fill2, e.fill2);
  const std::optional<Colour> strokeColour = PickOptional(lit, e.lit.stroke, e.stroke);
  const std::optional<Colour> glowColour = PickOptional(lit, e.lit.glow, e.glow);

  VectorPath shape;  // everything the element covers, for its glow
  if (fillColour) shape.Append(fill);
  shape.Append(stroke);
  shape.Append(text);
  const float glowReach = e.glowRadius * r.scale;
  const int margin = static_cast<int>(std::ceil(glowReach + std::max(std::fabs(e.glowOffsetX), std::fabs(e.glowOffsetY)) * r.scale)) + 2;
  Sprite sprite(PixelBounds(shape.GetBounds()).Inflate(margin).Intersect(r.clip));
  if (sprite.IsEmpty()) return sprite;

  if (glowColour && glowColour->a > 0) {
    CoverageMask glow = CoverageMask::Rasterise(shape, sprite.Area().Inflate(-static_cast<int>(std::ceil(glowReach))));
    glow.Blur(glowReach);
    glow.Offset(static_cast<int>(std::lround(e.glowOffsetX * r.scale)), static_cast<int>(std::lround(e.glowOffsetY * r.scale)));
    sprite.Paint(glow, *glowColour);
  }
  const float y0 = r.toDevice.Apply({0, gradientTop}).y, y1 = r.toDevice.Apply({0, gradientBottom}).y;
  if (fillColour) {
    sprite.Paint(CoverageMask::Rasterise(fill, sprite.Area()), *fillColour, fill2Colour.value_or(*fillColour), y0, y1);
  }
  if (strokeColour && !stroke.IsEmpty()) sprite.Paint(CoverageMask::Rasterise(stroke, sprite.Area()), *strokeColour);
  if (!text.IsEmpty()) sprite.Paint(CoverageMask::Rasterise(text, sprite.Area()), Pick(lit, e.lit.text, e.textColour));
  return sprite;
}

}  // namespace animplayer
