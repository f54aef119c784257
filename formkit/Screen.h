// The primary screen's size in pixels, read afresh at every call (the resolution
// can change while the program runs).
#pragma once

namespace formkit {

class TScreen {
 public:
  int Width() const;
  int Height() const;
};

// The process-wide screen object: formkit::Screen()->Width().
TScreen* Screen();

}  // namespace formkit
