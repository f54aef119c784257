// The idle state: the machine rests here between two actions, and each button turns
// into the working state that handles it.
#pragma once

#include "remote/RcState.h"

class RcWait : public RcState {
 public:
  static RcWait* Instance();

  // Once at start: no profile is marked active and no level has been shown.
  void ResetAll();

  void Enter() override {}
  void Leave() override {}
  void OnProfileA() override;
  void OnProfileB() override;
  void OnProfileC() override;
  void OnQPSManual() override;
  void OnQPSAuto() override;
  // Both step buttons only open the digit state; the first press does not step.
  void OnDigitUp() override;
  void OnDigitDown() override;

 private:
  RcWait() = default;
};
