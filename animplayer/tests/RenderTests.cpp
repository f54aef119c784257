// Drawing: coverage of shapes, compositing with real alpha, text layout and fonts.
#include "animplayer/movie/MovieFile.h"
#include "animplayer/movie/MoviePlayback.h"
#include "animplayer/render/CoverageMask.h"
#include "animplayer/render/FontCollection.h"
#include "animplayer/render/FrameCompositor.h"
#include "animplayer/render/MovieRenderer.h"
#include "animplayer/render/TextLayout.h"
#include "animplayer/tests/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace animplayer {
namespace {

float TotalCoverage(const CoverageMask& mask) {
  float sum = 0;
  for (int y = mask.Area().top; y < mask.Area().bottom; ++y) {
    for (int x = mask.Area().left; x < mask.Area().right; ++x) sum += mask.At(x, y);
  }
  return sum;
}

const PixelRect kCanvas{0, 0, 200, 200};

TEST(Coverage, EdgesCoverExactlyTheirArea) {
  const struct {
    const char* name;
    float x, y, w, h;
  } cases[] = {{"on the pixel grid", 10, 10, 20, 5}, {"half pixels", 10.5f, 10.5f, 20, 5}, {"a sliver", 3.25f, 7.75f, 0.5f, 0.25f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VectorPath path;
    path.AddRect(c.x, c.y, c.w, c.h, 0);
    const CoverageMask mask = CoverageMask::Rasterise(path, kCanvas);
    EXPECT_NEAR(TotalCoverage(mask), c.w * c.h, 1e-3);
  }
  VectorPath half;
  half.AddRect(10.5f, 10, 4, 4, 0);
  const CoverageMask mask = CoverageMask::Rasterise(half, kCanvas);
  EXPECT_NEAR(mask.At(10, 11), 0.5f, 1e-4) << "a half-covered pixel is half transparent";
  EXPECT_NEAR(mask.At(11, 11), 1.0f, 1e-4);
}

TEST(Coverage, WindingsMergeAndCutHoles) {
  VectorPath disc;
  disc.AddCircle({100, 100}, 40);
  EXPECT_NEAR(TotalCoverage(CoverageMask::Rasterise(disc, kCanvas)), std::numbers::pi * 40 * 40, 3);

  VectorPath ring;
  ring.AddCircle({100, 100}, 40, true);
  ring.AddCircle({100, 100}, 30, false);
  const CoverageMask ringMask = CoverageMask::Rasterise(ring, kCanvas);
  EXPECT_NEAR(TotalCoverage(ringMask), std::numbers::pi * (40 * 40 - 30 * 30), 3);
  EXPECT_FLOAT_EQ(ringMask.At(100, 100), 0) << "the hole is empty";

  VectorPath overlap;  // two squares wound alike overlap without getting darker than opaque
  overlap.AddRect(10, 10, 20, 20, 0);
  overlap.AddRect(20, 20, 20, 20, 0);
  const CoverageMask overlapMask = CoverageMask::Rasterise(overlap, kCanvas);
  EXPECT_FLOAT_EQ(overlapMask.At(25, 25), 1);
  EXPECT_NEAR(TotalCoverage(overlapMask), 400 + 400 - 100, 1e-2);
}

TEST(Coverage, ClippingAndBlurKeepTheShapeInside) {
  VectorPath wide;
  wide.AddRect(-50, 10, 300, 10, 0);
  const CoverageMask clipped = CoverageMask::Rasterise(wide, kCanvas);
  EXPECT_EQ(clipped.Area().left, 0);
  EXPECT_LE(clipped.Area().right, kCanvas.right);
  EXPECT_FLOAT_EQ(clipped.At(0, 15), 1) << "a shape begun left of the area still covers its first column";

  VectorPath dot;
  dot.AddRect(90, 90, 20, 20, 0);
  CoverageMask blurred = CoverageMask::Rasterise(dot, kCanvas);
  const float before = TotalCoverage(blurred);
  blurred.Blur(12);
  EXPECT_NEAR(TotalCoverage(blurred), before, before * 0.01f) << "a blur moves coverage, it does not add any";
  EXPECT_GT(blurred.At(85, 100), 0);
  EXPECT_LT(blurred.At(100, 100), 1);
}

TEST(Compositing, KeepsColoursPremultipliedAndBlendsOver) {
  Sprite sprite(PixelRect{0, 0, 4, 1});
  VectorPath cover;
  cover.AddRect(0, 0, 4, 1, 0);
  sprite.Paint(CoverageMask::Rasterise(cover, {0, 0, 4, 1}), Colour{1, 0.5f, 0, 0.5f});
  const uint8_t* p = sprite.Row(0);
  EXPECT_EQ(p[2], 128) << "red, premultiplied";
  EXPECT_EQ(p[1], 64);
  EXPECT_EQ(p[3], 128);

  std::vector<uint8_t> bits(4 * 4 * 1, 0);
  FrameView frame{bits.data(), 4, 1, 16};
  bits[4 * 3 + 0] = 255;  // the last pixel opaque blue
  bits[4 * 3 + 3] = 255;
  CompositeSprite(frame, sprite, 1.0f, {});
  EXPECT_EQ(bits[3], 128) << "over transparent: the sprite as it is";
  EXPECT_EQ(bits[4 * 3 + 3], 255) << "over opaque stays opaque";
  EXPECT_NEAR(bits[4 * 3 + 0], 127, 1) << "the blue shows through half";
  for (size_t i = 0; i < bits.size(); i += 4) {
    for (int c = 0; c < 3; ++c) EXPECT_LE(bits[i + c], bits[i + 3]) << "pixel " << i / 4;
  }

  Sprite square(PixelRect{0, 0, 4, 4});
  VectorPath squarePath;
  squarePath.AddRect(0, 0, 4, 4, 0);
  square.Paint(CoverageMask::Rasterise(squarePath, {0, 0, 4, 4}), Colour{1, 1, 1, 0.5f});
  std::vector<uint8_t> big(10 * 10 * 4, 0);
  FrameView bigFrame{big.data(), 10, 10, 40};
  CompositeSprite(bigFrame, square, 0.5f, {2.0f, {0, 0}, 1, 1});
  auto alpha = [&](int x, int y) { return big[(static_cast<size_t>(y) * 10 + x) * 4 + 3]; };
  EXPECT_NEAR(alpha(4, 4), 64, 1) << "scaled twice about the corner, moved by one, at half opacity";
  EXPECT_NEAR(alpha(7, 7), 64, 1) << "it reaches twice as far";
  EXPECT_EQ(alpha(0, 0), 0) << "and starts where it was moved to";
  EXPECT_EQ(alpha(9, 9) < 64, true) << "its far edge is soft";
}

TEST(TextLayout, WrapsShrinksAndShortens) {
  FontCollection fonts({L"DejaVu Sans"}, false);
  TextStyle style;
  style.size = 40;
  style.minSize = 10;
  const LaidOutText one = LayOutText(fonts, L"Auto", style, {0, 0, 300, 100});
  EXPECT_EQ(one.lines.size(), 1u);
  EXPECT_FLOAT_EQ(one.size, 40);
  const Bounds b = one.outline.GetBounds();
  EXPECT_NEAR((b.left + b.right) / 2, 150, 3) << "centred";

  const LaidOutText wrapped = LayOutText(fonts, L"Profile A On 4200MHz", style, {0, 0, 300, 200});
  EXPECT_EQ(wrapped.lines.size(), 2u);
  EXPECT_LE(wrapped.outline.GetBounds().right, 300.5f);

  const std::wstring long928(928, L'x');
  const LaidOutText shrunk = LayOutText(fonts, std::wstring(300, L'a') + L" " + std::wstring(300, L'b'), style, {0, 0, 300, 220});
  EXPECT_LT(shrunk.size, 40) << "shrunk to fit";
  EXPECT_LE(shrunk.outline.GetBounds().bottom, 220.5f);

  const LaidOutText cut = LayOutText(fonts, long928, style, {0, 0, 200, 40});
  EXPECT_TRUE(cut.truncated) << "what cannot fit at the smallest size ends in an ellipsis";
  EXPECT_FLOAT_EQ(cut.size, 10);
  EXPECT_LE(cut.outline.GetBounds().right, 200.5f);

  TextStyle single = style;
  single.wrap = false;
  const LaidOutText figures = LayOutText(fonts, L"12345678", single, {0, 0, 120, 60});
  EXPECT_EQ(figures.lines.size(), 1u) << "figures stay on one line";
  EXPECT_FALSE(figures.truncated);
  EXPECT_LE(figures.outline.GetBounds().right - figures.outline.GetBounds().left, 120.5f);
}

TEST(TextLayout, BreaksLinesWhereTheTextAllows) {
  FontCollection fonts({L"DejaVu Sans", L"WenQuanYi Micro Hei"}, false);
  TextStyle style;
  style.size = 30;
  style.minSize = 30;  // no shrinking: the breaks are what is tested
  auto widthOf = [&](const std::wstring& text) {
    TextStyle single = style;
    single.wrap = false;
    const Bounds b = LayOutText(fonts, text, single, {0, 0, 10000, 100}).outline.GetBounds();
    return b.right - b.left + 10;  // the side bearings, but less than any character
  };
  const std::wstring profileOn = L"\x30D7\x30ED\x30D5\x30A1\x30A4\x30EB A \x30AA\x30F3: 4200MHz";
  const struct {
    const char* name;
    std::wstring text;
    float boxWidth;
    std::vector<std::wstring> lines;
  } cases[] = {
      {"at spaces", L"Profile A on: 4200MHz", widthOf(L"Profile A on:"), {L"Profile A on:", L"4200MHz"}},
      {"a word too long for a line", L"4200000000MHz", widthOf(L"42000"), {L"42000", L"00000", L"MHz"}},
      {"a line feed", L"one\ntwo", 1000, {L"one", L"two"}},
      {"Japanese with spaces keeps its words", profileOn, widthOf(L"\x30D7\x30ED\x30D5\x30A1\x30A4\x30EB A \x30AA"),
       {L"\x30D7\x30ED\x30D5\x30A1\x30A4\x30EB A", L"\x30AA\x30F3: 4200MHz"}},
      {"but not at a space that leaves the line half empty", L"QPS Engine \x304C\x8D77\x52D5\x3057\x3066\x3044\x307E\x305B\x3093",
       widthOf(L"QPS Engine \x304C\x8D77\x52D5\x3057\x3066"),
       {L"QPS Engine \x304C\x8D77\x52D5\x3057\x3066", L"\x3044\x307E\x305B\x3093"}},
      {"Japanese without spaces breaks between characters", L"\x8B66\x544A\x8B66\x544A\x8B66\x544A",
       widthOf(L"\x8B66\x544A\x8B66\x544A"), {L"\x8B66\x544A\x8B66\x544A", L"\x8B66\x544A"}},
      {"no character left alone on the last line", L"\x81EA\x52D5\x7701\x96FB\x529B\x30E2\x30FC\x30C9",
       widthOf(L"\x81EA\x52D5\x7701\x96FB\x529B\x30E2\x30FC"), {L"\x81EA\x52D5\x7701\x96FB", L"\x529B\x30E2\x30FC\x30C9"}},
      {"a full stop never begins a line", L"\x8B66\x544A\x8B66\x3002", widthOf(L"\x8B66\x544A\x8B66"),
       {L"\x8B66\x544A", L"\x8B66\x3002"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LayOutText(fonts, c.text, style, {0, 0, c.boxWidth, 1000}).lines, c.lines);
  }
}

TEST(Fonts, CharactersFindAFaceThatHasThem) {
  FontCollection fonts({L"No Such Face", L"DejaVu Sans", L"WenQuanYi Micro Hei"}, false);
  ASSERT_EQ(fonts.FaceCount(), 2u) << "missing faces are left out";
  EXPECT_EQ(fonts.FaceFor(L'A'), 0u);
  EXPECT_EQ(fonts.FaceFor(0x6F22), 1u) << "kanji from the CJK face";
  EXPECT_EQ(fonts.FaceFor(0x3042), 1u) << "kana from the CJK face";
  EXPECT_FALSE(fonts.GlyphOf(1, 0x6F22).outline.empty());
  EXPECT_GT(fonts.GlyphOf(0, L' ').advance, 0) << "a space has no outline but an advance";
}

TEST(MovieRendering, ShowsTheLabelAtRestAndNothingWithoutAMovie) {
  const LoadedMovie loaded = LoadMovie(test::ResourceFolder() + L"ZentrikProfileOn.swf");
  ASSERT_NE(loaded.movie, nullptr);
  MoviePlayback playback(loaded.movie, loaded.contract);
  playback.Apply({CommandKind::SetLabel, std::nullopt, L"Profile A On 4200MHz"}, 0);
  playback.Apply({CommandKind::Show, std::nullopt, {}}, 0);
  playback.Advance(5000);
  MovieRenderer renderer(loaded.movie);
  std::vector<uint8_t> bits(400 * 650 * 4);
  FrameView frame{bits.data(), 400, 650, 400 * 4};
  renderer.Render(playback, frame);
  size_t opaque = 0, partial = 0, bad = 0;
  for (size_t i = 0; i < bits.size(); i += 4) {
    opaque += bits[i + 3] == 255;
    partial += bits[i + 3] > 0 && bits[i + 3] < 255;
    bad += bits[i] > bits[i + 3] || bits[i + 1] > bits[i + 3] || bits[i + 2] > bits[i + 3];
  }
  EXPECT_EQ(bad, 0u) << "premultiplied everywhere";
  EXPECT_GT(partial, 1000u) << "edges, glows and translucent glass";
  EXPECT_EQ(bits[3], 0) << "the corner outside the card stays clear";
  // The label's area holds bright text.
  size_t white = 0;
  for (int y = 420; y < 540; ++y) {
    for (int x = 50; x < 350; ++x) white += bits[(static_cast<size_t>(y) * 400 + x) * 4 + 2] > 230;
  }
  EXPECT_GT(white, 500u);

  MoviePlayback nothing(nullptr, {});
  nothing.Apply({CommandKind::Show, std::nullopt, {}}, 0);
  MovieRenderer empty(nullptr);
  empty.Render(nothing, frame);
  for (size_t i = 3; i < bits.size(); i += 4) ASSERT_EQ(bits[i], 0) << "no movie draws nothing";
}

}  // namespace
}  // namespace animplayer
