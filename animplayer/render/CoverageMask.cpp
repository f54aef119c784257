#include "animplayer/render/CoverageMask.h"

#include <algorithm>
#include <cmath>

namespace animplayer {

PixelRect PixelRect::Intersect(const PixelRect& o) const {
  PixelRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

PixelRect PixelBounds(const Bounds& b) {
  if (b.IsEmpty()) return {};
  // Bounded so that absurd coordinates cannot overflow the conversion.
  auto clamp = [](float v) {
    constexpr float kLimit = 1 << 20;
    return std::clamp(v, -kLimit, kLimit);
  };
  return {static_cast<int>(std::floor(clamp(b.left))), static_cast<int>(std::floor(clamp(b.top))),
          static_cast<int>(std::ceil(clamp(b.right))) + 1, static_cast<int>(std::ceil(clamp(b.bottom))) + 1};
}

CoverageMask::CoverageMask(const PixelRect& area)
    : m_area(area), m_values(static_cast<size_t>(std::max(0, area.Width())) * std::max(0, area.Height()), 0.0f) {}

// After font-rs: every row a line crosses gets the signed area to its right,
// spread over the pixels that the crossing touches; a running sum along the row
// then gives the winding-weighted coverage of every pixel.
void CoverageMask::AccumulateLine(std::vector<float>& acc, Point p0, Point p1) const {
  const int width = m_area.Width(), height = m_area.Height();
  const size_t stride = static_cast<size_t>(width) + 2;
  if (p0.y == p1.y) return;
  float dir = 1;
  if (p0.y > p1.y) {
    std::swap(p0, p1);
    dir = -1;
  }
  const float dxdy = (p1.x - p0.x) / (p1.y - p0.y);
  float x = p0.x;
  if (p0.y < 0) x -= p0.y * dxdy;
  const int yEnd = std::min(height, static_cast<int>(std::ceil(p1.y)));
  for (int y = std::max(0, static_cast<int>(p0.y)); y < yEnd; ++y) {
    const size_t row = static_cast<size_t>(y) * stride;
    const float dy = std::min(static_cast<float>(y + 1), p1.y) - std::max(static_cast<float>(y), p0.y);
    const float xNext = x + dxdy * dy;
    const float d = dy * dir;
    // Clamped per row: what lies left of the area still covers the row from its edge.
    const float xa = std::clamp(std::min(x, xNext), 0.0f, static_cast<float>(width));
    const float xb = std::clamp(std::max(x, xNext), 0.0f, static_cast<float>(width));
    const float x0Floor = std::floor(xa);
    const int x0i = static_cast<int>(x0Floor);
    const float x1Ceil = std::ceil(xb);
    const int x1i = static_cast<int>(x1Ceil);
    if (x1i <= x0i + 1) {
      const float xmf = 0.5f * (xa + xb) - x0Floor;
      acc[row + x0i] += d - d * xmf;
      acc[row + x0i + 1] += d * xmf;
    } else {
      const float s = 1.0f / (xb - xa);
      const float x0f = xa - x0Floor;
      const float a0 = 0.5f * s * (1 - x0f) * (1 - x0f);
      const float x1f = xb - x1Ceil + 1;
      const float am = 0.5f * s * x1f * x1f;
      acc[row + x0i] += d * a0;
      if (x1i == x0i + 2) {
        acc[row + x0i + 1] += d * (1 - a0 - am);
      } else {
        const float a1 = s * (1.5f - x0f);
        acc[row + x0i + 1] += d * (a1 - a0);
        for (int xi = x0i + 2; xi < x1i - 1; ++xi) acc[row + xi] += d * s;
        const float a2 = a1 + static_cast<float>(x1i - x0i - 3) * s;
        acc[row + x1i - 1] += d * (1 - a2 - am);
      }
      acc[row + x1i] += d * am;
    }
    x = xNext;
  }
}

CoverageMask CoverageMask::Rasterise(const VectorPath& path, const PixelRect& clip) {
  CoverageMask mask(PixelBounds(path.GetBounds()).Intersect(clip));
  if (mask.m_area.IsEmpty()) return mask;
  const int width = mask.m_area.Width(), height = mask.m_area.Height();
  const size_t stride = static_cast<size_t>(width) + 2;
  std::vector<float> acc(stride * height + 2, 0.0f);
  const float ox = static_cast<float>(mask.m_area.left), oy = static_cast<float>(mask.m_area.top);
  for (const VectorPath::Contour& contour : path.Contours()) {
    if (contour.size() < 2) continue;
    for (size_t i = 0; i < contour.size(); ++i) {
      const Point a = contour[i], b = contour[(i + 1) % contour.size()];
      mask.AccumulateLine(acc, {a.x - ox, a.y - oy}, {b.x - ox, b.y - oy});
    }
  }
  for (int y = 0; y < height; ++y) {
    float sum = 0;
    const size_t row = static_cast<size_t>(y) * stride;
    float* out = &mask.m_values[static_cast<size_t>(y) * width];
    for (int x = 0; x < width; ++x) {
      sum += acc[row + x];
      out[x] = std::min(1.0f, std::fabs(sum));
    }
  }
  return mask;
}

namespace {

// One pass of a running-average box of 2r+1 samples over `count` values `step`
// apart; beyond the ends the coverage is 0.
void BoxPass(float* values, size_t count, size_t step, int r, std::vector<float>& padded) {
  const size_t reach = static_cast<size_t>(r);
  padded.assign(count + 2 * reach + 1, 0.0f);
  for (size_t i = 0; i < count; ++i) padded[i + reach] = values[i * step];
  const float norm = 1.0f / static_cast<float>(2 * r + 1);
  float sum = 0;
  for (size_t i = 0; i < 2 * reach; ++i) sum += padded[i];
  for (size_t i = 0; i < count; ++i) {
    sum += padded[i + 2 * reach];
    values[i * step] = sum * norm;
    sum -= padded[i];
  }
}

}  // namespace

void CoverageMask::Blur(float radius) {
  const int grow = static_cast<int>(std::ceil(radius));
  if (grow <= 0 || m_area.IsEmpty()) return;
  CoverageMask grown(m_area.Inflate(grow));
  const int width = grown.m_area.Width(), height = grown.m_area.Height();
  for (int y = m_area.top; y < m_area.bottom; ++y) {
    for (int x = m_area.left; x < m_area.right; ++x) {
      grown.m_values[static_cast<size_t>(y - grown.m_area.top) * width + (x - grown.m_area.left)] = At(x, y);
    }
  }
  // Three boxes approximate a Gaussian whose reach (three deviations) is the radius.
  const float sigma = radius / 3;
  const int box = std::max(1, static_cast<int>(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
  std::vector<float> scratch;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < height; ++y) BoxPass(&grown.m_values[static_cast<size_t>(y) * width], width, 1, box, scratch);
    for (int x = 0; x < width; ++x) BoxPass(&grown.m_values[x], height, width, box, scratch);
  }
  *this = std::move(grown);
}

void CoverageMask::Offset(int dx, int dy) {
  m_area = {m_area.left + dx, m_area.top + dy, m_area.right + dx, m_area.bottom + dy};
}

}  // namespace animplayer
