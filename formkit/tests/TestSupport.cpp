#include "formkit/tests/TestSupport.h"

namespace formkit::test {

namespace {
struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && std::string(className) == "#32770" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindErrorIcon(HWND child, LPARAM parameter) {
  char className[32] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (icon && icon == LoadIcon(nullptr, IDI_ERROR)) *reinterpret_cast<bool*>(parameter) = true;
  }
  return TRUE;
}
}  // namespace

MessageBoxInfo FindMessageBox(DWORD processId) {
  Search search{processId, nullptr};
  EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
  MessageBoxInfo info;
  if (!search.found) return info;
  info.window = search.found;
  char text[2048] = {};
  GetWindowTextA(search.found, text, sizeof text);
  info.caption = text;
  text[0] = 0;
  // The message text is the static control with id 0xFFFF, on Windows as on Wine.
  GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
  info.text = text;
  EnumChildWindows(search.found, &FindErrorIcon, reinterpret_cast<LPARAM>(&info.errorIcon));
  return info;
}

}  // namespace formkit::test
