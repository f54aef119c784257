#include "remote/NoticeSequence.h"

#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "remote/MaskFanoutThread.h"
#include "remote/WaitThread.h"

NoticeSequence* NoticeSequence::Instance() {
  static NoticeSequence* instance = new NoticeSequence;
  return instance;
}

void NoticeSequence::ShowNoticeProfileOn(const char* text) {
  OsdPresenter::Instance()->PlaceMovie(OsdPresenter::MovieProfileOn);
  // The end follows from the movie's first call-back (OnMovieReady).
  OsdPresenter::Instance()->ShowProfileOn(text);
}

void NoticeSequence::ShowNoticeProfileOff(const char* text) {
  OsdPresenter::Instance()->PlaceMovie(OsdPresenter::MovieProfileOff);
  OsdPresenter::Instance()->ShowProfileOff(text);
}

void NoticeSequence::ShowNoticeQPSAuto(const char* text) {
  OsdPresenter::Instance()->PlaceMovie(OsdPresenter::MovieQpsAuto);
  OsdPresenter::Instance()->ShowQpsAuto(text);
  RunAfterDelay(QpsAutoNoticeMs, formkit::Bind(this, &NoticeSequence::End));
}

void NoticeSequence::ShowNoticeWarning(const char* title, const char* text, int delayMs) {
  OsdPresenter::Instance()->PlaceMovie(OsdPresenter::MovieWarning);
  OsdPresenter::Instance()->ShowWarning(title, text);
  RunAfterDelay(delayMs, formkit::Bind(this, &NoticeSequence::End));
}

void NoticeSequence::OnMovieReady(int kind) {
  if (kind == OsdPresenter::MovieProfileOn || kind == OsdPresenter::MovieProfileOff)
    RunAfterDelay(ProfileNoticeMs, formkit::Bind(this, &NoticeSequence::End));
}

void NoticeSequence::End(formkit::TObject*) {
  FlashOsdForm->SetMovieEvent(formkit::Bind(this, &NoticeSequence::StartFade));
  OsdPresenter::Instance()->EndMovie();
}

void NoticeSequence::StartFade(formkit::TObject*) { StartMaskFanout(); }
