#include "osd/Status.h"

#include "osd/OverlayStyle.h"
#include "osd/PngReader.h"

TStatusForm* StatusForm = nullptr;

TStatusForm::TStatusForm(formkit::TComponent* owner) : TForm(owner), Background(new formkit::TImage(this)) {
  SetBorderStyle(formkit::bsNone);
  SetCaption("StatusForm");
  // Borderless: the window is exactly its client area.
  SetBounds(255, 138, 138, 136);
  Background->SetBounds(16, 16, 57, 49);
}

void TStatusForm::CreateParams(formkit::TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle = OverlayExStyle(params.ExStyle);
}

StatusPicture* StatusPicture::Instance() {
  static StatusPicture* instance = new StatusPicture;
  return instance;
}

void StatusPicture::Load() {
  const std::string path = ResourceFolder() + "turbo_mode.png";
  formkit::TBitmap& bitmap = StatusForm->Background->Picture();
  bitmap.SetPixelFormat(formkit::pf32bit);
  LoadPng(path, bitmap);
  m_maker.SetClickThrough(true);
  m_maker.SetUsePerPixelAlpha(true);
  m_maker.Update(*StatusForm, bitmap);
  StatusForm->SetClientSize(bitmap.Width(), bitmap.Height());
}
