#include "simboard/kvacpi/ElementList.h"

#include <cstring>

namespace simboard {
namespace {

uint32_t PayloadBytes(const Element& e) {
  return e.kind == Element::Kind::U32 ? 4u : static_cast<uint32_t>(e.text.size() + 1);
}

uint32_t Padded(uint32_t n) { return (n + 3u) & ~3u; }

uint32_t ReadU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void WriteU32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, sizeof v); }

}  // namespace

uint32_t ElementListBytes(const std::vector<Element>& elements) {
  uint64_t bytes = element_list::HeaderBytes;
  for (const Element& e : elements) bytes += element_list::ElementHeaderBytes + Padded(PayloadBytes(e));
  return bytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(bytes);
}

bool WriteElementList(const std::vector<Element>& elements, void* buffer, uint32_t* size) {
  if (!buffer || !size) return false;
  uint32_t bytes = ElementListBytes(elements);
  if (bytes > *size) return false;
  auto* out = static_cast<uint8_t*>(buffer);
  std::memset(out, 0, bytes);
  WriteU32(out, static_cast<uint32_t>(elements.size()));
  WriteU32(out + 4, bytes);
  uint8_t* p = out + element_list::HeaderBytes;
  for (const Element& e : elements) {
    uint32_t length = PayloadBytes(e);
    WriteU32(p, static_cast<uint32_t>(e.kind));
    WriteU32(p + 4, length);
    if (e.kind == Element::Kind::U32) {
      WriteU32(p + element_list::ElementHeaderBytes, e.number);
    } else {
      std::memcpy(p + element_list::ElementHeaderBytes, e.text.c_str(), length);
    }
    p += element_list::ElementHeaderBytes + Padded(length);
  }
  *size = bytes;
  return true;
}

const uint8_t* FirstElement(const void* list) {
  return list ? static_cast<const uint8_t*>(list) + element_list::HeaderBytes : nullptr;
}

uint32_t ElementCount(const void* list) { return list ? ReadU32(static_cast<const uint8_t*>(list)) : 0; }

const uint8_t* ElementData(const void* element) {
  return element ? static_cast<const uint8_t*>(element) + element_list::ElementHeaderBytes : nullptr;
}

const uint8_t* NextElement(const void* element) {
  if (!element) return nullptr;
  auto* p = static_cast<const uint8_t*>(element);
  return p + element_list::ElementHeaderBytes + Padded(ReadU32(p + 4));
}

}  // namespace simboard
