#include "pngio/generator/SmokeBackground.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pictures {
namespace {

// Value noise on an integer lattice; the hash makes the smoke the same at every build.
float LatticeValue(int32_t x, int32_t y) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ 0x5BD1E995u;
  h ^= h >> 13;
  h *= 0x85EBCA6Bu;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

float ValueNoise(float x, float y) {
  const float fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  const float tx = SmoothStep(0.0f, 1.0f, x - fx), ty = SmoothStep(0.0f, 1.0f, y - fy);
  const float top = LatticeValue(ix, iy) + (LatticeValue(ix + 1, iy) - LatticeValue(ix, iy)) * tx;
  const float bottom = LatticeValue(ix, iy + 1) + (LatticeValue(ix + 1, iy + 1) - LatticeValue(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

// Fractal sum of octaves, each rotated a little so that no lattice lines show.
float Turbulence(float x, float y) {
  constexpr int kOctaves = 6;
  float sum = 0.0f, amplitude = 0.5f, norm = 0.0f;
  for (int i = 0; i < kOctaves; ++i) {
    sum += ValueNoise(x, y) * amplitude;
    norm += amplitude;
    const float rx = 1.6f * x + 1.2f * y + 17.3f;
    const float ry = -1.2f * x + 1.6f * y + 9.1f;
    x = rx;
    y = ry;
    amplitude *= 0.5f;
  }
  return sum / norm;
}

}  // namespace

void PaintSmoke(PictureCanvas& canvas) {
  const Colour deep{0.020f, 0.027f, 0.043f, 0.80f};
  const Colour smoke{0.16f, 0.19f, 0.25f, 0.88f};
  const Colour wisp{0.42f, 0.47f, 0.56f, 0.94f};
  const float scale = 3.2f / static_cast<float>(canvas.Height());
  for (uint32_t y = 0; y < canvas.Height(); ++y) {
    for (uint32_t x = 0; x < canvas.Width(); ++x) {
      const float px = static_cast<float>(x) * scale, py = static_cast<float>(y) * scale;
      // Warping the domain by noise itself gives the curling shapes of smoke.
      const float qx = Turbulence(px, py), qy = Turbulence(px + 5.2f, py + 1.3f);
      const float density = Turbulence(px + 3.5f * qx + 1.7f, py + 3.5f * qy + 9.2f);
      const float body = SmoothStep(0.30f, 0.70f, density);
      const float highlight = SmoothStep(0.62f, 0.86f, density);
      Colour c = Mix(Mix(deep, smoke, body), wisp, highlight * 0.7f);
      // Vignette: the corners fall back to the deep colour.
      const float dx = (static_cast<float>(x) / canvas.Width() - 0.5f) * 2.0f;
      const float dy = (static_cast<float>(y) / canvas.Height() - 0.5f) * 2.0f;
      const float edge = SmoothStep(0.35f, 1.6f, dx * dx * 0.7f + dy * dy);
      c = Mix(c, deep, edge * 0.85f);
      canvas.Set(x, y, c);
    }
  }
}

}  // namespace pictures
