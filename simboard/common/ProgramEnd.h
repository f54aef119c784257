// Ending another running program of the simulated board by its window, as its
// "--stop" / "--quit" / "--close" options do.
#pragma once

#include <windows.h>

namespace simboard {

// Posts WM_CLOSE to `window` and waits up to `timeoutMs` for its process to end.
bool CloseAndWaitForExit(HWND window, DWORD timeoutMs);

}  // namespace simboard
