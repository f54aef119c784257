#include "formkit/Image.h"

#include "formkit/WinControl.h"

#include <algorithm>

namespace formkit {

TImage::TImage(TComponent* owner) : TControl(owner) {
  if (auto* parent = dynamic_cast<TWinControl*>(owner)) SetParent(parent);
}

void TImage::SetStretch(bool stretch) {
  if (stretch == m_stretch) return;
  m_stretch = stretch;
  Invalidate();
}

void TImage::Paint(HDC dc) {
  if (m_picture.Empty() || Width() == 0 || Height() == 0) return;
  MemoryDcHandle source(CreateCompatibleDC(dc));
  if (!source) return;
  SelectionGuard selected(source.Get(), m_picture.Handle());
  if (m_stretch) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, Left(), Top(), Width(), Height(), source.Get(), 0, 0, m_picture.Width(),
               m_picture.Height(), SRCCOPY);
  } else {
    // Unstretched, the picture is cut at the image's edges.
    BitBlt(dc, Left(), Top(), std::min(Width(), m_picture.Width()), std::min(Height(), m_picture.Height()),
           source.Get(), 0, 0, SRCCOPY);
  }
}

}  // namespace formkit
