#include "formkit/Screen.h"

#include <windows.h>

namespace formkit {

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TScreen* Screen() {
  static TScreen screen;
  return &screen;
}

}  // namespace formkit
