// Thousands of mutated PNG files through ReadPngEx: none may crash it, and what it
// accepts must be a well-formed record. The seed is fixed so that a failure repeats.
#include "pngio/pngio.h"
#include "pngio/tests/MemoryStream.h"
#include "pngio/tests/PngBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using pngtest::MemorySink;
using pngtest::MemorySource;

constexpr int kMutatedFiles = 3000;
constexpr uint32_t kSeed = 0x5EED2026;

std::vector<std::vector<uint8_t>> SeedFiles() {
  std::vector<std::vector<uint8_t>> seeds;
  const struct {
    uint8_t colorType, bitDepth;
    bool interlaced;
  } kinds[] = {{0, 1, false}, {2, 16, false}, {3, 4, true}, {4, 8, false}, {6, 8, true}};
  for (const auto& k : kinds) {
    pngtest::PngRecipe recipe;
    recipe.width = 9;
    recipe.height = 6;
    recipe.colorType = k.colorType;
    recipe.bitDepth = k.bitDepth;
    recipe.interlaced = k.interlaced;
    const uint32_t mask = k.bitDepth == 16 ? 0xFFFF : (1u << k.bitDepth) - 1;
    recipe.sample = [mask](uint32_t x, uint32_t y, uint32_t c) { return static_cast<uint16_t>((x * 5 + y * 3 + c) & mask); };
    if (k.colorType == 3) {
      for (uint32_t i = 0; i < 16; ++i) recipe.palette.push_back({uint8_t(i * 16), uint8_t(255 - i), uint8_t(i), uint8_t(i * 17)});
    }
    seeds.push_back(pngtest::BuildPng(recipe));
  }
  // One file from the library's own encoder: real deflate and row filters.
  PngData picture{};
  if (AllocatePngData(&picture, 24, 16, 6) != 0) {
    for (uint32_t y = 0; y < picture.height; ++y) {
      for (uint32_t i = 0; i < picture.rowBytes; ++i) picture.rows[y][i] = static_cast<uint8_t>((i * i + y * 13) & 0xFF);
    }
    MemorySink sink;
    if (WritePngEx(&picture, MemorySink::Write, &sink) != 0) seeds.push_back(sink.bytes);
    FreePngData(&picture);
  }
  return seeds;
}

void Mutate(std::vector<uint8_t>& f, std::mt19937& random) {
  auto pick = [&random](size_t n) { return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  static const uint8_t kInteresting[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xFE, 0x10, 0x40};
  static const uint32_t kLengths[] = {0, 1, 12, 13, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 65535, 65536};
  const int steps = 1 + static_cast<int>(pick(4));
  for (int s = 0; s < steps && !f.empty(); ++s) {
    switch (pick(8)) {
      case 0: f[pick(f.size())] ^= static_cast<uint8_t>(1u << pick(8)); break;
      case 1: f[pick(f.size())] = static_cast<uint8_t>(random()); break;
      case 2: f[pick(f.size())] = kInteresting[pick(sizeof kInteresting)]; break;
      case 3: f.resize(pick(f.size())); break;
      case 4: {
        const size_t at = pick(f.size()), n = 1 + pick(16);
        for (size_t i = 0; i < n; ++i) f.insert(f.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(random()));
        break;
      }
      case 5: {
        const size_t at = pick(f.size()), n = std::min(f.size() - at, 1 + pick(32));
        f.erase(f.begin() + static_cast<std::ptrdiff_t>(at), f.begin() + static_cast<std::ptrdiff_t>(at + n));
        break;
      }
      case 6:  // a header field: size, bit depth, colour type, interlacing
        if (f.size() > 29) f[16 + pick(13)] = pick(2) ? kInteresting[pick(sizeof kInteresting)] : static_cast<uint8_t>(pick(8));
        break;
      default: {
        const std::vector<size_t> chunks = pngtest::ChunkOffsets(f);
        if (chunks.empty()) break;
        const uint32_t v = kLengths[pick(sizeof kLengths / sizeof kLengths[0])];
        const size_t at = chunks[pick(chunks.size())];
        for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
        break;
      }
    }
  }
  // Most mutations would stop at a checksum; repairing them lets the rest reach the decoder.
  if (pick(10) < 6) pngtest::FixChunkCrcs(f);
}

TEST(PngFuzz, MutatedFilesNeverCrashTheDecoder) {
  const std::vector<std::vector<uint8_t>> seeds = SeedFiles();
  ASSERT_EQ(seeds.size(), 6u);
  std::mt19937 random(kSeed);
  int accepted = 0;
  for (int i = 0; i < kMutatedFiles; ++i) {
    std::vector<uint8_t> file = seeds[static_cast<size_t>(i) % seeds.size()];
    Mutate(file, random);
    MemorySource source(file);
    PngData data{};
    if (ReadPngEx(&data, MemorySource::Read, &source) == 0) {
      ASSERT_EQ(data.rows, nullptr) << "mutation " << i;
      continue;
    }
    ++accepted;
    ASSERT_TRUE(data.colorType == 2 || data.colorType == 6) << "mutation " << i;
    ASSERT_EQ(data.rowBytes, data.width * (data.colorType == 6 ? 4 : 3)) << "mutation " << i;
    // Every row must be readable memory of the stated length.
    unsigned sum = 0;
    for (uint32_t y = 0; y < data.height; ++y) {
      for (uint32_t b = 0; b < data.rowBytes; ++b) sum += data.rows[y][b];
    }
    FreePngData(&data);
    (void)sum;
  }
  std::printf("[ figures  ] %d of %d mutated files decoded\n", accepted, kMutatedFiles);
}

}  // namespace
