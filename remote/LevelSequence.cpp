#include "remote/LevelSequence.h"

#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "remote/MaskFanoutThread.h"
#include "remote/WaitThread.h"

LevelSequence* LevelSequence::Instance() {
  static LevelSequence* instance = new LevelSequence;
  return instance;
}

void LevelSequence::Reset() { m_level = -1; }

void LevelSequence::Show(int level) {
  m_level = level;
  OsdPresenter* presenter = OsdPresenter::Instance();
  presenter->PlaceMovie(OsdPresenter::MovieQpsManual);
  presenter->ShowQpsManual(m_level);
  presenter->SetHideTimer(true);
}

void LevelSequence::Update(int level) {
  OsdPresenter* presenter = OsdPresenter::Instance();
  // Off and on again: a fresh 3000 ms from this press.
  presenter->SetHideTimer(false);
  m_level = level;
  presenter->PlayLevel(m_level);
  presenter->SetHideTimer(true);
}

void LevelSequence::ScheduleEnd() { RunAfterDelay(EndDelayMs, formkit::Bind(this, &LevelSequence::End)); }

void LevelSequence::End(formkit::TObject*) {
  FlashOsdForm->SetMovieEvent(formkit::Bind(this, &LevelSequence::StartFade));
  OsdPresenter::Instance()->EndLevel(m_level);
}

void LevelSequence::StartFade(formkit::TObject*) { StartMaskFanout(); }
