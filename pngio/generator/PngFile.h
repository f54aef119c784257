// Saves a painted picture as a PNG file through the library's WritePngEx.
#pragma once

#include "pngio/generator/PictureCanvas.h"

namespace pictures {

// False when the file cannot be written or the library refuses the picture; a
// partly written file is removed.
bool SavePng(const wchar_t* path, const PictureCanvas& canvas);

}  // namespace pictures
