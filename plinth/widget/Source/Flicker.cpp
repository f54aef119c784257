#include "plinth/widget/Source/Flicker.h"

#include "formkit/Assert.h"
#include "formkit/Control.h"

#include <windows.h>

namespace plinth {

FlickerEliminator::~FlickerEliminator() { Detach(); }

void FlickerEliminator::Attach(formkit::TControl* control) {
  ZR_ASSERT(m_control == NULL);
  m_control = control;
  m_oldWindowProc = control->WindowProc;
  control->WindowProc = formkit::Bind(this, &FlickerEliminator::WindowProc);
}

formkit::TControl* FlickerEliminator::Detach() {
  formkit::TControl* control = m_control;
  if (!control) return nullptr;
  control->WindowProc = m_oldWindowProc;
  m_control = nullptr;
  m_oldWindowProc = formkit::TWndMethod();
  return control;
}

void FlickerEliminator::WindowProc(formkit::TMessage& message) {
  if (message.Msg == WM_ERASEBKGND) {
    // Reported as erased: the control's painting covers the whole area.
    message.Result = 1;
    return;
  }
  m_oldWindowProc(message);
}

}  // namespace plinth
