// How much of each pixel a shape covers, 0 to 1, over a rectangle of the device.
// Rasterising accumulates the exact signed area that every edge sweeps in each
// pixel, so edges come out anti-aliased without supersampling. Windings add up:
// contours wound the same way merge, opposite ones cut holes.
#pragma once

#include "animplayer/render/VectorPath.h"

#include <vector>

namespace animplayer {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  PixelRect Intersect(const PixelRect& o) const;
  PixelRect Inflate(int by) const { return {left - by, top - by, right + by, bottom + by}; }
};

// The pixels that a path's bounds touch.
PixelRect PixelBounds(const Bounds& bounds);

class CoverageMask {
 public:
  CoverageMask() = default;
  explicit CoverageMask(const PixelRect& area);

  // The coverage of `path` within `clip`.
  static CoverageMask Rasterise(const VectorPath& path, const PixelRect& clip);

  const PixelRect& Area() const { return m_area; }
  float At(int x, int y) const {
    if (x < m_area.left || y < m_area.top || x >= m_area.right || y >= m_area.bottom) return 0;
    return m_values[static_cast<size_t>(y - m_area.top) * m_area.Width() + (x - m_area.left)];
  }

  // Spreads the coverage like a Gaussian blur reaching about `radius` pixels; the
  // area grows by the radius.
  void Blur(float radius);
  // Moves the coverage by whole pixels.
  void Offset(int dx, int dy);

 private:
  void AccumulateLine(std::vector<float>& acc, Point p0, Point p1) const;

  PixelRect m_area;
  std::vector<float> m_values;
};

}  // namespace animplayer
