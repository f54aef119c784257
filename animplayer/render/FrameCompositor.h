// Puts sprites on a frame: premultiplied BGRA rows, top-down (the bits of a 32-bit
// DIB section), with an opacity and a scale-and-move placement.
#pragma once

#include "animplayer/movie/Movie.h"
#include "animplayer/render/Sprite.h"

#include <cstdint>

namespace animplayer {

struct FrameView {
  uint8_t* bits;
  int width, height;
  int stride;  // bytes from one row to the next

  void Clear();
};

// Scaling by `scale` about `pivot`, then moving by (offsetX, offsetY); device pixels.
struct Placement {
  float scale = 1;
  Point pivot{0, 0};
  float offsetX = 0, offsetY = 0;
};

void CompositeSprite(FrameView& frame, const Sprite& sprite, float opacity, const Placement& placement);

}  // namespace animplayer
