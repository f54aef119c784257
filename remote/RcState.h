// The base of the remote-control states. The controller calls one operation of the
// current state per button press and per display event; every operation here does
// nothing, so a state reacts only to what it overrides. States are process-wide
// objects that are never deleted, so a state keeps its fields between visits.
#pragma once

class RcState {
 public:
  RcState(const RcState&) = delete;
  RcState& operator=(const RcState&) = delete;
  virtual ~RcState() = default;

  // Run by ChangeState once the state has become current.
  virtual void Enter() {}
  // Run by ChangeState while the state is still current.
  virtual void Leave() {}
  virtual void OnProfileA() {}   // button 0x90
  virtual void OnProfileB() {}   // button 0x91
  virtual void OnProfileC() {}   // button 0x92
  virtual void OnQPSManual() {}  // button 0x93
  virtual void OnQPSAuto() {}    // button 0x94
  virtual void OnDigitUp() {}    // button 0x95
  virtual void OnDigitDown() {}  // button 0x96
  // The overlay form's 3000 ms hide timer expired.
  virtual void OnOsdTimeout() {}
  // The fade-out has ended the display.
  virtual void OnFadeDone() {}

 protected:
  RcState() = default;
  // Called by the current state on itself: leaves it, makes `next` current and
  // enters it.
  void ChangeState(RcState* next);
};
