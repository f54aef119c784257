// Bitmaps (DIB sections, rows, conversions, copies) and the image control that
// paints one on its form.
#include "formkit/Bitmap.h"
#include "formkit/Form.h"
#include "formkit/Image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace formkit {
namespace {

void SetPixel32(TBitmap& bitmap, int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
  std::uint8_t* pixel = bitmap.ScanLine(y) + x * 4;
  pixel[0] = b;
  pixel[1] = g;
  pixel[2] = r;
  pixel[3] = a;
}

std::string PixelBytes(const TBitmap& bitmap, int x, int y) {
  const std::uint8_t* pixel = bitmap.ScanLine(y) + x * bitmap.BytesPerPixel();
  std::string text;
  for (int i = 0; i < bitmap.BytesPerPixel(); ++i) text += (i ? " " : "") + std::to_string(pixel[i]);
  return text;
}

TEST(Bitmap, NewBitmapIsEmptyWithoutHandle) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  EXPECT_EQ(bitmap.Handle(), nullptr);
  bitmap.SetWidth(5);
  EXPECT_TRUE(bitmap.Empty()) << "no height yet";
  EXPECT_EQ(bitmap.Handle(), nullptr);
}

TEST(Bitmap, HandleIsATopDownDibSectionOfFormatAndSize) {
  const struct {
    TPixelFormat format;
    int width, height, bits, stride;
  } cases[] = {
      {pf32bit, 3, 2, 32, 12},
      {pf24bit, 3, 2, 24, 12},  // 9 bytes padded to 12
      {pf24bit, 4, 1, 24, 12},
      {pf32bit, 1920, 1080, 32, 7680},
  };
  for (const auto& c : cases) {
    const std::string name = std::to_string(c.bits) + " bits " + std::to_string(c.width) + "x" + std::to_string(c.height);
    TBitmap bitmap;
    bitmap.SetPixelFormat(c.format);
    bitmap.SetSize(c.width, c.height);
    ASSERT_NE(bitmap.Handle(), nullptr) << name;
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(bitmap.Handle(), sizeof dib, &dib), static_cast<int>(sizeof dib)) << name;
    EXPECT_EQ(dib.dsBm.bmWidth, c.width) << name;
    EXPECT_EQ(dib.dsBm.bmHeight, c.height) << name;
    EXPECT_EQ(dib.dsBm.bmBitsPixel, c.bits) << name;
    EXPECT_EQ(bitmap.BytesPerLine(), c.stride) << name;
    EXPECT_EQ(bitmap.ScanLine(0), static_cast<std::uint8_t*>(dib.dsBm.bmBits)) << name;
    if (c.height > 1) {
      EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), c.stride) << name;
    }
  }
}

TEST(Bitmap, ScanLineRowZeroIsTheTopRowAsGdiSeesIt) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(1, 2);
  SetPixel32(bitmap, 0, 0, 0, 0, 255, 255);  // red on top
  SetPixel32(bitmap, 0, 1, 255, 0, 0, 255);  // blue below
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap.Handle());
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
}

TEST(Bitmap, FormatChangeKeepsThePixels) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(2, 1);
  SetPixel32(bitmap, 0, 0, 30, 20, 10, 128);
  SetPixel32(bitmap, 1, 0, 1, 2, 3, 0);
  bitmap.SetPixelFormat(pf24bit);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelBytes(bitmap, 0, 0), "30 20 10");
  EXPECT_EQ(PixelBytes(bitmap, 1, 0), "1 2 3");
  bitmap.SetPixelFormat(pf32bit);
  EXPECT_EQ(PixelBytes(bitmap, 0, 0), "30 20 10 255");
  EXPECT_EQ(PixelBytes(bitmap, 1, 0), "1 2 3 255");
}

