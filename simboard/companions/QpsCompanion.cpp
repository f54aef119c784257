#include "simboard/companions/QpsCompanion.h"

#include "simboard/companions/CompanionWindow.h"
#include "simboard/companions/FirmwareAccess.h"

#include <cstdio>

namespace simboard::companions {
namespace {

constexpr uint32_t ModeGroup = 0x0B, ModeElement = 1;

}  // namespace

std::optional<uint32_t> RawModeFor(UINT message) {
  switch (message) {
    case 0x41F: return 0x8000;  // mode 1
    case 0x420: return 1;       // mode 2
    case 0x421: return 2;       // mode 3
    case 0x422: return 0x4000;  // mode 0
    case AutoModeMessage: return 0;
  }
  return std::nullopt;
}

std::string QpsCompanion::OnMessage(UINT message, WPARAM wParam, LPARAM, bool) {
  if (wParam != RequestSentinel) return "ignored wParam";
  const auto raw = RawModeFor(message);
  if (!raw) return "ignored message";
  // The firmware may forbid the automatic mode (item 0x11070010 present and 0).
  if (message == AutoModeMessage && ReadItem(AutoModeItemId).value_or(1) == 0) return "failed auto mode not available";
  const auto item = FindItemId(ModeGroup, ModeElement);
  if (!item) return "failed no mode item";
  char text[96];
  if (!WriteItem(*item, *raw)) {
    std::snprintf(text, sizeof text, "failed writing 0x%08X", static_cast<unsigned>(*item));
    return text;
  }
  if (message == AutoModeMessage) {
    std::snprintf(text, sizeof text, "applied mode=auto raw=0x%X", static_cast<unsigned>(*raw));
  } else {
    static const unsigned modes[4] = {1, 2, 3, 0};
    std::snprintf(text, sizeof text, "applied mode=%u raw=0x%X", modes[message - FirstModeMessage],
                  static_cast<unsigned>(*raw));
  }
  return text;
}

}  // namespace simboard::companions
