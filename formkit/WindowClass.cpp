#include "formkit/WindowClass.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace formkit::detail {

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

bool EnsureWindowClass(const char* name, WNDPROC procedure) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  if (GetClassInfoExA(ModuleInstance(), name, &info)) return true;
  info.style = CS_DBLCLKS;
  info.lpfnWndProc = procedure;
  info.hInstance = ModuleInstance();
  info.hCursor = LoadCursor(nullptr, IDC_ARROW);
  info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  info.lpszClassName = name;
  // Another thread may have registered it in the meantime; that is as good.
  return RegisterClassExA(&info) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace formkit::detail
