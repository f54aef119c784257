#include "formkit/Assert.h"

#include <windows.h>

#include <cstdio>

namespace formkit {

void AssertionFailed(const char* expression, const char* file, int line) {
  char text[1024];
  std::snprintf(text, sizeof text, "Assertion failed: %s\n\nFile: %s\nLine: %d", expression, file, line);
  MessageBoxA(nullptr, text, "Assertion failed", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  TerminateProcess(GetCurrentProcess(), 3);
  for (;;) {
  }  // TerminateProcess does not return for the current process
}

}  // namespace formkit
