// "bg_smoke01.png": the dark, translucent smoke that the overlay spreads over the
// whole screen behind the movies. Soft wisps over a deep blue-grey, darker towards
// the corners so that the centred movies stand out.
#pragma once

#include "pngio/generator/PictureCanvas.h"

namespace pictures {

constexpr uint32_t kSmokeWidth = 1280;  // stretched to the screen by the overlay
constexpr uint32_t kSmokeHeight = 720;

void PaintSmoke(PictureCanvas& canvas);

}  // namespace pictures
