// The state of the two step buttons: shows the firmware's frequency setting on the
// two-digit display, steps it at every further press, and has the overclocking
// companion apply it once the display has timed out and faded, if it was changed.
#pragma once

#include "remote/RcState.h"

class RcDigit : public RcState {
 public:
  static RcDigit* Instance();
  void Enter() override;
  void OnDigitUp() override;
  void OnDigitDown() override;
  void OnOsdTimeout() override;
  void OnFadeDone() override;

 private:
  RcDigit() = default;
  // Both step buttons: `up` chooses the direction.
  void Step(bool up);
  // Shows the warning for a companion that cannot take the setting; locks the visit.
  void Warn(const char* title, const char* key);

  bool m_locked = false;   // further step presses are ignored
  bool m_changed = false;  // a step was made in this visit: commit at the end
};
