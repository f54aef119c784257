#include "osd/tests/support/RecordingController.h"

#include "remote/RcController.h"

namespace osdtest {

ControllerRecord& Controller() {
  static ControllerRecord record;
  return record;
}

void ResetController() { Controller() = ControllerRecord(); }

}  // namespace osdtest

RcController* RcController::Instance() {
  static RcController controller;
  return &controller;
}

void RcController::OnOsdTimeout() {
  osdtest::ControllerRecord& record = osdtest::Controller();
  ++record.osdTimeouts;
  record.osdTimeoutThread = GetCurrentThreadId();
  if (record.onOsdTimeout) record.onOsdTimeout();
}

void RcController::OnFadeDone() {
  osdtest::ControllerRecord& record = osdtest::Controller();
  ++record.fadesDone;
  record.fadeDoneThread = GetCurrentThreadId();
  if (record.onFadeDone) record.onFadeDone();
}
