// A window of another program in whose presence the remote's presses are ignored:
// "TProgressDialog" / "ProgressDialog" or "TfrmGuiBackground". Closing one ends the
// program that shows them.
#pragma once

#include "simboard/common/Handles.h"

#include <windows.h>

#include <memory>

namespace simboard::tools {

inline constexpr wchar_t ProgressDialogClass[] = L"TProgressDialog";
inline constexpr wchar_t ProgressDialogTitle[] = L"ProgressDialog";
inline constexpr wchar_t GuiBackgroundClass[] = L"TfrmGuiBackground";
inline constexpr wchar_t GuiBackgroundTitle[] = L"GuiBackground";

class BusyWindow {
 public:
  static std::unique_ptr<BusyWindow> Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                                            bool visible);
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

 private:
  BusyWindow() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WindowHandle m_window;
};

}  // namespace simboard::tools
