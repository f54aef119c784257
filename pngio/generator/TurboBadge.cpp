#include "pngio/generator/TurboBadge.h"

#include "pngio/generator/Shapes.h"

#include <algorithm>
#include <cmath>

namespace pictures {

void PaintTurboBadge(PictureCanvas& canvas) {
  const float size = static_cast<float>(canvas.Width());
  const Point centre{size / 2, size / 2};
  const float outer = size * 0.46f, ringWidth = size * 0.07f;
  // The bolt, in units of the picture's size.
  std::vector<Point> bolt;
  for (Point p : {Point{0.56f, 0.16f}, Point{0.30f, 0.54f}, Point{0.47f, 0.54f}, Point{0.40f, 0.86f},
                  Point{0.72f, 0.42f}, Point{0.54f, 0.42f}, Point{0.64f, 0.16f}}) {
    bolt.push_back({p.x * size, p.y * size});
  }
  const Colour ground{0.06f, 0.05f, 0.05f, 0.82f};
  const Colour ringInner{1.00f, 0.62f, 0.10f, 1.0f};
  const Colour ringOuter{0.93f, 0.20f, 0.08f, 1.0f};
  const Colour glow{1.00f, 0.55f, 0.12f, 0.55f};
  const Colour boltCore{1.00f, 0.97f, 0.80f, 1.0f};
  for (uint32_t y = 0; y < canvas.Height(); ++y) {
    for (uint32_t x = 0; x < canvas.Width(); ++x) {
      const Point p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
      const float disc = CircleDistance(p, centre, outer);
      canvas.Paint(x, y, ground, Coverage(disc));
      const float ring = std::fabs(disc + ringWidth / 2) - ringWidth / 2;
      const float depth = std::clamp(-(disc) / ringWidth, 0.0f, 1.0f);
      canvas.Paint(x, y, Mix(ringOuter, ringInner, depth), Coverage(ring));
      const float toBolt = PolygonDistance(p, bolt);
      if (toBolt > 0) canvas.Paint(x, y, glow, std::exp(-toBolt / (size * 0.05f)) * Coverage(disc + ringWidth));
      canvas.Paint(x, y, boltCore, Coverage(toBolt));
    }
  }
}

}  // namespace pictures
