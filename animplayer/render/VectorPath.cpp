#include "animplayer/render/VectorPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace animplayer {
namespace {

constexpr float kTolerance = 0.2f;  // device pixels
constexpr int kMaxCurvePieces = 100;
constexpr float kJoinCosine = 0.97f;  // turns sharper than about 14 degrees get a round join

float Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

int PiecesFor(float deviation) {
  return std::clamp(static_cast<int>(std::ceil(std::sqrt(deviation / kTolerance))), 1, kMaxCurvePieces);
}

float Scale(const Transform& t) { return std::sqrt(std::fabs(t.a * t.d - t.b * t.c)); }

}  // namespace

Transform Transform::After(const Transform& inner) const {
  return {a * inner.a + c * inner.b, b * inner.a + d * inner.b, a * inner.c + c * inner.d,
          b * inner.c + d * inner.d, a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f};
}

VectorPath::Contour* VectorPath::Current() { return m_contours.empty() ? nullptr : &m_contours.back(); }

void VectorPath::AddDevicePoint(Point device) {
  Contour* contour = Current();
  if (contour->empty() || Distance(contour->back(), device) > 1e-4f) contour->push_back(device);
}

void VectorPath::MoveTo(Point p) {
  if (Contour* contour = Current(); contour != nullptr && contour->size() < 2) {
    m_contours.pop_back();
    m_closed.pop_back();
  }
  m_contours.emplace_back();
  m_closed.push_back(false);
  m_last = m_start = p;
  AddDevicePoint(m_transform.Apply(p));
}

void VectorPath::LineTo(Point p) {
  if (Current() == nullptr) MoveTo(m_last);
  AddDevicePoint(m_transform.Apply(p));
  m_last = p;
}

void VectorPath::QuadTo(Point control, Point end) {
  if (Current() == nullptr) MoveTo(m_last);
  const Point p0 = m_last;
  const float deviation = Distance({p0.x - 2 * control.x + end.x, p0.y - 2 * control.y + end.y}, {0, 0}) *
                          Scale(m_transform) / 4;
  const int n = PiecesFor(deviation);
  for (int i = 1; i <= n; ++i) {
    const float t = static_cast<float>(i) / n, u = 1 - t;
    AddDevicePoint(m_transform.Apply({u * u * p0.x + 2 * u * t * control.x + t * t * end.x,
                                      u * u * p0.y + 2 * u * t * control.y + t * t * end.y}));
  }
  m_last = end;
}

void VectorPath::CubicTo(Point c1, Point c2, Point end) {
  if (Current() == nullptr) MoveTo(m_last);
  const Point p0 = m_last;
  const float d1 = Distance({p0.x - 2 * c1.x + c2.x, p0.y - 2 * c1.y + c2.y}, {0, 0});
  const float d2 = Distance({c1.x - 2 * c2.x + end.x, c1.y - 2 * c2.y + end.y}, {0, 0});
  const int n = PiecesFor(std::max(d1, d2) * Scale(m_transform) * 0.75f);
  for (int i = 1; i <= n; ++i) {
    const float t = static_cast<float>(i) / n, u = 1 - t;
    const float w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    AddDevicePoint(m_transform.Apply({w0 * p0.x + w1 * c1.x + w2 * c2.x + w3 * end.x,
                                      w0 * p0.y + w1 * c1.y + w2 * c2.y + w3 * end.y}));
  }
  m_last = end;
}

void VectorPath::Close() {
  if (Current() == nullptr) return;
  m_closed.back() = true;
  m_last = m_start;
}

void VectorPath::AddRect(float x, float y, float w, float h, float radius) {
  radius = std::clamp(radius, 0.0f, std::min(w, h) / 2);
  if (radius <= 0) {
    MoveTo({x, y});
    LineTo({x + w, y});
    LineTo({x + w, y + h});
    LineTo({x, y + h});
    Close();
    return;
  }
  constexpr float k = 0.5523f;  // cubic approximation of a quarter circle
  const float r = radius, kr = radius * k;
  MoveTo({x + r, y});
  LineTo({x + w - r, y});
  CubicTo({x + w - r + kr, y}, {x + w, y + r - kr}, {x + w, y + r});
  LineTo({x + w, y + h - r});
  CubicTo({x + w, y + h - r + kr}, {x + w - r + kr, y + h}, {x + w - r, y + h});
  LineTo({x + r, y + h});
  CubicTo({x + r - kr, y + h}, {x, y + h - r + kr}, {x, y + h - r});
  LineTo({x, y + r});
  CubicTo({x, y + r - kr}, {x + r - kr, y}, {x + r, y});
  Close();
}