TEST(Bitmap, ResizeKeepsTheSharedAreaAndClearsTheRest) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(2, 2);
  SetPixel32(bitmap, 0, 0, 1, 1, 1, 1);
  SetPixel32(bitmap, 1, 1, 2, 2, 2, 2);
  bitmap.SetSize(3, 1);
  EXPECT_EQ(PixelBytes(bitmap, 0, 0), "1 1 1 1");
  EXPECT_EQ(PixelBytes(bitmap, 2, 0), "0 0 0 0");
  bitmap.SetHeight(2);
  EXPECT_EQ(PixelBytes(bitmap, 1, 1), "0 0 0 0") << "the cut row does not come back";
  bitmap.SetSize(0, 0);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Handle(), nullptr);
}

TEST(Bitmap, AssignCopiesFormatSizeAndPixelsIndependently) {
  TBitmap source;
  source.SetPixelFormat(pf32bit);
  source.SetSize(2, 1);
  SetPixel32(source, 1, 0, 9, 8, 7, 6);
  TBitmap copy;  // 24 bits, empty
  copy.Assign(source);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.Height(), 1);
  EXPECT_NE(copy.Handle(), source.Handle());
  EXPECT_EQ(PixelBytes(copy, 1, 0), "9 8 7 6");
  SetPixel32(source, 1, 0, 0, 0, 0, 0);
  EXPECT_EQ(PixelBytes(copy, 1, 0), "9 8 7 6");
  copy.Assign(copy);
  EXPECT_EQ(PixelBytes(copy, 1, 0), "9 8 7 6");
  copy.Assign(TBitmap());
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.PixelFormat(), pf24bit);
}

// Paints the form's client area into a 32-bit memory bitmap (WM_PRINTCLIENT).
class ClientCapture {
 public:
  ClientCapture(TForm& form, int width, int height) {
    m_target.SetPixelFormat(pf32bit);
    m_target.SetSize(width, height);
    HDC screen = GetDC(nullptr);
    MemoryDcHandle dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    SelectionGuard selected(dc.Get(), m_target.Handle());
    SendMessageA(form.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  }
  // Blue, green, red of one pixel as 0xRRGGBB.
  unsigned Colour(int x, int y) const {
    const std::uint8_t* p = m_target.ScanLine(y) + x * 4;
    return (unsigned{p[2]} << 16) | (unsigned{p[1]} << 8) | p[0];
  }

 private:
  TBitmap m_target;
};

TEST(Image, PaintsItsPictureOnTheForm) {
  constexpr unsigned Red = 0xFF0000, Blue = 0x0000FF, Untouched = 0;
  const struct {
    const char* name;
    bool stretch, visible;
    int x, y;
    unsigned colour;
  } cases[] = {
      {"stretched left half", true, true, 12, 15, Red},
      {"stretched right half", true, true, 45, 15, Blue},
      {"stretched, outside the image", true, true, 55, 15, Untouched},
      {"unstretched first pixel", false, true, 10, 10, Red},
      {"unstretched second pixel", false, true, 11, 10, Blue},
      {"unstretched, past the picture", false, true, 12, 10, Untouched},
      {"hidden image", true, false, 12, 15, Untouched},
  };
  for (const auto& c : cases) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 64, 32);
    auto* image = new TImage(&form);  // owned and placed by the form
    ASSERT_EQ(image->Parent(), &form) << c.name;
    image->SetBounds(10, 10, 40, 20);
    image->SetStretch(c.stretch);
    image->SetVisible(c.visible);
    TBitmap& picture = image->Picture();
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(2, 1);
    SetPixel32(picture, 0, 0, 0, 0, 255, 255);
    SetPixel32(picture, 1, 0, 255, 0, 0, 255);
    ClientCapture capture(form, 64, 32);
    EXPECT_EQ(capture.Colour(c.x, c.y), c.colour) << c.name;
  }
}

TEST(Image, DeletedImageIsNoLongerPainted) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 16, 16);
  auto* image = new TImage(&form);
  image->SetBounds(0, 0, 16, 16);
  image->Picture().SetSize(1, 1);
  std::memset(image->Picture().ScanLine(0), 0xFF, 3);
  EXPECT_EQ(ClientCapture(form, 16, 16).Colour(0, 0), 0xFFFFFFu);
  delete image;
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(ClientCapture(form, 16, 16).Colour(0, 0), 0u);
}

}  // namespace
}  // namespace formkit
