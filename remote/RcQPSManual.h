// The state of the power-saving level button: shows the current manual level, steps
// it at every further press, and posts the level shown last to the power-saving
// companion once the display has timed out and faded.
#pragma once

#include "remote/RcState.h"

class RcQPSManual : public RcState {
 public:
  static RcQPSManual* Instance();
  void Enter() override;
  void OnQPSManual() override;
  void OnOsdTimeout() override;
  void OnFadeDone() override;

 private:
  RcQPSManual() = default;
  // Shows the warning for a companion that cannot take the level; locks the visit.
  void Warn(const char* title, const char* key);

  // 0..3; the level posted at the end of every visit, so it starts at level 0 (the
  // lowest) for a first visit that never read the companion's mode.
  int m_level = 0;
  bool m_locked = false;  // further level presses are ignored
};
