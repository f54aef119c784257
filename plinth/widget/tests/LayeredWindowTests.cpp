// Constant opacity and per-pixel alpha on real windows.
#include "plinth/widget/Source/LayeredWindow.h"
#include "plinth/widget/tests/TestWindow.h"

#include "formkit/Bitmap.h"

#include <gtest/gtest.h>

namespace plinth {
namespace {

using test::TestWindow;

constexpr LONG_PTR Layered = WS_EX_LAYERED;
constexpr LONG_PTR Transparent = WS_EX_TRANSPARENT;

struct Attributes {
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
};

Attributes LayeredAttributes(HWND window) {
  Attributes attributes;
  EXPECT_TRUE(GetLayeredWindowAttributes(window, &attributes.key, &attributes.alpha, &attributes.flags));
  return attributes;
}

TEST(LayeredWindowMaker, StartsOpaqueWithoutKeyAndFindsTheSystemFunction) {
  LayeredWindowMaker maker;
  EXPECT_TRUE(maker.IsEnabled());
  EXPECT_EQ(maker.ColorKey(), 0xFFFFFFFFu);
  EXPECT_FALSE(maker.UseColorKey());
  EXPECT_FALSE(maker.ClickThrough());
  EXPECT_FALSE(maker.UseAlpha());
  EXPECT_EQ(maker.Alpha(), 255);
}

// Whether the window waits to be painted afterwards. A window that becomes layered
// is repainted by the system itself, so those cases say nothing about Apply.
enum class Paint { Redrawn, NotRedrawn, SystemRepaints };

TEST(LayeredWindowMaker, ApplyChangesTheStyleOnlyWhenItDiffersAndRedrawsOnlyWhenLayeringIsRemoved) {
  constexpr Paint Redrawn = Paint::Redrawn, NotRedrawn = Paint::NotRedrawn, System = Paint::SystemRepaints;
  const struct {
    const char* name;
    DWORD initialExStyle;
    bool useAlpha, useColorKey, clickThrough;
    BYTE alpha;
    COLORREF key;
    LONG_PTR expectedBits;  // of WS_EX_LAYERED | WS_EX_TRANSPARENT
    bool styleWritten;
    Paint paint;
    DWORD expectedFlags;   // of the layered attributes, when layered
    COLORREF expectedKey;
  } cases[] = {
      {"opacity on a plain window", 0, true, false, false, 229, 0xFFFFFFFF, Layered, true, System, LWA_ALPHA,
       0x00FFFFFF},
      {"opacity on a window layered already", WS_EX_LAYERED, true, false, false, 100, 0xFFFFFFFF, Layered, false,
       NotRedrawn, LWA_ALPHA, 0x00FFFFFF},
      {"colour key 0xFFFFFFFF goes out as 0x00FFFFFF", 0, false, true, false, 255, 0xFFFFFFFF, Layered, true, System,
       LWA_COLORKEY, 0x00FFFFFF},
      {"key and opacity, click-through", 0, true, true, true, 50, 0x12345678, Layered | Transparent, true, System,
       LWA_ALPHA | LWA_COLORKEY, 0x00345678},
      {"click-through added to a layered window", WS_EX_LAYERED, true, false, true, 229, 0xFFFFFFFF,
       Layered | Transparent, true, System, LWA_ALPHA, 0x00FFFFFF},
      {"neither key nor opacity on a layered window", WS_EX_LAYERED, false, false, false, 255, 0xFFFFFFFF, 0, true,
       Redrawn, 0, 0},
      {"neither key nor opacity on a plain window", 0, false, false, false, 255, 0xFFFFFFFF, 0, false, NotRedrawn, 0,
       0},
      {"neither, keeping click-through on a layered one", WS_EX_LAYERED | WS_EX_TRANSPARENT, false, false, true,
       255, 0xFFFFFFFF, Transparent, true, Redrawn, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestWindow window(40, 40, 200, 120, c.initialExStyle, true);
    if (c.initialExStyle & WS_EX_LAYERED) SetLayeredWindowAttributes(window.Handle(), 0, 255, LWA_ALPHA);
    window.Settle();
    LayeredWindowMaker maker;
    maker.SetUseAlpha(c.useAlpha);
    maker.SetUseColorKey(c.useColorKey);
    maker.SetClickThrough(c.clickThrough);
    maker.SetAlpha(c.alpha);
    maker.SetColorKey(c.key);
    maker.Apply(window.Handle());

    EXPECT_EQ(window.ExStyle() & (Layered | Transparent), c.expectedBits);
    EXPECT_EQ(window.ExStyleWrites(), c.styleWritten ? 1 : 0);
    if (c.paint != System) {
      EXPECT_EQ(window.NeedsPaint(), c.paint == Redrawn);
      EXPECT_EQ(window.ChildNeedsPaint(), c.paint == Redrawn) << "children are redrawn with the window";
    }
    if (c.expectedBits & Layered) {
      const Attributes attributes = LayeredAttributes(window.Handle());
      EXPECT_EQ(attributes.flags, c.expectedFlags);
      if (c.useAlpha) {
        EXPECT_EQ(attributes.alpha, c.alpha);
      }
      if (c.useColorKey) {
        EXPECT_EQ(attributes.key, c.expectedKey);
      }
    }
  }
}

TEST(LayeredWindowMaker, SecondRemovalNeitherChangesNorRedraws) {
  TestWindow window(40, 40, 200, 120, WS_EX_LAYERED, true);
  SetLayeredWindowAttributes(window.Handle(), 0, 255, LWA_ALPHA);
  window.Settle();
  LayeredWindowMaker maker;
  maker.Apply(window.Handle());
  EXPECT_EQ(window.ExStyleWrites(), 1);
  EXPECT_TRUE(window.NeedsPaint());

  window.Settle();
  maker.Apply(window.Handle());
  EXPECT_EQ(window.ExStyleWrites(), 0);
  EXPECT_FALSE(window.NeedsPaint());
  EXPECT_FALSE(window.ChildNeedsPaint());
}

TEST(LayeredWindowMaker, SettingsShowOnlyAtTheNextApply) {
  TestWindow window(40, 40, 200, 120);
  LayeredWindowMaker maker;
  maker.SetUseAlpha(true);
  maker.SetAlpha(229);
  maker.Apply(window.Handle());
  maker.SetAlpha(22);
  EXPECT_EQ(LayeredAttributes(window.Handle()).alpha, 229);
  maker.Apply(window.Handle());
  EXPECT_EQ(LayeredAttributes(window.Handle()).alpha, 22);
}

void Shape(formkit::TBitmap& bitmap, formkit::TPixelFormat format, int width, int height) {
  bitmap.SetPixelFormat(format);
  bitmap.SetSize(width, height);
}

TEST(PerPixelLayeredWindow, UpdateShowsTheBitmapOrRemovesLayeringAsTheSettingsSay) {
  const struct {
    const char* name;
    formkit::TPixelFormat format;
    bool perPixel, useAlpha, useColorKey, clickThrough;
    DWORD initialExStyle;
    LONG_PTR expectedBits;
    bool takesBitmapSize;
  } cases[] = {
      {"32-bit with its own alpha", formkit::pf32bit, true, false, false, false, 0, Layered, true},
      {"32-bit, click-through", formkit::pf32bit, true, false, false, true, 0, Layered | Transparent, true},
      {"24-bit with per-pixel alpha asked for: layering removed", formkit::pf24bit, true, false, false, false,
       WS_EX_LAYERED, 0, false},
      {"24-bit with a constant opacity", formkit::pf24bit, true, true, false, false, 0, Layered, true},
      {"24-bit with a colour key", formkit::pf24bit, false, false, true, false, 0, Layered, true},
      {"32-bit without per-pixel alpha and nothing else", formkit::pf32bit, false, false, false, false,
       WS_EX_LAYERED, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestWindow window(100, 50, 300, 200, c.initialExStyle);
    if (c.initialExStyle & WS_EX_LAYERED) SetLayeredWindowAttributes(window.Handle(), 0, 255, LWA_ALPHA);
    window.Settle();
    formkit::TBitmap bitmap;
    Shape(bitmap, c.format, 40, 30);
    TPerPixelLayeredWindowMaker maker;
    ASSERT_TRUE(maker.IsEnabled());
    maker.SetUsePerPixelAlpha(c.perPixel);
    maker.SetUseAlpha(c.useAlpha);
    maker.SetUseColorKey(c.useColorKey);
    maker.SetClickThrough(c.clickThrough);
    maker.Update(window.Handle(), bitmap);

    EXPECT_EQ(window.ExStyle() & (Layered | Transparent), c.expectedBits);
    const RECT bounds = window.Bounds();
    EXPECT_EQ(bounds.left, 100);
    EXPECT_EQ(bounds.top, 50);
    EXPECT_EQ(bounds.right - bounds.left, c.takesBitmapSize ? 40 : 300);
    EXPECT_EQ(bounds.bottom - bounds.top, c.takesBitmapSize ? 30 : 200);
    EXPECT_EQ(window.NeedsPaint(), !c.takesBitmapSize) << "a window that stops being layered is redrawn";
  }
}

TEST(PerPixelLayeredWindow, KeepsTheWindowWhereItIsNow) {
  TestWindow window(10, 20, 300, 200);
  SetWindowPos(window.Handle(), nullptr, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  formkit::TBitmap bitmap;
  Shape(bitmap, formkit::pf32bit, 120, 40);
  TPerPixelLayeredWindowMaker maker;
  maker.SetUsePerPixelAlpha(true);
  maker.Update(window.Handle(), bitmap);
  const RECT bounds = window.Bounds();
  EXPECT_EQ(bounds.left, 333);
  EXPECT_EQ(bounds.top, 222);
  EXPECT_EQ(bounds.right, 333 + 120);
  EXPECT_EQ(bounds.bottom, 222 + 40);
}

}  // namespace
}  // namespace plinth
