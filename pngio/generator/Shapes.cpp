#include "pngio/generator/Shapes.h"

#include <algorithm>
#include <cmath>

namespace pictures {

float CircleDistance(Point p, Point centre, float radius) {
  return std::hypot(p.x - centre.x, p.y - centre.y) - radius;
}

float PolygonDistance(Point p, const std::vector<Point>& corners) {
  // Distance to the nearest edge, signed by the even-odd crossing rule.
  float nearest = INFINITY;
  bool inside = false;
  for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
    const Point a = corners[j];
    const Point b = corners[i];
    const float ex = b.x - a.x, ey = b.y - a.y;
    const float wx = p.x - a.x, wy = p.y - a.y;
    const float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
    nearest = std::min(nearest, std::hypot(wx - ex * t, wy - ey * t));
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * ex / ey) inside = !inside;
  }
  return inside ? -nearest : nearest;
}

float Coverage(float d) { return std::clamp(0.5f - d, 0.0f, 1.0f); }

}  // namespace pictures
