// The overlay as the program shows it: a full-screen layered window at a constant
// opacity, with the smoke picture stretched over it. The screenshot host puts the
// movies' player windows on top of it.
#pragma once

#include "formkit/Handle.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace screenshots {

class SmokeOverlay {
 public:
  // The overlay, shown, or nothing when the picture cannot be read or the window made.
  static std::unique_ptr<SmokeOverlay> Create(const std::wstring& picturePath, BYTE opacity);
  SmokeOverlay(const SmokeOverlay&) = delete;
  SmokeOverlay& operator=(const SmokeOverlay&) = delete;
  ~SmokeOverlay();

  HWND Window() const { return m_window.Get(); }

 private:
  SmokeOverlay() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  formkit::WindowHandle m_window;
  int m_width = 0, m_height = 0;
  std::vector<uint8_t> m_pixels;  // bottom-up 32-bit rows of the picture
};

}  // namespace screenshots
