// The pixels of a player window: a 32-bit premultiplied DIB section, put on the
// screen with UpdateLayeredWindow so that every pixel keeps its own alpha.
#pragma once

#include "animplayer/render/FrameCompositor.h"
#include "formkit/Handle.h"

#include <windows.h>

namespace animplayer {

class LayeredSurface {
 public:
  // Gives the surface this size (its pixels are then undefined); false when the
  // bitmap cannot be made.
  bool Resize(int width, int height);
  FrameView View();
  // Shows the pixels on `window`, which keeps its position.
  bool Present(HWND window);

  int Width() const { return m_width; }
  int Height() const { return m_height; }

 private:
  formkit::MemoryDcHandle m_dc;
  formkit::BitmapHandle m_bitmap;
  uint8_t* m_bits = nullptr;
  int m_width = 0, m_height = 0;
};

}  // namespace animplayer
