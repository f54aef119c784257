// A painted element: premultiplied BGRA pixels (the layout of a 32-bit DIB) over a
// rectangle of the device, painted colour by colour through coverage masks.
#pragma once

#include "animplayer/movie/Movie.h"
#include "animplayer/render/CoverageMask.h"

#include <cstdint>
#include <vector>

namespace animplayer {

class Sprite {
 public:
  Sprite() = default;
  explicit Sprite(const PixelRect& area);

  const PixelRect& Area() const { return m_area; }
  bool IsEmpty() const { return m_area.IsEmpty(); }
  const uint8_t* Row(int y) const { return &m_pixels[static_cast<size_t>(y - m_area.top) * m_area.Width() * 4]; }

  // Composites a colour over the sprite through `mask`; the colour runs from `top`
  // at device row `y0` to `bottom` at row `y1` (a vertical gradient).
  void Paint(const CoverageMask& mask, const Colour& top, const Colour& bottom, float y0, float y1);
  void Paint(const CoverageMask& mask, const Colour& colour) { Paint(mask, colour, colour, 0, 1); }

 private:
  PixelRect m_area;
  std::vector<uint8_t> m_pixels;
};

}  // namespace animplayer
