#include "simboard/common/Numbers.h"

namespace simboard {

std::optional<uint32_t> ParseNumber(std::string_view text) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    unsigned d = (c >= '0' && c <= '9')                 ? unsigned(c - '0')
                 : (base == 16 && c >= 'a' && c <= 'f') ? unsigned(c - 'a' + 10)
                 : (base == 16 && c >= 'A' && c <= 'F') ? unsigned(c - 'A' + 10)
                                                        : 99u;
    if (d >= base) return std::nullopt;
    value = value * base + d;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace simboard
