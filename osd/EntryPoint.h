// Looking up a function of a library loaded at run time.
#pragma once

#include <windows.h>

// The function `name` of `module` as a `Function`, or null when it is not there.
template <class Function>
Function EntryPoint(HMODULE module, const char* name) {
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
