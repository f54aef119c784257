// What the power-saving companion does with the program's messages to its
// "Oktan Engine" window: 0x41F, 0x420, 0x421 and 0x422 set the modes 1, 2, 3 and 0,
// 0x423 the automatic mode, each by the raw value of the mode item (group 0x0B,
// element 1). Only messages with wParam 'U' are acted on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace simboard::companions {

inline constexpr UINT FirstModeMessage = 0x41F;
inline constexpr UINT AutoModeMessage = 0x423;

// The raw value that the firmware's mode item takes for a mode message: chosen so
// that the program reads it back as that mode (0x4000 is 0, 1 is 2, 2 is 3, any
// other value 1); the automatic mode is 0.
std::optional<uint32_t> RawModeFor(UINT message);

class QpsCompanion {
 public:
  std::string OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool sent);
};

}  // namespace simboard::companions
