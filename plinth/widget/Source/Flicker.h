// FlickerEliminator: hooks the window procedure of one framework control and
// swallows its background-erase messages, so that a control which paints its
// whole area itself is never first wiped with the class brush.
#pragma once

#include "formkit/Closure.h"
#include "formkit/Message.h"

namespace formkit {
class TControl;
}

namespace plinth {

class FlickerEliminator {
 public:
  FlickerEliminator() = default;
  FlickerEliminator(const FlickerEliminator&) = delete;
  FlickerEliminator& operator=(const FlickerEliminator&) = delete;
  ~FlickerEliminator();

  // Hooks `control`, which must outlive the attachment. Attaching an attached
  // eliminator is a programming error.
  void Attach(formkit::TControl* control);
  // Gives the control its previous window procedure back; returns the control, or
  // null when nothing was attached.
  formkit::TControl* Detach();

  formkit::TControl* Control() const { return m_control; }

 private:
  void WindowProc(formkit::TMessage& message);

  formkit::TControl* m_control = nullptr;
  formkit::TWndMethod m_oldWindowProc;
};

}  // namespace plinth
