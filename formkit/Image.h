// TImage: a graphic control that shows a bitmap. Its parent form paints it; with
// Stretch the bitmap is scaled over the image's own rectangle, otherwise drawn at
// its top-left corner in its own size. An image made with a window control as its
// owner is placed on that control.
#pragma once

#include "formkit/Bitmap.h"
#include "formkit/Control.h"

namespace formkit {

class TImage : public TControl {
 public:
  explicit TImage(TComponent* owner);

  TBitmap& Picture() { return m_picture; }
  const TBitmap& Picture() const { return m_picture; }

  bool Stretch() const { return m_stretch; }
  void SetStretch(bool stretch);

 protected:
  void Paint(HDC dc) override;

 private:
  TBitmap m_picture;
  bool m_stretch = false;
};

}  // namespace formkit
