// The remote-control controller: holds the current state and turns the main
// window's button codes and the display's two timing events into calls of the
// current state's operations.
#pragma once

class RcState;

class RcController {
public:
  static RcController* Instance();

  // Once, from the main form, after all three forms exist.
  void Start();
  // Every button message of the main window; handled is false only for unknown codes.
  void HandleButton(unsigned code, bool& handled);
  // The overlay form's hide timer expired (the form has stopped it already).
  void OnOsdTimeout();
  // The fade-out has ended the display.
  void OnFadeDone();

private:
  friend class RcState;  // changes the current state
  RcController() = default;
  RcState* m_current = nullptr;
};
