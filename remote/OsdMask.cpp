#include "remote/OsdMask.h"

#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "osd/Status.h"

OsdMask* OsdMask::Instance() {
  static OsdMask* instance = new OsdMask;
  return instance;
}

void OsdMask::Reset() {
  FlashOsdForm->SetVisible(false);
  StatusPicture::Instance()->Load();
  OsdPresenter::Instance()->LoadBackground();
}

void OsdMask::Prepare() {
  OsdPresenter::Instance()->FitToScreen();
  OsdPresenter::Instance()->SetAlpha(NormalAlpha);
}
