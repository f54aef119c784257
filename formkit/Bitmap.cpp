#include "formkit/Bitmap.h"

#include "formkit/Assert.h"
#include "formkit/Exception.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace formkit {

namespace {
int BytesPerPixelOf(TPixelFormat format) { return format == pf32bit ? 4 : 3; }

int StrideOf(TPixelFormat format, int width) { return (width * BytesPerPixelOf(format) + 3) & ~3; }
}  // namespace

int TBitmap::BytesPerLine() const { return StrideOf(m_format, m_width); }

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format != m_format) Rebuild(format, m_width, m_height);
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width != m_width || height != m_height) Rebuild(m_format, width, height);
}

std::uint8_t* TBitmap::ScanLine(int row) {
  ZR_ASSERT(row >= 0 && row < m_height && m_bits != nullptr);
  GdiFlush();  // drawing by GDI may still be queued
  return m_bits + static_cast<size_t>(row) * static_cast<size_t>(BytesPerLine());
}

const std::uint8_t* TBitmap::ScanLine(int row) const { return const_cast<TBitmap*>(this)->ScanLine(row); }

void TBitmap::Rebuild(TPixelFormat format, int width, int height) {
  BitmapHandle handle;
  std::uint8_t* bits = nullptr;
  if (width > 0 && height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(BytesPerPixelOf(format) * 8);
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    handle.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!handle) throw Exception("Out of system resources for a bitmap of " + std::to_string(width) + " x " + std::to_string(height));
    bits = static_cast<std::uint8_t*>(memory);
    const size_t newStride = static_cast<size_t>(StrideOf(format, width));
    std::memset(bits, 0, newStride * static_cast<size_t>(height));
    if (m_bits) {
      GdiFlush();
      const int oldPixel = BytesPerPixel();
      const int newPixel = BytesPerPixelOf(format);
      const size_t oldStride = static_cast<size_t>(BytesPerLine());
      const int rows = std::min(height, m_height);
      const int columns = std::min(width, m_width);
      for (int y = 0; y < rows; ++y) {
        const std::uint8_t* from = m_bits + static_cast<size_t>(y) * oldStride;
        std::uint8_t* to = bits + static_cast<size_t>(y) * newStride;
        if (oldPixel == newPixel) {
          std::memcpy(to, from, static_cast<size_t>(columns * newPixel));
          continue;
        }
        for (int x = 0; x < columns; ++x, from += oldPixel, to += newPixel) {
          std::memcpy(to, from, 3);
          if (newPixel == 4) to[3] = 255;  // 24-bit pixels are opaque
        }
      }
    }
  }
  m_handle = std::move(handle);
  m_bits = bits;
  m_format = format;
  m_width = width;
  m_height = height;
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  m_handle.Reset();
  m_bits = nullptr;
  m_width = m_height = 0;
  Rebuild(source.m_format, source.m_width, source.m_height);
  if (m_bits) {
    GdiFlush();
    std::memcpy(m_bits, source.m_bits, static_cast<size_t>(BytesPerLine()) * static_cast<size_t>(m_height));
  }
}

}  // namespace formkit
