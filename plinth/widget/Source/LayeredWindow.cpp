#include "plinth/widget/Source/LayeredWindow.h"

#include "formkit/Assert.h"
#include "formkit/Bitmap.h"
#include "formkit/Handle.h"
#include "formkit/WinControl.h"

namespace plinth {

namespace {

// A function of the loaded user32.dll, or null when the module or the function
// is not there. user32 is never loaded here: a GUI program has it already.
template <class Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

// The window's own device context, released on every path.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (m_dc) ReleaseDC(m_window, m_dc);
  }
  HDC Get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

BITMAP BitmapInfo(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap) GetObjectA(bitmap, sizeof info, &info);
  return info;
}

// Only the colour part of a key reaches the system.
COLORREF ColourOf(COLORREF key) { return key & 0x00FFFFFF; }

}  // namespace

namespace detail {

bool SetLayeredStyle(HWND window, bool layered, bool clickThrough) {
  constexpr LONG_PTR managed = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_EXSTYLE);
  const LONG_PTR wanted = (layered ? WS_EX_LAYERED : 0) | (clickThrough ? WS_EX_TRANSPARENT : 0);
  if ((style & managed) == wanted) return false;
  SetWindowLongPtrA(window, GWL_EXSTYLE, (style & ~managed) | wanted);
  return true;
}

void RemoveLayering(HWND window, bool clickThrough) {
  if (SetLayeredStyle(window, false, clickThrough))
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace detail

LayeredWindowMaker::LayeredWindowMaker()
    : m_setLayeredWindowAttributes(User32Function<SetLayeredWindowAttributesFunc>("SetLayeredWindowAttributes")) {}

LayeredWindowMaker::~LayeredWindowMaker() = default;

bool LayeredWindowMaker::IsEnabled() const { return m_setLayeredWindowAttributes != nullptr; }

void LayeredWindowMaker::Apply(HWND window) {
  ZR_ASSERT(IsEnabled());
  const COLORREF key = ColourOf(m_colorKey);
  if (!m_useColorKey && !m_useAlpha) {
    detail::RemoveLayering(window, m_clickThrough);
    return;
  }
  detail::SetLayeredStyle(window, true, m_clickThrough);
  const DWORD flags = (m_useColorKey ? LWA_COLORKEY : 0) | (m_useAlpha ? LWA_ALPHA : 0);
  m_setLayeredWindowAttributes(window, key, m_alpha, flags);
}

PerPixelLayeredWindowBase::PerPixelLayeredWindowBase()
    : m_updateLayeredWindow(User32Function<UpdateLayeredWindowFunc>("UpdateLayeredWindow")) {}

PerPixelLayeredWindowBase::~PerPixelLayeredWindowBase() = default;

bool PerPixelLayeredWindowBase::IsEnabled() const { return m_updateLayeredWindow != nullptr; }

void PerPixelLayeredWindowBase::Update(HWND window, const formkit::TObject& source) {
  ZR_ASSERT(IsEnabled());
  HBITMAP bitmap = GetBitmapHandle(source);
  const bool perPixel = BitmapInfo(bitmap).bmBitsPixel == 32 && m_usePerPixelAlpha;
  if (!m_useAlpha && !perPixel) {
    if (m_useColorKey) {
      UpdateWithColorKey(window, bitmap);
    } else {
      detail::RemoveLayering(window, m_clickThrough);
    }
    return;
  }
  // The bitmap's alpha stays in use even when only the constant opacity is wanted.
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (m_useAlpha) blend.SourceConstantAlpha = m_alpha;
  detail::SetLayeredStyle(window, true, m_clickThrough);
  CallUpdateLayeredWindow(window, bitmap, blend, ULW_ALPHA);
}

void PerPixelLayeredWindowBase::UpdateWithColorKey(HWND window, HBITMAP bitmap) {
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  detail::SetLayeredStyle(window, true, m_clickThrough);
  CallUpdateLayeredWindow(window, bitmap, blend, ULW_COLORKEY);
}

void PerPixelLayeredWindowBase::CallUpdateLayeredWindow(HWND window, HBITMAP bitmap, BLENDFUNCTION blend,
                                                        DWORD flags) {
  const COLORREF key = ColourOf(m_colorKey);
  POINT source{0, 0};
  WindowDc destination(window);
  formkit::MemoryDcHandle memory(CreateCompatibleDC(destination.Get()));
  RECT bounds{};
  GetWindowRect(window, &bounds);
  POINT position{bounds.left, bounds.top};
  const BITMAP info = BitmapInfo(bitmap);
  SIZE size{info.bmWidth, info.bmHeight};
  formkit::SelectionGuard selected(memory.Get(), bitmap);
  m_updateLayeredWindow(window, destination.Get(), &position, &size, memory.Get(), &source, key, &blend, flags);
}

void TPerPixelLayeredWindowMaker::Update(formkit::TWinControl& control, const formkit::TBitmap& bitmap) {
  Update(control.Handle(), bitmap);
}

HBITMAP TPerPixelLayeredWindowMaker::GetBitmapHandle(const formkit::TObject& source) const {
  return dynamic_cast<const formkit::TBitmap&>(source).Handle();
}

}  // namespace plinth
