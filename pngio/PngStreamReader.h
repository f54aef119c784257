// Reads one PNG file, chunk by chunk, from a caller's read function. It takes no
// byte beyond the file's IEND chunk and never trusts a length before bounding it,
// so truncated or hostile streams end in a plain failure.
#pragma once

#include "pngio/pngio.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pngio {

struct PngFileBytes {
  std::vector<uint8_t> bytes;  // the whole file, signature to IEND
  uint32_t width = 0;          // from IHDR
  uint32_t height = 0;
  bool hasAlpha = false;  // an alpha channel (colour types 4, 6) or a tRNS chunk
};

// Nothing when the stream does not hold a well-formed PNG chunk sequence with an
// accepted picture size.
std::optional<PngFileBytes> ReadPngFile(PngReadFunc read, void* context);

}  // namespace pngio
