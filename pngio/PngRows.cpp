#include "pngio/PngRows.h"

#include "pngio/PngLimits.h"

#include <windows.h>

namespace pngio {

uint32_t SamplesPerPixel(uint32_t colorType) {
  if (colorType == kPngColorTypeRgba) return 4;
  if (colorType == kPngColorTypeRgb) return 3;
  return 0;
}

bool AllocateRows(PngData& data, uint32_t width, uint32_t height, uint32_t colorType) {
  data = PngData{};
  const uint32_t samples = SamplesPerPixel(colorType);
  if (samples == 0 || !IsAcceptedSize(width, height)) return false;
  // The limits keep every product below well inside size_t, also on 32 bits.
  const size_t rowBytes = size_t{width} * samples;
  const size_t pointerBytes = size_t{height} * sizeof(uint8_t*);
  void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, pointerBytes + rowBytes * height);
  if (block == nullptr) return false;
  auto** rows = static_cast<uint8_t**>(block);
  uint8_t* samplesStart = static_cast<uint8_t*>(block) + pointerBytes;
  for (uint32_t y = 0; y < height; ++y) rows[y] = samplesStart + rowBytes * y;
  data.width = width;
  data.height = height;
  data.bitDepth = 8;
  data.colorType = colorType;
  data.rowBytes = static_cast<uint32_t>(rowBytes);
  data.rows = rows;
  return true;
}

void FreeRows(PngData& data) {
  if (data.rows != nullptr) HeapFree(GetProcessHeap(), 0, data.rows);
  data = PngData{};
}

}  // namespace pngio
