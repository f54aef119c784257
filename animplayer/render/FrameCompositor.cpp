#include "animplayer/render/FrameCompositor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace animplayer {
namespace {

constexpr float kUnscaled = 1e-3f;  // closer to 1 than this draws the sprite pixel for pixel
constexpr int kWeightOne = 256;      // fixed-point 1 of opacities and sampling weights

inline uint8_t Divide255(unsigned v) { return static_cast<uint8_t>((v + 128 + ((v + 128) >> 8)) >> 8); }

// Premultiplied "over" of one source pixel, scaled by `opacity` (0 to 256).
inline void Over(uint8_t* d, unsigned b, unsigned g, unsigned r, unsigned a, unsigned opacity) {
  a = (a * opacity) >> 8;
  if (a == 0) return;
  const unsigned keep = 255 - a;
  d[0] = static_cast<uint8_t>(std::min(255u, ((b * opacity) >> 8) + Divide255(d[0] * keep)));
  d[1] = static_cast<uint8_t>(std::min(255u, ((g * opacity) >> 8) + Divide255(d[1] * keep)));
  d[2] = static_cast<uint8_t>(std::min(255u, ((r * opacity) >> 8) + Divide255(d[2] * keep)));
  d[3] = static_cast<uint8_t>(std::min(255u, a + Divide255(d[3] * keep)));
}

}  // namespace

void FrameView::Clear() {
  for (int y = 0; y < height; ++y) std::memset(bits + static_cast<size_t>(y) * stride, 0, static_cast<size_t>(width) * 4);
}

void CompositeSprite(FrameView& frame, const Sprite& sprite, float opacityFraction, const Placement& placement) {
  const unsigned opacity = static_cast<unsigned>(std::lround(std::clamp(opacityFraction, 0.0f, 1.0f) * kWeightOne));
  if (sprite.IsEmpty() || opacity == 0 || placement.scale <= kUnscaled) return;
  const PixelRect& area = sprite.Area();
  const PixelRect frameArea{0, 0, frame.width, frame.height};
  if (std::fabs(placement.scale - 1) < kUnscaled) {
    // Whole-pixel moves keep the sprite sharp; at animation speeds nobody sees the rounding.
    const int dx = static_cast<int>(std::lround(placement.offsetX));
    const int dy = static_cast<int>(std::lround(placement.offsetY));
    const PixelRect target = PixelRect{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy}.Intersect(frameArea);
    for (int y = target.top; y < target.bottom; ++y) {
      const uint8_t* src = sprite.Row(y - dy) + static_cast<size_t>(target.left - dx - area.left) * 4;
      uint8_t* dst = frame.bits + static_cast<size_t>(y) * frame.stride + static_cast<size_t>(target.left) * 4;
      for (int x = target.left; x < target.right; ++x, src += 4, dst += 4) {
        if (src[3] != 0) Over(dst, src[0], src[1], src[2], src[3], opacity);
      }
    }
    return;
  }
  // Scaled: each frame pixel samples the sprite bilinearly at its inverse position.
  const float s = placement.scale;
  const Point pv = placement.pivot;
  auto forward = [&](float x, float y) {
    return Point{pv.x + (x - pv.x) * s + placement.offsetX, pv.y + (y - pv.y) * s + placement.offsetY};
  };
  const Point topLeft = forward(static_cast<float>(area.left), static_cast<float>(area.top));
  const Point bottomRight = forward(static_cast<float>(area.right), static_cast<float>(area.bottom));
  const PixelRect target = PixelBounds({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}).Intersect(frameArea);
  if (target.IsEmpty()) return;
  // The source column and its weight for every target column, worked out once.
  std::vector<int> columns(static_cast<size_t>(target.Width()));
  std::vector<unsigned> columnWeights(columns.size());
  for (int x = target.left; x < target.right; ++x) {
    const float sx = pv.x + (static_cast<float>(x) + 0.5f - placement.offsetX - pv.x) / s - 0.5f;
    const float fx = std::floor(sx);
    columns[static_cast<size_t>(x - target.left)] = static_cast<int>(fx);
    columnWeights[static_cast<size_t>(x - target.left)] = static_cast<unsigned>((sx - fx) * kWeightOne);
  }
  static const uint8_t kClear[4] = {0, 0, 0, 0};
  auto texel = [&](const uint8_t* row, int x) -> const uint8_t* {
    return row == nullptr || x < area.left || x >= area.right ? kClear : row + static_cast<size_t>(x - area.left) * 4;
  };
  for (int y = target.top; y < target.bottom; ++y) {
    const float sy = pv.y + (static_cast<float>(y) + 0.5f - placement.offsetY - pv.y) / s - 0.5f;
    const float fy = std::floor(sy);
    const int y0 = static_cast<int>(fy);
    const unsigned wy = static_cast<unsigned>((sy - fy) * kWeightOne);
    const uint8_t* row0 = y0 >= area.top && y0 < area.bottom ? sprite.Row(y0) : nullptr;
    const uint8_t* row1 = y0 + 1 >= area.top && y0 + 1 < area.bottom ? sprite.Row(y0 + 1) : nullptr;
    if (row0 == nullptr && row1 == nullptr) continue;
    uint8_t* dst = frame.bits + static_cast<size_t>(y) * frame.stride + static_cast<size_t>(target.left) * 4;
    for (size_t i = 0; i < columns.size(); ++i, dst += 4) {
      const int x0 = columns[i];
      const unsigned wx = columnWeights[i];
      const uint8_t* p00 = texel(row0, x0);
      const uint8_t* p10 = texel(row0, x0 + 1);
      const uint8_t* p01 = texel(row1, x0);
      const uint8_t* p11 = texel(row1, x0 + 1);
      if ((p00[3] | p10[3] | p01[3] | p11[3]) == 0) continue;
      unsigned out[4];
      for (int c = 0; c < 4; ++c) {
        const unsigned top = p00[c] * (kWeightOne - wx) + p10[c] * wx;
        const unsigned bottom = p01[c] * (kWeightOne - wx) + p11[c] * wx;
        out[c] = (top * (kWeightOne - wy) + bottom * wy) >> 16;
      }
      Over(dst, out[0], out[1], out[2], out[3], opacity);
    }
  }
}

}  // namespace animplayer
