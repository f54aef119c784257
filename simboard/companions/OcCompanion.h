// What the overclocking companion does with the program's messages to its
// "ZentrikHelp" window: 0x425 switches a profile on (lParam 1, 2, 3) or off (0),
// 0x424 applies a frequency index. Only messages with wParam 'U' are acted on.
#pragma once

#include <windows.h>

#include <string>

namespace simboard::companions {

inline constexpr UINT FrequencyMessage = 0x424;
inline constexpr UINT ProfileMessage = 0x425;

class OcCompanion {
 public:
  // `hangMs`: how long a sent frequency message keeps its sender waiting.
  explicit OcCompanion(DWORD hangMs) : m_hangMs(hangMs) {}

  // The outcome of one message, for the log.
  std::string OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool sent);

 private:
  std::string ProfileOn(int button);
  std::string ProfileOff();
  std::string ApplyFrequency(uint32_t index);

  DWORD m_hangMs;
};

}  // namespace simboard::companions
