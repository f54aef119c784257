// Layered windows: a constant opacity or colour key for an ordinary window
// (LayeredWindowMaker), or a 32-bit bitmap with its own alpha channel as the whole
// content of a window (PerPixelLayeredWindowBase, TPerPixelLayeredWindowMaker).
//
// The system entry points are looked up by name in the already loaded user32.dll,
// so a system without them leaves the helpers disabled instead of failing to load.
// Settings take effect at the next Apply or Update.
#pragma once

#include <windows.h>

namespace formkit {
class TObject;
class TBitmap;
class TWinControl;
}  // namespace formkit

namespace plinth {

namespace detail {
// Gives the window exactly the wanted WS_EX_LAYERED and WS_EX_TRANSPARENT bits;
// returns whether the style had to change (false: it was already so).
bool SetLayeredStyle(HWND window, bool layered, bool clickThrough);
// Takes WS_EX_LAYERED away and, when that changed the style, redraws the window
// with its frame and children (a window that stops being layered shows nothing
// until it paints again).
void RemoveLayering(HWND window, bool clickThrough);
}  // namespace detail

class LayeredWindowMaker {
 public:
  LayeredWindowMaker();
  LayeredWindowMaker(const LayeredWindowMaker&) = delete;
  LayeredWindowMaker& operator=(const LayeredWindowMaker&) = delete;
  virtual ~LayeredWindowMaker();

  // Only the low 24 bits of the key are used.
  void SetColorKey(COLORREF key) { m_colorKey = key; }
  void SetUseColorKey(bool use) { m_useColorKey = use; }
  void SetClickThrough(bool clickThrough) { m_clickThrough = clickThrough; }
  void SetUseAlpha(bool use) { m_useAlpha = use; }
  void SetAlpha(BYTE alpha) { m_alpha = alpha; }

  COLORREF ColorKey() const { return m_colorKey; }
  bool UseColorKey() const { return m_useColorKey; }
  bool ClickThrough() const { return m_clickThrough; }
  bool UseAlpha() const { return m_useAlpha; }
  BYTE Alpha() const { return m_alpha; }

  // SetLayeredWindowAttributes exists on this system.
  bool IsEnabled() const;
  // Makes the window layered with the settings, or plain again when neither the
  // colour key nor the opacity is in use. Requires IsEnabled().
  void Apply(HWND window);

 private:
  using SetLayeredWindowAttributesFunc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

  COLORREF m_colorKey = 0xFFFFFFFF;
  bool m_useColorKey = false;
  bool m_clickThrough = false;
  bool m_useAlpha = false;
  BYTE m_alpha = 255;
  SetLayeredWindowAttributesFunc m_setLayeredWindowAttributes;
};

class PerPixelLayeredWindowBase {
 public:
  PerPixelLayeredWindowBase();
  PerPixelLayeredWindowBase(const PerPixelLayeredWindowBase&) = delete;
  PerPixelLayeredWindowBase& operator=(const PerPixelLayeredWindowBase&) = delete;
  virtual ~PerPixelLayeredWindowBase();

  void SetColorKey(COLORREF key) { m_colorKey = key; }
  void SetUseColorKey(bool use) { m_useColorKey = use; }
  void SetClickThrough(bool clickThrough) { m_clickThrough = clickThrough; }
  void SetUseAlpha(bool use) { m_useAlpha = use; }
  void SetAlpha(BYTE alpha) { m_alpha = alpha; }
  void SetUsePerPixelAlpha(bool use) { m_usePerPixelAlpha = use; }

  COLORREF ColorKey() const { return m_colorKey; }
  bool UseColorKey() const { return m_useColorKey; }
  bool ClickThrough() const { return m_clickThrough; }
  bool UseAlpha() const { return m_useAlpha; }
  BYTE Alpha() const { return m_alpha; }
  bool UsePerPixelAlpha() const { return m_usePerPixelAlpha; }

  // UpdateLayeredWindow exists on this system.
  bool IsEnabled() const;
  // Makes the source's bitmap, as it is now, the content of the window: at the
  // window's current top-left corner, in the bitmap's size. Requires IsEnabled().
  void Update(HWND window, const formkit::TObject& source);

 protected:
  // The bitmap that `source` (as given to Update) stands for.
  virtual HBITMAP GetBitmapHandle(const formkit::TObject& source) const = 0;

 private:
  using UpdateLayeredWindowFunc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                BLENDFUNCTION*, DWORD);

  void UpdateWithColorKey(HWND window, HBITMAP bitmap);
  void CallUpdateLayeredWindow(HWND window, HBITMAP bitmap, BLENDFUNCTION blend, DWORD flags);

  COLORREF m_colorKey = 0xFFFFFFFF;
  bool m_useColorKey = false;
  bool m_clickThrough = false;
  bool m_useAlpha = false;
  BYTE m_alpha = 255;
  bool m_usePerPixelAlpha = false;
  UpdateLayeredWindowFunc m_updateLayeredWindow;
};

// Shows a framework bitmap as the content of a window.
class TPerPixelLayeredWindowMaker : public PerPixelLayeredWindowBase {
 public:
  using PerPixelLayeredWindowBase::Update;
  void Update(formkit::TWinControl& control, const formkit::TBitmap& bitmap);

 protected:
  // `source` must be a formkit::TBitmap.
  HBITMAP GetBitmapHandle(const formkit::TObject& source) const override;
};

}  // namespace plinth
