// A plain top-level test window that records the style changes it is told about,
// with an optional child, for checking what the layered-window helpers do to it.
#pragma once

#include "formkit/Handle.h"

#include <windows.h>

namespace plinth::test {

class TestWindow {
 public:
  // Shown without activation (a hidden window has no update region to check).
  TestWindow(int x, int y, int width, int height, DWORD exStyle = 0, bool withChild = false);

  HWND Handle() const { return m_window.Get(); }
  HWND Child() const { return m_child; }

  // Paints everything that is pending and forgets the recorded style changes.
  void Settle();
  // WM_STYLECHANGING for the extended style since the last Settle.
  int ExStyleWrites() const { return m_exStyleWrites; }
  // The window (or its child) has an invalid area waiting to be painted.
  bool NeedsPaint() const;
  bool ChildNeedsPaint() const;

  LONG_PTR ExStyle() const { return GetWindowLongPtrA(Handle(), GWL_EXSTYLE); }
  RECT Bounds() const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  formkit::WindowHandle m_window;
  HWND m_child = nullptr;  // destroyed with its parent
  int m_exStyleWrites = 0;
};

}  // namespace plinth::test
