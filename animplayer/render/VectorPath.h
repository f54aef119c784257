// Outlines in device pixels, flattened into closed polygons as they are built. Curves
// are cut finely enough that no chord strays more than a fifth of a pixel.
#pragma once

#include "animplayer/movie/Movie.h"

#include <vector>

namespace animplayer {

// x' = a x + c y + e, y' = b x + d y + f
struct Transform {
  float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

  static Transform Scale(float s) { return {s, 0, 0, s, 0, 0}; }
  static Transform Translate(float x, float y) { return {1, 0, 0, 1, x, y}; }
  Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // This transform applied after `inner`.
  Transform After(const Transform& inner) const;
};

struct Bounds {
  float left, top, right, bottom;
  bool IsEmpty() const { return right <= left || bottom <= top; }
};

class VectorPath {
 public:
  using Contour = std::vector<Point>;

  // Builds through `transform` (from the caller's units to device pixels).
  void SetTransform(const Transform& transform) { m_transform = transform; }
  void MoveTo(Point p);
  void LineTo(Point p);
  void QuadTo(Point control, Point end);
  void CubicTo(Point c1, Point c2, Point end);
  void Close();

  void AddRect(float x, float y, float w, float h, float radius);
  void AddCircle(Point centre, float radius, bool clockwise = true);
  void AddSegments(const std::vector<PathSegment>& segments);

  // The outline of a line `width` wide along each polyline of `lines` (in device
  // pixels), with round joins and caps. Built as overlapping pieces wound the same
  // way, which the rasteriser merges.
  void AddStroke(const std::vector<Contour>& lines, float width);

  // Adds the contours of `other` as they are.
  void Append(const VectorPath& other);

  const std::vector<Contour>& Contours() const { return m_contours; }
  // The centre lines as built so far (before stroking), in device pixels.
  std::vector<Contour> Polylines() const;
  Bounds GetBounds() const;
  bool IsEmpty() const { return m_contours.empty(); }

 private:
  void AddDevicePoint(Point device);
  Contour* Current();

  Transform m_transform;
  std::vector<Contour> m_contours;
  std::vector<bool> m_closed;
  Point m_last{0, 0};  // in the caller's units
  Point m_start{0, 0};
};

}  // namespace animplayer
