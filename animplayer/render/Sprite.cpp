#include "animplayer/render/Sprite.h"

#include <algorithm>
#include <cmath>

namespace animplayer {

Sprite::Sprite(const PixelRect& area)
    : m_area(area), m_pixels(static_cast<size_t>(std::max(0, area.Width())) * std::max(0, area.Height()) * 4, 0) {}

void Sprite::Paint(const CoverageMask& mask, const Colour& top, const Colour& bottom, float y0, float y1) {
  const PixelRect area = mask.Area().Intersect(m_area);
  const float span = y1 - y0;
  for (int y = area.top; y < area.bottom; ++y) {
    const float t = span == 0 ? 0 : std::clamp((static_cast<float>(y) + 0.5f - y0) / span, 0.0f, 1.0f);
    const Colour c{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t,
                   top.a + (bottom.a - top.a) * t};
    uint8_t* row = &m_pixels[static_cast<size_t>(y - m_area.top) * m_area.Width() * 4];
    for (int x = area.left; x < area.right; ++x) {
      const float a = c.a * mask.At(x, y);
      if (a <= 0) continue;
      uint8_t* p = row + static_cast<size_t>(x - m_area.left) * 4;
      const float keep = 1 - a;
      p[0] = static_cast<uint8_t>(std::lround(c.b * a * 255 + p[0] * keep));
      p[1] = static_cast<uint8_t>(std::lround(c.g * a * 255 + p[1] * keep));
      p[2] = static_cast<uint8_t>(std::lround(c.r * a * 255 + p[2] * keep));
      p[3] = static_cast<uint8_t>(std::lround(a * 255 + p[3] * keep));
    }
  }
}

}  // namespace animplayer
