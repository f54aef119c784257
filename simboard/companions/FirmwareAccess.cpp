#include "simboard/companions/FirmwareAccess.h"

#include "oc/AcpiLibrary.h"

#include <cstring>
#include <memory>

namespace simboard::companions {
namespace {

uint32_t U32At(const void* data) {
  uint32_t v = 0;
  if (data) std::memcpy(&v, data, sizeof v);
  return v;
}

// Descriptor of the item at `group`/`element`, as an owned 4096-byte element list.
std::unique_ptr<uint8_t[]> FindDescriptor(uint32_t group, uint32_t element) {
  AcpiOpen();
  auto groupList = std::make_unique<uint8_t[]>(AcpiBufferSize);
  uint32_t size = AcpiBufferSize;
  if (!AcpiReadGroup(group, groupList.get(), &size)) return nullptr;
  const uint32_t count = AcpiElementCount(groupList.get());
  void* current = AcpiFirstElement(groupList.get());
  auto descriptor = std::make_unique<uint8_t[]>(AcpiBufferSize);
  for (uint32_t i = 0; i < count; ++i) {
    if (i > 0) current = AcpiNextElement(current);
    size = AcpiBufferSize;
    if (!AcpiReadItemInfo(AcpiElementData(current), descriptor.get(), &size)) continue;
    if ((U32At(AcpiElementData(AcpiFirstElement(descriptor.get()))) & 0xFFFF) == element) return descriptor;
  }
  return nullptr;
}

}  // namespace

std::optional<uint32_t> FindItemId(uint32_t group, uint32_t element) {
  auto descriptor = FindDescriptor(group, element);
  if (!descriptor) return std::nullopt;
  return U32At(AcpiElementData(AcpiFirstElement(descriptor.get())));
}

std::vector<std::string> StringItemTexts(uint32_t group, uint32_t element) {
  std::vector<std::string> texts;
  auto descriptor = FindDescriptor(group, element);
  if (!descriptor) return texts;
  const uint32_t elements = AcpiElementCount(descriptor.get());
  if (elements < 5) return texts;
  void* e = AcpiFirstElement(descriptor.get());
  for (int i = 0; i < 4; ++i) e = AcpiNextElement(e);
  const uint32_t declared = U32At(AcpiElementData(e));
  // Only the texts that are there: a descriptor may declare more than it holds.
  for (uint32_t i = 0; i < declared && 5 + i < elements; ++i) {
    e = AcpiNextElement(e);
    texts.emplace_back(static_cast<const char*>(AcpiElementData(e)));
  }
  return texts;
}

std::optional<uint32_t> FirmwareProfileFrequency(uint32_t slot) {
  AcpiOpen();
  auto buffer = std::make_unique<uint32_t[]>(AcpiBufferSize / 4);
  uint32_t size = AcpiBufferSize;
  if (!(AcpiCallMethod(FirmwareProfileMethod, slot, buffer.get(), &size) & 1)) return std::nullopt;
  const uint32_t words = size / 4;
  for (uint32_t j = 1; j + 1 < words; j += 2) {
    if (buffer[j] == 0xFFFFFFFFu) break;
    if (buffer[j] == FrequencyItemId) return buffer[j + 1];
  }
  return std::nullopt;
}

std::optional<uint32_t> ReadItem(uint32_t id) {
  AcpiOpen();
  uint32_t value = 0;
  if (!(AcpiReadItem(id, &value) & 1)) return std::nullopt;
  return value;
}

bool WriteItem(uint32_t id, uint32_t value) {
  AcpiOpen();
  return (AcpiWriteItem(id, value, 1) & 1) != 0;
}

}  // namespace simboard::companions
