#include "pngio/generator/PictureCanvas.h"

#include <algorithm>
#include <cmath>

namespace pictures {
namespace {

uint8_t ToByte(float value) {
  return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Colour Mix(const Colour& from, const Colour& to, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}

PictureCanvas::PictureCanvas(uint32_t width, uint32_t height)
    : m_width(width), m_height(height), m_pixels(size_t{width} * height, Premultiplied{0, 0, 0, 0}) {}

void PictureCanvas::Paint(uint32_t x, uint32_t y, const Colour& colour, float coverage) {
  const float a = colour.a * std::clamp(coverage, 0.0f, 1.0f);
  if (a <= 0.0f) return;
  Premultiplied& p = m_pixels[size_t{y} * m_width + x];
  const float keep = 1.0f - a;
  p.r = colour.r * a + p.r * keep;
  p.g = colour.g * a + p.g * keep;
  p.b = colour.b * a + p.b * keep;
  p.a = a + p.a * keep;
}

void PictureCanvas::Set(uint32_t x, uint32_t y, const Colour& colour) {
  m_pixels[size_t{y} * m_width + x] = {colour.r * colour.a, colour.g * colour.a, colour.b * colour.a, colour.a};
}

void PictureCanvas::CopyTo(const PngData& data) const {
  for (uint32_t y = 0; y < m_height; ++y) {
    uint8_t* row = data.rows[y];
    for (uint32_t x = 0; x < m_width; ++x) {
      const Premultiplied& p = m_pixels[size_t{y} * m_width + x];
      const float unmultiply = p.a > 0.0f ? 1.0f / p.a : 0.0f;
      *row++ = ToByte(p.r * unmultiply);
      *row++ = ToByte(p.g * unmultiply);
      *row++ = ToByte(p.b * unmultiply);
      *row++ = ToByte(p.a);
    }
  }
}

}  // namespace pictures
