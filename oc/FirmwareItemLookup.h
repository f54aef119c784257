// Finding one firmware item by group and element, as the engines do once per run.
#pragma once

#include "plinth/kovra/Source/BiosInterface.h"

#include <cstdint>
#include <memory>

// The first item of `group` whose id has `element` in bits 0-15, or null when the
// group can't be read or lists no such item.
std::unique_ptr<plinth::BiosItem> FindFirmwareItem(uint32_t group, uint32_t element);
