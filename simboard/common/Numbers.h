// Numbers on the command lines of the simulated board's tools: decimal or 0x hex.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace simboard {

std::optional<uint32_t> ParseNumber(std::string_view text);

}  // namespace simboard
