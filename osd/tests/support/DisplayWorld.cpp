#include "osd/tests/support/DisplayWorld.h"

#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "osd/PngReader.h"
#include "osd/Status.h"
#include "osd/tests/support/PictureFiles.h"
#include "osd/tests/support/RecordingController.h"
#include "remote/OsdMask.h"

#include "formkit/Application.h"
#include "pngio/pngio.h"

namespace osdtest {

void EnsureDisplayWorld() {
  static const bool made = [] {
    WritePlainPng(ResourceFolder() + "bg_smoke01.png", 64, 36, kPngColorTypeRgba);
    WritePlainPng(ResourceFolder() + "turbo_mode.png", StatusPictureWidth, StatusPictureHeight, kPngColorTypeRgba);
    formkit::TApplication* application = formkit::Application();
    application->SetShowMainForm(false);
    application->Initialize();
    application->CreateForm(FlashOsdForm);
    application->CreateForm(StatusForm);
    OsdMask::Instance()->Reset();
    return true;
  }();
  (void)made;
  OsdPresenter::Instance()->SetHideTimer(false);
  if (FlashOsdForm->CurrentPlayer()) OsdPresenter::Instance()->HideAll();
  FlashOsdForm->SetVisible(false);
  ResetController();
}

}  // namespace osdtest
