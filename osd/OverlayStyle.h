// The extended window style of the display's forms: top-most tool windows that are
// never activated (they must not take the focus from the program underneath) and
// have no taskbar button.
#pragma once

#include <windows.h>

inline DWORD OverlayExStyle(DWORD inherited) {
  return (inherited | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE) & ~static_cast<DWORD>(WS_EX_APPWINDOW);
}
