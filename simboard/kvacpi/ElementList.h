// The element lists that KVACPI.DLL hands out (layout in simboard/README.md):
//   u32 count, u32 bytes, then per element u32 kind, u32 length, payload, padding to 4.
#pragma once

#include "simboard/kvacpi/Board.h"

#include <cstdint>
#include <vector>

namespace simboard {

namespace element_list {
inline constexpr uint32_t HeaderBytes = 8;
inline constexpr uint32_t ElementHeaderBytes = 8;
}  // namespace element_list

// Bytes the list of `elements` takes.
uint32_t ElementListBytes(const std::vector<Element>& elements);

// Writes the list into `buffer` when it fits in *size bytes and sets *size to the
// bytes used; otherwise writes nothing, leaves *size and returns false.
bool WriteElementList(const std::vector<Element>& elements, void* buffer, uint32_t* size);

// Reading a list, as ordinals 6, 7, 9 and 10 do. Null in, null or 0 out.
const uint8_t* FirstElement(const void* list);
uint32_t ElementCount(const void* list);
const uint8_t* ElementData(const void* element);
const uint8_t* NextElement(const void* element);

}  // namespace simboard
