// The exported entry points: argument checks, the COM apartment, and the hand-over
// of rows between the codec and the caller.
#include "pngio/pngio.h"

#include "pngio/ComApartment.h"
#include "pngio/PngRows.h"
#include "pngio/PngStreamReader.h"
#include "pngio/WicPngCodec.h"

#include <algorithm>
#include <new>

int __stdcall ReadPngEx(PngData* data, PngReadFunc read, void* context) {
  if (data == nullptr) return 0;
  *data = PngData{};
  try {
    const std::optional<pngio::PngFileBytes> file = pngio::ReadPngFile(read, context);
    if (!file) return 0;
    pngio::ComApartment apartment;
    if (!apartment.IsUsable()) return 0;
    pngio::OwnedPngData decoded;
    if (!pngio::DecodePng(*file, decoded)) return 0;
    *data = decoded.Release();
    return 1;
  } catch (const std::bad_alloc&) {
    return 0;  // a picture within the limits still did not fit in memory
  }
}

int __stdcall FreePngData(PngData* data) {
  if (data == nullptr) return 0;
  pngio::FreeRows(*data);
  return 1;
}

int __stdcall AllocatePngData(PngData* data, uint32_t width, uint32_t height, uint32_t colorType) {
  if (data == nullptr) return 0;
  return pngio::AllocateRows(*data, width, height, colorType) ? 1 : 0;
}

int __stdcall WritePngEx(const PngData* data, PngWriteFunc write, void* context) {
  if (data == nullptr || write == nullptr) return 0;
  try {
    pngio::ComApartment apartment;
    if (!apartment.IsUsable()) return 0;
    std::vector<uint8_t> encoded;
    if (!pngio::EncodePng(*data, encoded)) return 0;
    constexpr size_t kWriteStep = 1 << 16;
    for (size_t done = 0; done < encoded.size();) {
      const uint32_t count = static_cast<uint32_t>(std::min(kWriteStep, encoded.size() - done));
      if (write(context, encoded.data() + done, count) != count) return 0;
      done += count;
    }
    return 1;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}
