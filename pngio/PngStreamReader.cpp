#include "pngio/PngStreamReader.h"

#include "pngio/PngLimits.h"

#include <array>
#include <cstring>

namespace pngio {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;  // the format's own limit
constexpr size_t kChunkHeaderBytes = 8;           // length and type
constexpr size_t kCrcBytes = 4;
constexpr uint32_t kIhdrLength = 13;

uint32_t ReadBigEndian(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

bool IsType(const uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// The PNG checksum (CRC-32 of ISO 3309) over a chunk's type and data.
uint32_t ChunkCrc(const uint8_t* bytes, size_t count) {
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

class ChunkSource {
 public:
  ChunkSource(PngReadFunc read, void* context) : m_read(read), m_context(context) {}

  // Appends exactly `count` bytes to `out`, or fails. The buffer grows only as
  // bytes arrive, so a hostile length costs nothing before the data is there. A
  // read function that claims more than it was asked for is broken: what it wrote
  // cannot be trusted.
  bool Append(std::vector<uint8_t>& out, size_t count) {
    if (count > kMaxFileBytes - out.size()) return false;
    while (count > 0) {
      const uint32_t ask = count > kReadStep ? kReadStep : static_cast<uint32_t>(count);
      const size_t start = out.size();
      out.resize(start + ask);
      const uint32_t got = m_read(m_context, out.data() + start, ask);
      if (got == 0 || got > ask) return false;
      out.resize(start + got);
      count -= got;
    }
    return true;
  }

 private:
  static constexpr uint32_t kReadStep = 1 << 16;
  PngReadFunc m_read;
  void* m_context;
};

}  // namespace

std::optional<PngFileBytes> ReadPngFile(PngReadFunc read, void* context) {
  if (read == nullptr) return std::nullopt;
  ChunkSource source(read, context);
  PngFileBytes file;
  std::vector<uint8_t>& bytes = file.bytes;
  if (!source.Append(bytes, sizeof kSignature) || std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0) {
    return std::nullopt;
  }
  bool first = true;
  uint32_t colorType = 0;
  bool hasTransparencyChunk = false;
  for (;;) {
    const size_t headerAt = bytes.size();
    if (!source.Append(bytes, kChunkHeaderBytes)) return std::nullopt;
    const uint32_t length = ReadBigEndian(bytes.data() + headerAt);
    if (length > kMaxChunkLength) return std::nullopt;
    uint8_t type[4];
    std::memcpy(type, bytes.data() + headerAt + 4, 4);
    if (!source.Append(bytes, size_t{length} + kCrcBytes)) return std::nullopt;
    const uint8_t* data = bytes.data() + headerAt + kChunkHeaderBytes;
    // Checked here because not every decoder behind WIC rejects damaged chunks.
    if (ChunkCrc(bytes.data() + headerAt + 4, size_t{length} + 4) != ReadBigEndian(data + length)) return std::nullopt;
    if (first) {
      if (!IsType(type, "IHDR") || length != kIhdrLength) return std::nullopt;
      file.width = ReadBigEndian(data);
      file.height = ReadBigEndian(data + 4);
      colorType = data[9];
      if (!IsAcceptedSize(file.width, file.height)) return std::nullopt;
      first = false;
    } else if (IsType(type, "IHDR")) {
      return std::nullopt;
    } else if (IsType(type, "tRNS")) {
      hasTransparencyChunk = true;
    } else if (IsType(type, "IEND")) {
      break;
    }
  }
  file.hasAlpha = colorType == 4 || colorType == 6 || hasTransparencyChunk;
  return file;
}

}  // namespace pngio
