#include "simboard/companions/OcCompanion.h"

#include "simboard/companions/CompanionWindow.h"
#include "simboard/companions/FirmwareAccess.h"
#include "simboard/companions/ProfileCatalog.h"

#include <cstdio>

namespace simboard::companions {
namespace {

constexpr uint32_t FrequencyGroup = 3, FrequencyElement = 0x11;
// Requests number the profiles 1, 2, 3; the firmware's active-profile item 1, 2, 4.
constexpr uint32_t ActiveCodes[4] = {0, 1, 2, 4};

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

}  // namespace

std::string OcCompanion::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool sent) {
  if (wParam != RequestSentinel) return "ignored wParam";
  const uint32_t value = static_cast<uint32_t>(lParam);
  if (message == ProfileMessage) {
    if (value == 0) return ProfileOff();
    if (value <= 3) return ProfileOn(static_cast<int>(value));
    return "ignored profile";
  }
  if (message == FrequencyMessage) {
    // A slow companion: the program's sender waits all this time.
    if (sent && m_hangMs > 0) Sleep(m_hangMs);
    return ApplyFrequency(value);
  }
  return "ignored message";
}

std::string OcCompanion::ProfileOn(int button) {
  ProfileCatalog catalog;
  const ButtonProfile profile = catalog.ForButton(button);
  const auto frequency = catalog.Frequency(profile);
  if (!frequency) return Format("failed profile=%u position=%u no frequency", unsigned(button), profile.position);
  const auto item = FindItemId(FrequencyGroup, FrequencyElement);
  if (!item) return "failed no frequency item";
  if (!WriteItem(*item, *frequency)) return Format("failed writing 0x%08X", *item);
  if (!WriteItem(ActiveProfileItemId, ActiveCodes[button])) return Format("failed writing 0x%08X", ActiveProfileItemId);
  return Format("applied profile=%u active=%u frequency=%u", unsigned(button), ActiveCodes[button], *frequency) +
         " position=" + std::to_string(profile.position) + " name=" + profile.name;
}

std::string OcCompanion::ProfileOff() {
  if (!WriteItem(ActiveProfileItemId, 0)) return Format("failed writing 0x%08X", ActiveProfileItemId);
  // Back to the default profile where there is one; otherwise the frequency stays.
  const auto frequency = ProfileCatalog::DefaultFrequency();
  if (!frequency) return "applied profile=0 active=0 frequency=unchanged";
  const auto item = FindItemId(FrequencyGroup, FrequencyElement);
  if (!item) return "failed no frequency item";
  if (!WriteItem(*item, *frequency)) return Format("failed writing 0x%08X", *item);
  return Format("applied profile=0 active=0 frequency=%u", *frequency);
}

std::string OcCompanion::ApplyFrequency(uint32_t index) {
  const auto item = FindItemId(FrequencyGroup, FrequencyElement);
  if (!item) return "failed no frequency item";
  if (!WriteItem(*item, index)) return Format("failed writing 0x%08X", *item);
  return Format("applied frequency=%u", index);
}

}  // namespace simboard::companions
