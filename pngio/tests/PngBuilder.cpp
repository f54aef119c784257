#include "pngio/tests/PngBuilder.h"

#include <algorithm>
#include <array>

namespace pngtest {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Crc32(const uint8_t* bytes, size_t count) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < count; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t GetBigEndian(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// A zlib stream of stored blocks.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  constexpr size_t kBlock = 65535;
  size_t at = 0;
  do {
    const size_t n = std::min(kBlock, raw.size() - at);
    const bool last = at + n == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<uint8_t>(n));
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.push_back(static_cast<uint8_t>(~n));
    out.push_back(static_cast<uint8_t>(~n >> 8));
    out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(out, (b << 16) | a);
  return out;
}

// Packs one scan line (filter type 0) of the given pixels.
void AppendScanLine(std::vector<uint8_t>& raw, const PngRecipe& recipe, uint32_t y, uint32_t x0, uint32_t dx) {
  raw.push_back(0);
  const uint32_t channels = ChannelCount(recipe.colorType);
  uint32_t bitBuffer = 0, bits = 0;
  for (uint32_t x = x0; x < recipe.width; x += dx) {
    for (uint32_t c = 0; c < channels; ++c) {
      const uint16_t v = recipe.sample(x, y, c);
      if (recipe.bitDepth == 16) {
        raw.push_back(static_cast<uint8_t>(v >> 8));
        raw.push_back(static_cast<uint8_t>(v));
      } else {
        bitBuffer = (bitBuffer << recipe.bitDepth) | v;
        bits += recipe.bitDepth;
        if (bits == 8) {
          raw.push_back(static_cast<uint8_t>(bitBuffer));
          bitBuffer = bits = 0;
        }
      }
    }
  }
  if (bits != 0) raw.push_back(static_cast<uint8_t>(bitBuffer << (8 - bits)));
}

}  // namespace

uint32_t ChannelCount(uint8_t colorType) {
  switch (colorType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    default: return 4;
  }
}

std::vector<uint8_t> MakeChunk(const std::string& type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunk(12 + data.size());
  const auto length = static_cast<uint32_t>(data.size());
  for (int i = 0; i < 4; ++i) {
    chunk[i] = static_cast<uint8_t>(length >> (24 - 8 * i));
    chunk[4 + i] = static_cast<uint8_t>(type[i]);
  }
  std::copy(data.begin(), data.end(), chunk.begin() + 8);
  const uint32_t crc = Crc32(chunk.data() + 4, data.size() + 4);
  for (int i = 0; i < 4; ++i) chunk[8 + data.size() + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return chunk;
}

std::vector<uint8_t> BuildPng(const PngRecipe& recipe) {
  std::vector<uint8_t> file(std::begin(kSignature), std::end(kSignature));
  auto add = [&file](const std::string& type, const std::vector<uint8_t>& data) {
    const std::vector<uint8_t> chunk = MakeChunk(type, data);
    file.insert(file.end(), chunk.begin(), chunk.end());
  };
  std::vector<uint8_t> header;
  PutBigEndian(header, recipe.width);
  PutBigEndian(header, recipe.height);
  for (uint8_t field : {recipe.bitDepth, recipe.colorType, uint8_t{0}, uint8_t{0}, static_cast<uint8_t>(recipe.interlaced ? 1 : 0)}) {
    header.push_back(field);
  }
  add("IHDR", header);
  if (recipe.colorType == 3) {
    std::vector<uint8_t> plte, trns;
    bool anyAlpha = false;
    for (const PaletteEntry& e : recipe.palette) {
      for (uint8_t sample : {e.r, e.g, e.b}) plte.push_back(sample);
      trns.push_back(e.a);
      anyAlpha = anyAlpha || e.a != 255;
    }
    add("PLTE", plte);
    if (anyAlpha) add("tRNS", trns);
  }
  if (!recipe.transparent.empty()) {
    std::vector<uint8_t> trns;
    for (uint16_t v : recipe.transparent) {
      trns.push_back(static_cast<uint8_t>(v >> 8));
      trns.push_back(static_cast<uint8_t>(v));
    }
    add("tRNS", trns);
  }
  std::vector<uint8_t> raw;
  if (!recipe.interlaced) {
    for (uint32_t y = 0; y < recipe.height; ++y) AppendScanLine(raw, recipe, y, 0, 1);
  } else {
    // Adam7: each pass takes every dx-th pixel from x0 in every dy-th row from y0.
    static const uint32_t passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& pass : passes) {
      if (pass[0] >= recipe.width) continue;
      for (uint32_t y = pass[1]; y < recipe.height; y += pass[3]) AppendScanLine(raw, recipe, y, pass[0], pass[2]);
    }
  }
  add("IDAT", StoredZlib(raw));
  add("IEND", {});
  return file;
}

std::vector<size_t> ChunkOffsets(const std::vector<uint8_t>& file) {
  std::vector<size_t> offsets;
  size_t at = sizeof kSignature;
  while (at + 12 <= file.size()) {
    const uint32_t length = GetBigEndian(&file[at]);
    if (length > file.size() - at - 12) break;
    offsets.push_back(at);
    at += size_t{length} + 12;
  }
  return offsets;
}

void FixChunkCrcs(std::vector<uint8_t>& file) {
  for (size_t at : ChunkOffsets(file)) {
    const uint32_t length = GetBigEndian(&file[at]);
    const uint32_t crc = Crc32(&file[at + 4], size_t{length} + 4);
    for (int i = 0; i < 4; ++i) file[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  }
}

}  // namespace pngtest
