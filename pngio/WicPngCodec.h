// PNG decoding and encoding through Windows Imaging Component. Every PNG variant
// (palette, grey, 16 bits a sample, interlaced, with or without transparency)
// is converted to the library's two row layouts: RGBA or RGB, 8 bits a sample.
// The calling thread must be in a COM apartment (see ComApartment).
#pragma once

#include "pngio/PngRows.h"
#include "pngio/PngStreamReader.h"

#include <cstdint>
#include <vector>

namespace pngio {

// Decodes `file` into `out` (colour type 6 when the file has alpha, else 2).
bool DecodePng(const PngFileBytes& file, OwnedPngData& out);
// Encodes `data` (colour type 2 or 6, 8 bits a sample) as a PNG file.
bool EncodePng(const PngData& data, std::vector<uint8_t>& out);

}  // namespace pngio
