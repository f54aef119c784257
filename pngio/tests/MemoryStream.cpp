#include "pngio/tests/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace pngtest {

uint32_t __stdcall MemorySource::Read(void* context, void* buffer, uint32_t count) {
  auto& self = *static_cast<MemorySource*>(context);
  const size_t left = self.bytes.size() - self.position;
  const uint32_t n = static_cast<uint32_t>(std::min<size_t>({left, count, self.largestDelivery}));
  std::memcpy(buffer, self.bytes.data() + self.position, n);
  self.position += n;
  return self.overclaim && n != 0 ? n + 1 : n;
}

uint32_t __stdcall MemorySink::Write(void* context, const void* buffer, uint32_t count) {
  auto& self = *static_cast<MemorySink*>(context);
  if (self.bytes.size() + count > self.failAfter) return 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  self.bytes.insert(self.bytes.end(), bytes, bytes + count);
  return count;
}

}  // namespace pngtest
