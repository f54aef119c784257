// DigitSequence: the two-digit value, shown while the user steps it. The hide
// timer starts when the movie first calls back and restarts at every change; when
// it runs out the state asks for the end, which comes 250 ms later: the fade-out
// is registered as the movie event and the movie is sent "out".
#pragma once

#include "formkit/Object.h"

class DigitSequence {
 public:
  static DigitSequence* Instance();

  void Show(int value);
  void Update(int value);
  void ScheduleEnd();
  // The digit movie has called back after "in".
  void OnMovieReady();

  static constexpr int EndDelayMs = 250;

 private:
  DigitSequence() = default;

  void End(formkit::TObject* sender);
  void StartFade(formkit::TObject* sender);
};
