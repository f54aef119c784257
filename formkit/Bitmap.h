// TBitmap: a device-independent bitmap (a DIB section) of 24 or 32 bits a pixel,
// stored top row first, with direct access to its rows. A new bitmap is empty
// (0 x 0) with 24 bits a pixel.
#pragma once

#include "formkit/Handle.h"
#include "formkit/Object.h"

#include <cstdint>

namespace formkit {

enum TPixelFormat { pf24bit, pf32bit };

class TBitmap : public TObject {
 public:
  TBitmap() = default;

  TPixelFormat PixelFormat() const { return m_format; }
  // Converts the pixels: 32 to 24 bits drops the alpha byte, 24 to 32 bits makes
  // every pixel opaque (alpha 255).
  void SetPixelFormat(TPixelFormat format);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Resizing keeps the pixels of the area that the old and new sizes share; new
  // pixels are 0 (black, transparent).
  void SetWidth(int width) { SetSize(width, m_height); }
  void SetHeight(int height) { SetSize(m_width, height); }
  void SetSize(int width, int height);
  bool Empty() const { return m_width == 0 || m_height == 0; }

  // The first byte of row `row` (0 is the top row): blue, green, red (and alpha
  // with 32 bits) for each pixel. Rows are padded to a multiple of 4 bytes.
  std::uint8_t* ScanLine(int row);
  const std::uint8_t* ScanLine(int row) const;
  int BytesPerPixel() const { return m_format == pf32bit ? 4 : 3; }
  int BytesPerLine() const;

  // The DIB section of the current format and size, nullptr when empty. It stays
  // valid until the format or size changes.
  HBITMAP Handle() const { return m_handle.Get(); }

  // Copies format, size and pixels.
  void Assign(const TBitmap& source);

 private:
  void Rebuild(TPixelFormat format, int width, int height);

  TPixelFormat m_format = pf24bit;
  int m_width = 0;
  int m_height = 0;
  BitmapHandle m_handle;
  std::uint8_t* m_bits = nullptr;  // owned by m_handle
};

}  // namespace formkit
