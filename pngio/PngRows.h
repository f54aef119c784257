// The rows of a PngData: one block holding the row pointers followed by the samples,
// so that one allocation and one free serve every picture.
#pragma once

#include "pngio/pngio.h"

namespace pngio {

// Bytes a pixel takes in the rows for a colour type the library hands out (2 or 6);
// 0 for any other colour type.
uint32_t SamplesPerPixel(uint32_t colorType);

// Fills `data` with zeroed rows for the picture; false (and `data` cleared) when the
// size or colour type is not accepted or memory is short.
bool AllocateRows(PngData& data, uint32_t width, uint32_t height, uint32_t colorType);
// Frees the rows of `data` (if any) and clears it.
void FreeRows(PngData& data);

// Owns a PngData's rows until they are handed on with Release.
class OwnedPngData {
 public:
  OwnedPngData() = default;
  OwnedPngData(const OwnedPngData&) = delete;
  OwnedPngData& operator=(const OwnedPngData&) = delete;
  ~OwnedPngData() { FreeRows(m_data); }

  bool Allocate(uint32_t width, uint32_t height, uint32_t colorType) {
    FreeRows(m_data);
    return AllocateRows(m_data, width, height, colorType);
  }
  const PngData& Data() const { return m_data; }
  // Hands the rows over; this object holds none afterwards.
  PngData Release() {
    PngData out = m_data;
    m_data = PngData{};
    return out;
  }

 private:
  PngData m_data{};
};

}  // namespace pngio
