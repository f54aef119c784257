// What the virtual remote control sends: the service's messages to the registered
// window, each marked with 'U' in wParam.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simboard::remote {

inline constexpr uint32_t Sentinel = 0x55;  // 'U'
inline constexpr uint32_t QuitMessage = 0x400;
inline constexpr uint32_t ConsumedMessage = 0x400;  // + 1, 2 or 3
inline constexpr uint32_t ForegroundMessage = 0x406;
inline constexpr uint32_t ButtonMessage = 0x408;
inline constexpr uint32_t PowerBroadcast = 0x218;  // WM_POWERBROADCAST
inline constexpr uint32_t ResumeSuspend = 7;       // PBT_APMRESUMESUSPEND

struct RemoteMessage {
  uint32_t message;
  uint32_t wParam;
  uint32_t lParam;
  bool operator==(const RemoteMessage&) const = default;
};

struct Button {
  const char* name;
  uint32_t code;
};
// The seven buttons in the order of their codes 0x90 … 0x96.
extern const Button Buttons[7];

// A button by name (A, B, C, manual, auto, up, down; any case) or by number.
std::optional<uint32_t> ButtonCode(std::string_view name);

// The message the command line `args` asks for (see the usage text), or nothing
// with the reason in `error`.
std::optional<RemoteMessage> MessageForCommand(const std::vector<std::string_view>& args, std::string& error);

enum class Delivery { Delivered, ServiceNotRunning, NoWindowRegistered };
// Has the service post `message` to every registered window.
Delivery DeliverThroughService(const RemoteMessage& message);

// Number of windows registered with the running service, or nothing when none runs.
std::optional<unsigned> RegisteredWindowCount();

}  // namespace simboard::remote
