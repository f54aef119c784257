// OsdMask: prepares and resets the on-screen-display surface for the states.
#pragma once

class OsdMask {
 public:
  static OsdMask* Instance();

  // Once at start-up: hides the overlay form, prepares the status picture and
  // loads the overlay's smoke background.
  void Reset();
  // At the start of every working state: the overlay covers the screen at its
  // normal opacity (it is not shown yet).
  void Prepare();

  // The overlay's opacity while a display is up.
  static constexpr unsigned char NormalAlpha = 229;

 private:
  OsdMask() = default;
};
