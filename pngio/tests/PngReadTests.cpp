// ReadPngEx on every PNG variant, and on broken and hostile streams.
#include "pngio/pngio.h"
#include "pngio/tests/MemoryStream.h"
#include "pngio/tests/PngBuilder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

namespace {

using pngtest::BuildPng;
using pngtest::MemorySource;
using pngtest::PngRecipe;

constexpr uint32_t kWidth = 7;  // 7 x 5 gives every Adam7 pass at least one pixel
constexpr uint32_t kHeight = 5;

uint16_t Hash(uint32_t x, uint32_t y, uint32_t c) {
  uint32_t h = (x * 37u + y * 91u + c * 53u + 11u) * 2654435761u;
  return static_cast<uint16_t>(h >> 12);
}

// Sample values of the test pictures, cut to the bit depth.
std::function<uint16_t(uint32_t, uint32_t, uint32_t)> Samples(uint8_t bitDepth, uint32_t paletteSize = 0) {
  const uint32_t mask = paletteSize != 0 ? 0xFFFF : (1u << bitDepth) - 1;
  return [=](uint32_t x, uint32_t y, uint32_t c) -> uint16_t {
    const uint32_t v = Hash(x, y, c);
    return static_cast<uint16_t>(paletteSize != 0 ? v % paletteSize : v & mask);
  };
}

std::vector<pngtest::PaletteEntry> Palette(uint32_t size, bool withAlpha) {
  std::vector<pngtest::PaletteEntry> palette;
  for (uint32_t i = 0; i < size; ++i) {
    palette.push_back({static_cast<uint8_t>(i * 47 + 3), static_cast<uint8_t>(255 - i * 29),
                       static_cast<uint8_t>(i * 91 + 120), static_cast<uint8_t>(withAlpha ? (i * 67) & 0xFF : 255)});
  }
  return palette;
}

uint8_t To8Bits(uint16_t v, uint8_t depth) {
  if (depth == 16) return static_cast<uint8_t>(v >> 8);
  return static_cast<uint8_t>(v * 255 / ((1u << depth) - 1));
}

std::array<uint8_t, 4> ExpectedPixel(const PngRecipe& recipe, uint32_t x, uint32_t y) {
  const auto s = [&](uint32_t c) { return recipe.sample(x, y, c); };
  const auto d = recipe.bitDepth;
  switch (recipe.colorType) {
    case 0: {
      const uint8_t g = To8Bits(s(0), d);
      const bool keyed = !recipe.transparent.empty() && s(0) == recipe.transparent[0];
      return {g, g, g, static_cast<uint8_t>(keyed ? 0 : 255)};
    }
    case 2: {
      const bool keyed = !recipe.transparent.empty() && s(0) == recipe.transparent[0] && s(1) == recipe.transparent[1] &&
                         s(2) == recipe.transparent[2];
      return {To8Bits(s(0), d), To8Bits(s(1), d), To8Bits(s(2), d), static_cast<uint8_t>(keyed ? 0 : 255)};
    }
    case 3: {
      const pngtest::PaletteEntry& e = recipe.palette[s(0)];
      return {e.r, e.g, e.b, e.a};
    }
    case 4: {
      const uint8_t g = To8Bits(s(0), d);
      return {g, g, g, To8Bits(s(1), d)};
    }
    default:
      return {To8Bits(s(0), d), To8Bits(s(1), d), To8Bits(s(2), d), To8Bits(s(3), d)};
  }
}

struct VariantCase {
  const char* name;
  uint8_t colorType;
  uint8_t bitDepth;
  bool interlaced;
  bool transparency;  // a tRNS chunk (key colour or palette alpha)
};

PngRecipe MakeRecipe(const VariantCase& c) {
  PngRecipe recipe;
  recipe.width = kWidth;
  recipe.height = kHeight;
  recipe.colorType = c.colorType;
  recipe.bitDepth = c.bitDepth;
  recipe.interlaced = c.interlaced;
  if (c.colorType == 3) {
    const uint32_t size = 1u << c.bitDepth;
    recipe.palette = Palette(size, c.transparency);
    recipe.sample = Samples(c.bitDepth, size);
  } else {
    recipe.sample = Samples(c.bitDepth);
    if (c.transparency) {
      // Key the colour of the first pixel, so that at least one pixel is transparent.
      for (uint32_t ch = 0; ch < pngtest::ChannelCount(c.colorType); ++ch) recipe.transparent.push_back(recipe.sample(0, 0, ch));
    }
  }
  return recipe;
}

const VariantCase kVariants[] = {
    {"grey 1 bit", 0, 1, false, false},
    {"grey 2 bits", 0, 2, false, false},
    {"grey 4 bits", 0, 4, false, false},
    {"grey 8 bits", 0, 8, false, false},
    {"grey 16 bits", 0, 16, false, false},
    {"grey 8 bits with key colour", 0, 8, false, true},
    {"grey 16 bits with key colour", 0, 16, false, true},
    {"RGB 8 bits", 2, 8, false, false},
    {"RGB 16 bits", 2, 16, false, false},
    {"RGB 8 bits with key colour", 2, 8, false, true},
    {"palette 1 bit", 3, 1, false, false},
    {"palette 2 bits", 3, 2, false, false},
    {"palette 4 bits", 3, 4, false, false},
    {"palette 8 bits", 3, 8, false, false},
    {"palette 8 bits with alpha", 3, 8, false, true},
    {"grey and alpha 8 bits", 4, 8, false, false},
    {"grey and alpha 16 bits", 4, 16, false, false},
    {"RGBA 8 bits", 6, 8, false, false},
    {"RGBA 16 bits", 6, 16, false, false},
    {"interlaced grey 1 bit", 0, 1, true, false},
    {"interlaced palette 4 bits with alpha", 3, 4, true, true},
    {"interlaced RGB 16 bits", 2, 16, true, false},
    {"interlaced RGBA 8 bits", 6, 8, true, false},
};

// Owns what ReadPngEx gave, released on every path.
struct ReadResult {
  PngData data{};
  int result = 0;
  ReadResult(const ReadResult&) = delete;
  ReadResult& operator=(const ReadResult&) = delete;
  ReadResult() = default;
  ~ReadResult() { FreePngData(&data); }
};

void Read(MemorySource& source, ReadResult& out) { out.result = ReadPngEx(&out.data, MemorySource::Read, &source); }

TEST(PngVariants, EveryVariantArrivesAsRgbOrRgbaWith8BitSamples) {
  for (const VariantCase& c : kVariants) {
    SCOPED_TRACE(c.name);
    const PngRecipe recipe = MakeRecipe(c);
    const std::vector<uint8_t> file = BuildPng(recipe);
    MemorySource source(file);
    ReadResult read;
    Read(source, read);
    ASSERT_NE(read.result, 0);
    const bool alpha = c.colorType == 4 || c.colorType == 6 || c.transparency;
    const uint32_t samples = alpha ? 4 : 3;
    EXPECT_EQ(read.data.width, kWidth);
    EXPECT_EQ(read.data.height, kHeight);
    EXPECT_EQ(read.data.bitDepth, 8u);
    EXPECT_EQ(read.data.colorType, alpha ? 6u : 2u);
    EXPECT_EQ(read.data.rowBytes, kWidth * samples);
    ASSERT_NE(read.data.rows, nullptr);
    const int tolerance = c.bitDepth == 16 ? 1 : 0;  // 16 to 8 bits may round or cut
    for (uint32_t y = 0; y < kHeight; ++y) {
      for (uint32_t x = 0; x < kWidth; ++x) {
        const std::array<uint8_t, 4> want = ExpectedPixel(recipe, x, y);
        for (uint32_t ch = 0; ch < samples; ++ch) {
          const int got = read.data.rows[y][x * samples + ch];
          EXPECT_LE(std::abs(got - want[ch]), tolerance)
              << "pixel " << x << "," << y << " sample " << ch << ": " << got << " instead of " << int{want[ch]};
        }
      }
    }
  }
}

TEST(PngVariants, StraightAlphaKeepsTheColourOfTransparentPixels) {
  // Multiplying colours by alpha is the caller's business, not the decoder's.
  PngRecipe recipe;
  recipe.width = 2;
  recipe.height = 1;
  recipe.colorType = 6;
  recipe.sample = [](uint32_t x, uint32_t, uint32_t c) -> uint16_t {
    const uint16_t pixel[2][4] = {{10, 20, 30, 128}, {10, 20, 30, 0}};
    return pixel[x][c];
  };
  const std::vector<uint8_t> file = BuildPng(recipe);
  MemorySource source(file);
  ReadResult read;
  Read(source, read);
  ASSERT_NE(read.result, 0);
  const std::vector<uint8_t> row(read.data.rows[0], read.data.rows[0] + 8);
  EXPECT_EQ(row, (std::vector<uint8_t>{10, 20, 30, 128, 10, 20, 30, 0}));
}

std::vector<uint8_t> SmallRgb() {
  PngRecipe recipe;
  recipe.width = kWidth;
  recipe.height = kHeight;
  recipe.sample = Samples(8);
  return BuildPng(recipe);
}

TEST(PngStream, ReadsOnlyUpToTheEndOfThePicture) {
  std::vector<uint8_t> file = SmallRgb();
  const size_t pictureSize = file.size();
  file.insert(file.end(), {'t', 'r', 'a', 'i', 'l', 'e', 'r'});
  MemorySource source(file);
  ReadResult read;
  Read(source, read);
  EXPECT_NE(read.result, 0);
  EXPECT_EQ(source.position, pictureSize);
}

TEST(PngStream, AcceptsAReadFunctionThatDeliversOneByteAtATime) {
  const std::vector<uint8_t> file = SmallRgb();
  MemorySource source(file);
  source.largestDelivery = 1;
  ReadResult read;
  Read(source, read);
  EXPECT_NE(read.result, 0);
  EXPECT_EQ(read.data.width, kWidth);
}

TEST(PngStream, RejectsAReadFunctionThatClaimsMoreThanItWasAskedFor) {
  const std::vector<uint8_t> file = SmallRgb();
  MemorySource source(file);
  source.overclaim = true;
  ReadResult read;
  Read(source, read);
  EXPECT_EQ(read.result, 0);
  EXPECT_EQ(read.data.rows, nullptr);
}

TEST(PngStream, NullArgumentsFailWithoutHarm) {
  const std::vector<uint8_t> file = SmallRgb();
  MemorySource source(file);
  EXPECT_EQ(ReadPngEx(nullptr, MemorySource::Read, &source), 0);
  PngData data{};
  EXPECT_EQ(ReadPngEx(&data, nullptr, &source), 0);
  EXPECT_EQ(data.rows, nullptr);
  EXPECT_EQ(FreePngData(nullptr), 0);
}

// Broken files: each is made from a good one by one change.
struct BrokenCase {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> damage;
};

uint32_t BigEndianAt(const std::vector<uint8_t>& f, size_t at) {
  return (uint32_t{f[at]} << 24) | (uint32_t{f[at + 1]} << 16) | (uint32_t{f[at + 2]} << 8) | f[at + 3];
}
void PutBigEndianAt(std::vector<uint8_t>& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
size_t ChunkAt(const std::vector<uint8_t>& f, const char* type) {
  for (size_t at : pngtest::ChunkOffsets(f)) {
    if (std::string(f.begin() + at + 4, f.begin() + at + 8) == type) return at;
  }
  return SIZE_MAX;
}

const BrokenCase kBroken[] = {
    {"empty stream", [](std::vector<uint8_t>& f) { f.clear(); }},
    {"signature only", [](std::vector<uint8_t>& f) { f.resize(8); }},
    {"wrong signature", [](std::vector<uint8_t>& f) { f[1] = 'Q'; }},
    {"cut inside IHDR", [](std::vector<uint8_t>& f) { f.resize(20); }},
    {"cut inside IDAT", [](std::vector<uint8_t>& f) { f.resize(ChunkAt(f, "IDAT") + 30); }},
    {"cut before IEND", [](std::vector<uint8_t>& f) { f.resize(ChunkAt(f, "IEND")); }},
    {"IHDR not first",
     [](std::vector<uint8_t>& f) {
       const std::vector<uint8_t> text = pngtest::MakeChunk("tEXt", {'a', 0, 'b'});
       f.insert(f.begin() + 8, text.begin(), text.end());
     }},
    {"second IHDR",
     [](std::vector<uint8_t>& f) {
       const size_t idat = ChunkAt(f, "IDAT");
       const std::vector<uint8_t> ihdr(f.begin() + 8, f.begin() + 8 + 25);
       f.insert(f.begin() + idat, ihdr.begin(), ihdr.end());
     }},
    {"IHDR of the wrong length",
     [](std::vector<uint8_t>& f) {
       PutBigEndianAt(f, 8, 12);
       pngtest::FixChunkCrcs(f);
     }},
    {"zero width",
     [](std::vector<uint8_t>& f) {
       PutBigEndianAt(f, 16, 0);
       pngtest::FixChunkCrcs(f);
     }},
    {"width beyond the limit",
     [](std::vector<uint8_t>& f) {
       PutBigEndianAt(f, 16, 100000);
       pngtest::FixChunkCrcs(f);
     }},
    {"picture area beyond the limit",
     [](std::vector<uint8_t>& f) {
       PutBigEndianAt(f, 16, 16384);
       PutBigEndianAt(f, 20, 16384);
       pngtest::FixChunkCrcs(f);
     }},
    {"height larger than the data",
     [](std::vector<uint8_t>& f) {
       PutBigEndianAt(f, 20, 500);
       pngtest::FixChunkCrcs(f);
     }},
    {"unknown bit depth",
     [](std::vector<uint8_t>& f) {
       f[24] = 5;
       pngtest::FixChunkCrcs(f);
     }},
    {"chunk length beyond the format's limit", [](std::vector<uint8_t>& f) { PutBigEndianAt(f, ChunkAt(f, "IDAT"), 0x80000000u); }},
    {"chunk length beyond the file", [](std::vector<uint8_t>& f) { PutBigEndianAt(f, ChunkAt(f, "IDAT"), 0x7FFFFFF0u); }},
    {"IDAT with a bad checksum",
     [](std::vector<uint8_t>& f) {
       const size_t at = ChunkAt(f, "IDAT");
       f[at + 8 + BigEndianAt(f, at)] ^= 0xFF;
     }},
    {"IDAT that is not a zlib stream",
     [](std::vector<uint8_t>& f) {
       const size_t at = ChunkAt(f, "IDAT");
       f[at + 8] = 0xFF;
       f[at + 9] = 0xFF;
       pngtest::FixChunkCrcs(f);
     }},
    {"no IDAT",
     [](std::vector<uint8_t>& f) {
       const size_t at = ChunkAt(f, "IDAT");
       f.erase(f.begin() + at, f.begin() + at + 12 + BigEndianAt(f, at));
     }},
};

TEST(PngErrors, BrokenFilesFailAndLeaveNoRows) {
  for (const BrokenCase& c : kBroken) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> file = SmallRgb();
    c.damage(file);
    MemorySource source(file);
    ReadResult read;
    read.data.rows = reinterpret_cast<uint8_t**>(&read);  // must be cleared, not freed
    read.data.width = 99;
    Read(source, read);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.data.rows, nullptr);
    EXPECT_EQ(read.data.width, 0u);
  }
}

}  // namespace
