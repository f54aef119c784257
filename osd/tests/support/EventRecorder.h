// Test helper: the target of the form's movie event, counting the calls and keeping
// the sender of the last one.
#pragma once

#include "formkit/Object.h"

namespace osdtest {

class EventRecorder {
 public:
  void OnEvent(formkit::TObject* sender) {
    ++calls;
    lastSender = sender;
  }
  int calls = 0;
  // Not null before the first call, so that a call with a null sender shows.
  formkit::TObject* lastSender = reinterpret_cast<formkit::TObject*>(1);
};

}  // namespace osdtest
