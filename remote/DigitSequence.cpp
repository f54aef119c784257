#include "remote/DigitSequence.h"

#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "remote/MaskFanoutThread.h"
#include "remote/WaitThread.h"

DigitSequence* DigitSequence::Instance() {
  static DigitSequence* instance = new DigitSequence;
  return instance;
}

void DigitSequence::Show(int value) {
  OsdPresenter* presenter = OsdPresenter::Instance();
  presenter->PlaceMovie(OsdPresenter::MovieDigits);
  presenter->ShowDigits(value);
  // The countdown starts once the movie has come in (OnMovieReady).
  presenter->SetHideTimer(false);
}

void DigitSequence::OnMovieReady() { OsdPresenter::Instance()->SetHideTimer(true); }

void DigitSequence::Update(int value) {
  OsdPresenter* presenter = OsdPresenter::Instance();
  presenter->SetHideTimer(false);
  presenter->SetDigits(value);
  presenter->SetHideTimer(true);
}

void DigitSequence::ScheduleEnd() { RunAfterDelay(EndDelayMs, formkit::Bind(this, &DigitSequence::End)); }

void DigitSequence::End(formkit::TObject*) {
  FlashOsdForm->SetMovieEvent(formkit::Bind(this, &DigitSequence::StartFade));
  OsdPresenter::Instance()->LeaveDigits();
}

void DigitSequence::StartFade(formkit::TObject*) { StartMaskFanout(); }
