// What the companions need of the firmware, through KVACPI.DLL's ordinals, the
// same way the maker's own programs reach it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simboard::companions {

inline constexpr uint32_t FrequencyItemId = 0x03010011;   // the id profile data use
inline constexpr uint32_t ActiveProfileItemId = 0x11060008;
inline constexpr uint32_t AutoModeItemId = 0x11070010;
inline constexpr uint32_t FirmwareProfileMethod = 0x05080002;

// Id of the item of `group` whose element number (bits 0-15) is `element`.
std::optional<uint32_t> FindItemId(uint32_t group, uint32_t element);

// The texts of the string item at `group`/`element`: the firmware profile names
// for group 5, element 2. Empty when there is no such item.
std::vector<std::string> StringItemTexts(uint32_t group, uint32_t element);

// The frequency value index that firmware profile `slot` holds.
std::optional<uint32_t> FirmwareProfileFrequency(uint32_t slot);

std::optional<uint32_t> ReadItem(uint32_t id);
bool WriteItem(uint32_t id, uint32_t value);

}  // namespace simboard::companions
