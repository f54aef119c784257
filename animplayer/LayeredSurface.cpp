#include "animplayer/LayeredSurface.h"

namespace animplayer {

bool LayeredSurface::Resize(int width, int height) {
  if (width == m_width && height == m_height && m_bitmap) return true;
  m_bitmap.Reset();
  m_bits = nullptr;
  m_width = m_height = 0;
  if (width <= 0 || height <= 0) return false;
  if (!m_dc) m_dc.Reset(CreateCompatibleDC(nullptr));
  if (!m_dc) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_bitmap.Reset(CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!m_bitmap || bits == nullptr) {
    m_bitmap.Reset();
    return false;
  }
  m_bits = static_cast<uint8_t*>(bits);
  m_width = width;
  m_height = height;
  return true;
}

FrameView LayeredSurface::View() { return {m_bits, m_width, m_height, m_width * 4}; }

bool LayeredSurface::Present(HWND window) {
  if (!m_bitmap) return false;
  GdiFlush();  // the pixels were written directly, past GDI
  formkit::SelectionGuard selected(m_dc.Get(), m_bitmap.Get());
  SIZE size{m_width, m_height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  return UpdateLayeredWindow(window, nullptr, nullptr, &size, m_dc.Get(), &source, 0, &blend, ULW_ALPHA) != FALSE;
}

}  // namespace animplayer
