// The tests' stand-in for the remote-control controller (the program links the
// real one): it records the two display events that reach it and does what the
// test asks in their place, as the current state would.
#pragma once

#include <windows.h>

#include <functional>

namespace osdtest {

struct ControllerRecord {
  int osdTimeouts = 0;
  int fadesDone = 0;
  DWORD osdTimeoutThread = 0;
  DWORD fadeDoneThread = 0;
  // What the current state does with the event; nothing when empty.
  std::function<void()> onOsdTimeout;
  std::function<void()> onFadeDone;
};

// The record of RcController::Instance().
ControllerRecord& Controller();
// Forgets what was recorded and what the test asked for.
void ResetController();

}  // namespace osdtest
