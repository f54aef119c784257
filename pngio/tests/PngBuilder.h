// Builds PNG files of any colour type, bit depth and interlacing from sample values,
// with stored (uncompressed) deflate blocks, so that tests control every byte that
// the decoder sees.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pngtest {

struct PaletteEntry {
  uint8_t r, g, b, a;
};

struct PngRecipe {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 8;
  uint8_t colorType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  bool interlaced = false;
  std::vector<PaletteEntry> palette;   // colour type 3; alpha < 255 adds a tRNS chunk
  std::vector<uint16_t> transparent;  // colour types 0 and 2: the tRNS key (1 or 3 samples)
  // Sample `channel` of pixel (x, y), already within the bit depth.
  std::function<uint16_t(uint32_t x, uint32_t y, uint32_t channel)> sample;
};

uint32_t ChannelCount(uint8_t colorType);

std::vector<uint8_t> BuildPng(const PngRecipe& recipe);

// A chunk as it lies in a file: length, type, data, CRC.
std::vector<uint8_t> MakeChunk(const std::string& type, const std::vector<uint8_t>& data);

// Offsets of the chunks in a file, each at its length field.
std::vector<size_t> ChunkOffsets(const std::vector<uint8_t>& file);
// Recomputes the CRC of every whole chunk (after a test changed its bytes).
void FixChunkCrcs(std::vector<uint8_t>& file);

}  // namespace pngtest
