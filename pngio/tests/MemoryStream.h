// A byte source for ReadPngEx and a byte sink for WritePngEx, over memory, with the
// misbehaviours that tests need (short reads, over-claiming, failing writes).
#pragma once

#include "pngio/pngio.h"

#include <cstdint>
#include <vector>

namespace pngtest {

struct MemorySource {
  explicit MemorySource(const std::vector<uint8_t>& bytes) : bytes(bytes) {}
  const std::vector<uint8_t>& bytes;
  size_t position = 0;
  uint32_t largestDelivery = UINT32_MAX;  // deliver at most this many bytes a call
  bool overclaim = false;                 // report one byte more than was delivered

  static uint32_t __stdcall Read(void* context, void* buffer, uint32_t count);
};

struct MemorySink {
  std::vector<uint8_t> bytes;
  size_t failAfter = SIZE_MAX;  // accept nothing once this many bytes were written

  static uint32_t __stdcall Write(void* context, const void* buffer, uint32_t count);
};

}  // namespace pngtest
