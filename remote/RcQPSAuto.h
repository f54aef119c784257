// The state of the power-saving auto button: switches the power-saving companion to
// its automatic mode once the notice has faded out, or, after the calibration
// warning, at a second press of the button.
#pragma once

#include "remote/RcState.h"

class RcQPSAuto : public RcState {
 public:
  static RcQPSAuto* Instance();
  void Enter() override;
  void OnQPSAuto() override;
  void OnFadeDone() override;

 private:
  RcQPSAuto() = default;

  bool m_applyAuto = false;  // post the auto mode when the notice has faded out
  bool m_confirmed = true;   // once set, a further auto press does nothing
};
