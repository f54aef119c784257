// "turbo_mode.png": the status picture, a glowing lightning bolt in an orange ring
// on a transparent ground.
#pragma once

#include "pngio/generator/PictureCanvas.h"

namespace pictures {

constexpr uint32_t kBadgeSize = 128;

void PaintTurboBadge(PictureCanvas& canvas);

}  // namespace pictures
