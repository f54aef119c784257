// Window classes of the framework, registered once per name with the module that
// holds the framework's code.
#pragma once

#include <windows.h>

namespace formkit::detail {

HINSTANCE ModuleInstance();
// Registers the class unless it exists already; returns whether it is available.
bool EnsureWindowClass(const char* name, WNDPROC procedure);

}  // namespace formkit::detail
