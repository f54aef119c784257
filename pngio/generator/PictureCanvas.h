// A picture being painted: premultiplied RGBA in floating point, painted by
// compositing coloured coverage over what is there ("over" operator).
#pragma once

#include "pngio/pngio.h"

#include <cstdint>
#include <vector>

namespace pictures {

struct Colour {
  float r, g, b, a;  // straight (not premultiplied), 0 to 1
};

Colour Mix(const Colour& from, const Colour& to, float t);

class PictureCanvas {
 public:
  PictureCanvas(uint32_t width, uint32_t height);

  uint32_t Width() const { return m_width; }
  uint32_t Height() const { return m_height; }

  // Composites `colour`, scaled by `coverage` (0 to 1), over the pixel.
  void Paint(uint32_t x, uint32_t y, const Colour& colour, float coverage);
  // Replaces the pixel.
  void Set(uint32_t x, uint32_t y, const Colour& colour);

  // Writes the picture into RGBA rows (colour type 6) with straight alpha.
  void CopyTo(const PngData& data) const;

 private:
  struct Premultiplied {
    float r, g, b, a;
  };
  uint32_t m_width;
  uint32_t m_height;
  std::vector<Premultiplied> m_pixels;
};

}  // namespace pictures