void VectorPath::AddCircle(Point centre, float radius, bool clockwise) {
  const float deviceRadius = radius * Scale(m_transform);
  const int n = std::clamp(static_cast<int>(std::ceil(std::numbers::pi_v<float> / std::acos(
                               std::max(-1.0f, 1 - kTolerance / std::max(deviceRadius, kTolerance))))),
                           8, 1024);
  // Corners a little outside the circle give the polygon the circle's own area.
  const float step = 2 * std::numbers::pi_v<float> / static_cast<float>(n);
  const float corner = radius * std::sqrt(step / std::sin(step));
  for (int i = 0; i <= n; ++i) {
    const float angle = step * static_cast<float>(clockwise ? i : -i);
    const Point p{centre.x + corner * std::cos(angle), centre.y + corner * std::sin(angle)};
    if (i == 0) MoveTo(p);
    else LineTo(p);
  }
  Close();
}

void VectorPath::AddSegments(const std::vector<PathSegment>& segments) {
  for (const PathSegment& s : segments) {
    switch (s.kind) {
      case PathSegment::Kind::Move: MoveTo(s.points[0]); break;
      case PathSegment::Kind::Line: LineTo(s.points[0]); break;
      case PathSegment::Kind::Quad: QuadTo(s.points[0], s.points[1]); break;
      case PathSegment::Kind::Cubic: CubicTo(s.points[0], s.points[1], s.points[2]); break;
      case PathSegment::Kind::Close: Close(); break;
    }
  }
}

void VectorPath::Append(const VectorPath& other) {
  m_contours.insert(m_contours.end(), other.m_contours.begin(), other.m_contours.end());
  m_closed.insert(m_closed.end(), other.m_closed.begin(), other.m_closed.end());
}

std::vector<VectorPath::Contour> VectorPath::Polylines() const {
  std::vector<Contour> lines = m_contours;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (m_closed[i] && lines[i].size() > 1) lines[i].push_back(lines[i].front());
  }
  return lines;
}

void VectorPath::AddStroke(const std::vector<Contour>& lines, float width) {
  const Transform saved = m_transform;
  m_transform = Transform{};
  const float half = width / 2;
  for (const Contour& line : lines) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
      const Point a = line[i], b = line[i + 1];
      const float length = Distance(a, b);
      if (length <= 0) continue;
      const float nx = -(b.y - a.y) / length * half, ny = (b.x - a.x) / length * half;
      // Each piece wound the same way, so that overlaps add up instead of cancelling.
      MoveTo({a.x + nx, a.y + ny});
      LineTo({a.x - nx, a.y - ny});
      LineTo({b.x - nx, b.y - ny});
      LineTo({b.x + nx, b.y + ny});
      Close();
      if (m_contours.back().size() >= 3) {
        const Contour& q = m_contours.back();
        const float area = (q[1].x - q[0].x) * (q[2].y - q[0].y) - (q[2].x - q[0].x) * (q[1].y - q[0].y);
        if (area < 0) std::reverse(m_contours.back().begin(), m_contours.back().end());
      }
    }
    // Round joins where the line turns, round caps at the ends (also where a closed
    // line meets itself).
    for (size_t i = 0; i < line.size(); ++i) {
      bool needsDisc = i == 0 || i + 1 == line.size();
      if (!needsDisc) {
        const Point in{line[i].x - line[i - 1].x, line[i].y - line[i - 1].y};
        const Point out{line[i + 1].x - line[i].x, line[i + 1].y - line[i].y};
        const float cosine = (in.x * out.x + in.y * out.y) / (std::hypot(in.x, in.y) * std::hypot(out.x, out.y));
        needsDisc = cosine < kJoinCosine;
      }
      if (needsDisc) AddCircle(line[i], half);
    }
  }
  m_transform = saved;
}

Bounds VectorPath::GetBounds() const {
  Bounds b{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const Contour& c : m_contours) {
    for (const Point& p : c) {
      b.left = std::min(b.left, p.x);
      b.top = std::min(b.top, p.y);
      b.right = std::max(b.right, p.x);
      b.bottom = std::max(b.bottom, p.y);
    }
  }
  return b;
}

}  // namespace animplayer
