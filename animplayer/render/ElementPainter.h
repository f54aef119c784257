// Paints one element of a movie, at rest, into a sprite: its glow or shadow, its
// fill, its stroke and its text, in device pixels.
#pragma once

#include "animplayer/movie/Movie.h"
#include "animplayer/render/FontCollection.h"
#include "animplayer/render/Sprite.h"
#include "animplayer/render/VectorPath.h"

#include <string_view>

namespace animplayer {

struct PaintRequest {
  Transform toDevice;   // movie pixels to device pixels (a scale and a move)
  float scale;          // device pixels per movie pixel
  PixelRect clip;       // the sprite stays within this
  std::wstring_view text;  // for text elements
  float reveal = 1;     // the drawn part of an arc
  bool lit = false;     // paint with the element's lit colours
};

Sprite PaintElement(const Element& element, FontCollection& fonts, const PaintRequest& request);

}  // namespace animplayer
