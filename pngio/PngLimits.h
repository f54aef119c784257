// Bounds that keep hostile pictures from exhausting memory. The display's own
// pictures are far below them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pngio {

constexpr uint32_t kMaxSide = 16384;                   // pixels, per side
constexpr uint64_t kMaxPixels = uint64_t{1} << 24;      // 16 M pixels: 64 MB of RGBA rows
constexpr size_t kMaxFileBytes = size_t{64} << 20;      // bytes of PNG data read

// Whether a picture of this size may be decoded or allocated.
inline bool IsAcceptedSize(uint32_t width, uint32_t height) {
  return width != 0 && height != 0 && width <= kMaxSide && height <= kMaxSide &&
         uint64_t{width} * height <= kMaxPixels;
}

}  // namespace pngio
