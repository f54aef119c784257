#include "simboard/common/ProgramEnd.h"

#include "simboard/common/Handles.h"

namespace simboard {

bool CloseAndWaitForExit(HWND window, DWORD timeoutMs) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!PostMessageW(window, WM_CLOSE, 0, 0)) return false;
  return process && WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace simboard
