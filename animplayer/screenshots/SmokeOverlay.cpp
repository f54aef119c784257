#include "animplayer/screenshots/SmokeOverlay.h"

#include "pngio/pngio.h"

namespace screenshots {
namespace {

constexpr wchar_t kClassName[] = L"ZentrikScreenshotOverlay";

uint32_t __stdcall ReadFromFile(void* context, void* buffer, uint32_t count) {
  DWORD read = 0;
  return ReadFile(static_cast<HANDLE>(context), buffer, count, &read, nullptr) ? read : 0;
}

// The decoded picture's rows, freed by the library on every path.
class DecodedPicture {
 public:
  explicit DecodedPicture(HANDLE file) : m_ok(ReadPngEx(&m_data, ReadFromFile, file) != 0) {}
  DecodedPicture(const DecodedPicture&) = delete;
  DecodedPicture& operator=(const DecodedPicture&) = delete;
  ~DecodedPicture() {
    if (m_ok) FreePngData(&m_data);
  }
  bool IsValid() const { return m_ok; }
  const PngData& Data() const { return m_data; }

 private:
  PngData m_data{};
  bool m_ok;
};

}  // namespace

std::unique_ptr<SmokeOverlay> SmokeOverlay::Create(const std::wstring& picturePath, BYTE opacity) {
  formkit::FileHandle file(
      CreateFileW(picturePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  DecodedPicture picture(file.Get());
  if (!picture.IsValid()) return nullptr;
  std::unique_ptr<SmokeOverlay> overlay(new SmokeOverlay());
  const PngData& d = picture.Data();
  overlay->m_width = static_cast<int>(d.width);
  overlay->m_height = static_cast<int>(d.height);
  overlay->m_pixels.resize(static_cast<size_t>(d.width) * d.height * 4);
  const uint32_t samples = d.colorType == kPngColorTypeRgba ? 4 : 3;
  for (uint32_t y = 0; y < d.height; ++y) {
    // As the program's form draws it: the colours as they are, the alpha unused.
    uint8_t* out = &overlay->m_pixels[static_cast<size_t>(d.height - 1 - y) * d.width * 4];
    const uint8_t* in = d.rows[y];
    for (uint32_t x = 0; x < d.width; ++x, in += samples, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = 255;
    }
  }

  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  overlay->m_window.Reset(CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName,
                                          L"FlashOsdForm", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                          GetModuleHandleW(nullptr), overlay.get()));
  if (!overlay->m_window) return nullptr;
  SetLayeredWindowAttributes(overlay->Window(), 0, opacity, LWA_ALPHA);
  ShowWindow(overlay->Window(), SW_SHOWNOACTIVATE);
  UpdateWindow(overlay->Window());
  return overlay;
}

SmokeOverlay::~SmokeOverlay() {
  if (m_window) SetWindowLongPtrW(m_window.Get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK SmokeOverlay::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* overlay = reinterpret_cast<SmokeOverlay*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (overlay != nullptr && message == WM_PAINT) {
    overlay->Paint();
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(window, message, wParam, lParam);
}

void SmokeOverlay::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(m_window.Get(), &ps);
  RECT client{};
  GetClientRect(m_window.Get(), &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = m_width;
  info.bmiHeader.biHeight = m_height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, m_width, m_height, m_pixels.data(), &info, DIB_RGB_COLORS,
                SRCCOPY);
  EndPaint(m_window.Get(), &ps);
}

}  // namespace screenshots
